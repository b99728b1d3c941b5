#include "core/reports/GainsFigures.h"

#include <set>

#include "core/model/OptionSuffix.h"
#include "core/model/Purchase.h"

GainsFigures::LotSums& GainsFigures::Add(const CPurchase& lot) {
    const auto [found, added] = m_lots.try_emplace(lot.symbol);
    LotSums& sums = found->second;
    if (added) {
        sums.firstMarketPrice = lot.marketPrice;
    }
    sums.kinds.Add(lot);
    for (const auto& sale : lot.sales) {
        if (!sale.IsExpiry()) {
            sums.realizedCost += lot.price * sale.shares;
            sums.realizedValue += sale.price * sale.shares;
        }
    }
    sums.heldCost += lot.price * lot.availableShares;
    return sums;
}

std::vector<std::string> GainsFigures::SymbolNames() const {
    std::set<std::string> names;
    for (const auto& [symbol, sums] : m_lots) {
        AddListedNames(names, symbol, sums.kinds, m_ungroupOptions);
    }
    return {names.begin(), names.end()};
}

void GainsFigures::AddDividends(const CKx7Doc::DividendList& dividends) {
    for (const auto& dividend : dividends) {
        m_dividends[dividend->symbol] += dividend->IsCash()
                                             ? dividend->amount
                                             : dividend->amount * MarketPrice(dividend->symbol);
    }
}

GainsFigures::LotSums GainsFigures::Lots(std::string_view symbol) const {
    const auto found = m_lots.find(symbol);
    return found != m_lots.end() ? found->second : LotSums{};
}

float GainsFigures::MarketPrice(std::string_view symbol) const {
    if (HasOptionSuffix(symbol)) {
        symbol.remove_suffix(kOptionSuffix.size());
    }
    return Lots(symbol).firstMarketPrice;
}

float GainsFigures::HeldToday(std::string_view symbolText) const {
    const bool optionsOnly = HasOptionSuffix(symbolText);
    if (optionsOnly) {
        symbolText.remove_suffix(kOptionSuffix.size());
    }
    return Lots(symbolText).heldToday.Selected(m_ungroupOptions, optionsOnly);
}

std::optional<GainsRow> GainsFigures::Row(GainsView view, const std::string& symbol) const {
    const LotSums lots = Lots(symbol);
    GainsRow row;
    bool written = false;
    switch (view) {
        case GainsView::kRealized:
            row.cost = lots.realizedCost;
            row.value = lots.realizedValue;
            written = row.cost != 0.0f;
            break;
        case GainsView::kPotential: {
            const float held = HeldToday(symbol);
            row.cost = lots.heldCost;
            row.value = MarketPrice(symbol) * held;
            written = held != 0.0f;
            break;
        }
        case GainsView::kCombined:
            row.cost = lots.realizedCost + lots.heldCost;
            row.value = lots.realizedValue + MarketPrice(symbol) * HeldToday(symbol);
            written = row.cost != 0.0f;
            break;
    }
    if (!written) {
        return std::nullopt;
    }
    const auto dividends = m_dividends.find(symbol);
    row.dividends = dividends != m_dividends.end() ? dividends->second : 0.0f;
    row.gain = row.value - row.cost + row.dividends;
    return row;
}

float GainsFigures::Total(GainsView view, const std::vector<std::string>& symbols) const {
    float total = 0.0f;
    for (const std::string& symbol : symbols) {
        if (const std::optional<GainsRow> row = Row(view, symbol)) {
            total += row->gain;
        }
    }
    return total;
}

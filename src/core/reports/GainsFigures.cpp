#include "core/reports/GainsFigures.h"

#include "core/model/OptionSuffix.h"
#include "core/model/Purchase.h"

GainsFigures::LotSums& GainsFigures::SumsOf(const CPurchase& lot, std::uint32_t slotHint) {
    const std::uint32_t slot = m_slots.Insert(lot.symbol, slotHint);
    if (slot == m_lots.size()) {
        m_lots.emplace_back().firstMarketPrice = lot.marketPrice;
    }
    m_names.Add(lot, slot);
    return m_lots[slot];
}

float GainsFigures::AddSales(LotSums& sums, const CPurchase& lot) {
    float unsold = lot.shares;
    for (const auto& sale : lot.sales) {
        unsold -= sale->shares;
        if (sale->IsExpiry()) {
            continue;
        }
        sums.realizedCost += lot.price * sale->shares;
        sums.realizedValue += sale->price * sale->shares;
    }
    return unsold;
}

GainsFigures::LotSums& GainsFigures::Add(const CPurchase& lot, std::uint32_t slotHint) {
    LotSums& sums = SumsOf(lot, slotHint);
    AddSales(sums, lot);
    sums.heldCost += lot.price * lot.availableShares;
    return sums;
}

float GainsFigures::AddLotAsOf(CPurchase& lot, std::int64_t now, std::uint32_t slot) {
    LotSums& sums = SumsOf(lot, slot);
    const float unsold = AddSales(sums, lot);
    const float held = lot.ExercisableShares(now, unsold);
    sums.heldCost += lot.price * lot.availableShares;
    sums.heldToday.Add(lot.IsGrant(), held);
    return held;
}

void GainsFigures::AddDividends(const CKx7Doc::DividendList& dividends) {
    for (const auto& dividend : dividends) {
        const std::uint32_t slot = m_dividendSlots.Insert(dividend->symbol);
        if (slot == m_dividends.size()) {
            m_dividends.push_back(0.0f);
        }
        float& total = m_dividends[slot];
        total += dividend->IsCash() ? dividend->amount
                                    : dividend->amount * MarketPrice(dividend->symbol);
    }
}

const GainsFigures::LotSums& GainsFigures::Lots(std::string_view symbol) const {
    static const LotSums none{};
    const std::uint32_t slot = m_slots.Find(symbol);
    return slot != SymbolSlots::kNone ? m_lots[slot] : none;
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

float GainsFigures::Dividends(std::string_view symbol) const {
    const std::uint32_t slot = m_dividendSlots.Find(symbol);
    return slot != SymbolSlots::kNone ? m_dividends[slot] : 0.0f;
}

std::optional<GainsRow> GainsFigures::Row(GainsView view, const std::string& symbol) const {
    const LotSums& lots = Lots(symbol);
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
    row.dividends = Dividends(symbol);
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

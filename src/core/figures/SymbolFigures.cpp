#include "core/figures/SymbolFigures.h"

#include <set>

#include "core/model/Kx7Doc.h"
#include "core/model/OptionSuffix.h"
#include "core/settings/Settings.h"

SymbolFigures::SymbolFigures(const CKx7Doc& doc)
    : m_ungroupOptions(doc.AppSettings().ungroupOptions) {
    for (const auto& lot : doc.Purchases()) {
        const auto [found, added] = m_figures.try_emplace(lot->symbol);
        Figures& figures = found->second;
        if (added) {
            figures.firstMarketPrice = lot->marketPrice;
        }
        figures.value.Add(lot->IsGrant(), lot->LotValue());
        figures.costHeld += lot->price * lot->availableShares;
        figures.lastDirection = lot->quoteDirection;
        figures.lastChange = lot->quoteChange;
        figures.lots.Add(*lot);
        if (HasShares(lot->availableShares)) {
            figures.held.Add(*lot);
        }
    }
    std::set<std::string> heldNames;
    std::set<std::string> allNames;
    for (const auto& [symbol, figures] : m_figures) {
        AddListedNames(heldNames, symbol, figures.held, m_ungroupOptions);
        AddListedNames(allNames, symbol, figures.lots, m_ungroupOptions);
    }
    m_heldNames.assign(heldNames.begin(), heldNames.end());
    m_allNames.assign(allNames.begin(), allNames.end());
}

float SymbolFigures::TotalValue() const {
    float total = 0.0f;
    for (const std::string& name : m_heldNames) {
        total += Value(name);
    }
    return total;
}

SymbolFigures::Figures SymbolFigures::Find(std::string_view symbol) const {
    const auto found = m_figures.find(symbol);
    return found != m_figures.end() ? found->second : Figures{};
}

float SymbolFigures::Value(std::string_view symbolText) const {
    const bool optionsOnly = HasOptionSuffix(symbolText);
    if (optionsOnly) {
        symbolText.remove_suffix(kOptionSuffix.size());
    }
    return Find(symbolText).value.Selected(m_ungroupOptions, optionsOnly);
}

float SymbolFigures::CostHeld(std::string_view symbol) const {
    return Find(symbol).costHeld;
}

float SymbolFigures::MarketPrice(std::string_view symbolText) const {
    if (HasOptionSuffix(symbolText)) {
        symbolText.remove_suffix(kOptionSuffix.size());
    }
    return symbolText.empty() ? 0.0f : Find(symbolText).firstMarketPrice;
}

std::int32_t SymbolFigures::QuoteDirection(std::string_view symbol) const {
    return Find(symbol).lastDirection;
}

float SymbolFigures::QuoteChange(std::string_view symbol) const {
    return Find(symbol).lastChange;
}

#include "core/figures/SymbolFigures.h"

#include <algorithm>

#include "core/model/Kx7Doc.h"
#include "core/model/OptionSuffix.h"
#include "core/settings/Settings.h"

SymbolFigures::SymbolFigures(const CKx7Doc& doc) : SymbolFigures(doc.AppSettings().ungroupOptions) {
    for (const auto& lot : doc.Purchases()) {
        Add(*lot);
    }
    Finish();
}

std::uint32_t SymbolFigures::Add(const CPurchase& lot) {
    const std::uint32_t slot = m_slots.Insert(lot.symbol);
    if (slot == m_figures.size()) {
        m_figures.emplace_back().firstMarketPrice = lot.marketPrice;
    }
    Figures& figures = m_figures[slot];
    figures.lastLot = &lot;
    const bool grant = lot.IsGrant();
    figures.value.Add(grant, lot.LotValue());
    figures.costHeld += lot.price * lot.availableShares;
    (grant ? figures.grantLots : figures.ordinaryLots) = true;
    if (HasShares(lot.availableShares)) {
        (grant ? figures.grantsHeld : figures.ordinaryHeld) = true;
    }
    return slot;
}

template <typename Taken>
std::vector<std::string> SymbolFigures::Names(Taken taken) const {
    std::vector<std::string> names;
    for (std::uint32_t slot = 0; slot < m_figures.size(); ++slot) {
        const std::string& symbol = m_slots.Name(slot);
        const Figures& figures = m_figures[slot];
        const bool ordinary = taken(figures, false);
        const bool grants = taken(figures, true);
        if (ordinary || (grants && !m_ungroupOptions)) {
            names.push_back(symbol);
        }
        if (grants && m_ungroupOptions) {
            names.push_back(WithOptionSuffix(symbol));
        }
    }
    // Byte order, as the document's symbol list sorts; a grant's "-O" name may equal
    // another lot's own symbol, and the list holds each name once.
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

void SymbolFigures::Finish() {
    for (Figures& figures : m_figures) {
        figures.lastDirection = figures.lastLot->quoteDirection;
        figures.lastChange = figures.lastLot->quoteChange;
        figures.lastLot = nullptr;
    }
    m_heldNames = Names([](const Figures& figures, bool grants) {
        return grants ? figures.grantsHeld : figures.ordinaryHeld;
    });
    m_allNames = Names([](const Figures& figures, bool grants) {
        return grants ? figures.grantLots : figures.ordinaryLots;
    });
}

float SymbolFigures::TotalValue() const {
    float total = 0.0f;
    for (const std::string& name : m_heldNames) {
        total += Value(name);
    }
    return total;
}

const SymbolFigures::Figures* SymbolFigures::Find(std::string_view symbol) const {
    const std::uint32_t slot = m_slots.Find(symbol);
    return slot != SymbolSlots::kNone ? &m_figures[slot] : nullptr;
}

float SymbolFigures::Value(std::string_view symbolText) const {
    const bool optionsOnly = HasOptionSuffix(symbolText);
    if (optionsOnly) {
        symbolText.remove_suffix(kOptionSuffix.size());
    }
    const Figures* figures = Find(symbolText);
    return figures != nullptr ? figures->value.Selected(m_ungroupOptions, optionsOnly) : 0.0f;
}

float SymbolFigures::CostHeld(std::string_view symbol) const {
    const Figures* figures = Find(symbol);
    return figures != nullptr ? figures->costHeld : 0.0f;
}

float SymbolFigures::MarketPrice(std::string_view symbolText) const {
    if (HasOptionSuffix(symbolText)) {
        symbolText.remove_suffix(kOptionSuffix.size());
    }
    const Figures* figures = symbolText.empty() ? nullptr : Find(symbolText);
    return figures != nullptr ? figures->firstMarketPrice : 0.0f;
}

std::int32_t SymbolFigures::QuoteDirection(std::string_view symbol) const {
    const Figures* figures = Find(symbol);
    return figures != nullptr ? figures->lastDirection : 0;
}

float SymbolFigures::QuoteChange(std::string_view symbol) const {
    const Figures* figures = Find(symbol);
    return figures != nullptr ? figures->lastChange : 0.0f;
}

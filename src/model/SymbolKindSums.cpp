#include "model/SymbolKindSums.h"

#include <cstdint>

#include "model/OptionSuffix.h"
#include "model/Purchase.h"

void SymbolKindSums::Add(const CPurchase& lot, float value) {
    const std::uint32_t slot = m_slots.Insert(lot.symbol);
    if (slot == m_sums.size()) {
        m_sums.emplace_back();
    }
    m_sums[slot].Add(lot.IsGrant(), value);
}

float SymbolKindSums::Selected(std::string_view symbolText) const {
    const bool optionsOnly = HasOptionSuffix(symbolText);
    if (optionsOnly) {
        symbolText.remove_suffix(kOptionSuffix.size());
    }
    const std::uint32_t slot = m_slots.Find(symbolText);
    return slot != SymbolSlots::kNone ? m_sums[slot].Selected(m_ungroupOptions, optionsOnly) : 0.0f;
}

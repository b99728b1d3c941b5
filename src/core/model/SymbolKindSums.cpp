#include "core/model/SymbolKindSums.h"

#include <cstdint>

#include "core/model/OptionSuffix.h"
#include "core/model/Purchase.h"

std::uint32_t SymbolKindSums::Add(const CPurchase& lot, float value, std::uint32_t slotHint) {
    const std::uint32_t slot = m_slots.Insert(lot.symbol, slotHint);
    if (slot == m_sums.size()) {
        m_sums.emplace_back();
    }
    m_sums[slot].Add(lot.IsGrant(), value);
    return slot;
}

float SymbolKindSums::Selected(std::string_view symbolText) const {
    const bool optionsOnly = HasOptionSuffix(symbolText);
    if (optionsOnly) {
        symbolText.remove_suffix(kOptionSuffix.size());
    }
    const std::uint32_t slot = m_slots.Find(symbolText);
    return slot != SymbolSlots::kNone ? m_sums[slot].Selected(m_ungroupOptions, optionsOnly) : 0.0f;
}

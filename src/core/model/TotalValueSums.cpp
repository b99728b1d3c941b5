#include "core/model/TotalValueSums.h"

#include "core/model/Purchase.h"

std::uint32_t TotalValueSums::Add(const CPurchase& lot) {
    const std::uint32_t slot = m_values.Add(lot, lot.LotValue());
    if (HasShares(lot.availableShares)) {
        m_held.Add(lot, slot);
    }
    return slot;
}

float TotalValueSums::Total() const {
    float total = 0.0f;
    for (const auto& symbol : m_held.Sorted()) {
        total += m_values.Selected(symbol);
    }
    return total;
}

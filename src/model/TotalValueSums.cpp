#include "model/TotalValueSums.h"

#include "model/Purchase.h"

void TotalValueSums::Add(const CPurchase& lot) {
    m_values.Add(lot, lot.LotValue());
    if (HasShares(lot.availableShares)) {
        m_held.Add(lot);
    }
}

float TotalValueSums::Total() const {
    float total = 0.0f;
    for (const auto& symbol : m_held.Sorted()) {
        total += m_values.Selected(symbol);
    }
    return total;
}

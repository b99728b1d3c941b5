#pragma once

#include <cstdint>

#include "core/model/ListedNames.h"
#include "core/model/SymbolKindSums.h"

class CPurchase;

// The portfolio's value as CKx7Doc::TotalValue sums it, for a walk over the lots that does
// more than value them: each lot is added in document order, as it stands when added, and
// the held symbols' values are added in the order of their names.
class TotalValueSums {
public:
    explicit TotalValueSums(bool ungroupOptions)
        : m_values(ungroupOptions), m_held(ungroupOptions) {}

    // Returns the lot's symbol's slot, as SymbolKindSums::Add.
    std::uint32_t Add(const CPurchase& lot);
    float Total() const;

private:
    SymbolKindSums m_values;
    ListedNames m_held;
};

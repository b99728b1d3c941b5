#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/SymbolSlots.h"

class CPurchase;

// One figure of a symbol's lots, summed for its grants, its ordinary lots and both, each
// in document order.
struct KindSums {
    float grants = 0;
    float ordinary = 0;
    float all = 0;

    void Add(bool grant, float value) {
        (grant ? grants : ordinary) += value;
        all += value;
    }
    // The valuing queries' selection rule for a symbol text that did (`optionsOnly`) or did
    // not carry the option suffix.
    float Selected(bool ungroupOptions, bool optionsOnly) const {
        if (!ungroupOptions) {
            return all;
        }
        return optionsOnly ? grants : ordinary;
    }
};

// A figure of the lots summed per symbol in one walk over the document, kept apart for
// grants, ordinary lots and both, so that any symbol text can then be answered by the
// valuing queries' selection rule: with the ungroup setting on, "XYZ-O" takes the
// grants of XYZ and "XYZ" its ordinary lots; with it off, both take every lot of XYZ.
// Each sum adds in document order, as walking the lots per symbol would.
class SymbolKindSums {
public:
    explicit SymbolKindSums(bool ungroupOptions) : m_ungroupOptions(ungroupOptions) {}

    // Returns the lot's symbol's slot: every lot added in turn numbers the symbols as any
    // other walk adding every lot does, so another table can take it as its hint.
    std::uint32_t Add(const CPurchase& lot, float value,
                      std::uint32_t slotHint = SymbolSlots::kNone);
    float Selected(std::string_view symbolText) const;

private:
    bool m_ungroupOptions;
    SymbolSlots m_slots;
    std::vector<KindSums> m_sums;  // by slot
};

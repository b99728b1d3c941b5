#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

class CPurchase;

// A figure of the lots summed per symbol in one walk over the document, kept apart for
// grants, ordinary lots and both, so that any symbol text can then be answered by the
// valuing queries' selection rule: with the ungroup setting on, "XYZ-O" takes the
// grants of XYZ and "XYZ" its ordinary lots; with it off, both take every lot of XYZ.
// Each sum adds in document order, as walking the lots per symbol would.
class SymbolKindSums {
public:
    explicit SymbolKindSums(bool ungroupOptions) : m_ungroupOptions(ungroupOptions) {}

    void Add(const CPurchase& lot, float value);
    float Selected(std::string_view symbolText) const;

private:
    struct Sums {
        float grants = 0;
        float ordinary = 0;
        float all = 0;
    };

    bool m_ungroupOptions;
    std::unordered_map<std::string, Sums> m_sums;
};

#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/model/OptionSuffix.h"
#include "core/model/Purchase.h"
#include "core/model/SymbolSlots.h"

// The names a symbol list gives the lots added: the symbol as written, or with the option
// suffix for a grant when grants are listed apart. A walk that sums something per lot can
// gather the names as it goes instead of walking the lots again for them.
class ListedNames {
public:
    explicit ListedNames(bool ungroupOptions) : m_ungroupOptions(ungroupOptions) {}

    // `slotHint` as SymbolSlots::Insert takes it.
    void Add(const CPurchase& lot, std::uint32_t slotHint = SymbolSlots::kNone) {
        const std::uint32_t slot = m_slots.Insert(lot.symbol, slotHint);
        if (slot == m_kinds.size()) {
            m_kinds.push_back(0);
        }
        m_kinds[slot] |= lot.IsGrant() && m_ungroupOptions ? kSuffixed : kPlain;
    }

    // In byte order, each once.
    std::vector<std::string> Sorted() const {
        std::vector<std::string> names;
        names.reserve(m_kinds.size());
        for (std::uint32_t slot = 0; slot < m_kinds.size(); ++slot) {
            if ((m_kinds[slot] & kPlain) != 0) {
                names.push_back(m_slots.Name(slot));
            }
            if ((m_kinds[slot] & kSuffixed) != 0) {
                names.push_back(WithOptionSuffix(m_slots.Name(slot)));
            }
        }
        std::sort(names.begin(), names.end());
        // A grant's name can equal an ordinary symbol that happens to end in the suffix.
        names.erase(std::unique(names.begin(), names.end()), names.end());
        return names;
    }

private:
    static constexpr unsigned char kPlain = 1;
    static constexpr unsigned char kSuffixed = 2;

    bool m_ungroupOptions;
    SymbolSlots m_slots;
    std::vector<unsigned char> m_kinds;  // by slot
};

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Numbers the distinct symbols met in a walk over the lots 0, 1, 2, ... in the order
// they are first met, so figures per symbol can be kept in a plain vector. A paint walks
// every lot, and a map keyed by string costs more per lot than the rest of the walk:
// this is an open-addressed table of small numbers over one hash of the symbol's bytes,
// and Insert remembers the symbol it was given last, since lots of one symbol are often
// entered one after another.
class SymbolSlots {
public:
    static constexpr std::uint32_t kNone = UINT32_MAX;

    // The symbol's slot; a symbol not met before gets the next one, Count() before the call.
    std::uint32_t Insert(std::string_view symbol);
    // kNone for a symbol never inserted.
    std::uint32_t Find(std::string_view symbol) const;

    std::size_t Count() const { return m_names.size(); }
    const std::string& Name(std::uint32_t slot) const { return m_names[slot]; }

private:
    // A table cell: 0 when empty, else the slot + 1, beside the high bits of its hash so
    // that most cells that do not match are passed over without reading the name.
    struct Cell {
        std::uint32_t slotPlusOne = 0;
        std::uint32_t hashHigh = 0;
    };

    // The cell index the symbol is in, or the empty one it would go into.
    std::size_t Probe(std::string_view symbol, std::uint64_t hash) const;
    void Grow();

    std::vector<std::string> m_names;
    std::vector<std::uint64_t> m_hashes;  // by slot, for growing the table
    std::vector<Cell> m_cells;            // a power of two in size, at most half full
    std::uint32_t m_last = kNone;         // the slot Insert gave last
};

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Numbers the distinct symbols met in a walk over the lots 0, 1, 2, ... in the order
// they are first met, so figures per symbol can be kept in a plain vector. A paint walks
// every lot, and a map keyed by string costs more per lot than the rest of the walk:
// this is an open-addressed table that settles a symbol of up to eight bytes by comparing
// two numbers, and Insert remembers the symbol it was given last, since lots of one
// symbol are often entered one after another.
class SymbolSlots {
public:
    static constexpr std::uint32_t kNone = UINT32_MAX;

    // The symbol's slot; a symbol not met before gets the next one, Count() before the call.
    std::uint32_t Insert(std::string_view symbol);
    // The same, taking `hint` when that slot holds the symbol: a caller that numbers the
    // same lots in the same order has the number already, and one comparison is less
    // than a lookup.
    std::uint32_t Insert(std::string_view symbol, std::uint32_t hint) {
        return hint < m_names.size() && SameBytes(m_names[hint], symbol) ? hint : Insert(symbol);
    }
    // kNone for a symbol never inserted.
    std::uint32_t Find(std::string_view symbol) const;

    std::size_t Count() const { return m_names.size(); }
    const std::string& Name(std::uint32_t slot) const { return m_names[slot]; }

private:
    // What the table compares a symbol by before it reads a name.
    struct Key {
        std::uint64_t head;  // the first eight bytes, zero-padded
        std::size_t size;
        std::uint64_t hash;  // of every byte
    };
    // A table cell: empty while slotPlusOne is 0. Sixteen bytes, so that the table of a
    // thousand symbols stays in the processor's nearest cache while every lot looks up its
    // symbol. A size past 32 bits is cut, but only a symbol of up to eight bytes is settled
    // by the size and head alone.
    struct Cell {
        std::uint64_t head = 0;
        std::uint32_t size = 0;
        std::uint32_t slotPlusOne = 0;
    };

    static constexpr std::size_t kNoCell = SIZE_MAX;

    // Equal texts; a loop over a few bytes costs less than a call to compare them.
    static bool SameBytes(std::string_view a, std::string_view b) {
        if (a.size() != b.size()) {
            return false;
        }
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (a[i] != b[i]) {
                return false;
            }
        }
        return true;
    }
    static Key KeyOf(std::string_view symbol);
    bool Matches(const Cell& cell, const Key& key, std::string_view symbol) const;
    // The cell the symbol is in, or the empty one it would go into.
    std::size_t Probe(const Key& key, std::string_view symbol) const;
    void Grow();

    std::vector<std::string> m_names;
    std::vector<std::uint64_t> m_hashes;  // by slot, for growing the table
    std::vector<Cell> m_cells;            // a power of two in size, at most half full
    std::size_t m_last = kNoCell;         // the cell Insert found or filled last
};

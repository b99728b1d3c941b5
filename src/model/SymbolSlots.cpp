#include "model/SymbolSlots.h"

#include <cstring>

namespace {

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;
constexpr std::size_t kFirstCells = 64;

std::uint64_t Mix(std::uint64_t hash, std::uint64_t word) {
    hash = (hash ^ word) * kMultiplier;
    return hash ^ (hash >> 29);
}

// Every byte counts, eight at a time: a file may hold many symbols that differ only in
// the middle, and a hash of the ends alone would make the table a list.
std::uint64_t HashOf(std::string_view symbol) {
    std::uint64_t hash = Mix(0, symbol.size());
    const char* bytes = symbol.data();
    std::size_t left = symbol.size();
    for (; left >= sizeof(std::uint64_t); left -= sizeof(std::uint64_t)) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes, sizeof word);
        hash = Mix(hash, word);
        bytes += sizeof word;
    }
    if (left > 0) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes, left);
        hash = Mix(hash, word);
    }
    return Mix(hash, 0);
}

std::uint32_t High(std::uint64_t hash) {
    return static_cast<std::uint32_t>(hash >> 32);
}

}  // namespace

std::size_t SymbolSlots::Probe(std::string_view symbol, std::uint64_t hash) const {
    const std::size_t mask = m_cells.size() - 1;
    for (std::size_t i = static_cast<std::size_t>(hash) & mask;; i = (i + 1) & mask) {
        const Cell& cell = m_cells[i];
        if (cell.slotPlusOne == 0 ||
            (cell.hashHigh == High(hash) && m_names[cell.slotPlusOne - 1] == symbol)) {
            return i;
        }
    }
}

std::uint32_t SymbolSlots::Find(std::string_view symbol) const {
    if (m_cells.empty()) {
        return kNone;
    }
    const Cell& cell = m_cells[Probe(symbol, HashOf(symbol))];
    return cell.slotPlusOne != 0 ? cell.slotPlusOne - 1 : kNone;
}

std::uint32_t SymbolSlots::Insert(std::string_view symbol) {
    if (m_last != kNone && m_names[m_last] == symbol) {
        return m_last;
    }
    if ((m_names.size() + 1) * 2 > m_cells.size()) {
        Grow();
    }
    const std::uint64_t hash = HashOf(symbol);
    Cell& cell = m_cells[Probe(symbol, hash)];
    if (cell.slotPlusOne == 0) {
        m_names.emplace_back(symbol);
        m_hashes.push_back(hash);
        cell = Cell{static_cast<std::uint32_t>(m_names.size()), High(hash)};
    }
    m_last = cell.slotPlusOne - 1;
    return m_last;
}

void SymbolSlots::Grow() {
    m_cells.assign(m_cells.empty() ? kFirstCells : m_cells.size() * 2, Cell{});
    const std::size_t mask = m_cells.size() - 1;
    for (std::size_t slot = 0; slot < m_names.size(); ++slot) {
        std::size_t i = static_cast<std::size_t>(m_hashes[slot]) & mask;
        while (m_cells[i].slotPlusOne != 0) {
            i = (i + 1) & mask;
        }
        m_cells[i] = Cell{static_cast<std::uint32_t>(slot + 1), High(m_hashes[slot])};
    }
}

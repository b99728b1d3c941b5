#include "core/model/SymbolSlots.h"

#include <cstring>

namespace {

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;
constexpr std::size_t kFirstCells = 64;
constexpr std::size_t kWord = sizeof(std::uint64_t);

std::uint64_t Mix(std::uint64_t hash, std::uint64_t word) {
    hash = (hash ^ word) * kMultiplier;
    return hash ^ (hash >> 29);
}

// Up to eight bytes packed into a word, the rest zero. A loop of a few bytes costs less
// than a call to copy them, and most symbols are this short.
std::uint64_t Packed(const char* bytes, std::size_t count) {
    std::uint64_t word = 0;
    for (std::size_t i = 0; i < count && i < kWord; ++i) {
        word |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    }
    return word;
}

}  // namespace

SymbolSlots::Key SymbolSlots::KeyOf(std::string_view symbol) {
    Key key{Packed(symbol.data(), symbol.size()), symbol.size(), 0};
    // Every byte counts: a file may hold many symbols that differ only past the eighth,
    // and a hash of the head alone would make the table a list.
    std::uint64_t hash = Mix(Mix(0, key.size), key.head);
    std::size_t at = kWord;
    for (; at + kWord <= symbol.size(); at += kWord) {
        std::uint64_t word = 0;
        std::memcpy(&word, symbol.data() + at, kWord);
        hash = Mix(hash, word);
    }
    if (at < symbol.size()) {
        hash = Mix(hash, Packed(symbol.data() + at, symbol.size() - at));
    }
    key.hash = Mix(hash, 0);
    return key;
}

bool SymbolSlots::Matches(const Cell& cell, const Key& key, std::string_view symbol) const {
    // The head and the size settle a short symbol; a longer one compares the rest.
    return cell.head == key.head && cell.size == static_cast<std::uint32_t>(key.size) &&
           (key.size <= kWord || SameBytes(m_names[cell.slotPlusOne - 1], symbol));
}

std::size_t SymbolSlots::Probe(const Key& key, std::string_view symbol) const {
    const std::size_t mask = m_cells.size() - 1;
    for (std::size_t i = static_cast<std::size_t>(key.hash) & mask;; i = (i + 1) & mask) {
        const Cell& cell = m_cells[i];
        if (cell.slotPlusOne == 0 || Matches(cell, key, symbol)) {
            return i;
        }
    }
}

std::uint32_t SymbolSlots::Find(std::string_view symbol) const {
    if (m_cells.empty()) {
        return kNone;
    }
    const Cell& cell = m_cells[Probe(KeyOf(symbol), symbol)];
    return cell.slotPlusOne != 0 ? cell.slotPlusOne - 1 : kNone;
}

std::uint32_t SymbolSlots::Insert(std::string_view symbol) {
    const Key key = KeyOf(symbol);
    if (m_last != kNoCell && Matches(m_cells[m_last], key, symbol)) {
        return m_cells[m_last].slotPlusOne - 1;
    }
    if ((m_names.size() + 1) * 2 > m_cells.size()) {
        Grow();
    }
    m_last = Probe(key, symbol);
    Cell& cell = m_cells[m_last];
    if (cell.slotPlusOne == 0) {
        m_names.emplace_back(symbol);
        m_hashes.push_back(key.hash);
        cell = Cell{key.head, static_cast<std::uint32_t>(key.size),
                    static_cast<std::uint32_t>(m_names.size())};
    }
    return cell.slotPlusOne - 1;
}

void SymbolSlots::Grow() {
    std::vector<Cell> old(m_cells.empty() ? kFirstCells : m_cells.size() * 2, Cell{});
    old.swap(m_cells);
    const std::size_t mask = m_cells.size() - 1;
    for (const Cell& cell : old) {
        if (cell.slotPlusOne == 0) {
            continue;
        }
        std::size_t i = static_cast<std::size_t>(m_hashes[cell.slotPlusOne - 1]) & mask;
        while (m_cells[i].slotPlusOne != 0) {
            i = (i + 1) & mask;
        }
        m_cells[i] = cell;
    }
    m_last = kNoCell;
}

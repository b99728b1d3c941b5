#include "reports/GroupRows.h"

#include <bit>
#include <utility>

namespace {

constexpr std::size_t kFirstSize = 64;

}  // namespace

std::size_t GroupRows::SlotOf(std::int64_t key) const {
    // Sale numbers are consecutive; the multiplication spreads them over the table.
    const std::uint64_t hash = static_cast<std::uint64_t>(key) * 0x9E3779B97F4A7C15ull;
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = static_cast<std::size_t>(hash >> m_shift);
    while (m_slots[slot].rowPlusOne != 0 && m_slots[slot].key != key) {
        slot = (slot + 1) & mask;
    }
    return slot;
}

std::optional<std::size_t> GroupRows::Find(std::int64_t key) const {
    if (m_slots.empty()) {
        return std::nullopt;
    }
    const Slot& slot = m_slots[SlotOf(key)];
    if (slot.rowPlusOne == 0) {
        return std::nullopt;
    }
    return slot.rowPlusOne - 1;
}

void GroupRows::Insert(std::int64_t key, std::size_t row) {
    // At most half full, so that probes stay short.
    if ((m_used + 1) * 2 > m_slots.size()) {
        Grow();
    }
    Slot& slot = m_slots[SlotOf(key)];
    if (slot.rowPlusOne == 0) {
        ++m_used;
    }
    slot = Slot{key, row + 1};
}

void GroupRows::Grow() {
    std::vector<Slot> old(m_slots.empty() ? kFirstSize : m_slots.size() * 2);
    std::swap(old, m_slots);
    m_shift = 64 - static_cast<int>(std::bit_width(m_slots.size() - 1));
    for (const Slot& slot : old) {
        if (slot.rowPlusOne != 0) {
            m_slots[SlotOf(slot.key)] = slot;
        }
    }
}

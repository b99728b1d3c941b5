#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

// A map from whole numbers to small values in one array (open addressing, linear
// probing, at most half full), for the look-ups a report makes per row: no allocation
// per entry and one place in memory to read.
template <typename Value>
class IntKeyTable {
public:
    // The value of `key`, or nullptr; valid until the next Insert.
    const Value* Find(std::int64_t key) const {
        if (m_slots.empty()) {
            return nullptr;
        }
        const Slot& slot = m_slots[SlotOf(key)];
        return slot.used ? &slot.value : nullptr;
    }

    // Records `value` for a key that has none.
    void Insert(std::int64_t key, Value value) {
        if ((m_used + 1) * 2 > m_slots.size()) {
            Grow();
        }
        Slot& slot = m_slots[SlotOf(key)];
        if (!slot.used) {
            ++m_used;
        }
        slot = Slot{key, std::move(value), true};
    }

private:
    static constexpr std::size_t kFirstSize = 64;

    struct Slot {
        std::int64_t key = 0;
        Value value{};
        bool used = false;
    };

    std::size_t SlotOf(std::int64_t key) const {
        // Keys are often consecutive or evenly spaced; the multiplication spreads them
        // over the table, whose index takes the top bits.
        const std::uint64_t hash = static_cast<std::uint64_t>(key) * 0x9E3779B97F4A7C15ull;
        const std::size_t mask = m_slots.size() - 1;
        std::size_t slot = static_cast<std::size_t>(hash >> m_shift);
        while (m_slots[slot].used && m_slots[slot].key != key) {
            slot = (slot + 1) & mask;
        }
        return slot;
    }

    void Grow() {
        std::vector<Slot> old(m_slots.empty() ? kFirstSize : m_slots.size() * 2);
        std::swap(old, m_slots);
        m_shift = 64 - static_cast<int>(std::bit_width(m_slots.size() - 1));
        for (Slot& slot : old) {
            if (slot.used) {
                m_slots[SlotOf(slot.key)] = std::move(slot);
            }
        }
    }

    std::vector<Slot> m_slots;
    std::size_t m_used = 0;
    int m_shift = 64;
};

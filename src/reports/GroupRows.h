#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// Which row each sale's lots merge into: an open-addressing table from group key to row,
// one array and no allocation per sale, for reports with hundreds of thousands of sales.
class GroupRows {
public:
    // The row of `key`, or none yet.
    std::optional<std::size_t> Find(std::int64_t key) const;
    // Records `row` for a key that has none.
    void Insert(std::int64_t key, std::size_t row);

private:
    struct Slot {
        std::int64_t key = 0;
        std::size_t rowPlusOne = 0;  // 0 marks a free slot
    };

    std::size_t SlotOf(std::int64_t key) const;
    void Grow();

    std::vector<Slot> m_slots;
    std::size_t m_used = 0;
    int m_shift = 64;  // keeps the top bits of the hash that index the table
};

#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/reports/IntKeyTable.h"

// Which row each sale's lots merge into, for reports with hundreds of thousands of sales.
// Sale numbers are mostly small and consecutive, so those index an array of four bytes a
// sale, which stays in the processor's caches; any other key goes to a hash table.
// Neither allocates per sale.
class GroupRows {
public:
    // The row of `key`, or none yet.
    std::optional<std::size_t> Find(std::int64_t key) const;
    // Asks for the memory that finding `key` reads, ahead of finding it.
    void Prefetch(std::int64_t key) const {
        if (key >= 0 && static_cast<std::uint64_t>(key) < m_dense.size()) {
            __builtin_prefetch(&m_dense[static_cast<std::size_t>(key)]);
        }
    }
    // Records `row` for a key that has none.
    void Insert(std::int64_t key, std::size_t row);
    // About how many rows are to come, which lets more keys use the array from the start.
    void Expect(std::size_t rows) { m_expected = rows; }

private:
    // Rows plus one by key, 0 for none; it grows no larger than a few entries per row
    // recorded or expected, so scattered large keys cannot make it huge.
    std::vector<std::uint32_t> m_dense;
    std::size_t m_rows = 0;
    std::size_t m_expected = 0;
    IntKeyTable<std::size_t> m_others;
};

#include "core/reports/GroupRows.h"

#include <algorithm>
#include <limits>

namespace {

// Keys below (rows recorded or expected + kDenseSlack) x kDenseSpread go to the array.
constexpr std::size_t kDenseSlack = 1024;
constexpr std::size_t kDenseSpread = 4;

}  // namespace

std::optional<std::size_t> GroupRows::Find(std::int64_t key) const {
    if (key >= 0 && static_cast<std::uint64_t>(key) < m_dense.size()) {
        const std::uint32_t rowPlusOne = m_dense[static_cast<std::size_t>(key)];
        if (rowPlusOne != 0) {
            return rowPlusOne - 1;
        }
    }
    if (const std::size_t* row = m_others.Find(key)) {
        return *row;
    }
    return std::nullopt;
}

void GroupRows::Insert(std::int64_t key, std::size_t row) {
    ++m_rows;
    const std::size_t denseLimit = (std::max(m_rows, m_expected) + kDenseSlack) * kDenseSpread;
    if (key >= 0 && static_cast<std::uint64_t>(key) < denseLimit &&
        row < std::numeric_limits<std::uint32_t>::max()) {
        const auto index = static_cast<std::size_t>(key);
        if (index >= m_dense.size()) {
            m_dense.resize(std::min(denseLimit, std::max(index + 1, m_dense.size() * 2)));
        }
        m_dense[index] = static_cast<std::uint32_t>(row + 1);
        return;
    }
    m_others.Insert(key, row);
}

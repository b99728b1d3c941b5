#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <unordered_set>
#include <vector>

// One copy of each distinct short text, in large blocks that never move, so that hundreds
// of thousands of report rows share a few allocations instead of owning a string each,
// and their labels take little memory to read back.
class LabelStore {
public:
    // The copy of `text`, valid as long as the store.
    std::string_view Keep(std::string_view text);

private:
    static constexpr std::size_t kBlockSize = std::size_t{64} * 1024;

    std::vector<std::unique_ptr<char[]>> m_blocks;
    char* m_free = nullptr;
    std::size_t m_left = 0;
    std::unordered_set<std::string_view> m_kept;
    // The rows of one lot repeat its labels.
    std::string_view m_last;
};

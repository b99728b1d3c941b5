#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

// Copies of short texts in large blocks that never move, so that hundreds of thousands of
// report rows share a few allocations instead of owning a string each.
class LabelStore {
public:
    // A copy of `text`, valid as long as the store. The same text as the previous call
    // gives back the previous copy, as the rows of one lot repeat its labels.
    std::string_view Keep(std::string_view text);

private:
    static constexpr std::size_t kBlockSize = 64 * 1024;

    std::vector<std::unique_ptr<char[]>> m_blocks;
    char* m_free = nullptr;
    std::size_t m_left = 0;
    std::string_view m_last;
};

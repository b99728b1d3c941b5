#pragma once

#include <cstdint>
#include <string>

// One recorded stock split: `newShares` for `oldShares` ("2 for 1").
struct SplitEntry {
    std::string symbol;
    std::int64_t date = 0;
    std::int32_t newShares = 1;
    std::int32_t oldShares = 1;
};

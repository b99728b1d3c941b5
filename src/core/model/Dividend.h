#pragma once

#include <cstdint>
#include <string>

// How a dividend was paid. The file holds the number; a file may hold another one, which
// is kept as it is and counts as paid in shares.
enum class DividendKind : std::int32_t { kShares = 0, kCash = 1 };

// One dividend received, in cash or in shares.
class CDividend {
public:
    CDividend(std::string symbol_, DividendKind dividendKind_, float amount_, std::int64_t date_,
              std::string comment_);

    bool IsCash() const { return dividendKind == DividendKind::kCash; }

    std::string symbol;
    DividendKind dividendKind = DividendKind::kCash;
    float amount = 0;  // money for a cash dividend, a share count otherwise
    std::int64_t date = 0;
    std::string comment;
};

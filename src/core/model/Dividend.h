#pragma once

#include <cstdint>
#include <string>

#include "core/model/RecordPool.h"

// One dividend received, in cash or in shares.
class CDividend : public PooledRecord<CDividend> {
public:
    static constexpr std::int32_t kShares = 0;
    static constexpr std::int32_t kCash = 1;

    CDividend(std::string symbol_, std::int32_t dividendKind_, float amount_, std::int64_t date_,
              std::string comment_);

    bool IsCash() const { return dividendKind == kCash; }

    std::string symbol;
    std::int32_t dividendKind = kCash;
    float amount = 0;  // money for a cash dividend, a share count otherwise
    std::int64_t date = 0;
    std::string comment;
};

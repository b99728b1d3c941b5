#pragma once

#include <cstdint>
#include <string>

class CPurchase;

// The part of one sale transaction taken from one lot. All records of one sale share
// `saleNumber`; the first carries the whole commission.
class CSale {
public:
    // The price that marks option shares that expired unexercised.
    static constexpr float kExpiredPrice = -1.0f;

    CSale(float shares_, float price_, std::int64_t date_, float commission_, std::string comment_,
          std::int32_t saleNumber_, CPurchase* purchase_);

    bool IsExpiry() const { return price == kExpiredPrice; }

    float shares = 0;
    float price = 0;
    float commission = 0;
    std::int32_t saleNumber = 0;
    std::int64_t date = 0;
    std::string comment;
    CPurchase* purchase = nullptr;  // the owning lot
};

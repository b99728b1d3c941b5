#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/Sale.h"

// Share counts at or below this count as zero throughout the model. It is compared in
// double precision against the float counts, so 0.0001f itself counts as zero.
inline constexpr double kShareThreshold = 0.0001;

inline bool HasShares(float shares) {
    return shares > kShareThreshold;
}

// `vestingSchedule` of an ordinary lot; any other value marks an option grant.
inline constexpr std::int32_t kOrdinaryLot = -1;

// The vesting schedules in the order of the grant form's list; the index is stored.
inline constexpr std::array<std::string_view, 18> kVestingScheduleNames{
    "1YA",  "2YA",  "3YA",  "4YA", "1YM", "2YM", "3YM", "4YM", "12MM",
    "24MM", "36MM", "48MM", "1YC", "2YC", "3YC", "4YC", "5YC", "Other"};

// Every stored field of a lot, with its sales: what the undo history copies and puts back.
struct LotFields {
    std::string symbol;
    std::int64_t date = 0;
    float commission = 0;
    float shares = 0;
    float price = 0;
    float availableShares = 0;
    float marketPrice = 0;
    std::int32_t vestingSchedule = kOrdinaryLot;
    // By value: a lot's sales are read and written with it, and the lot outlives them.
    std::vector<CSale> sales;
    std::int32_t quoteDirection = 0;
    float quoteChange = 0;
    float quoteExtra = 0;
    std::string companyName;
    std::string purchaseType;
    std::string comment;
    std::string grantId;
};

// One purchase lot or one option grant, with the sales taken from it. Not copied: its
// sales point at it, and the history finds it again by its address.
class CPurchase : public LotFields {
public:
    CPurchase(std::string symbol_, std::string companyName_, float shares_, float price_,
              std::int64_t date_, float commission_, std::string purchaseType_,
              std::string comment_);

    CPurchase(const CPurchase&) = delete;
    CPurchase& operator=(const CPurchase&) = delete;

    bool IsGrant() const { return vestingSchedule != kOrdinaryLot; }

    // Shares minus every sale, 0 below the threshold; stored in `availableShares`.
    float RecomputeHeldShares();

    // For a lot, the held shares; for a grant, the vested options not yet exercised or
    // expired as of `now`. Stored in `availableShares`.
    float ExercisableShares(std::int64_t now);
    // The same from `unsold`, the shares less every sale subtracted in order, for a
    // caller that reads the sales for more than the held shares in the same walk.
    float ExercisableShares(std::int64_t now, float unsold);

    // Market price (less the strike for a grant, never below 0) times shares held.
    float LotValue() const;

    // Appends a sale record owned by this lot and returns it.
    CSale& AddSale(float saleShares, float salePrice, std::int64_t saleDate, float saleCommission,
                   std::string saleComment, std::int32_t saleNumber);

private:
    float UnsoldShares() const;
    // `unsold`, 0 below the threshold, as the held shares.
    float StoreHeld(float unsold);
    static float HeldOf(float unsold);
};

// The purchase commission that goes with `saleShares` of the lot. A lot of 0 shares has
// no share of anything to give.
float PurchaseCommissionShare(const CPurchase& lot, float saleShares);

// The vested share count of a grant of `shares` options dated `grantDate` under the
// schedule `vestingSchedule`, as of `now` (local dates).
float VestedShares(std::int32_t vestingSchedule, float shares, std::int64_t grantDate,
                   std::int64_t now);

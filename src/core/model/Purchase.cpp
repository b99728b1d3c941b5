#include "core/model/Purchase.h"

#include <cstdint>
#include <utility>

#include "core/model/LocalTime.h"

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// All at `days` elapsed or later (the anniversary switch is on the day).
float AllFrom(std::int64_t elapsed, std::int64_t days, float shares) {
    return elapsed >= days ? shares : 0.0f;
}

// Monthly vesting: complete only after `fullDays`, nothing before `cliffDays`, in
// between `months()` times the monthly fraction. The months are counted on local dates,
// which costs a time-zone conversion, so only a grant still vesting asks for them.
template <typename MonthCount>
float Monthly(std::int64_t elapsed, const MonthCount& months, float shares, std::int64_t fullDays,
              std::int64_t cliffDays, float fraction) {
    if (elapsed > fullDays) {
        return shares;
    }
    if (elapsed < cliffDays) {
        return 0.0f;
    }
    return static_cast<float>(months()) * shares * fraction;
}

}  // namespace

CPurchase::CPurchase(std::string symbol_, std::string companyName_, float shares_, float price_,
                     std::int64_t date_, float commission_, std::string purchaseType_,
                     std::string comment_) {
    symbol = std::move(symbol_);
    date = date_;
    commission = commission_;
    shares = shares_;
    price = price_;
    availableShares = shares_;
    marketPrice = price_;
    companyName = std::move(companyName_);
    purchaseType = std::move(purchaseType_);
    comment = std::move(comment_);
}

float CPurchase::RecomputeHeldShares() {
    return StoreHeld(UnsoldShares());
}

float CPurchase::UnsoldShares() const {
    float unsold = shares;
    for (const auto& sale : sales) {
        unsold -= sale.shares;
    }
    return unsold;
}

float CPurchase::StoreHeld(float unsold) {
    availableShares = HeldOf(unsold);
    return availableShares;
}

float CPurchase::HeldOf(float unsold) {
    return unsold < kShareThreshold ? 0.0f : unsold;
}

float CPurchase::ExercisableShares(std::int64_t now) {
    return ExercisableShares(now, UnsoldShares());
}

float CPurchase::ExercisableShares(std::int64_t now, float unsold) {
    if (!IsGrant()) {
        return StoreHeld(unsold);
    }
    const float vested = VestedShares(vestingSchedule, shares, date, now);
    const float held = HeldOf(unsold);
    float exercisable = vested - (shares - held);
    if (exercisable > held) {
        exercisable = held;
    }
    if (exercisable < 0.0f) {
        exercisable = 0.0f;
    }
    availableShares = exercisable;
    return exercisable;
}

float CPurchase::LotValue() const {
    float perShare = marketPrice;
    if (IsGrant()) {
        perShare = marketPrice - price;
        if (perShare < 0.0f) {
            perShare = 0.0f;
        }
    }
    return perShare * availableShares;
}

CSale& CPurchase::AddSale(float saleShares, float salePrice, std::int64_t saleDate,
                          float saleCommission, std::string saleComment, std::int32_t saleNumber) {
    return sales.emplace_back(saleShares, salePrice, saleDate, saleCommission,
                              std::move(saleComment), saleNumber, this);
}

float VestedShares(std::int32_t vestingSchedule, float shares, std::int64_t grantDate,
                   std::int64_t now) {
    const std::int64_t d = (now - grantDate) / kSecondsPerDay;
    // Whole months from the grant date to today.
    const auto m = [&] {
        const LocalDate today = ToLocalDate(now);
        const LocalDate granted = ToLocalDate(grantDate);
        int months = (today.year - granted.year) * 12 + (today.month - granted.month);
        if (today.day < granted.day) {
            --months;
        }
        return months;
    };

    switch (vestingSchedule) {
        case 0:  // 1YA
        case 4:  // 1YM
            return AllFrom(d, 365, shares);
        case 1:  // 2YA
            if (d >= 730)
                return shares;
            return d >= 365 ? shares * 0.5f : 0.0f;
        case 2:  // 3YA
            if (d >= 1095)
                return shares;
            if (d >= 730)
                return shares * 0.6666667f;
            return d >= 365 ? shares * 0.33333334f : 0.0f;
        case 3:  // 4YA
            if (d >= 1460)
                return shares;
            if (d >= 1095)
                return shares * 0.75f;
            if (d >= 730)
                return shares * 0.5f;
            return d >= 365 ? shares * 0.25f : 0.0f;
        case 5:  // 2YM
            return Monthly(d, m, shares, 730, 365, 0.041666668f);
        case 6:  // 3YM
            return Monthly(d, m, shares, 1095, 365, 0.027777778f);
        case 7:  // 4YM
            return Monthly(d, m, shares, 1460, 365, 0.020833334f);
        case 8:  // 12MM
            return Monthly(d, m, shares, 365, 0, 0.083333336f);
        case 9:  // 24MM
            return Monthly(d, m, shares, 730, 0, 0.041666668f);
        case 10:  // 36MM
            return Monthly(d, m, shares, 1095, 0, 0.027777778f);
        case 11:  // 48MM
            return Monthly(d, m, shares, 1460, 0, 0.020833334f);
        case 12:  // 1YC .. 5YC: everything on the n-th anniversary
        case 13:
        case 14:
        case 15:
        case 16:
            return AllFrom(d, std::int64_t{365} * (vestingSchedule - 11), shares);
        case 17:  // Other: the schedule is unknown, so the user may exercise at any time
            return shares;
        default:
            return 0.0f;
    }
}

float PurchaseCommissionShare(const CPurchase& lot, float saleShares) {
    if (lot.shares == 0.0f) {
        return 0.0f;
    }
    return saleShares / lot.shares * lot.commission;
}

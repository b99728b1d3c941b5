#include "core/model/Purchase.h"

#include <gtest/gtest.h>

#include "support/CaseName.h"
#include "support/TestClock.h"

namespace {

CPurchase Lot(float shares, float price) {
    return CPurchase("XYZ", "Xyz Corp", shares, price, At(2020, 1, 2), 9.95f, "Direct Purchase",
                     "first");
}

TEST(PurchaseTest, ConstructionStartsAsAnOrdinaryLotHoldingEverything) {
    const CPurchase lot = Lot(100, 12.5f);
    EXPECT_EQ(lot.availableShares, 100.0f);
    EXPECT_EQ(lot.marketPrice, 12.5f);
    EXPECT_EQ(lot.vestingSchedule, kOrdinaryLot);
    EXPECT_FALSE(lot.IsGrant());
    EXPECT_TRUE(lot.grantId.empty());
    EXPECT_EQ(lot.commission, 9.95f);
    EXPECT_EQ(lot.quoteDirection, 0);
}

TEST(PurchaseTest, SalesAddingUpToAlmostAllSharesLeaveNothingHeld) {
    CPurchase lot = Lot(100, 10);
    lot.AddSale(99.99995f, 11, 0, 0, "", 0);
    EXPECT_EQ(lot.RecomputeHeldShares(), 0.0f);
    EXPECT_EQ(lot.availableShares, 0.0f);
}

TEST(PurchaseTest, AnExpiryRecordCountsAsSharesGone) {
    CPurchase lot = Lot(100, 10);
    const CSale& expiry = lot.AddSale(30, CSale::kExpiredPrice, 0, 0, "", 4);
    EXPECT_TRUE(expiry.IsExpiry());
    EXPECT_EQ(expiry.purchase, &lot);
    EXPECT_EQ(lot.RecomputeHeldShares(), 70.0f);
}

TEST(PurchaseTest, TheThresholdItselfCountsAsZero) {
    CPurchase lot = Lot(0.0001f, 10);
    EXPECT_EQ(lot.RecomputeHeldShares(), 0.0f);
    EXPECT_FALSE(HasShares(0.0001f));
    EXPECT_TRUE(HasShares(0.0002f));
}

TEST(PurchaseTest, LotValueOfAGrantIsItsIntrinsicValueNeverNegative) {
    CPurchase grant = Lot(100, 20);
    grant.vestingSchedule = 0;
    grant.marketPrice = 15;
    EXPECT_EQ(grant.LotValue(), 0.0f);
    grant.marketPrice = 25;
    EXPECT_EQ(grant.LotValue(), 500.0f);

    CPurchase lot = Lot(100, 20);
    lot.marketPrice = 15;
    EXPECT_EQ(lot.LotValue(), 1500.0f);
}

struct VestingCase {
    const char* name;
    int schedule;
    float shares;
    std::int64_t grantDate;
    std::int64_t now;
    float vested;
};

class VestingTest : public ::testing::TestWithParam<VestingCase> {};

TEST_P(VestingTest, VestedSharesFollowTheSchedule) {
    const VestingCase& c = GetParam();
    EXPECT_FLOAT_EQ(VestedShares(c.schedule, c.shares, c.grantDate, c.now), c.vested) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Schedules, VestingTest,
    ::testing::Values(
        // Anniversary schedules switch on the day.
        VestingCase{"4YA 729 days", 3, 1000, At(2000, 3, 10), At(2002, 3, 9), 250},
        VestingCase{"4YA 730 days", 3, 1000, At(2000, 3, 10), At(2002, 3, 10), 500},
        VestingCase{"1YA day before", 0, 1000, At(2001, 3, 10), At(2002, 3, 9), 0},
        VestingCase{"1YM is 1YA", 4, 1000, At(2001, 3, 10), At(2002, 3, 10), 1000},
        VestingCase{"3YA second year", 2, 3000, At(2001, 1, 1), At(2003, 1, 5), 3000 * 0.6666667f},
        // Monthly schedules: whole months, one less before the day of the month.
        VestingCase{"2YM 18 months 5 days", 5, 1200, At(2000, 1, 10), At(2001, 7, 15), 900},
        VestingCase{"2YM day before 18 months", 5, 1200, At(2000, 1, 10), At(2001, 7, 9), 850},
        VestingCase{"2YM before cliff", 5, 1200, At(2000, 1, 10), At(2000, 12, 10), 0},
        VestingCase{"2YM complete only after 730 days", 5, 1200, At(2000, 1, 10), At(2002, 1, 9),
                    1200 * 23 * 0.041666668f},
        VestingCase{"12MM quarter, no cliff", 8, 1200, At(2000, 1, 10), At(2000, 4, 10), 300},
        VestingCase{"12MM complete", 8, 1200, At(2000, 1, 10), At(2001, 1, 11), 1200},
        // Cliff schedules vest in full on their anniversary; Other at once.
        VestingCase{"1YC before", 12, 500, At(2000, 1, 10), At(2001, 1, 8), 0},
        VestingCase{"1YC on the day", 12, 500, At(2000, 1, 10), At(2001, 1, 9), 500},
        VestingCase{"5YC at 1825 days", 16, 500, At(2000, 1, 10), At(2005, 1, 8), 500},
        VestingCase{"5YC a day early", 16, 500, At(2000, 1, 10), At(2005, 1, 7), 0},
        VestingCase{"Other at the grant", 17, 500, At(2000, 1, 10), At(2000, 1, 10), 500},
        VestingCase{"unknown schedule", 42, 500, At(2000, 1, 10), At(2009, 1, 10), 0}),
    CaseName{});

TEST(PurchaseTest, ExercisableSharesOfAGrantLeaveOutWhatIsGoneAndAreStored) {
    CPurchase grant("XYZ", "Xyz", 1200, 10, At(2000, 1, 10), 0, "ISO", "");
    grant.vestingSchedule = 5;  // 2YM
    grant.AddSale(300, 30, At(2001, 2, 1), 0, "", 0);
    EXPECT_FLOAT_EQ(grant.ExercisableShares(At(2001, 7, 15)), 600);
    EXPECT_FLOAT_EQ(grant.availableShares, 600);

    grant.AddSale(900, 30, At(2001, 8, 1), 0, "", 1);
    EXPECT_EQ(grant.ExercisableShares(At(2001, 8, 15)), 0.0f);
}

TEST(PurchaseTest, ExercisableNeverExceedsWhatIsHeld) {
    CPurchase grant("XYZ", "Xyz", 1000, 10, At(2000, 1, 10), 0, "ISO", "");
    grant.vestingSchedule = 17;
    grant.AddSale(400, CSale::kExpiredPrice, At(2001, 1, 1), 0, "", 0);
    EXPECT_FLOAT_EQ(grant.ExercisableShares(At(2001, 2, 1)), 600);
}

}  // namespace

#include <gtest/gtest.h>

#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"
#include "support/CaseName.h"
#include "support/TestClock.h"

namespace {

class GrantTest : public ::testing::Test {
protected:
    Settings settings;
    CKx7Doc doc{settings};
};

TEST_F(GrantTest, ReceiveGrantMakesAGrantLot) {
    const CPurchase& grant = doc.ReceiveGrant({.symbol = "XYZ",
                                               .companyName = "Xyz Corp",
                                               .shares = 1000,
                                               .strikePrice = 12.5f,
                                               .date = At(2020, 3, 10),
                                               .optionType = "NQ",
                                               .vestingSchedule = 5,
                                               .grantId = "G-17",
                                               .comment = "hi"});
    EXPECT_TRUE(grant.IsGrant());
    EXPECT_EQ(grant.vestingSchedule, 5);
    EXPECT_EQ(grant.grantId, "G-17");
    EXPECT_EQ(grant.purchaseType, "NQ");
    EXPECT_EQ(grant.commission, 0.0f);
    EXPECT_EQ(grant.price, 12.5f);
    EXPECT_EQ(grant.availableShares, 1000.0f);
    EXPECT_EQ(doc.RecordCount(), 1);
    EXPECT_TRUE(doc.IsModified());
}

struct ExercisableCase {
    const char* name;
    int schedule;
    float granted;
    std::int64_t grantDate;
    float exercised;
    std::int64_t now;
    float exercisable;
};

class ExercisableTest : public ::testing::TestWithParam<ExercisableCase> {};

TEST_P(ExercisableTest, VestedLessWhatIsGoneIsStored) {
    const ExercisableCase& c = GetParam();
    Settings settings;
    CKx7Doc doc(settings);
    doc.ReceiveGrant({.symbol = "XYZ",
                      .companyName = "Xyz",
                      .shares = c.granted,
                      .strikePrice = 10,
                      .date = c.grantDate,
                      .optionType = "ISO",
                      .vestingSchedule = c.schedule,
                      .grantId = "",
                      .comment = ""});
    if (c.exercised > 0) {
        doc.Sell({.symbol = "XYZ-O",
                  .shares = c.exercised,
                  .price = 30,
                  .date = c.grantDate,
                  .commission = 0,
                  .method = SaleMethod::kFifo,
                  .comment = ""});
    }
    ScopedClock clock(c.now);
    EXPECT_FLOAT_EQ(doc.ExercisableShares("XYZ-O"), c.exercisable) << c.name;
    EXPECT_FLOAT_EQ(doc.Purchases()[0]->availableShares, c.exercisable) << c.name;
}

// A grant of "Other" vests at once, so the exercise above can be recorded on the grant date.
INSTANTIATE_TEST_SUITE_P(
    Schedules, ExercisableTest,
    ::testing::Values(
        ExercisableCase{"4YA 9 March 2002", 3, 1000, At(2000, 3, 10), 0, At(2002, 3, 9), 250},
        ExercisableCase{"4YA 10 March 2002", 3, 1000, At(2000, 3, 10), 0, At(2002, 3, 10), 500},
        ExercisableCase{"2YM 18 months 5 days", 5, 1200, At(2000, 1, 10), 0, At(2001, 7, 15), 900},
        ExercisableCase{"2YM one day before 18 months", 5, 1200, At(2000, 1, 10), 0, At(2001, 7, 9),
                        850},
        ExercisableCase{"12MM after 3 months", 8, 1200, At(2000, 1, 10), 0, At(2000, 4, 10), 300},
        ExercisableCase{"Other fully exercised", 17, 500, At(2000, 1, 10), 500, At(2001, 1, 1), 0}),
    CaseName{});

TEST_F(GrantTest, ExercisedSharesComeOffTheVestedCount) {
    doc.ReceiveGrant({.symbol = "XYZ",
                      .companyName = "Xyz",
                      .shares = 1200,
                      .strikePrice = 10,
                      .date = At(2000, 1, 10),
                      .optionType = "ISO",
                      .vestingSchedule = 5,
                      .grantId = "",
                      .comment = ""});
    doc.Purchases()[0]->AddSale(300, 25, At(2001, 3, 1), 0, "", 0);
    ScopedClock clock(At(2001, 7, 15));
    EXPECT_FLOAT_EQ(doc.ExercisableShares("XYZ-O"), 600);
}

struct CliffCase {
    const char* name;
    int schedule;
    int years;
};

class CliffTest : public ::testing::TestWithParam<CliffCase> {};

TEST_P(CliffTest, VestsInFullOnTheAnniversaryDay) {
    const CliffCase& c = GetParam();
    const std::int64_t granted = At(2001, 2, 1);  // no leap day within five years of this
    const std::int64_t anniversary = granted + std::int64_t{365} * 86400 * c.years;
    EXPECT_EQ(VestedShares(c.schedule, 800, granted, anniversary - 86400), 0.0f) << c.name;
    EXPECT_EQ(VestedShares(c.schedule, 800, granted, anniversary), 800.0f) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cliffs, CliffTest,
                         ::testing::Values(CliffCase{"1YC", 12, 1}, CliffCase{"2YC", 13, 2},
                                           CliffCase{"3YC", 14, 3}, CliffCase{"4YC", 15, 4},
                                           CliffCase{"5YC", 16, 5}),
                         CaseName{});

TEST_F(GrantTest, ExpiringTwoGrantsMakesOneRecordUnderOneSaleNumber) {
    doc.ReceiveGrant({.symbol = "XYZ",
                      .companyName = "Xyz",
                      .shares = 400,
                      .strikePrice = 10,
                      .date = At(2000, 1, 10),
                      .optionType = "ISO",
                      .vestingSchedule = 3,
                      .grantId = "A",
                      .comment = ""});
    doc.ReceiveGrant({.symbol = "XYZ",
                      .companyName = "Xyz",
                      .shares = 100,
                      .strikePrice = 10,
                      .date = At(2000, 1, 10),
                      .optionType = "ISO",
                      .vestingSchedule = 17,
                      .grantId = "B",
                      .comment = ""});
    doc.Purchases()[1]->AddSale(100, 25, At(2001, 3, 1), 0, "", 0);
    doc.Purchase({.symbol = "XYZ",
                  .companyName = "Xyz",
                  .shares = 50,
                  .price = 10,
                  .date = At(2000, 1, 10),
                  .commission = 0,
                  .purchaseType = "Direct Purchase",
                  .comment = ""});
    doc.SetNextSaleNumber(4);
    const int records = doc.RecordCount();

    doc.ExpireOptions("XYZ-O", At(2005, 1, 1), "gone");
    const CPurchase& first = *doc.Purchases()[0];
    ASSERT_EQ(first.sales.size(), 1u);
    EXPECT_EQ(first.sales[0].shares, 400.0f);
    EXPECT_EQ(first.sales[0].price, -1.0f);
    EXPECT_EQ(first.sales[0].commission, 0.0f);
    EXPECT_EQ(first.sales[0].saleNumber, 4);
    EXPECT_EQ(first.sales[0].comment, "gone");
    EXPECT_EQ(first.availableShares, 0.0f);
    EXPECT_EQ(doc.Purchases()[1]->sales.size(), 1u);
    EXPECT_TRUE(doc.Purchases()[2]->sales.empty());
    EXPECT_EQ(doc.NextSaleNumber(), 5);
    EXPECT_EQ(doc.RecordCount(), records + 1);
}

TEST_F(GrantTest, ExpiringWhenNothingIsHeldChangesNothing) {
    doc.ReceiveGrant({.symbol = "XYZ",
                      .companyName = "Xyz",
                      .shares = 100,
                      .strikePrice = 10,
                      .date = At(2000, 1, 10),
                      .optionType = "ISO",
                      .vestingSchedule = 17,
                      .grantId = "B",
                      .comment = ""});
    doc.Purchases()[0]->AddSale(100, 25, At(2001, 3, 1), 0, "", 0);
    doc.SetModified(false);
    doc.ExpireOptions("XYZ", At(2005, 1, 1), "");
    EXPECT_EQ(doc.Purchases()[0]->sales.size(), 1u);
    EXPECT_EQ(doc.NextSaleNumber(), 0);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(GrantTest, OptionSharesHeldCountUnvestedOptions) {
    ScopedClock clock(At(2000, 6, 1));
    doc.ReceiveGrant({.symbol = "XYZ",
                      .companyName = "Xyz",
                      .shares = 1000,
                      .strikePrice = 10,
                      .date = At(2000, 1, 10),
                      .optionType = "ISO",
                      .vestingSchedule = 3,
                      .grantId = "",
                      .comment = ""});
    EXPECT_EQ(doc.ExercisableShares("XYZ-O"), 0.0f);
    EXPECT_EQ(doc.OptionSharesHeld("XYZ-O"), 1000.0f);
}

}  // namespace

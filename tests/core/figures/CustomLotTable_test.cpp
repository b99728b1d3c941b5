#include "core/figures/CustomLotTable.h"

#include <gtest/gtest.h>

#include "support/TestClock.h"

namespace {

// Two lots of XYZ as the document lists them: 100 at 10 and 50 at 12.
std::vector<CustomLot> Lots() {
    return {{.date = At(2001, 3, 1), .available = 100, .price = 10},
            {.date = At(2002, 6, 15), .available = 50, .price = 12}};
}

TEST(CustomLotTableTest, ListsEveryLotAsTheFormShowsIt) {
    const CustomLotTable table(Lots(), true, 120.0f);
    ASSERT_EQ(table.Count(), 2);
    EXPECT_EQ(table.Line(0), "03/01/2001    100.0000       10.0000");
    EXPECT_EQ(CustomLotTable(Lots(), false, 1.0f).Line(1), "15/06/2002     50.0000       12.0000");
    EXPECT_FLOAT_EQ(table.Available(1), 50.0f);
    EXPECT_FLOAT_EQ(table.Remaining(), 120.0f);
    EXPECT_EQ(table.Amounts(), (std::vector<float>{0.0f, 0.0f}));
}

TEST(CustomLotTableTest, CommitRewritesTheLineWithTheSharesSold) {
    CustomLotTable table(Lots(), true, 120.0f);
    ASSERT_TRUE(table.Commit(0, 80.0f));
    EXPECT_EQ(table.Line(0), "03/01/2001    100.0000       10.0000       80.0000");
    EXPECT_EQ(table.RemainingText(), "40.0000");
}

TEST(CustomLotTableTest, CommitAboveTheLotIsRefusedAndChangesNothing) {
    CustomLotTable table(Lots(), true, 120.0f);
    EXPECT_FALSE(table.Commit(1, 50.0001f));
    EXPECT_FLOAT_EQ(table.Amount(1), 0.0f);
    EXPECT_FLOAT_EQ(table.Remaining(), 120.0f);
    EXPECT_EQ(table.Line(1), "06/15/2002     50.0000       12.0000");
}

TEST(CustomLotTableTest, CommittingZeroGivesTheAmountBack) {
    CustomLotTable table(Lots(), true, 120.0f);
    ASSERT_TRUE(table.Commit(0, 70.0f));
    ASSERT_TRUE(table.Commit(0, 0.0f));
    EXPECT_FLOAT_EQ(table.Remaining(), 120.0f);
}

TEST(CustomLotTableTest, ANegativeAmountIsTakenButBlocksTheSale) {
    CustomLotTable table(Lots(), true, 10.0f);
    ASSERT_TRUE(table.Commit(1, -2.0f));
    EXPECT_FLOAT_EQ(table.Remaining(), 12.0f);
    // 12 from the first lot would place everything, yet 12 shares would be sold for 10.
    ASSERT_TRUE(table.Commit(0, 12.0f));
    EXPECT_FLOAT_EQ(table.Remaining(), 0.0f);
    EXPECT_FALSE(table.ReadyToSell());
    ASSERT_TRUE(table.Commit(1, 0.0f));
    ASSERT_TRUE(table.Commit(0, 10.0f));
    EXPECT_TRUE(table.ReadyToSell());
}

TEST(CustomLotTableTest, SellAvailableTakesOnlyWhatIsLeft) {
    CustomLotTable table(Lots(), true, 120.0f);
    table.SellAvailable(0);
    EXPECT_FLOAT_EQ(table.Amount(0), 100.0f);
    table.SellAvailable(1);
    EXPECT_FLOAT_EQ(table.Amount(1), 20.0f);
    EXPECT_EQ(table.RemainingText(), "0.0000");
    EXPECT_TRUE(table.ReadyToSell());
    // Pressing it again keeps the lot's own amount.
    table.SellAvailable(1);
    EXPECT_FLOAT_EQ(table.Amount(1), 20.0f);
}

TEST(CustomLotTableTest, HalfAShareLeftIsNotReadyButFloatDustIs) {
    CustomLotTable table(Lots(), true, 100.5f);
    ASSERT_TRUE(table.Commit(0, 100.0f));
    EXPECT_FALSE(table.ReadyToSell());
    ASSERT_TRUE(table.Commit(1, 0.5f));
    EXPECT_TRUE(table.ReadyToSell());

    CustomLotTable thirds(Lots(), true, 0.3f);
    ASSERT_TRUE(thirds.Commit(0, 0.1f));
    ASSERT_TRUE(thirds.Commit(1, 0.2f));
    EXPECT_TRUE(thirds.ReadyToSell());
}

}  // namespace

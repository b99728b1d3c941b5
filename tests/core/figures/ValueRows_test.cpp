#include "core/figures/ValueRows.h"

#include <gtest/gtest.h>

namespace {

TEST(ValueRowsTest, ColumnsEndAtFixedCharacters) {
    const std::string row = ValueInitialRow("XYZ", 100.0f, 12.0f);
    EXPECT_EQ(row, "XYZ      100.0000    12.0000");
    EXPECT_EQ(row.size(), 28u);
}

TEST(ValueRowsTest, CommittedRowShowsTheEntryAsTyped) {
    EXPECT_EQ(ValueCommittedRow("XYZ", "100.0000", "12.5"), "XYZ      100.0000       12.5");
}

TEST(ValueRowsTest, PaddingVanishesForLongTexts) {
    EXPECT_EQ(Pad(0), "");
    EXPECT_EQ(Pad(-3), "");
    EXPECT_EQ(ValueCommittedRow("LONGSYMBOLNAME", "123456.0000", "12345678901.5"),
              "LONGSYMBOLNAME123456.000012345678901.5");
}

TEST(ValueRowsTest, CalculatingTwiceGivesTheSameRow) {
    const std::string row = ValueInitialRow("XYZ", 100.0f, 12.0f);
    const std::string once = ValueCalculatedRow(row, 1200.0f, 40.0f);
    EXPECT_EQ(once, "XYZ      100.0000    12.0000    1200.0000  40.0000");
    EXPECT_EQ(ValueCalculatedRow(once, 1200.0f, 40.0f), once);
}

TEST(ValueRowsTest, ReadsSymbolSharesAndPriceBack) {
    const ValueRowFields fields =
        ReadValueRow("XYZ      100.0000    12.0000    1200.0000  40.0000");
    EXPECT_EQ(fields.symbol, "XYZ");
    EXPECT_EQ(fields.sharesText, "100.0000");
    EXPECT_FLOAT_EQ(fields.price, 12.0f);
}

TEST(ValueRowsTest, PercentOfANothingTotalIsZero) {
    EXPECT_FLOAT_EQ(PercentOfTotal(0.0f, 0.0f), 0.0f);
    EXPECT_FLOAT_EQ(PercentOfTotal(25.0f, 100.0f), 25.0f);
}

}  // namespace

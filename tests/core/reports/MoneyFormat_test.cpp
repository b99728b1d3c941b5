#include "reports/MoneyFormat.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct MoneyCase {
    float amount;
    const char* expected;
};

class MoneyFormatTest : public ::testing::TestWithParam<MoneyCase> {};

TEST_P(MoneyFormatTest, GroupsIntegerDigitsByThree) {
    EXPECT_EQ(FormatMoney(GetParam().amount), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Amounts, MoneyFormatTest,
    ::testing::Values(MoneyCase{0.0f, "0.00"}, MoneyCase{999.99f, "999.99"},
                      MoneyCase{1000.0f, "1,000.00"}, MoneyCase{1234.56f, "1,234.56"},
                      MoneyCase{123456.78f, "123,456.78"}, MoneyCase{1234567.5f, "1,234,567.50"},
                      MoneyCase{-123.45f, "-123.45"}, MoneyCase{-999.5f, "-999.50"},
                      MoneyCase{-1234.56f, "-1,234.56"}, MoneyCase{-1234567.0f, "-1,234,567.00"}));

TEST(MoneyFormatTest, LeavesNonFiniteAmountsAlone) {
    EXPECT_EQ(FormatMoney(std::numeric_limits<float>::infinity()), "inf");
    EXPECT_EQ(FormatMoney(-std::numeric_limits<float>::infinity()), "-inf");
}

TEST(MoneyFormatTest, GroupsTheLargestFloat) {
    const std::string text = FormatMoney(std::numeric_limits<float>::max());
    EXPECT_EQ(text.substr(0, 8), "340,282,");
    EXPECT_EQ(text.substr(text.size() - 3), ".00");
}

}  // namespace

#include "core/reports/MoneyFormat.h"

#include <gtest/gtest.h>

#include <limits>

#include "support/CaseName.h"

namespace {

struct MoneyCase {
    const char* name;
    float value;
    const char* text;
};

class MoneyFormatTest : public ::testing::TestWithParam<MoneyCase> {};

TEST_P(MoneyFormatTest, GroupsTheIntegerDigits) {
    EXPECT_EQ(FormatMoney(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MoneyFormatTest,
    ::testing::Values(MoneyCase{"Zero", 0.0f, "0.00"}, MoneyCase{"Small", 123.45f, "123.45"},
                      MoneyCase{"NegativeSmall", -123.45f, "-123.45"},
                      MoneyCase{"Thousands", 1234.56f, "1,234.56"},
                      MoneyCase{"NegativeThousands", -1234.56f, "-1,234.56"},
                      MoneyCase{"SixDigits", 123456.78f, "123,456.78"},
                      MoneyCase{"Millions", 1234567.0f, "1,234,567.00"},
                      MoneyCase{"NegativeMillions", -1234567.0f, "-1,234,567.00"},
                      MoneyCase{"RoundsUpIntoAGroup", 999.999f, "1,000.00"},
                      MoneyCase{"LargestWithoutComma", 999.99f, "999.99"},
                      MoneyCase{"SmallestWithComma", 1000.0f, "1,000.00"},
                      MoneyCase{"NegativeLargestWithoutComma", -999.5f, "-999.50"},
                      MoneyCase{"Huge", 1.0e15f, "999,999,986,991,104.00"},
                      MoneyCase{"Infinite", std::numeric_limits<float>::infinity(), "inf"},
                      MoneyCase{"NegativeInfinite", -std::numeric_limits<float>::infinity(),
                                "-inf"}),
    CaseName{});

TEST(MoneyFormatTest, GroupsTheLargestFloat) {
    const std::string text = FormatMoney(std::numeric_limits<float>::max());
    EXPECT_EQ(text.substr(0, 8), "340,282,");
    EXPECT_EQ(text.substr(text.size() - 3), ".00");
}

}  // namespace

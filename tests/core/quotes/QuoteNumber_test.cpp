#include "core/quotes/QuoteNumber.h"

#include <gtest/gtest.h>

#include <string>

#include "support/CaseName.h"

namespace {

struct NumberCase {
    const char* name;
    std::string text;
    std::size_t position;
    float expected;
};

class QuoteNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(QuoteNumberTest, ReadsLikePercentF) {
    const NumberCase& c = GetParam();
    EXPECT_EQ(ReadQuoteNumber(c.text, c.position), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, QuoteNumberTest,
    ::testing::Values(
        NumberCase{"Plain", "12.25</b>", 0, 12.25f}, NumberCase{"FromPosition", "$ 7.5", 1, 7.5f},
        NumberCase{"LeadingWhiteSpace", " \t\r\n42", 0, 42.0f},
        NumberCase{"SignedAndExponent", "-1.5e2x", 0, -150.0f},
        NumberCase{"PlusSignAndBareFraction", "+.5", 0, 0.5f},
        NumberCase{"TrailingPoint", "5.", 0, 5.0f},
        NumberCase{"ExponentWithoutDigitsIsLeftBehind", "3e+", 0, 3.0f},
        NumberCase{"StopsAtSecondPoint", "1.2.3", 0, 1.2f},
        NumberCase{"NotANumber", "N/A", 0, 0.0f}, NumberCase{"SignAlone", "-", 0, 0.0f},
        NumberCase{"PointAlone", ".", 0, 0.0f}, NumberCase{"PositionAtEnd", "12", 2, 0.0f},
        NumberCase{"PositionPastEnd", "12", 200, 0.0f},
        NumberCase{"BeyondFloatRange", "1e39", 0, 0.0f},
        NumberCase{"BeyondDoubleRange", "-1e999", 0, 0.0f},
        NumberCase{"LargestFloat", "3.4028234e38", 0, 3.4028234e38f},
        NumberCase{"UnderflowIsZero", "1e-400", 0, 0.0f},
        NumberCase{"InfinityIsNoPrice", "inf", 0, 0.0f}, NumberCase{"NanIsNoPrice", "nan", 0, 0.0f},
        NumberCase{"HexIsReadAsItsZero", "0x1p4", 0, 0.0f},
        NumberCase{"ThousandsCommaStops", "1,234.5", 0, 1.0f}),
    CaseName());

TEST(QuoteNumberTest, LongRunOfDigitsIsReadInOnePass) {
    const std::string digits = "0." + std::string(1 << 20, '5');
    EXPECT_FLOAT_EQ(ReadQuoteNumber(digits, 0), 0.5555556f);
    EXPECT_EQ(ReadQuoteNumber(std::string(1 << 20, '9'), 0), 0.0f);  // far past float range
}

struct PairCase {
    const char* name;
    std::string text;
    float first;
    float second;
};

class QuoteNumberPairTest : public ::testing::TestWithParam<PairCase> {};

TEST_P(QuoteNumberPairTest, ReadsTheSecondOnlyBehindADash) {
    const PairCase& c = GetParam();
    const QuoteNumberPair pair = ReadQuoteNumberPair(c.text, 0);
    EXPECT_EQ(pair.first, c.first);
    EXPECT_EQ(pair.second, c.second);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, QuoteNumberPairTest,
    ::testing::Values(PairCase{"Spaced", "11.75 - 0.50", 11.75f, 0.5f},
                      PairCase{"Tight", "11.75-0.50", 11.75f, 0.5f},
                      PairCase{"NegativeSecond", "12.75 - -0.50", 12.75f, -0.5f},
                      PairCase{"DashTakenAsSeparator", "12.75 -0.50", 12.75f, 0.5f},
                      PairCase{"NoDash", "12.75 0.50", 12.75f, 0.0f},
                      PairCase{"NothingBehindDash", "12.75 - x", 12.75f, 0.0f},
                      PairCase{"FirstUnreadable", "x - 0.50", 0.0f, 0.0f},
                      PairCase{"Empty", "", 0.0f, 0.0f}),
    CaseName());

}  // namespace

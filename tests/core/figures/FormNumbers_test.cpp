#include "core/figures/FormNumbers.h"

#include <gtest/gtest.h>

#include "support/CaseName.h"

namespace {

struct NumberCase {
    std::string name;
    std::string text;
    std::optional<float> whole;       // the field read as a number
    std::optional<double> beginning;  // the number the text begins with
};

class FormNumberTest : public testing::TestWithParam<NumberCase> {};

TEST_P(FormNumberTest, ReadsTheWholeFieldOrTheNumberItBeginsWith) {
    const NumberCase& c = GetParam();
    EXPECT_EQ(ParseFormNumber(c.text), c.whole);
    EXPECT_EQ(LeadingNumber(c.text), c.beginning);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FormNumberTest,
    testing::Values(NumberCase{"plain", "12.5", 12.5f, 12.5},
                    NumberCase{"blanks_around", "  12.5 ", 12.5f, 12.5},
                    NumberCase{"plus_sign", "+3", 3.0f, 3.0},
                    NumberCase{"negative", "-2.25", -2.25f, -2.25},
                    NumberCase{"exponent", "1e3", 1000.0f, 1000.0},
                    NumberCase{"empty", "", std::nullopt, std::nullopt},
                    NumberCase{"blank", "   ", std::nullopt, std::nullopt},
                    NumberCase{"word", "abc", std::nullopt, std::nullopt},
                    NumberCase{"number_then_text", "12abc", std::nullopt, 12.0},
                    NumberCase{"two_signs", "+-3", std::nullopt, std::nullopt},
                    NumberCase{"beyond_float", "1e39", std::nullopt, 1e39},
                    NumberCase{"beyond_double", "1e400", std::nullopt, std::nullopt},
                    NumberCase{"infinity", "inf", std::nullopt, std::nullopt},
                    NumberCase{"not_a_number", "nan", std::nullopt, std::nullopt}),
    CaseName());

TEST(FormNumberTest, LeadingFloatRefusesWhatAFloatCannotHold) {
    EXPECT_EQ(LeadingFloat("12.5 dollars"), 12.5f);
    EXPECT_EQ(LeadingFloat("1e39"), std::nullopt);
    EXPECT_EQ(LeadingFloat("x1"), std::nullopt);
}

TEST(FormNumberTest, IntegersMustFillTheField) {
    EXPECT_EQ(ParseFormInteger(" 12 "), 12);
    EXPECT_EQ(ParseFormInteger("-4"), -4);
    EXPECT_EQ(ParseFormInteger("12.5"), std::nullopt);
    EXPECT_EQ(ParseFormInteger(""), std::nullopt);
    EXPECT_EQ(ParseFormInteger("99999999999"), std::nullopt);
}

TEST(FormNumberTest, FieldsShowAtMostSixSignificantDigits) {
    EXPECT_EQ(FormatFormNumber(0.0f), "0");
    EXPECT_EQ(FormatFormNumber(12.5f), "12.5");
    EXPECT_EQ(FormatFormNumber(100.00001f), "100");
    EXPECT_EQ(FormatFormNumber(1234567.0f), "1.23457e+06");
}

}  // namespace

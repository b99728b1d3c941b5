#include "core/reports/ReportText.h"

#include <gtest/gtest.h>

#include "core/model/LocalTime.h"
#include "support/CaseName.h"

namespace {

struct SelectionCase {
    const char* name;
    const char* symbolText;
    const char* symbol;
    bool optionsOnly;
};

class LotSelectionTest : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(LotSelectionTest, OnlyTheOptionSuffixSelectsGrants) {
    const SelectionCase& c = GetParam();
    const LotSelection selection = SelectLots(c.symbolText);
    EXPECT_EQ(selection.symbol, c.symbol);
    EXPECT_EQ(selection.optionsOnly, c.optionsOnly);
}

INSTANTIATE_TEST_SUITE_P(Cases, LotSelectionTest,
                         ::testing::Values(SelectionCase{"ABO", "AB-O", "AB", true},
                                           SelectionCase{"TwoCharacters", "A-", "A-", false},
                                           SelectionCase{"BareSuffix", "-O", "-O", false},
                                           SelectionCase{"ShareClass", "BRK-B", "BRK-B", false},
                                           SelectionCase{"Plain", "XYZ", "XYZ", false},
                                           SelectionCase{"Empty", "", "", false}),
                         CaseName{});

struct ColumnCase {
    const char* name;
    const char* text;
    std::size_t width;
    const char* left;
    const char* right;
};

class ColumnTest : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(ColumnTest, CutsPadsAndAligns) {
    const ColumnCase& c = GetParam();
    std::string left = "|";
    AppendColumn(left, c.text, c.width);
    EXPECT_EQ(left, std::string("|") + c.left);
    std::string right = "|";
    AppendRightAligned(right, c.text, c.width);
    EXPECT_EQ(right, std::string("|") + c.right);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ColumnTest,
    ::testing::Values(ColumnCase{"Shorter", "ab", 5, "ab   ", "   ab"},
                      ColumnCase{"Exact", "abcde", 5, "abcde", "abcde"},
                      // A longer value is cut on the left side, kept whole on the right.
                      ColumnCase{"Longer", "abcdefg", 5, "abcde", "abcdefg"},
                      ColumnCase{"Empty", "", 3, "   ", "   "},
                      ColumnCase{"Accented", "\xC3\xA9t\xC3\xA9", 4, "\xC3\xA9t\xC3\xA9 ",
                                 " \xC3\xA9t\xC3\xA9"}),
    CaseName{});

TEST(ReportTextTest, DatePatternsFollowTheDateOrder) {
    const std::int64_t date = LocalTimeOf(2007, 3, 9, 15);
    EXPECT_EQ(FormatShortDate(date, true), "03/09/07");
    EXPECT_EQ(FormatShortDate(date, false), "09/03/07");
    EXPECT_EQ(FormatLongDate(date, true), "03/09/2007");
    EXPECT_EQ(FormatLongDate(date, false), "09/03/2007");
}

TEST(ReportTextTest, AppendFormatTakesFiguresOfAnySize) {
    std::string text = "x";
    AppendFormat(text, "%.2f", 3.0e38);
    EXPECT_EQ(text.size(), 1u + 39u + 3u);
    EXPECT_EQ(text.substr(0, 3), "x30");
}

}  // namespace

#include "core/figures/AlertRows.h"

#include <gtest/gtest.h>

#include "core/model/Kx7Doc.h"
#include "support/CaseName.h"
#include "support/DocBuilder.h"

namespace {

constexpr Rgb kRed = view_palette::kAlertLow;
constexpr Rgb kGreen = view_palette::kAlertHigh;

struct AlertCase {
    std::string name;
    float price;  // 10 shares bought at 10
    AlertThresholds marks;
    std::vector<AlertRow> rows;
    int state;
};

class AlertRowsTest : public ::testing::TestWithParam<AlertCase> {};

TEST_P(AlertRowsTest, FiresStrictlyAndStoresTheState) {
    const AlertCase& c = GetParam();
    Settings settings;
    CKx7Doc doc(settings);
    AddLot(doc, "XYZ", 10, 10).marketPrice = c.price;
    AddLot(doc, "QUIET", 10, 10).marketPrice = 1;  // no alert entry: never listed
    doc.SetAlert("XYZ", c.marks);
    doc.SetModified(false);

    EXPECT_EQ(EvaluateAlerts(doc), c.rows);
    EXPECT_EQ(doc.AlertState("XYZ"), c.state);
    EXPECT_FALSE(doc.IsModified());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AlertRowsTest,
    ::testing::Values(
        AlertCase{"low_mark_and_percent_down",
                  8.0f,
                  {.lowMark = 9.0, .percentDown = 10.0},
                  {{" XYZ", "9.00", "8.00", kRed}, {" XYZ", "20.00%", "10.00%", kRed}},
                  -1},
        AlertCase{"price_equal_to_high_mark", 12.0f, {.highMark = 12.0}, {}, 0},
        AlertCase{"price_equal_to_low_mark", 9.0f, {.lowMark = 9.0}, {}, 0},
        AlertCase{"high_mark_and_percent_up",
                  12.5f,
                  {.highMark = 12.0, .percentUp = 20.0},
                  {{" XYZ", "12.00", "12.50", kGreen}, {" XYZ", "25.00%", "20.00%", kGreen}},
                  1},
        AlertCase{"percent_up_not_reached", 11.0f, {.percentUp = 10.0}, {}, 0},
        AlertCase{"last_firing_test_sets_the_state",
                  8.0f,
                  {.lowMark = 9.0, .highMark = 7.0},
                  {{" XYZ", "9.00", "8.00", kRed}, {" XYZ", "7.00", "8.00", kGreen}},
                  1},
        AlertCase{"all_four_fire",
                  5.0f,
                  {.lowMark = 6.0, .highMark = 4.0, .percentDown = 10.0, .percentUp = -60.0},
                  {{" XYZ", "6.00", "5.00", kRed},
                   {" XYZ", "4.00", "5.00", kGreen},
                   {" XYZ", "50.00%", "10.00%", kRed},
                   {" XYZ", "-50.00%", "-60.00%", kGreen}},
                  1}),
    CaseName{});

TEST(AlertRowsCostTest, NoPercentAlertWithoutACost) {
    Settings settings;
    CKx7Doc doc(settings);
    AddLot(doc, "FREE", 10, 0).marketPrice = 4;
    doc.SetAlert("FREE", {.percentDown = 5.0, .percentUp = 5.0});
    EXPECT_TRUE(EvaluateAlerts(doc).empty());
    EXPECT_EQ(doc.AlertState("FREE"), 0);
}

TEST(AlertRowsStateTest, ClearsAStateThatNoLongerFires) {
    Settings settings;
    CKx7Doc doc(settings);
    CPurchase& lot = AddLot(doc, "XYZ", 10, 10);
    lot.marketPrice = 5;
    doc.SetAlert("XYZ", {.lowMark = 6.0});
    EvaluateAlerts(doc);
    ASSERT_EQ(doc.AlertState("XYZ"), -1);
    lot.marketPrice = 7;
    EXPECT_TRUE(EvaluateAlerts(doc).empty());
    EXPECT_EQ(doc.AlertState("XYZ"), 0);
}

}  // namespace

#include "core/figures/PieLayout.h"

#include <gtest/gtest.h>

#include "core/figures/PortfolioSnapshot.h"
#include "support/CaseName.h"
#include "support/TestClock.h"

namespace {

constexpr ViewRect kBody = view_layout::kPieBody;

PortfolioSnapshot SnapshotOf(const std::vector<float>& values) {
    PortfolioSnapshot snapshot;
    for (std::size_t i = 0; i < values.size(); ++i) {
        snapshot.entries.push_back({"S" + std::to_string(i), values[i]});
        snapshot.total += values[i];
    }
    return snapshot;
}

TEST(PieLayoutTest, FixedGeometry) {
    const PieLayout layout = LayoutPie(SnapshotOf({1}), 20, kBody);
    EXPECT_EQ(layout.centre, (ViewPoint{410, 180}));
    EXPECT_EQ(layout.bounds, (ViewRect{280, 50, 540, 310}));
}

TEST(PieLayoutTest, EmptyOrWorthlessPortfolioIsAFullCircle) {
    for (const auto& values : {std::vector<float>{}, std::vector<float>{0, 0}}) {
        const PieLayout layout = LayoutPie(SnapshotOf(values), 20, kBody);
        EXPECT_TRUE(layout.fullCircle);
        EXPECT_TRUE(layout.slices.empty());
        EXPECT_FALSE(layout.other);
    }
}

// Five slices of eight symbols by value, largest first: 40, 20, 10, 10, 5, then 15 in
// "Other" (values of 100 in all).
TEST(PieLayoutTest, FiveOfEightSymbolsLeaveTheRestToOther) {
    const PieLayout layout = LayoutPie(SnapshotOf({40, 20, 10, 10, 5, 6, 5, 4}), 5, kBody);
    ASSERT_EQ(layout.slices.size(), 5u);
    const double starts[] = {0, 144, 216, 252, 288};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_NEAR(layout.slices[i].startAngle, starts[i], 1e-3) << i;
        EXPECT_EQ(layout.slices[i].colourIndex, static_cast<int>(i));
        ASSERT_TRUE(layout.slices[i].wedge);
    }
    // The first wedge starts one pixel left of twelve o'clock; each starts where the last
    // one ended.
    EXPECT_EQ(layout.slices[0].wedge->from, (ViewPoint{409, 50}));
    for (std::size_t i = 1; i < 5; ++i) {
        EXPECT_EQ(layout.slices[i].wedge->from, layout.slices[i - 1].wedge->to);
    }
    // 144 degrees counter-clockwise ends on the bottom edge, left of the centre.
    EXPECT_EQ(layout.slices[0].wedge->to.y, 310);
    EXPECT_LT(layout.slices[0].wedge->to.x, 410);
    ASSERT_TRUE(layout.other);
    EXPECT_EQ(layout.other->label, "Other");
    EXPECT_NEAR(layout.other->startAngle, 306, 1e-3);
    EXPECT_EQ(layout.other->wedge->from, layout.slices[4].wedge->to);
    EXPECT_EQ(layout.other->wedge->to, (ViewPoint{409, 50}));
}

TEST(PieLayoutTest, ThreeSymbolsCloseTheCircleWithoutOther) {
    const PieLayout layout = LayoutPie(SnapshotOf({50, 30, 20}), 30, kBody);
    ASSERT_EQ(layout.slices.size(), 3u);
    EXPECT_FALSE(layout.other);
    // The sum of the sweeps ends at twelve o'clock, give or take the rounding of the sum.
    EXPECT_NEAR(layout.slices[2].wedge->to.x, 410, 1);
    EXPECT_EQ(layout.slices[2].wedge->to.y, 50);
    EXPECT_NE(layout.slices[2].wedge->to, layout.slices[2].wedge->from);
}

TEST(PieLayoutTest, SliverGetsALabelButNoWedge) {
    const PieLayout layout = LayoutPie(SnapshotOf({60, 0.4f, 39.6f}), 30, kBody);
    ASSERT_EQ(layout.slices.size(), 3u);
    EXPECT_FALSE(layout.slices[1].wedge);
    EXPECT_EQ(layout.slices[1].label, "S1");
    EXPECT_EQ(layout.slices[1].labelBox.Width(), 28);
    // The next wedge starts where the last drawn one ended and so covers the sliver.
    EXPECT_EQ(layout.slices[2].wedge->from, layout.slices[0].wedge->to);
}

TEST(PieLayoutTest, LabelSitsOutsideThePieAtTheMiddleOfItsSlice) {
    // One half-circle slice: its label is at 90 degrees, left of the pie.
    const PieLayout layout = LayoutPie(SnapshotOf({50, 50}), 30, kBody);
    EXPECT_EQ(layout.slices[0].labelBox, (ViewRect{256, 174, 284, 184}));
}

struct EdgeCase {
    std::string name;
    double angle;
    std::optional<ViewPoint> expected;
};

class PieEdgeTest : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(PieEdgeTest, FindsThePointOnTheBoundingBox) {
    EXPECT_EQ(PieEdgePoint(GetParam().angle, {410, 180}, 130, 130, {280, 50, 540, 310}),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Octants, PieEdgeTest,
                         ::testing::Values(EdgeCase{"top", 0, ViewPoint{410, 50}},
                                           EdgeCase{"upper_left", 45, ViewPoint{280, 50}},
                                           EdgeCase{"left", 90, ViewPoint{280, 180}},
                                           EdgeCase{"bottom", 180, ViewPoint{410, 310}},
                                           EdgeCase{"right", 270, ViewPoint{540, 180}},
                                           EdgeCase{"full_turn", 360, ViewPoint{410, 50}},
                                           EdgeCase{"past_361", 361.5, std::nullopt}),
                         CaseName{});

struct UpdateCase {
    std::string name;
    int hour;
    int minute;
    const char* expected;
};

class LastUpdateTest : public ::testing::TestWithParam<UpdateCase> {};

TEST_P(LastUpdateTest, UsesATwelveHourClock) {
    const UpdateCase& c = GetParam();
    EXPECT_EQ(LastUpdateText(LocalTimeOf(2024, 6, 3, c.hour, c.minute)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Hours, LastUpdateTest,
                         ::testing::Values(UpdateCase{"midnight", 0, 5, "Last Update: 12:05 am"},
                                           UpdateCase{"morning", 9, 41, "Last Update: 9:41 am"},
                                           UpdateCase{"noon", 12, 30, "Last Update: 12:30 pm"},
                                           UpdateCase{"afternoon", 13, 7, "Last Update: 1:07 pm"},
                                           UpdateCase{"late", 23, 59, "Last Update: 11:59 pm"}),
                         CaseName{});

TEST(LastUpdateTest, NoUpdateNoText) {
    EXPECT_EQ(LastUpdateText(0), "");
}

}  // namespace

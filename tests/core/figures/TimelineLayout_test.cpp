#include "core/figures/TimelineLayout.h"

#include <gtest/gtest.h>

#include "core/model/Kx7Doc.h"
#include "support/DocBuilder.h"
#include "support/TestClock.h"

namespace {

constexpr ViewRect kBody = view_layout::kTimelineBody;  // (260, 360, 560, 430)

class TimelineTest : public ::testing::Test {
protected:
    // Records one sample per value, a minute apart from 9:30.
    void Sample(const std::vector<float>& values) {
        int minute = 30;
        for (const float value : values) {
            lot.marketPrice = value;
            clock.Set(LocalTimeOf(2024, 6, 3, 9, minute++));
            doc.RecordTimelineSample();
        }
    }

    ScopedClock clock{At(2024, 6, 3)};
    Settings settings;
    CKx7Doc doc{settings};
    CPurchase& lot = AddLot(doc, "XYZ", 1, 1);
};

TEST_F(TimelineTest, NoSamplesOrOneSampleDrawNoGraph) {
    EXPECT_FALSE(LayoutTimeline(doc, kBody).graph);
    Sample({100});
    const TimelineLayout layout = LayoutTimeline(doc, kBody);
    EXPECT_FALSE(layout.graph);
    EXPECT_EQ(layout.sampleCount, 1);
}

TEST_F(TimelineTest, TwoEqualSamplesDrawTheFlatLineWithOneLabel) {
    Sample({250, 250});
    const TimelineLayout layout = LayoutTimeline(doc, kBody);
    ASSERT_TRUE(layout.graph);
    EXPECT_TRUE(layout.flat);
    EXPECT_FALSE(layout.minLabel);
    EXPECT_FALSE(layout.maxLabel);
    EXPECT_EQ(layout.firstLabel, (TimelineLabel{"250", {260, 370, 288, 400}}));
    EXPECT_EQ(layout.lineFrom, (ViewPoint{290, 385}));
    EXPECT_EQ(layout.lineTo, (ViewPoint{560, 385}));
    EXPECT_TRUE(layout.series.empty());
    EXPECT_EQ(layout.firstTime.text, "9:30");
    EXPECT_EQ(layout.lastTime.text, "9:31");
}

TEST_F(TimelineTest, SeveralSamplesScaleBetweenMinAndMax) {
    Sample({150, 100, 200, 175});
    const TimelineLayout layout = LayoutTimeline(doc, kBody);
    ASSERT_TRUE(layout.graph);
    EXPECT_FALSE(layout.flat);
    EXPECT_EQ(layout.minLabel, (TimelineLabel{"100", {260, 400, 288, 410}}));
    EXPECT_EQ(layout.maxLabel, (TimelineLabel{"200", {260, 359, 288, 369}}));
    // The first sample, 150, is halfway up the 50 pixels.
    EXPECT_EQ(layout.firstLabel, (TimelineLabel{"150", {260, 380, 288, 390}}));
    EXPECT_EQ(layout.lineFrom, (ViewPoint{290, 385}));
    EXPECT_EQ(layout.series,
              (std::vector<ViewPoint>{{290, 385}, {380, 410}, {470, 360}, {560, 373}}));
    EXPECT_EQ(layout.firstTime.box, (ViewRect{291, 419, 559, 429}));
    EXPECT_EQ(layout.lastTime, (TimelineLabel{"9:33", {261, 419, 559, 429}}));
}

TEST_F(TimelineTest, AfternoonTimesUseTheTwentyFourHourClock) {
    lot.marketPrice = 1;
    clock.Set(LocalTimeOf(2024, 6, 3, 13, 5));
    doc.RecordTimelineSample();
    clock.Set(LocalTimeOf(2024, 6, 3, 15, 45));
    doc.RecordTimelineSample();
    const TimelineLayout layout = LayoutTimeline(doc, kBody);
    EXPECT_EQ(layout.firstTime.text, "13:05");
    EXPECT_EQ(layout.lastTime.text, "15:45");
}

}  // namespace

#include "core/quotes/UpdateSchedule.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "support/CaseName.h"
#include "support/TestClock.h"

namespace {

std::int64_t AtMinute(int year, int month, int day, int hour, int minute) {
    return LocalTimeOf(year, month, day, hour, minute);
}

struct DecisionCase {
    const char* name;
    std::int64_t now;
    std::int64_t lastUpdate;
    bool fetch;
};

class ShouldFetchQuotesTest : public ::testing::TestWithParam<DecisionCase> {};

TEST_P(ShouldFetchQuotesTest, Decides) {
    EXPECT_EQ(ShouldFetchQuotes(GetParam().now, GetParam().lastUpdate), GetParam().fetch);
}

// 6 March 2024 is a Wednesday; 8 and 9 March a Friday and a Saturday.
INSTANTIATE_TEST_SUITE_P(
    Cases, ShouldFetchQuotesTest,
    ::testing::Values(
        DecisionCase{"NothingFetchedYet", At(2024, 3, 9, 12), 0, true},
        DecisionCase{"MarketTime", At(2024, 3, 6, 11), AtMinute(2024, 3, 6, 10, 55), true},
        DecisionCase{"MarketOpensAtNine", At(2024, 3, 6, 9), AtMinute(2024, 3, 6, 8, 59), true},
        DecisionCase{"LastMarketHourIsSixteen", AtMinute(2024, 3, 6, 16, 59),
                     AtMinute(2024, 3, 6, 16, 49), true},
        DecisionCase{"SundayIsNoMarketDay", At(2024, 3, 10, 12), At(2024, 3, 10, 11), false},
        DecisionCase{"SaturdayAfterFridayAfternoon", At(2024, 3, 9, 12),
                     AtMinute(2024, 3, 8, 16, 30), true},
        DecisionCase{"SaturdayNextCycle", AtMinute(2024, 3, 9, 12, 10), At(2024, 3, 9, 12), false},
        DecisionCase{"OnceAfterTheClose", AtMinute(2024, 3, 6, 17, 5), AtMinute(2024, 3, 6, 16, 55),
                     true},
        DecisionCase{"NotTwiceAfterTheClose", AtMinute(2024, 3, 6, 17, 15),
                     AtMinute(2024, 3, 6, 17, 5), false},
        DecisionCase{"MorningAfterEveningUpdate", At(2024, 3, 6, 7), At(2024, 3, 5, 18), false},
        DecisionCase{"MorningAfterAfternoonUpdate", At(2024, 3, 6, 7), AtMinute(2024, 3, 5, 16, 30),
                     true},
        DecisionCase{"TwoDaysLater", At(2024, 3, 7, 7), At(2024, 3, 5, 18), true},
        DecisionCase{"EveningAfterEarlyMorningSameDay", At(2024, 3, 9, 18), At(2024, 3, 9, 8),
                     true},
        DecisionCase{"AfternoonAfterEarlyMorningSameDay", At(2024, 3, 9, 16), At(2024, 3, 9, 8),
                     false},
        DecisionCase{"EveningAfterWeekendMorning", At(2024, 3, 9, 18), At(2024, 3, 9, 9), false},
        DecisionCase{"MonthEndTwoDays", At(2024, 2, 2, 7), At(2024, 1, 31, 18), true},
        DecisionCase{"MonthEndOneDay", At(2024, 2, 1, 7), At(2024, 1, 31, 18), false},
        DecisionCase{"YearEndTwoDays", At(2025, 1, 2, 7), At(2024, 12, 31, 18), true},
        DecisionCase{"YearEndOneDay", At(2025, 1, 1, 7), At(2024, 12, 31, 18), false},
        DecisionCase{"SameDayOfMonthAMonthLater", At(2024, 3, 6, 7), At(2024, 2, 6, 18), true},
        DecisionCase{"LastUpdateAfterNow", At(2024, 3, 6, 7), At(2024, 3, 8, 18), true}),
    CaseName());

struct PauseCase {
    const char* name;
    std::int32_t recordCount;
    int refreshIndex;
    std::int64_t milliseconds;
    int indexAfter;
};

class UpdatePauseTest : public ::testing::TestWithParam<PauseCase> {};

TEST_P(UpdatePauseTest, PausesByTheRefreshIndex) {
    const PauseCase& c = GetParam();
    int index = c.refreshIndex;
    EXPECT_EQ(UpdatePause(c.recordCount, index).count(), c.milliseconds);
    EXPECT_EQ(index, c.indexAfter);
}

INSTANTIATE_TEST_SUITE_P(Table, UpdatePauseTest,
                         ::testing::Values(PauseCase{"OneMinute", 4, 0, 60'000, 0},
                                           PauseCase{"ThreeMinutes", 4, 1, 180'000, 1},
                                           PauseCase{"FiveMinutes", 4, 2, 300'000, 2},
                                           PauseCase{"TenMinutes", 4, 3, 600'000, 3},
                                           PauseCase{"ThirtyMinutes", 4, 4, 1'800'000, 4},
                                           PauseCase{"SixtyMinutes", 4, 5, 3'600'000, 5},
                                           PauseCase{"QuickIndexKept", 4, 99, 10'000, 99},
                                           PauseCase{"SevenResetToThree", 4, 7, 600'000, 3},
                                           PauseCase{"SixResetToThree", 4, 6, 600'000, 3},
                                           PauseCase{"NegativeResetToThree", 4, -1, 600'000, 3},
                                           PauseCase{"EmptyPortfolioIgnoresIndex", 0, 7, 10'000, 7},
                                           PauseCase{"EmptyPortfolioShortPause", 0, 5, 10'000, 5}),
                         CaseName());

}  // namespace

#include "core/quotes/UpdateSchedule.h"

#include <array>
#include <ctime>

#include "core/model/LocalTime.h"

namespace {

using namespace std::chrono_literals;

constexpr int kOpeningHour = 9;
constexpr int kLastMarketHour = 16;
constexpr int kEveningHour = 17;
constexpr int kLastMorningHour = 8;
constexpr int kDefaultRefreshIndex = 3;
constexpr int kQuickRefreshIndex = 99;
constexpr std::chrono::milliseconds kIdlePause = 10s;
constexpr std::array<std::chrono::milliseconds, 6> kRefreshPauses{1min,  3min,  5min,
                                                                  10min, 30min, 60min};

bool IsMarketTime(const std::tm& tm) {
    const bool weekday = tm.tm_wday >= 1 && tm.tm_wday <= 5;
    return weekday && tm.tm_hour >= kOpeningHour && tm.tm_hour <= kLastMarketHour;
}

// Whole days from the local date of `from` to that of `to`.
long DaysBetween(std::int64_t from, std::int64_t to) {
    const auto days = [](std::int64_t time) {
        const LocalDate date = ToLocalDate(time);
        return std::chrono::sys_days{std::chrono::year{date.year} /
                                     std::chrono::month{static_cast<unsigned>(date.month)} /
                                     std::chrono::day{static_cast<unsigned>(date.day)}};
    };
    return static_cast<long>((days(to) - days(from)).count());
}

}  // namespace

bool IsMarketTime(std::int64_t time) {
    return IsMarketTime(ToLocalTm(time));
}

bool ShouldFetchQuotes(std::int64_t now, std::int64_t lastUpdate) {
    if (lastUpdate == 0) {
        return true;
    }
    const std::tm nowTm = ToLocalTm(now);
    if (IsMarketTime(nowTm)) {
        return true;
    }
    const std::tm lastTm = ToLocalTm(lastUpdate);
    const long days = DaysBetween(lastUpdate, now);
    if (days != 0) {
        // A last update dated after today (the clock was set back) tells nothing about
        // what was missed, so it is fetched again, like a gap of days.
        if (days > 1 || days < 0) {
            return true;
        }
        return lastTm.tm_hour < kEveningHour;
    }
    if (IsMarketTime(lastTm)) {
        return true;
    }
    return lastTm.tm_hour <= kLastMorningHour && nowTm.tm_hour >= kEveningHour;
}

std::chrono::milliseconds UpdatePause(std::int32_t recordCount, int& refreshIndex) {
    if (recordCount == 0 || refreshIndex == kQuickRefreshIndex) {
        return kIdlePause;
    }
    if (refreshIndex < 0 || refreshIndex >= static_cast<int>(kRefreshPauses.size())) {
        refreshIndex = kDefaultRefreshIndex;
    }
    return kRefreshPauses[static_cast<std::size_t>(refreshIndex)];
}

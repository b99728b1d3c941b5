#include "core/reports/DateSort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "support/CaseName.h"

namespace {

struct Entry {
    std::int64_t date = 0;
    int added = 0;  // the order of adding, to see that equal dates keep it

    bool operator==(const Entry&) const = default;
};

constexpr std::int64_t kDay = 86400;
constexpr std::int64_t kMidnight2000 = 946702800;  // 1 January 2000 in New York

struct DateCase {
    std::string name;
    int count = 0;
    // The date of the i-th entry, from a seeded generator.
    std::function<std::int64_t(std::mt19937_64&, int)> date;
};

class SortByDateTest : public testing::TestWithParam<DateCase> {};

TEST_P(SortByDateTest, MatchesAStableSortByDate) {
    const DateCase& param = GetParam();
    std::mt19937_64 random(7u);
    std::vector<Entry> entries;
    for (int i = 0; i < param.count; ++i) {
        entries.push_back({param.date(random, i), i});
    }
    std::vector<Entry> expected = entries;
    std::stable_sort(expected.begin(), expected.end(),
                     [](const Entry& a, const Entry& b) { return a.date < b.date; });
    SortByDate(entries);
    EXPECT_EQ(entries, expected);
}

std::int64_t Uniform(std::mt19937_64& random, std::int64_t least, std::int64_t most) {
    return std::uniform_int_distribution<std::int64_t>(least, most)(random);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, SortByDateTest,
    testing::Values(
        // Midnights over thirty years, many on the same day, as a portfolio has them.
        DateCase{
            "midnights over thirty years", 20000,
            [](std::mt19937_64& r, int) { return kMidnight2000 + Uniform(r, 0, 30 * 365) * kDay; }},
        // Times of day in any order within each day.
        DateCase{"times within a few days", 20000,
                 [](std::mt19937_64& r, int) { return kMidnight2000 + Uniform(r, 0, 5 * kDay); }},
        // One day holding most entries at random seconds, among midnights.
        DateCase{"one crowded day", 20000,
                 [](std::mt19937_64& r, int i) {
                     return i % 10 == 0 ? kMidnight2000 + Uniform(r, -400, 400) * kDay
                                        : kMidnight2000 + Uniform(r, 0, kDay - 1);
                 }},
        // Tens a day at a handful of times, out of order: equal dates within a day's sort.
        DateCase{"a few repeated times a day", 20000,
                 [](std::mt19937_64& r, int) {
                     return kMidnight2000 + Uniform(r, 0, 365) * kDay + Uniform(r, 0, 4) * 3600;
                 }},
        // Enough entries to be sorted on several cores, in slices whose edges fall inside
        // days: random seconds over thirty years, and one day holding half of them.
        DateCase{
            "a lifetime of times, in parts", 300000,
            [](std::mt19937_64& r, int) { return kMidnight2000 + Uniform(r, 0, 30 * 365 * kDay); }},
        DateCase{"a crowded day across parts", 300000,
                 [](std::mt19937_64& r, int i) {
                     return i % 2 == 0 ? kMidnight2000 + Uniform(r, -400, 400) * kDay
                                       : kMidnight2000 + Uniform(r, 0, 3) * 3600;
                 }},
        DateCase{"all equal", 3000, [](std::mt19937_64&, int) { return kMidnight2000; }},
        // Spans just within and just beyond what one pass by day covers.
        DateCase{"span at the day limit", 5000,
                 [](std::mt19937_64& r, int i) {
                     const std::int64_t last = date_sort::kMostDays * kDay - 1;
                     return i == 0 ? 0 : i == 1 ? last : Uniform(r, 0, last);
                 }},
        DateCase{"span beyond the day limit", 5000,
                 [](std::mt19937_64& r, int i) {
                     const std::int64_t last = date_sort::kMostDays * kDay;
                     return i == 0 ? 0 : i == 1 ? last : Uniform(r, 0, last);
                 }},
        DateCase{"negative and extreme dates", 5000,
                 [](std::mt19937_64& r, int i) {
                     if (i % 3 == 0) {
                         return Uniform(r, std::numeric_limits<std::int64_t>::min(),
                                        std::numeric_limits<std::int64_t>::max());
                     }
                     return -kMidnight2000 + Uniform(r, -5, 5);
                 }},
        DateCase{"short list", 100,
                 [](std::mt19937_64& r, int) { return kMidnight2000 + Uniform(r, 0, 9) * kDay; }}),
    CaseName());

}  // namespace

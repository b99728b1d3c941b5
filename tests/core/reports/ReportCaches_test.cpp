#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"
#include "core/reports/ReportText.h"
#include "core/reports/TaxReport.h"
#include "core/settings/Settings.h"

namespace {

// Switches the process time zone for one test and puts the previous one back.
class ScopedZone {
public:
    explicit ScopedZone(const char* zone) {
        if (const char* previous = std::getenv("TZ")) {
            m_previous = previous;
        }
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ScopedZone() {
        if (m_previous) {
            ::setenv("TZ", m_previous->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }
    ScopedZone(const ScopedZone&) = delete;
    ScopedZone& operator=(const ScopedZone&) = delete;

private:
    std::optional<std::string> m_previous;
};

constexpr std::int64_t kDay = 86400;

// Times that step across clock changes, a day skipped, half-hour offsets and leap
// seconds, in an order that jumps back and forth as a report's purchase dates do.
std::vector<std::int64_t> AwkwardTimes() {
    std::vector<std::int64_t> times;
    // 2011-01-01 to 2017-01-01 UTC, at an odd step so that every time of day comes up.
    for (std::int64_t time = 1293840000; time < 1483228800; time += 3 * 3600 + 17) {
        times.push_back(time);
    }
    // Around midnight and the clock changes of those years, second by second.
    for (std::int64_t time = 1300000000; time < 1300000000 + 2 * kDay; time += 599) {
        times.push_back(time);
    }
    for (const std::int64_t edge : {std::int64_t{1483228800}, std::int64_t{1435708800}}) {
        for (std::int64_t time = edge - 5; time <= edge + 5; ++time) {
            times.push_back(time);  // the leap seconds of 2015 and 2016
        }
    }
    std::mt19937 random(7u);
    std::uniform_int_distribution<std::int64_t> anyTime(-12000000000, 40000000000);
    for (int i = 0; i < 3000; ++i) {
        times.push_back(anyTime(random));
    }
    // Years before 1000 and after 9999, and times no calendar holds.
    for (const std::int64_t time :
         {std::int64_t{-40000000000}, std::int64_t{-62135596800}, std::int64_t{253402300800},
          std::int64_t{1} << 50, -(std::int64_t{1} << 50), std::numeric_limits<std::int64_t>::max(),
          std::numeric_limits<std::int64_t>::min(), std::int64_t{0}, std::int64_t{-1}}) {
        times.push_back(time);
    }
    std::shuffle(times.begin(), times.end(), random);
    return times;
}

class LocalZoneTest : public ::testing::TestWithParam<const char*> {};

// The cache answers every time exactly as converting it alone does, whether this report
// converted the day or an earlier one did.
TEST_P(LocalZoneTest, DateTextsGiveTheTextOfEachTimeAlone) {
    const ScopedZone zone(GetParam());
    const std::vector<std::int64_t> times = AwkwardTimes();
    for (const char* pattern : {"%m/%d/%y", "%d/%m/%y", "%m/%d/%Y", "%d/%m/%Y", "%d %H:%M"}) {
        for (const char* report : {"first", "second"}) {
            DateTexts texts(pattern);
            for (const std::int64_t time : times) {
                ASSERT_EQ(texts.Of(time), FormatLocalTime(time, pattern))
                    << "zone " << GetParam() << " pattern " << pattern << " time " << time << " "
                    << report << " report";
            }
        }
    }
}

// Days converted under one zone never answer for another: a report after the zone changes
// shows that zone's dates, and one after it changes back the first zone's again.
TEST(DateTextsTest, ZoneChangeBetweenReportsGivesTheNewZonesDates) {
    const char* const pattern = "%m/%d/%y";
    // Late evening in New York is the next day in Kolkata and in Auckland.
    std::vector<std::int64_t> times;
    for (std::int64_t time = 1600000000 + 22 * 3600; time < 1600000000 + 400 * kDay; time += kDay) {
        times.push_back(time);
    }
    for (const char* zone :
         {"America/New_York", "Asia/Kolkata", "Pacific/Auckland", "America/New_York", "UTC"}) {
        const ScopedZone scoped(zone);
        DateTexts texts(pattern);
        for (const std::int64_t time : times) {
            ASSERT_EQ(texts.Of(time), FormatLocalTime(time, pattern))
                << "zone " << zone << " time " << time;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Zones, LocalZoneTest,
                         ::testing::Values("America/New_York", "Pacific/Apia",
                                           "Australia/Lord_Howe", "Asia/Kolkata", "right/UTC",
                                           "UTC"),
                         [](const auto& zone) {
                             std::string name = zone.param;
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) != 0 ? c : '_';
                             }
                             return name;
                         });

// Sales in the days around new year, every few hours: a year's report takes exactly those
// whose local date falls in it, whatever the zone's offset at the year's edges.
TEST_P(LocalZoneTest, TaxYearTakesTheSalesOfItsLocalYear) {
    const ScopedZone zone(GetParam());
    Settings settings;
    CKx7Doc doc(settings);
    doc.Purchase({.symbol = "ACME",
                  .companyName = "Acme Corp",
                  .shares = 100000,
                  .price = 1.0f,
                  .date = LocalTimeOf(2000, 1, 1),
                  .commission = 0.0f,
                  .purchaseType = "",
                  .comment = ""});
    std::vector<std::int64_t> saleTimes;
    for (const int year : {2011, 2012}) {
        const std::int64_t newYear = LocalTimeOf(year, 1, 1);
        for (std::int64_t time = newYear - 4 * kDay; time < newYear + 4 * kDay;
             time += 3 * 3600 + 1) {
            saleTimes.push_back(time);
        }
        saleTimes.push_back(newYear);
        saleTimes.push_back(newYear - 1);
        saleTimes.push_back(LocalTimeOf(year, 7, 1));
    }
    for (const std::int64_t time : saleTimes) {
        doc.Sell({.symbol = "ACME",
                  .shares = 1,
                  .price = 2.0f,
                  .date = time,
                  .commission = 0.0f,
                  .method = SaleMethod::kFifo,
                  .comment = ""});
    }
    for (const int year : {2010, 2011, 2012, 2013}) {
        std::size_t expected = 0;
        for (const std::int64_t time : saleTimes) {
            expected += ToLocalDate(time).year == year ? 1 : 0;
        }
        const std::string text = BuildTaxReport(doc, std::to_string(year), false, false, true);
        const std::string rows = text.substr(0, text.find("\r\n------------------"));
        const auto lines = static_cast<std::size_t>(std::count(rows.begin(), rows.end(), '\n'));
        EXPECT_EQ(lines, expected) << "zone " << GetParam() << " year " << year;
    }
}

}  // namespace

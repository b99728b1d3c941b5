#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// Local-time conversions in the process time zone (TZ).

struct LocalDate {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;    // 1..31

    friend bool operator==(const LocalDate&, const LocalDate&) = default;
};

std::tm ToLocalTm(std::int64_t time);
LocalDate ToLocalDate(std::int64_t time);

// Local time of the given calendar date and time of day; the date may be out of range
// (month 13, day 0) and is normalised the way mktime does.
std::int64_t LocalTimeOf(int year, int month, int day, int hour = 0, int minute = 0,
                         int second = 0);

// strftime of the local time; an empty text for a pattern that yields nothing.
std::string FormatLocalTime(std::int64_t time, const char* pattern);
// The same for a local time already converted.
std::string FormatTm(const std::tm& tm, const char* pattern);

// "%m/%d/%Y" when month first, "%d/%m/%Y" otherwise: the date order setting.
const char* DatePattern(bool monthFirst);
std::string FormatDate(std::int64_t time, bool monthFirst);

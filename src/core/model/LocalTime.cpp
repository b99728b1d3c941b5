#include "core/model/LocalTime.h"

#include <array>

std::tm ToLocalTm(std::int64_t time) {
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm tm{};
    if (localtime_r(&t, &tm) == nullptr) {
        tm = std::tm{};
        tm.tm_mday = 1;
        tm.tm_year = 70;
    }
    return tm;
}

LocalDate ToLocalDate(std::int64_t time) {
    const std::tm tm = ToLocalTm(time);
    return LocalDate{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

std::int64_t LocalTimeOf(int year, int month, int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&tm));
}

std::string FormatLocalTime(std::int64_t time, const char* pattern) {
    return FormatTm(ToLocalTm(time), pattern);
}

std::string FormatTm(const std::tm& tm, const char* pattern) {
    std::array<char, 256> buffer{};
    const std::size_t length = std::strftime(buffer.data(), buffer.size(), pattern, &tm);
    return std::string(buffer.data(), length);
}

const char* DatePattern(bool monthFirst) {
    return monthFirst ? "%m/%d/%Y" : "%d/%m/%Y";
}

std::string FormatDate(std::int64_t time, bool monthFirst) {
    return FormatLocalTime(time, DatePattern(monthFirst));
}

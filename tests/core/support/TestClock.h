#pragma once

#include <cstdint>

#include "core/model/Clock.h"
#include "core/model/LocalTime.h"

// Pins the program's clock for the life of a test.
class ScopedClock {
public:
    explicit ScopedClock(std::int64_t now) { Clock::SetFixed(now); }
    ~ScopedClock() { Clock::UseSystemTime(); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

    void Set(std::int64_t now) { Clock::SetFixed(now); }
};

// Local time of a calendar date at the given hour, in the test's TZ.
inline std::int64_t At(int year, int month, int day, int hour = 12) {
    return LocalTimeOf(year, month, day, hour);
}

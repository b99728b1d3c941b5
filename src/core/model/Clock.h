#pragma once

#include <cstdint>

// The one source of "now" for the whole program. Tests fix it so that vesting,
// the intraday series and the update timing do not depend on the day they run.
class Clock {
public:
    static std::int64_t Now();

    // Pins the clock to the given time until UseSystemTime() is called.
    static void SetFixed(std::int64_t secondsSince1970);
    static void UseSystemTime();
};

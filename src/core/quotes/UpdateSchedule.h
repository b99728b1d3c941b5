#pragma once

#include <chrono>
#include <cstdint>

// Market time: Monday to Friday, local hours 9 to 16 (up to 16:59:59).
bool IsMarketTime(std::int64_t time);

// Whether an automatic update cycle fetches: always during market time and when nothing
// has been fetched yet (last update 0); outside it, once after the close of a day updated
// during market time, once on the morning after a day last updated before 17:00, and once
// whenever more than a calendar day has passed. Days are compared as calendar dates, so a
// month or year end counts like any other night.
bool ShouldFetchQuotes(std::int64_t now, std::int64_t lastUpdate);

// The pause after an automatic update cycle for a refresh index (0 to 5, the "Refresh
// Time:" list). A portfolio without records, and the index 99, pause 10 seconds; any other
// value out of range is reset to 3 in `refreshIndex` and pauses 10 minutes.
std::chrono::milliseconds UpdatePause(std::int32_t recordCount, int& refreshIndex);

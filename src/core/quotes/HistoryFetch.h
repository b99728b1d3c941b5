#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/quotes/PriceHistory.h"

class HostPacer;
class PageFetcher;
struct QuoteSource;

// What asking for a symbol's past came to: the closes by day from the first source of the
// chain that gave any, or why none did ("Name: reason; Name: reason").
struct HistoryFetch {
    std::string source;
    std::vector<PriceEntry> closes;
    std::string problem;
};

// Asks the chain's sources with a daily history, in turn, for the closes of `held` (an
// option entry by its underlying symbol) from `from` to `to`, seconds since 1970.
HistoryFetch FetchHistory(PageFetcher& fetcher, const std::vector<QuoteSource>& chain,
                          const std::string& held, std::int64_t from, std::int64_t to,
                          HostPacer& pacer, const std::function<bool()>& keepGoing = {});

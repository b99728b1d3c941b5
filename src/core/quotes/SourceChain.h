#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/quotes/QuoteParsers.h"
#include "core/quotes/QuoteUpdate.h"

class CKx7Doc;
class HostPacer;
class PageFetcher;
struct QuoteHosts;
struct QuoteSource;

// A held symbol and the price it has now (0 for none), which a new price is checked
// against.
struct ChainSymbol {
    std::string held;
    float last = 0.0f;
};

// A new price more than this many times above or below the last is not taken on trust.
inline constexpr float kLargestPriceMove = 10.0f;

// Asks the sources of a chain in turn until each symbol has a price. A source that fails,
// or has no price for a symbol, leaves it to the next; the results no source priced come
// last, with what every source asked said of them. Prices reach `onBatch` as each answer
// is read. A chain of one of the three described servers alone fetches and reports exactly
// as that server always has. A defined source is asked for an option entry ("XYZ-O") by
// its underlying symbol, whose lots, grants included, take the price; its requests wait
// for the host's turn in `pacer`. Touches no document. Returns false when `onBatch` or
// `keepGoing` stopped the run.
bool FetchFromChain(PageFetcher& fetcher, const QuoteHosts& hosts, QuoteCaller caller,
                    const std::vector<QuoteSource>& chain, const std::vector<ChainSymbol>& symbols,
                    HostPacer& pacer, const QuoteBatchHandler& onBatch,
                    const std::function<bool()>& keepGoing = {},
                    const QuoteProgress& progress = {});

// The held symbols of a list with their prices now, as the chain takes them.
std::vector<ChainSymbol> ChainSymbols(const CKx7Doc& doc);

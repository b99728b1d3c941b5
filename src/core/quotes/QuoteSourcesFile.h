#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/quotes/QuoteSource.h"

// The user's quote sources and chain live in one small JSON file beside the settings file,
// "quote-sources.json", written with owner-only permissions because a source's headers
// may carry an API key:
//
//   {
//     "chain": ["Yahoo Finance chart (JSON)", "My broker"],
//     "sources": [
//       { "name": "My broker", "url": "https://example.com/q?s={symbols}",
//         "separator": ",", "batchSize": 20, "symbolCase": "upper" | "lower" | "as held",
//         "prefix": "", "suffix": ".US", "overrides": { "BRK-B": "BRK.B" },
//         "format": "csv" | "json" | "regex", "csvHeader": true,
//         "fields": { "symbol": "Symbol", "price": "Close", "time": "Date", "change": "",
//                     "previousClose": "", "currency": "" },
//         "results": "", "pattern": "", "headers": { "X-Api-Key": "..." },
//         "minSeconds": 1,
//         "history": { "url": "", "format": "csv", "date": "Date", "close": "Close" } } ]
//   }
//
// Every key but "name" and "url" may be left out and takes the value shown by a new
// definition.

struct QuoteSourcesSetup {
    std::vector<QuoteSource> sources;
    std::vector<std::string> chain;
    bool chainGiven = false;            // the file names a chain, even an empty one
    std::vector<std::string> problems;  // definitions left out, and why
};

// A file larger than this is no file of ours.
inline constexpr std::size_t kQuoteSourcesFileLimit = std::size_t{1} << 20;

// Reads the file's text. Damaged text gives no sources and one problem; a definition that
// cannot be used is left out with its problem.
QuoteSourcesSetup ReadQuoteSourcesJson(std::string_view text);

// The file's text for the user's sources and the chain.
std::string QuoteSourcesJson(const std::vector<QuoteSource>& sources,
                             const std::vector<std::string>& chain);

// The same definition as JSON and back, for copying one source.
std::string QuoteSourceJson(const QuoteSource& source);

#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/settings/QuoteServer.h"

struct Settings;

// How a source's answer is read.
enum class SourceFormat { kCsv, kJson, kRegex };

// How a held symbol is written for a source, before its prefix and suffix.
enum class SymbolCase { kAsHeld, kUpper, kLower };

// Where each figure stands in an answer: a header name or a column number counted from 1
// (csv), a JSON pointer in which "{symbol}" stands for the symbol asked (json), or the
// number of a capture group (regex). An empty place means the answer does not give it.
struct SourceFields {
    std::string symbol;  // csv, json: which row or result belongs to which symbol
    std::string price;
    std::string time;  // seconds since 1970, or a date "YYYY-MM-DD" / "YYYYMMDD"
    std::string change;
    std::string previousClose;  // the change is the price less this, when none is given
    std::string currency;

    friend bool operator==(const SourceFields&, const SourceFields&) = default;
};

// A source's daily closes, one symbol per request. "{from}" and "{to}" stand for seconds
// since 1970, "{fromDate}" and "{toDate}" for dates as YYYYMMDD.
struct SourceHistory {
    std::string url;                           // empty: the source has no history
    SourceFormat format = SourceFormat::kCsv;  // csv or json
    std::string date;   // csv: the date column; json: the pointer to an array of times
    std::string close;  // csv: the close column; json: the pointer to an array of closes

    friend bool operator==(const SourceHistory&, const SourceHistory&) = default;
};

// Where a source comes from, which is also its place in the list.
enum class SourceOrigin { kDescribed, kReadyMade, kUser };

// A quote service described as data, so that a service that changes is mended by editing
// its definition, not by a new program.
struct QuoteSource {
    std::string name;
    // "{symbol}" asks for one symbol per request; "{symbols}" for up to `batchSize`,
    // joined by `separator`. An address without "scheme://" is taken as https.
    std::string url;
    std::string separator = ",";
    int batchSize = 1;
    SymbolCase symbolCase = SymbolCase::kAsHeld;
    std::string prefix;
    std::string suffix;
    std::map<std::string, std::string> overrides;  // held symbol -> the source's own
    SourceFormat format = SourceFormat::kJson;
    bool csvHeader = true;  // csv: the first line names the columns
    SourceFields fields;
    // json: a pointer to an array of results, each matched by `fields.symbol` (pointers
    // relative to the result); empty when the whole answer is about one symbol.
    std::string results;
    // regex: a POSIX extended expression over the page, "{symbol}" standing for the
    // symbol asked; `fields` name its capture groups.
    std::string pattern;
    std::vector<std::pair<std::string, std::string>> headers;  // sent with every request
    int minSeconds = 0;  // the least time between two requests to the source's host
    SourceHistory history;
    SourceOrigin origin = SourceOrigin::kUser;
    // One of the three services the program has always read: fetched and read by their
    // own code, exactly as before; the fields above are not used.
    std::optional<QuoteServer> server;

    friend bool operator==(const QuoteSource&, const QuoteSource&) = default;
};

// The largest batch and the longest pause a definition may ask for.
inline constexpr int kLargestSourceBatch = 500;
inline constexpr int kLongestSourcePause = 3600;

// The three services the program has always read, in the order of their server list.
std::vector<QuoteSource> DescribedQuoteSources();

// The definitions the program ships for services that exist today.
std::vector<QuoteSource> ReadyMadeQuoteSources();

// Every source in the order of the list: the described ones, the ready-made ones, then
// the user's own.
std::vector<QuoteSource> AllQuoteSources(const std::vector<QuoteSource>& userSources);

// The chain a user gets before choosing one: the ready-made sources in their order.
std::vector<std::string> DefaultQuoteChain();

// The chain in use: the one given, or, when none is, the described server alone.
std::vector<std::string> EffectiveQuoteChain(const std::vector<std::string>& chain,
                                             QuoteServer server);

// The sources the settings ask in turn: their chain, or the described server alone.
std::vector<QuoteSource> ChosenQuoteSources(const Settings& settings);

// The source of that name, or nothing.
std::optional<QuoteSource> FindQuoteSource(const std::vector<QuoteSource>& sources,
                                           const std::string& name);

// The sources a chain of names stands for, in its order; unknown names are skipped.
std::vector<QuoteSource> ResolveQuoteChain(const std::vector<std::string>& chain,
                                           const std::vector<QuoteSource>& userSources);

// What keeps a user's definition from being used ("The address needs {symbol} or
// {symbols}."); empty when it can be used. `others` are the names it must not repeat.
std::string QuoteSourceProblem(const QuoteSource& source, const std::vector<std::string>& others);

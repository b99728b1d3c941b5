#include "core/quotes/QuoteSource.h"

#include <algorithm>

#include "core/settings/Settings.h"

namespace {

QuoteSource Described(std::string name, QuoteServer server) {
    QuoteSource source;
    source.name = std::move(name);
    source.origin = SourceOrigin::kDescribed;
    source.server = server;
    return source;
}

// Stooq's light quote download: one CSV line a symbol, American shares carry ".us", and
// a symbol it does not know comes back with "N/D" in every field.
QuoteSource Stooq() {
    QuoteSource source;
    source.name = "Stooq (CSV)";
    source.url = "https://stooq.com/q/l/?s={symbols}&f=sd2t2ohlcv&h&e=csv";
    source.separator = "+";
    source.batchSize = 20;
    source.symbolCase = SymbolCase::kLower;
    source.suffix = ".us";
    source.format = SourceFormat::kCsv;
    source.fields = {.symbol = "Symbol",
                     .price = "Close",
                     .time = "Date",
                     .change = "",
                     .previousClose = "",
                     .currency = ""};
    source.minSeconds = 2;
    source.history = {.url = "https://stooq.com/q/d/l/?s={symbol}&d1={fromDate}&d2={toDate}&i=d",
                      .format = SourceFormat::kCsv,
                      .date = "Date",
                      .close = "Close"};
    source.origin = SourceOrigin::kReadyMade;
    return source;
}

// Yahoo Finance's chart service: one symbol a request, the latest price in the chart's
// "meta" object and the daily closes as two parallel arrays.
QuoteSource YahooChart() {
    constexpr const char* kMeta = "/chart/result/0/meta/";
    QuoteSource source;
    source.name = "Yahoo Finance chart (JSON)";
    source.url = "https://query1.finance.yahoo.com/v8/finance/chart/{symbol}?range=1d&interval=1d";
    source.symbolCase = SymbolCase::kUpper;
    source.format = SourceFormat::kJson;
    source.fields = {.symbol = "",
                     .price = std::string(kMeta) + "regularMarketPrice",
                     .time = std::string(kMeta) + "regularMarketTime",
                     .change = "",
                     .previousClose = std::string(kMeta) + "chartPreviousClose",
                     .currency = std::string(kMeta) + "currency"};
    source.minSeconds = 1;
    source.history = {.url =
                          "https://query1.finance.yahoo.com/v8/finance/chart/"
                          "{symbol}?period1={from}&period2={to}&interval=1d",
                      .format = SourceFormat::kJson,
                      .date = "/chart/result/0/timestamp",
                      .close = "/chart/result/0/indicators/quote/0/close"};
    source.origin = SourceOrigin::kReadyMade;
    return source;
}

// Finnhub's quote service needs a free key, sent as a header: a copy with the user's key
// in place of the placeholder works.
QuoteSource Finnhub() {
    QuoteSource source;
    source.name = "Finnhub (JSON, needs a key)";
    source.url = "https://finnhub.io/api/v1/quote?symbol={symbol}";
    source.symbolCase = SymbolCase::kUpper;
    source.format = SourceFormat::kJson;
    source.fields = {.symbol = "",
                     .price = "/c",
                     .time = "/t",
                     .change = "/d",
                     .previousClose = "/pc",
                     .currency = ""};
    source.headers = {{"X-Finnhub-Token", "YOUR_API_KEY"}};
    source.minSeconds = 1;
    source.origin = SourceOrigin::kReadyMade;
    return source;
}

bool Holds(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

std::vector<QuoteSource> DescribedQuoteSources() {
    return {Described("American Stock Exchange", QuoteServer::kAmex),
            Described("Yahoo!", QuoteServer::kYahoo), Described("NASDAQ", QuoteServer::kNasdaq)};
}

std::vector<QuoteSource> ReadyMadeQuoteSources() {
    return {YahooChart(), Stooq(), Finnhub()};
}

std::vector<QuoteSource> AllQuoteSources(const std::vector<QuoteSource>& userSources) {
    std::vector<QuoteSource> all = DescribedQuoteSources();
    for (QuoteSource& source : ReadyMadeQuoteSources()) {
        all.push_back(std::move(source));
    }
    for (const QuoteSource& source : userSources) {
        all.push_back(source);
        all.back().origin = SourceOrigin::kUser;
        all.back().server.reset();
    }
    return all;
}

std::vector<std::string> DefaultQuoteChain() {
    return {YahooChart().name, Stooq().name};
}

std::vector<std::string> EffectiveQuoteChain(const std::vector<std::string>& chain,
                                             QuoteServer server) {
    if (!chain.empty()) {
        return chain;
    }
    const std::vector<QuoteSource> described = DescribedQuoteSources();
    const auto index = static_cast<std::size_t>(server);
    return index < described.size() ? std::vector<std::string>{described[index].name}
                                    : std::vector<std::string>{};
}

std::vector<QuoteSource> ChosenQuoteSources(const Settings& settings) {
    return ResolveQuoteChain(EffectiveQuoteChain(settings.quoteChain, settings.quoteSource),
                             settings.quoteSources);
}

std::optional<QuoteSource> FindQuoteSource(const std::vector<QuoteSource>& sources,
                                           const std::string& name) {
    const auto found = std::find_if(sources.begin(), sources.end(),
                                    [&](const QuoteSource& source) { return source.name == name; });
    if (found == sources.end()) {
        return std::nullopt;
    }
    return *found;
}

std::vector<QuoteSource> ResolveQuoteChain(const std::vector<std::string>& chain,
                                           const std::vector<QuoteSource>& userSources) {
    const std::vector<QuoteSource> all = AllQuoteSources(userSources);
    std::vector<QuoteSource> resolved;
    for (const std::string& name : chain) {
        const bool taken =
            std::any_of(resolved.begin(), resolved.end(),
                        [&](const QuoteSource& source) { return source.name == name; });
        if (const std::optional<QuoteSource> source = FindQuoteSource(all, name);
            source && !taken) {
            resolved.push_back(*source);
        }
    }
    return resolved;
}

std::string QuoteSourceProblem(const QuoteSource& source, const std::vector<std::string>& others) {
    if (source.name.empty()) {
        return "The source needs a name.";
    }
    if (std::find(others.begin(), others.end(), source.name) != others.end()) {
        return "A source named \"" + source.name + "\" exists already.";
    }
    const bool one = Holds(source.url, "{symbol}");
    const bool many = Holds(source.url, "{symbols}");
    if (one == many) {
        return "The address needs {symbol} (one symbol a request) or {symbols} (several).";
    }
    if (many && (source.batchSize < 1 || source.batchSize > kLargestSourceBatch)) {
        return "The batch size must be between 1 and " + std::to_string(kLargestSourceBatch) + ".";
    }
    if (many && source.separator.empty()) {
        return "Several symbols a request need a separator.";
    }
    if (source.minSeconds < 0 || source.minSeconds > kLongestSourcePause) {
        return "The pause between requests must be between 0 and " +
               std::to_string(kLongestSourcePause) + " seconds.";
    }
    if (source.format == SourceFormat::kRegex ? source.pattern.empty()
                                              : source.fields.price.empty()) {
        return source.format == SourceFormat::kRegex ? "The source needs a pattern."
                                                     : "The source needs the place of the price.";
    }
    if (source.format == SourceFormat::kJson && !source.results.empty() &&
        source.fields.symbol.empty()) {
        return "A results array needs the place of the symbol in each result.";
    }
    // An answer about several symbols must say which figure is whose; otherwise every
    // symbol of a request would take the first symbol's price.
    if (many && source.format == SourceFormat::kCsv && source.fields.symbol.empty()) {
        return "Several symbols a request need the place of the symbol in the answer.";
    }
    if (many && source.format == SourceFormat::kJson && source.results.empty() &&
        !Holds(source.fields.price, "{symbol}")) {
        return "Several symbols a request need the place of the symbol in the answer, or "
               "{symbol} in the place of the price.";
    }
    if (many && source.format == SourceFormat::kRegex && !Holds(source.pattern, "{symbol}")) {
        return "Several symbols a request need {symbol} in the pattern.";
    }
    if (!source.history.url.empty() &&
        (!Holds(source.history.url, "{symbol}") || source.history.date.empty() ||
         source.history.close.empty() || source.history.format == SourceFormat::kRegex)) {
        return "The history address needs {symbol}, and the places of the dates and closes "
               "(csv or json).";
    }
    for (const auto& [name, value] : source.headers) {
        const auto bad = [](char c) { return c == '\r' || c == '\n' || c == '\0'; };
        if (name.empty() || Holds(name, ":") || std::any_of(name.begin(), name.end(), bad) ||
            std::any_of(value.begin(), value.end(), bad)) {
            return "The header \"" + name + "\" is no header line.";
        }
    }
    return {};
}

#pragma once

#include <stdexcept>
#include <string>

#include "core/quotes/QuoteSource.h"

// An address of a real service sent to a test server instead: its scheme and host become
// "http://" and `host`, its path and query stay as the definition wrote them.
inline std::string AtHost(const std::string& url, const std::string& host) {
    if (url.empty()) {
        return url;
    }
    const std::size_t scheme = url.find("://");
    const std::size_t path = url.find('/', scheme == std::string::npos ? 0 : scheme + 3);
    return "http://" + host + (path == std::string::npos ? "/" : url.substr(path));
}

// A ready-made definition, as shipped, pointed at a test server.
inline QuoteSource ReadyMadeAt(const std::string& name, const std::string& host) {
    for (QuoteSource source : ReadyMadeQuoteSources()) {
        if (source.name == name) {
            source.url = AtHost(source.url, host);
            source.history.url = AtHost(source.history.url, host);
            return source;
        }
    }
    throw std::logic_error("no ready-made source " + name);
}

inline constexpr const char* kStooq = "Stooq (CSV)";
inline constexpr const char* kYahooChart = "Yahoo Finance chart (JSON)";
inline constexpr const char* kFinnhub = "Finnhub (JSON, needs a key)";

// Stooq's light quote download as it answers today: a header line, one CRLF-ended line a
// symbol asked, the symbol in capitals, and "N/D" in every field of a symbol it does not
// know.
inline std::string StooqHeader() {
    return "Symbol,Date,Time,Open,High,Low,Close,Volume\r\n";
}
inline std::string StooqRow(const std::string& symbol, const std::string& close) {
    return symbol + ",2024-12-10,22:00:09,246.89,248.21,245.34," + close + ",36914806\r\n";
}
inline std::string StooqUnknown(const std::string& symbol) {
    return symbol + ",N/D,N/D,N/D,N/D,N/D,N/D,N/D\r\n";
}

// Yahoo Finance's chart answer for one symbol over a day.
inline std::string YahooChartBody(const std::string& symbol, const std::string& price,
                                  const std::string& previousClose = "193.0") {
    return R"({"chart":{"result":[{"meta":{"currency":"USD","symbol":")" + symbol +
           R"(","exchangeName":"NMS","instrumentType":"EQUITY","regularMarketPrice":)" + price +
           R"(,"chartPreviousClose":)" + previousClose +
           R"(,"regularMarketTime":1733860800,"gmtoffset":-18000,"timezone":"EST"},)"
           R"("timestamp":[1733860800],"indicators":{"quote":[{"open":[194.1],"close":[)" +
           price + R"(],"volume":[40000000]}]}}],"error":null}})";
}

// What the chart service answers, with status 404, for a symbol it does not know.
inline std::string YahooChartUnknown() {
    return R"({"chart":{"result":null,"error":{"code":"Not Found",)"
           R"("description":"No data found, symbol may be delisted"}}})";
}

// Finnhub's quote: current, change, percent change, high, low, open, previous close, time.
inline std::string FinnhubBody(const std::string& current, const std::string& change,
                               const std::string& previousClose) {
    return R"({"c":)" + current + R"(,"d":)" + change +
           R"(,"dp":0.1569,"h":263.31,"l":260.68,)"
           R"("o":261.07,"pc":)" +
           previousClose + R"(,"t":1733860800})";
}

// A user's JSON source whose answer holds a results array, each result naming its symbol,
// several symbols a request.
inline QuoteSource ResultsSource(const std::string& host) {
    QuoteSource source;
    source.name = "Quote results";
    source.url = "http://" + host + "/v7/finance/quote?symbols={symbols}";
    source.batchSize = 10;
    source.format = SourceFormat::kJson;
    source.results = "/quoteResponse/result";
    source.fields = {.symbol = "/symbol",
                     .price = "/regularMarketPrice",
                     .time = "/regularMarketTime",
                     .change = "/regularMarketChange",
                     .previousClose = "",
                     .currency = "/currency"};
    return source;
}

// A user's page source: one page a symbol, the price found by a pattern.
inline QuoteSource PatternSource(const std::string& host) {
    QuoteSource source;
    source.name = "Quote page";
    source.url = "http://" + host + "/quote/{symbol}";
    source.format = SourceFormat::kRegex;
    source.pattern = R"(<span id="{symbol}-price">([0-9.,]+)</span>)";
    return source;
}

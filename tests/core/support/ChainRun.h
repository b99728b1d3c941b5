#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "core/quotes/QuoteParsers.h"
#include "core/quotes/Web.h"

// Short enough that a failing fetch keeps a test quick, long enough for a loaded machine.
inline FetchLimits ShortFetchLimits() {
    using namespace std::chrono_literals;
    FetchLimits limits;
    limits.connectTimeout = 2s;
    limits.transferTimeout = 2s;
    limits.maxBodyBytes = 64 * 1024;
    return limits;
}

// The result a chain hands on for a priced symbol.
inline QuoteResult PricedAt(const std::string& symbol, float price) {
    QuoteResult result;
    result.symbol = symbol;
    result.outcome = QuoteOutcome::kFound;
    result.price = price;
    return result;
}

// The same with the change the answer gave, which makes it a whole quote.
inline QuoteResult PricedAt(const std::string& symbol, float price, float change) {
    QuoteResult result = PricedAt(symbol, price);
    result.fullQuote = true;
    result.change = change;
    result.direction = change > 0.0f ? 1 : change < 0.0f ? -1 : 0;
    return result;
}

// The result for a symbol no source priced.
inline QuoteResult Unpriced(const std::string& symbol, const std::string& reason) {
    QuoteResult result;
    result.symbol = symbol;
    result.outcome = QuoteOutcome::kNoData;
    result.reason = reason;
    return result;
}

// Puts the host of a test server where a reason or target text says "HOST".
inline std::string WithHost(std::string text, const std::string& host) {
    for (std::size_t at = text.find("HOST"); at != std::string::npos;
         at = text.find("HOST", at + host.size())) {
        text.replace(at, 4, host);
    }
    return text;
}

#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/quotes/QuoteNumber.h"
#include "core/quotes/QuoteParsers.h"

// The first byte gives the symbol's length, the symbol follows, the rest is the page. The
// symbol must not be empty: the update never asks for an empty one.
inline int FuzzQuoteParser(QuoteParser parser, const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::size_t length = 1 + data[0] % 12;
    if (size < 1 + length) {
        return 0;
    }
    const std::string symbol(reinterpret_cast<const char*>(data) + 1, length);
    const std::string_view page(reinterpret_cast<const char*>(data) + 1 + length,
                                size - 1 - length);
    const QuoteResult result = ParseQuote(parser, page, symbol);
    if (!std::isfinite(result.price) || !std::isfinite(result.change) ||
        !std::isfinite(result.extra)) {
        __builtin_trap();  // a page must never yield a value a price cannot be
    }
    const bool found = result.outcome == QuoteOutcome::kFound;
    if (found ? !IsQuotePrice(result.price) : result.price != 0.0f) {
        __builtin_trap();  // only a sane price is ever handed on to be stored
    }
    if (std::fabs(result.change) >= kMaxQuotePrice || std::fabs(result.extra) >= kMaxQuotePrice) {
        __builtin_trap();
    }
    for (const char c : result.reason) {
        if (c < ' ' || c > '~') {
            __builtin_trap();  // a reason reaches a terminal: no control byte may
        }
    }
    return 0;
}

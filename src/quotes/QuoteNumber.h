#pragma once

#include <cstddef>
#include <string_view>

// Reads the decimal number that starts at `position` of a quote page, the way the pages
// were always read: white space skipped, an optional sign, digits, an optional decimal
// point with digits, an optional exponent; reading stops at the first character that
// cannot continue the number. A number that cannot be read, a position past the end of
// the page, and a number a float cannot hold (a hostile page may send 1e999) give 0.
float ReadQuoteNumber(std::string_view page, std::size_t position);

// The two numbers of a "first - second" pair: the second is read only when optional white
// space, a "-" and optional white space follow the first. A value not read is 0.
struct QuoteNumberPair {
    float first = 0.0f;
    float second = 0.0f;
};
QuoteNumberPair ReadQuoteNumberPair(std::string_view page, std::size_t position);

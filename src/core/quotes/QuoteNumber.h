#pragma once

#include <cstddef>
#include <string>
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

// The largest price taken from a page: anything above it is garbage, not a quote.
inline constexpr float kMaxQuotePrice = 1e9f;

// A price a page may give: a normal (finite, not subnormal) number above 0 and below
// kMaxQuotePrice. A number that cannot be read reads as 0, so it is no price either.
bool IsQuotePrice(float value);

// A change or other figure beside a price: one no page could mean (beyond the price bound)
// reads as 0, so that nothing absurd is stored or printed.
float SaneQuoteFigure(float value);

// The text at `position` as a person would quote it in a message: the word there, cut
// short, each byte that is not printable ASCII shown as "?".
std::string QuotedPageText(std::string_view page, std::size_t position);

#include "core/quotes/QuoteNumber.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <system_error>

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t SkipSpace(std::string_view page, std::size_t position) {
    while (position < page.size() && IsSpace(page[position])) {
        ++position;
    }
    return position;
}

std::size_t SkipDigits(std::string_view page, std::size_t position) {
    while (position < page.size() && IsDigit(page[position])) {
        ++position;
    }
    return position;
}

struct ReadNumber {
    float value = 0.0f;
    std::size_t end = 0;  // first position behind the number
};

// Finds the extent of the number by hand so that only the plain decimal form is taken:
// "inf", "nan" and hexadecimal floats, which the C library would accept, are no prices.
std::optional<ReadNumber> Read(std::string_view page, std::size_t position) {
    std::size_t cursor = SkipSpace(page, position);
    bool negative = false;
    if (cursor < page.size() && (page[cursor] == '+' || page[cursor] == '-')) {
        negative = page[cursor] == '-';
        ++cursor;
    }
    const std::size_t mantissa = cursor;
    cursor = SkipDigits(page, cursor);
    std::size_t digits = cursor - mantissa;
    if (cursor < page.size() && page[cursor] == '.') {
        const std::size_t fraction = cursor + 1;
        const std::size_t fractionEnd = SkipDigits(page, fraction);
        digits += fractionEnd - fraction;
        cursor = fractionEnd;
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (cursor < page.size() && (page[cursor] == 'e' || page[cursor] == 'E')) {
        std::size_t exponent = cursor + 1;
        if (exponent < page.size() && (page[exponent] == '+' || page[exponent] == '-')) {
            ++exponent;
        }
        const std::size_t exponentEnd = SkipDigits(page, exponent);
        if (exponentEnd > exponent) {
            cursor = exponentEnd;
        }
    }
    // from_chars takes no leading '+'; the sign is applied afterwards.
    double magnitude = 0.0;
    const char* first = page.data() + mantissa;
    const char* last = page.data() + cursor;
    const auto [stop, error] = std::from_chars(first, last, magnitude);
    if (error != std::errc{} || stop != last || !std::isfinite(magnitude) ||
        magnitude > static_cast<double>(std::numeric_limits<float>::max())) {
        return ReadNumber{0.0f, cursor};
    }
    const float value = static_cast<float>(magnitude);
    return ReadNumber{negative ? -value : value, cursor};
}

}  // namespace

float ReadQuoteNumber(std::string_view page, std::size_t position) {
    if (position >= page.size()) {
        return 0.0f;
    }
    const std::optional<ReadNumber> number = Read(page, position);
    return number ? number->value : 0.0f;
}

QuoteNumberPair ReadQuoteNumberPair(std::string_view page, std::size_t position) {
    QuoteNumberPair pair;
    if (position >= page.size()) {
        return pair;
    }
    const std::optional<ReadNumber> first = Read(page, position);
    if (!first) {
        return pair;
    }
    pair.first = first->value;
    const std::size_t dash = SkipSpace(page, first->end);
    if (dash >= page.size() || page[dash] != '-') {
        return pair;
    }
    const std::optional<ReadNumber> second = Read(page, dash + 1);
    if (second) {
        pair.second = second->value;
    }
    return pair;
}

bool IsQuotePrice(float value) {
    // A subnormal value (1e-40) is a number that lost its digits on the way in, not a price.
    return std::isnormal(value) && value > 0.0f && value < kMaxQuotePrice;
}

float SaneQuoteFigure(float value) {
    return std::isfinite(value) && std::fabs(value) < kMaxQuotePrice ? value : 0.0f;
}

std::string QuotedPageText(std::string_view page, std::size_t position) {
    constexpr std::size_t kLongest = 24;
    const std::size_t start = position < page.size() ? SkipSpace(page, position) : page.size();
    std::string quoted = "\"";
    for (std::size_t end = start; end < page.size() && end - start < kLongest; ++end) {
        const char c = page[end];
        if (IsSpace(c) || c == '<' || c == ',' || c == '"') {
            break;
        }
        // The text ends up in a list line and on a terminal: a hostile page's escape
        // sequences and stray bytes must not reach either.
        quoted += c >= ' ' && c <= '~' ? c : '?';
    }
    return quoted + "\"";
}

#include "core/reports/ReportText.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <iterator>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "core/model/LocalTime.h"
#include "core/model/OptionSuffix.h"

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Byte length of the first `width` characters of UTF-8 `text`, and how many it holds.
struct Prefix {
    std::size_t bytes = 0;
    std::size_t characters = 0;
};

Prefix CharacterPrefix(std::string_view text, std::size_t width) {
    Prefix prefix;
    while (prefix.bytes < text.size()) {
        if (!IsContinuationByte(text[prefix.bytes])) {
            if (prefix.characters == width) {
                break;
            }
            ++prefix.characters;
        }
        ++prefix.bytes;
    }
    return prefix;
}

// Whether `pattern` holds only "%d", "%m", "%y", "%Y" and slashes.
bool IsDatePattern(const char* pattern) {
    for (const char* c = pattern; *c != '\0'; ++c) {
        if (*c == '/') {
            continue;
        }
        if (*c != '%' || std::string_view("dmyY").find(*++c) == std::string_view::npos) {
            return false;
        }
    }
    return true;
}

bool SameDay(const std::tm& a, const std::tm& b) {
    return a.tm_year == b.tm_year && a.tm_mon == b.tm_mon && a.tm_mday == b.tm_mday &&
           a.tm_gmtoff == b.tm_gmtoff;
}

// The first second of the local day around `time` (`local`), when the zone's offset holds
// from it to the day's last second: the day's first and last second must show the same
// date and offset at midnight and just before the next. A clock change inside the day, a
// leap second, or a time no calendar holds gives none.
std::optional<std::int64_t> WholeDayStart(std::int64_t time, const std::tm& local) {
    constexpr std::int64_t kCalendarTimes = std::int64_t{1} << 50;
    if (time <= -kCalendarTimes || time >= kCalendarTimes) {
        return std::nullopt;
    }
    const std::int64_t start = time - (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec);
    const std::tm first = ToLocalTm(start);
    const std::tm last = ToLocalTm(start + kSecondsPerDay - 1);
    const bool whole = SameDay(first, local) && SameDay(last, local) && first.tm_hour == 0 &&
                       first.tm_min == 0 && first.tm_sec == 0 && last.tm_hour == 23 &&
                       last.tm_min == 59 && last.tm_sec == 59;
    return whole ? std::optional<std::int64_t>(start) : std::nullopt;
}

}  // namespace

void AppendFormat(std::string& out, const char* format, ...) {
    std::array<char, 128> buffer{};
    va_list arguments;
    va_start(arguments, format);
    va_list retry;
    va_copy(retry, arguments);
    const int length = std::vsnprintf(buffer.data(), buffer.size(), format, arguments);
    va_end(arguments);
    if (length < 0) {
        va_end(retry);
        return;
    }
    const auto size = static_cast<std::size_t>(length);
    if (size < buffer.size()) {
        out.append(buffer.data(), size);
    } else {
        // Figures as large as a float allows print 40 digits and more.
        std::vector<char> large(size + 1);
        std::vsnprintf(large.data(), large.size(), format, retry);
        out.append(large.data(), size);
    }
    va_end(retry);
}

namespace {

constexpr std::array<std::uint64_t, 7> kPowersOfTen{1, 10, 100, 1000, 10000, 100000, 1000000};
constexpr int kFloatFractionBits = 23;
constexpr int kFloatExponentBias = 127;

// A float's exact value times ten to a precision, rounded half to even as printf rounds:
// every digit of its fixed notation.
struct FixedDigits {
    std::uint64_t digits = 0;
    bool negative = false;
};

// The digits of `value` with `precision` decimals, when `value` is a float whose exact
// value times ten to the precision fits in 64 bits: nearly every figure of a report, which
// this writes several times faster than the general way.
std::optional<FixedDigits> ScaledFloat(double value, int precision) {
    const auto single = static_cast<float>(value);
    if (!std::isfinite(value) || static_cast<double>(single) != value || precision < 0 ||
        static_cast<std::size_t>(precision) >= kPowersOfTen.size()) {
        return std::nullopt;
    }
    const auto bits = std::bit_cast<std::uint32_t>(single);
    const bool negative = (bits >> 31) != 0;
    const std::uint32_t fraction = bits & ((1u << kFloatFractionBits) - 1);
    const auto biased = static_cast<int>((bits >> kFloatFractionBits) & 0xFF);
    // value = mantissa x 2^exponent exactly.
    const std::uint64_t mantissa = biased == 0 ? fraction : fraction | (1u << kFloatFractionBits);
    const int exponent = (biased == 0 ? 1 : biased) - kFloatExponentBias - kFloatFractionBits;

    const std::uint64_t scaled = mantissa * kPowersOfTen[static_cast<std::size_t>(precision)];
    std::uint64_t digits = 0;
    if (exponent >= 0) {
        // 2^24 x 10^6 < 2^44, so 20 more bits of exponent still fit.
        if (exponent > 20) {
            return std::nullopt;
        }
        digits = scaled << exponent;
    } else if (exponent > -64) {
        const int shift = -exponent;
        digits = scaled >> shift;
        const std::uint64_t rest = scaled & ((std::uint64_t{1} << shift) - 1);
        const std::uint64_t half = std::uint64_t{1} << (shift - 1);
        if (rest > half || (rest == half && (digits & 1) != 0)) {
            ++digits;
        }
    }
    // Otherwise the value is below 2^-40 times the scale, far under half of the last digit.
    return FixedDigits{digits, negative};
}

// Writes the fixed notation just before `end`; returns where it starts.
char* PutFixed(const FixedDigits& fixed, int precision, char* end) {
    std::uint64_t digits = fixed.digits;
    char* first = end;
    for (int i = 0; i < precision; ++i) {
        *--first = static_cast<char>('0' + digits % 10);
        digits /= 10;
    }
    if (precision > 0) {
        *--first = '.';
    }
    do {
        *--first = static_cast<char>('0' + digits % 10);
        digits /= 10;
    } while (digits != 0);
    if (fixed.negative) {
        *--first = '-';
    }
    return first;
}

}  // namespace

void AppendFixed(std::string& out, double value, int precision, std::size_t width) {
    // A double's largest value has 309 integer digits; the precisions used stay small.
    std::array<char, 400> buffer;
    char* const bufferEnd = buffer.data() + buffer.size();
    char* first = buffer.data();
    char* last = bufferEnd;
    if (const std::optional<FixedDigits> fixed = ScaledFloat(value, precision)) {
        first = PutFixed(*fixed, precision, bufferEnd);
        // The column's spaces go in front within the buffer, so the field is one append.
        while (first > buffer.data() && static_cast<std::size_t>(bufferEnd - first) < width) {
            *--first = ' ';
        }
    } else {
        const auto [end, error] =
            std::to_chars(buffer.data(), bufferEnd, value, std::chars_format::fixed, precision);
        if (error != std::errc{}) {
            AppendFormat(out, "%*.*f", static_cast<int>(width), precision, value);
            return;
        }
        last = end;
    }
    const auto length = static_cast<std::size_t>(last - first);
    if (length < width) {
        out.append(width - length, ' ');
    }
    out.append(first, length);
}

const char* ShortDatePattern(bool monthFirst) {
    return monthFirst ? "%m/%d/%y" : "%d/%m/%y";
}

std::string FormatShortDate(std::int64_t time, bool monthFirst) {
    return FormatLocalTime(time, ShortDatePattern(monthFirst));
}

std::string FormatLongDate(std::int64_t time, bool monthFirst) {
    return FormatDate(time, monthFirst);
}

DateTexts::DateTexts(const char* pattern)
    : m_pattern(pattern), m_wholeDays(IsDatePattern(pattern)) {}

std::string_view DateTexts::Of(std::int64_t time) {
    if (m_last != nullptr && time >= m_last->first && time <= m_last->second.last) {
        return m_last->second.text;
    }
    // The span starting last at or before `time`. Spans never give a wrong text, but may
    // overlap (a leap second's own span inside its day), so one that misses converts anew.
    const auto after = m_spans.upper_bound(time);
    if (after != m_spans.begin() && time <= std::prev(after)->second.last) {
        m_last = &*std::prev(after);
        return m_last->second.text;
    }
    const std::tm local = ToLocalTm(time);
    std::string text = FormatTm(local, m_pattern);
    auto span = m_spans.end();
    if (const std::optional<std::int64_t> start =
            m_wholeDays ? WholeDayStart(time, local) : std::nullopt) {
        // A day already spanned from that second (a leap second's) leaves this time to a
        // span of its own.
        const auto [day, added] =
            m_spans.try_emplace(*start, Span{*start + kSecondsPerDay - 1, text});
        span = added ? day : span;
    }
    if (span == m_spans.end()) {
        // No span starts at `time`, or the lookup above would have found it.
        span = m_spans.try_emplace(time, Span{time, std::move(text)}).first;
    }
    m_last = &*span;
    return m_last->second.text;
}

std::string_view CutText(std::string_view text, std::size_t width) {
    return text.substr(0, CharacterPrefix(text, width).bytes);
}

void AppendColumn(std::string& out, std::string_view text, std::size_t width) {
    const Prefix prefix = CharacterPrefix(text, width);
    out.append(text.substr(0, prefix.bytes));
    out.append(width - prefix.characters, ' ');
}

void AppendRightAligned(std::string& out, std::string_view text, std::size_t width) {
    out.append(width - CharacterPrefix(text, width).characters, ' ');
    out.append(text);
}

LotSelection SelectLots(std::string_view symbolText) {
    return LotSelection{StripOptionSuffix(symbolText), HasOptionSuffix(symbolText)};
}

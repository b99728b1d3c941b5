#include "core/reports/ReportText.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "core/model/LocalTime.h"
#include "core/model/OptionSuffix.h"

namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Byte length of the first `width` characters of UTF-8 `text`, and how many it holds.
struct Prefix {
    std::size_t bytes = 0;
    std::size_t characters = 0;
};

bool IsAscii(std::string_view text) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    std::size_t i = 0;
    for (; i + sizeof(std::uint64_t) <= text.size(); i += sizeof(std::uint64_t)) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + i, sizeof word);
        if ((word & kHighBits) != 0) {
            return false;
        }
    }
    for (; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0x80) != 0) {
            return false;
        }
    }
    return true;
}

Prefix CharacterPrefix(std::string_view text, std::size_t width) {
    Prefix prefix;
    // Most labels are plain ASCII: one character a byte, checked a word at a time.
    const std::size_t head = std::min(text.size(), width);
    if (IsAscii(text.substr(0, head))) {
        prefix = Prefix{head, head};
    }
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

// Writes the two digits of `pair` (below 100) before `end`; returns where they start.
char* PutTwoDigits(char* end, std::uint64_t pair) {
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    end -= 2;
    std::memcpy(end, kPairs + 2 * pair, 2);
    return end;
}

// A float's exact value times ten to a precision, rounded half to even as printf rounds:
// every digit of its fixed notation.
struct FixedDigits {
    std::uint64_t digits = 0;
    bool negative = false;
};

// The digits of `value` with `precision` decimals, when `value` is a float whose exact
// value times ten to the precision fits in 64 bits; none for the values left to the
// general way.
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

// Bytes of the fixed notation: the digits, at least one before the point, the point and
// the sign.
std::size_t FixedLength(const FixedDigits& fixed, int precision) {
    static constexpr std::array<std::uint64_t, 20> kPowers = [] {
        std::array<std::uint64_t, 20> powers{};
        std::uint64_t power = 1;
        for (std::uint64_t& entry : powers) {
            entry = power;
            power *= 10;
        }
        return powers;
    }();
    // About log10 from the bit count, then one comparison settles it.
    const auto guess = static_cast<std::size_t>(std::bit_width(fixed.digits) * 1233 >> 12);
    const std::size_t count = guess + (guess < kPowers.size() && fixed.digits >= kPowers[guess]);
    const auto least = static_cast<std::size_t>(precision) + 1;
    return std::max(count, least) + (precision > 0 ? 1 : 0) + (fixed.negative ? 1 : 0);
}

// Writes the fixed notation just before `end`; returns where it starts.
char* PutFixed(const FixedDigits& fixed, int precision, char* end) {
    std::uint64_t digits = fixed.digits;
    char* first = end;
    int fractionLeft = precision;
    for (; fractionLeft >= 2; fractionLeft -= 2) {
        first = PutTwoDigits(first, digits % 100);
        digits /= 100;
    }
    if (fractionLeft == 1) {
        *--first = static_cast<char>('0' + digits % 10);
        digits /= 10;
    }
    if (precision > 0) {
        *--first = '.';
    }
    while (digits >= 100) {
        first = PutTwoDigits(first, digits % 100);
        digits /= 100;
    }
    if (digits >= 10) {
        first = PutTwoDigits(first, digits);
    } else {
        *--first = static_cast<char>('0' + digits);
    }
    if (fixed.negative) {
        *--first = '-';
    }
    return first;
}

void AppendTwoDigits(std::string& out, int value) {
    out += static_cast<char>('0' + value / 10);
    out += static_cast<char>('0' + value % 10);
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

// The time in a pattern of "%d", "%m", "%y", "%Y" and slashes, as strftime writes it, for
// years of four digits; strftime itself for any other pattern or year. `tm` is its local
// time.
std::string FormatReportDate(std::int64_t time, const std::tm& tm, const char* pattern) {
    const int year = tm.tm_year + 1900;
    constexpr int kFirstYear = 1000;
    constexpr int kLastYear = 9999;
    if (year < kFirstYear || year > kLastYear) {
        return FormatLocalTime(time, pattern);
    }
    std::string text;
    for (const char* c = pattern; *c != '\0'; ++c) {
        if (*c == '/') {
            text += '/';
            continue;
        }
        if (*c != '%') {
            return FormatLocalTime(time, pattern);
        }
        switch (*++c) {
            case 'd':
                AppendTwoDigits(text, tm.tm_mday);
                break;
            case 'm':
                AppendTwoDigits(text, tm.tm_mon + 1);
                break;
            case 'y':
                AppendTwoDigits(text, year % 100);
                break;
            case 'Y':
                AppendTwoDigits(text, year / 100);
                AppendTwoDigits(text, year % 100);
                break;
            default:
                return FormatLocalTime(time, pattern);
        }
    }
    return text;
}

}  // namespace

void LineWriter::Flush() {
    m_out.append(m_buffer, m_used);
    m_used = 0;
}

void LineWriter::LongText(std::string_view text) {
    if (!Room(text.size())) {
        m_out.append(text);
        return;
    }
    std::memcpy(m_buffer + m_used, text.data(), text.size());
    m_used += text.size();
}

void LineWriter::Spaces(std::size_t count) {
    // Short runs write a whole block of spaces and keep what they need.
    constexpr std::string_view kBlock = "                ";
    if (count <= kBlock.size() && Room(kBlock.size())) {
        std::memcpy(m_buffer + m_used, kBlock.data(), kBlock.size());
        m_used += count;
        return;
    }
    if (!Room(count)) {
        m_out.append(count, ' ');
        return;
    }
    std::memset(m_buffer + m_used, ' ', count);
    m_used += count;
}

void LineWriter::Fixed(double value, int precision, std::size_t width) {
    // The figures of a report are floats with a few decimals, which fit a small field.
    // Their digits go straight to their place in the line, after spaces for the column:
    // digits written to a field of their own and then copied would be read back from
    // memory still being written.
    constexpr std::size_t kField = 32;
    if (width <= kField && Room(kField)) {
        if (const std::optional<FixedDigits> fixed = ScaledFloat(value, precision)) {
            const std::size_t length = FixedLength(*fixed, precision);
            if (length <= kField) {
                static constexpr char kSpaces[kField + 1] = "                                ";
                const std::size_t size = std::max(width, length);
                char* const field = m_buffer + m_used;
                std::memcpy(field, kSpaces, kField);
                PutFixed(*fixed, precision, field + size);
                m_used += size;
                return;
            }
        }
    }
    // A double's largest value has 309 integer digits; the precisions used stay small.
    std::array<char, 384> buffer;
    char* const bufferEnd = buffer.data() + buffer.size();
    const char* first = nullptr;
    const char* last = bufferEnd;
    if (const std::optional<FixedDigits> fixed = ScaledFloat(value, precision)) {
        first = PutFixed(*fixed, precision, bufferEnd);
    } else {
        const auto [end, error] =
            std::to_chars(buffer.data(), bufferEnd, value, std::chars_format::fixed, precision);
        if (error != std::errc{}) {
            Flush();
            AppendFormat(m_out, "%*.*f", static_cast<int>(width), precision, value);
            return;
        }
        first = buffer.data();
        last = end;
    }
    const auto length = static_cast<std::size_t>(last - first);
    if (length < width) {
        Spaces(width - length);
    }
    Text(std::string_view(first, length));
}

void LineWriter::Column(std::string_view text, std::size_t width) {
    const Prefix prefix = CharacterPrefix(text, width);
    Text(text.substr(0, prefix.bytes));
    Spaces(width - prefix.characters);
}

void LineWriter::RightAligned(std::string_view text, std::size_t width) {
    const Prefix prefix = CharacterPrefix(text, width);
    Spaces(width - prefix.characters);
    Text(text);
}

void AppendFixed(std::string& out, double value, int precision, std::size_t width) {
    LineWriter(out).Fixed(value, precision, width);
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

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

bool SameDay(const std::tm& a, const std::tm& b) {
    return a.tm_year == b.tm_year && a.tm_mon == b.tm_mon && a.tm_mday == b.tm_mday &&
           a.tm_gmtoff == b.tm_gmtoff;
}

}  // namespace

DateTexts::DateTexts(const char* pattern) : m_pattern(pattern) {
    if (IsDatePattern(pattern)) {
        m_shared.emplace(pattern);
    }
}

DateTexts::~DateTexts() {
    if (!m_shared) {
        return;
    }
    // Sharing only saves later reports work; without the memory for it they convert again.
    try {
        m_shared->Share(m_days);
    } catch (const std::bad_alloc&) {
    }
}

std::optional<DayTexts::Day> DateTexts::FromDays(std::int64_t time) {
    if (const auto day = m_shared->Days().Find(time, m_sharedHint)) {
        return day;
    }
    return m_days.Find(time, m_dayHint);
}

std::string_view DateTexts::AddDay(std::int64_t time, const std::tm& local, std::string_view text) {
    const std::optional<std::int64_t> day = LocalDayNumber(time, local.tm_gmtoff);
    if (!day) {
        return text;
    }
    // The day's first and last second, if the offset holds, must show the same date and
    // offset at midnight and just before the next; a clock change inside the day, or a
    // leap second, fails the check and leaves the day to exact times.
    const std::int64_t start = time - (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec);
    const std::tm first = ToLocalTm(start);
    const std::tm last = ToLocalTm(start + kSecondsPerDay - 1);
    // The day number must be exactly that day, which a zone counting leap seconds breaks.
    const bool onGrid = start + local.tm_gmtoff == *day * kSecondsPerDay;
    const bool whole = onGrid && SameDay(first, local) && SameDay(last, local) &&
                       first.tm_hour == 0 && first.tm_min == 0 && first.tm_sec == 0 &&
                       last.tm_hour == 23 && last.tm_min == 59 && last.tm_sec == 59;
    if (!whole) {
        return text;
    }
    return m_days.Add(local.tm_gmtoff, *day, text);
}

std::string_view DateTexts::Of(std::int64_t time) {
    if (m_last && time == m_lastTime) {
        return *m_last;
    }
    if (time >= m_lastDayStart && time < m_lastDayEnd) {
        return m_lastDay;
    }
    std::optional<std::string_view> text;
    if (m_shared) {
        if (const auto day = FromDays(time)) {
            m_lastDayStart = day->start;
            m_lastDayEnd = day->start + kSecondsPerDay;
            m_lastDay = day->text;
            text = day->text;
        }
    }
    if (!text) {
        if (const std::string_view* found = m_byTime.Find(time)) {
            text = *found;
        }
    }
    if (!text) {
        const std::tm local = ToLocalTm(time);
        const std::string formatted = FormatReportDate(time, local, m_pattern);
        const std::string_view kept =
            m_shared ? AddDay(time, local, formatted) : std::string_view(formatted);
        // A day's copy serves; otherwise this object keeps one.
        text = kept.data() != formatted.data() ? kept : m_texts.Keep(formatted);
        m_byTime.Insert(time, *text);
    }
    m_lastTime = time;
    m_last = text;
    return *text;
}

std::string_view CutText(std::string_view text, std::size_t width) {
    return text.substr(0, CharacterPrefix(text, width).bytes);
}

void AppendColumn(std::string& out, std::string_view text, std::size_t width) {
    LineWriter(out).Column(text, width);
}

void AppendRightAligned(std::string& out, std::string_view text, std::size_t width) {
    LineWriter(out).RightAligned(text, width);
}

LotSelection SelectLots(std::string_view symbolText) {
    return LotSelection{StripOptionSuffix(symbolText), HasOptionSuffix(symbolText)};
}

#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

// Text conventions shared by the report builders.

// Appends printf-formatted text to `out`.
[[gnu::format(printf, 2, 3)]] void AppendFormat(std::string& out, const char* format, ...);

// Appends `value` exactly as printf("%*.*f", width, precision, value) writes it in the C
// locale ("inf", "-nan" and "-0.00" included).
void AppendFixed(std::string& out, double value, int precision, std::size_t width = 0);

// "%m/%d/%y" when month first, "%d/%m/%y" otherwise (history, tax and summary reports).
const char* ShortDatePattern(bool monthFirst);
std::string FormatShortDate(std::int64_t time, bool monthFirst);
// "%m/%d/%Y" when month first, "%d/%m/%Y" otherwise (available, overview, detail reports).
std::string FormatLongDate(std::int64_t time, bool monthFirst);

// The dates of one report in one pattern. A report prints the same few thousand days over
// hundreds of thousands of rows, and the local time conversion is the costly part, so each
// day is converted once: a pattern of the day, month and year gives every second of a day
// the same text, unless the zone's offset changes within it.
class DateTexts {
public:
    explicit DateTexts(const char* pattern);

    // The time in the pattern; valid as long as this object.
    std::string_view Of(std::int64_t time);

private:
    // Seconds from a first one (the key in m_spans) to `last` that show `text`.
    struct Span {
        std::int64_t last = 0;
        std::string text;
    };
    using Spans = std::map<std::int64_t, Span>;

    const char* m_pattern;
    bool m_wholeDays;
    Spans m_spans;
    // Rows in date order ask for the same day many times running.
    const Spans::value_type* m_last = nullptr;
};

// The first `width` characters of `text` (characters, not bytes, so a name is never cut
// inside a letter), as a view into it.
std::string_view CutText(std::string_view text, std::size_t width);
// A left-aligned column: `text` cut to `width` characters or padded with spaces to it.
void AppendColumn(std::string& out, std::string_view text, std::size_t width);
// A right-aligned column: spaces before `text` up to `width` characters; a text of
// `width` characters or more gets none.
void AppendRightAligned(std::string& out, std::string_view text, std::size_t width);

// What a report's symbol text selects: "XYZ-O" the option grants of XYZ, anything else
// the ordinary lots of the symbol as written.
struct LotSelection {
    std::string symbol;  // without the option suffix
    bool optionsOnly = false;
};
LotSelection SelectLots(std::string_view symbolText);

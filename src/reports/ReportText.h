#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Text conventions shared by the report builders.

inline constexpr std::string_view kLineEnd = "\r\n";

// Appends printf-formatted text to `out`.
[[gnu::format(printf, 2, 3)]] void AppendFormat(std::string& out, const char* format, ...);

// "%m/%d/%y" when month first, "%d/%m/%y" otherwise (history, tax and summary reports).
std::string FormatShortDate(std::int64_t time, bool monthFirst);
// "%m/%d/%Y" when month first, "%d/%m/%Y" otherwise (available, overview, detail reports).
std::string FormatLongDate(std::int64_t time, bool monthFirst);

// The first `width` characters of `text` (characters, not bytes, so a name is never cut
// inside a letter).
std::string CutText(std::string_view text, std::size_t width);
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

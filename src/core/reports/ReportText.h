#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/reports/DayTexts.h"
#include "core/reports/IntKeyTable.h"
#include "core/reports/LabelStore.h"

// Text conventions shared by the report builders.

inline constexpr std::string_view kLineEnd = "\r\n";

// Appends printf-formatted text to `out`.
[[gnu::format(printf, 2, 3)]] void AppendFormat(std::string& out, const char* format, ...);

// Appends `value` exactly as printf("%*.*f", width, precision, value) writes it in the C
// locale ("inf", "-nan" and "-0.00" included), at a fraction of printf's cost.
void AppendFixed(std::string& out, double value, int precision, std::size_t width = 0);

namespace line_text {

// Copies up to 32 bytes with moves of fixed size, which the compiler inlines, where a
// general copy would be a call per piece; for a piece of constant size, a move or two.
inline void CopyShort(char* to, const char* from, std::size_t size) {
    if (size >= 16) {
        std::memcpy(to, from, 16);
        std::memcpy(to + size - 16, from + size - 16, 16);
    } else if (size >= 8) {
        std::memcpy(to, from, 8);
        std::memcpy(to + size - 8, from + size - 8, 8);
    } else if (size >= 4) {
        std::memcpy(to, from, 4);
        std::memcpy(to + size - 4, from + size - 4, 4);
    } else if (size > 0) {
        to[0] = from[0];
        to[size / 2] = from[size / 2];
        to[size - 1] = from[size - 1];
    }
}

inline constexpr std::size_t kShortPiece = 32;

}  // namespace line_text

// Builds a line of a report in a small buffer and appends it to the text in one copy when
// full or done: a line is a dozen short pieces, and adding each to a text of many
// megabytes costs more than making it.
class LineWriter {
public:
    explicit LineWriter(std::string& out) : m_out(out) {}
    ~LineWriter() { Flush(); }
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;

    // Inline: a line is a dozen short pieces, most of them constants.
    void Text(std::string_view text) {
        if (text.size() <= line_text::kShortPiece && Room(line_text::kShortPiece)) {
            line_text::CopyShort(m_buffer + m_used, text.data(), text.size());
            m_used += text.size();
            return;
        }
        LongText(text);
    }
    void Char(char c) {
        Room(1);
        m_buffer[m_used++] = c;
    }
    void Spaces(std::size_t count);
    // As AppendFixed.
    void Fixed(double value, int precision, std::size_t width = 0);
    // As AppendColumn and AppendRightAligned.
    void Column(std::string_view text, std::size_t width);
    void RightAligned(std::string_view text, std::size_t width);

    // Appends what was written so far.
    void Flush();

private:
    static constexpr std::size_t kSize = 1024;

    // Room for `bytes` more, flushing first when there is not; false when even an empty
    // buffer is too small.
    bool Room(std::size_t bytes) {
        if (bytes > kSize - m_used) {
            Flush();
        }
        return bytes <= kSize;
    }
    void LongText(std::string_view text);

    std::string& m_out;
    std::size_t m_used = 0;
    char m_buffer[kSize];
};

// "%m/%d/%y" when month first, "%d/%m/%y" otherwise (history, tax and summary reports).
const char* ShortDatePattern(bool monthFirst);
std::string FormatShortDate(std::int64_t time, bool monthFirst);
// "%m/%d/%Y" when month first, "%d/%m/%Y" otherwise (available, overview, detail reports).
std::string FormatLongDate(std::int64_t time, bool monthFirst);

// The dates of one report in one pattern. A report prints the same few thousand times
// over hundreds of thousands of rows, and the local time conversion is the costly part,
// so each distinct time is converted once, and each whole day once in the process.
class DateTexts {
public:
    explicit DateTexts(const char* pattern);
    // Shares the days this report converted with the next reports.
    ~DateTexts();
    DateTexts(const DateTexts&) = delete;
    DateTexts& operator=(const DateTexts&) = delete;

    // The time in the pattern; valid as long as this object.
    std::string_view Of(std::int64_t time);

private:
    // The local day already converted that holds `time`, or none.
    std::optional<DayTexts::Day> FromDays(std::int64_t time);
    // Records the local day around `time` when the zone's offset is the same all through
    // it, so that one conversion serves every time of that day.
    std::string_view AddDay(std::int64_t time, const std::tm& local, std::string_view text);

    const char* m_pattern;
    // A pattern of the day, month and year only gives every time of a day one text, and
    // shares its days between reports.
    std::optional<SharedDayTexts> m_shared;
    std::size_t m_sharedHint = 0;
    DayTexts m_days;  // the days converted here
    std::size_t m_dayHint = 0;
    IntKeyTable<std::string_view> m_byTime;
    LabelStore m_texts;
    // Rows in date order ask for the same time, or times of the same day, many times
    // running.
    std::int64_t m_lastTime = 0;
    std::optional<std::string_view> m_last;
    std::int64_t m_lastDayStart = 0;
    std::int64_t m_lastDayEnd = 0;  // none until a day is found
    std::string_view m_lastDay;
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

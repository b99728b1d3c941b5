#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The daily closes of every symbol, kept beside a portfolio in "<portfolio>.prices".
//
// The file is UTF-8 text. Its first line is the header
//
//     Symbol,Date,Close
//
// and every further line is one close:
//
//     AAPL,2024-03-08,170.73
//     "BRK,B",2024-03-08,545.2
//
// the symbol (quoted as RFC 4180 has it when it holds a comma or a quote, a quote inside
// doubled), the calendar date as YYYY-MM-DD and the close in the shortest form that reads
// back as the same float. Lines end in LF; CR LF is read as well.
//
// A session only ever appends lines, and a later line for the same symbol and day replaces
// an earlier one, so storing a new close never rewrites what is there: a crash can at worst
// cut the last line short, and that line alone is lost. The file is rewritten whole, through
// a temporary file renamed over it, only to drop the replaced lines or to give it a new name.

// A calendar date as days since 1970-01-01; dates before it are negative.
using PriceDay = std::int32_t;

// The dates the file can spell with a four-digit year: 0001-01-01 to 9999-12-31.
inline constexpr PriceDay kFirstPriceDay = -719162;
inline constexpr PriceDay kLastPriceDay = 2932896;

// The day of the local date of `time` (seconds since 1970, in the process time zone).
PriceDay PriceDayAt(std::int64_t time);
// The day of a calendar date; none when there is no such date or the year is outside 1..9999.
std::optional<PriceDay> PriceDayOf(int year, int month, int day);
// YYYY-MM-DD; an empty text for a day outside kFirstPriceDay..kLastPriceDay.
std::string PriceDayText(PriceDay day);
// The day of a YYYY-MM-DD text, exactly that form; none for anything else.
std::optional<PriceDay> ParsePriceDay(std::string_view text);

// Longer symbols are refused: no exchange has them, and a line of the file stays short.
inline constexpr std::size_t kMaxPriceSymbolBytes = 256;

// Every close the program knows, by symbol and day.
class PriceHistory {
public:
    // Stores the close of `symbol` on `day`, replacing the one stored for that day. Refused,
    // returning false, when the close is not a finite number above 0, the day is outside
    // kFirstPriceDay..kLastPriceDay, or the symbol is empty, longer than
    // kMaxPriceSymbolBytes or holds a line break: the file could not give any of them back.
    bool Record(const std::string& symbol, PriceDay day, float close);

    // The closes of `symbol` by day; nullptr when it has none. Symbols are compared exactly.
    const std::map<PriceDay, float>* Closes(std::string_view symbol) const;
    // The last close at or before `day`: a day without one (a weekend, a holiday, a day the
    // program did not run) has the close before it. None before the first close.
    std::optional<float> CloseOn(std::string_view symbol, PriceDay day) const;

    // The symbols with closes, in byte order.
    std::vector<std::string> Symbols() const;
    // The number of closes over all symbols.
    std::size_t Size() const { return m_size; }
    bool Empty() const { return m_size == 0; }

private:
    std::map<std::string, std::map<PriceDay, float>, std::less<>> m_closes;
    std::size_t m_size = 0;
};

// The file of closes beside the portfolio at `portfolioPath`.
std::string PriceHistoryPath(const std::string& portfolioPath);

// A history file is refused when larger than this: ten years of daily closes of thousands
// of symbols take a few hundred megabytes.
inline constexpr std::uint64_t kMaxPriceHistoryBytes = std::uint64_t{1} << 30;

struct LoadedPriceHistory {
    PriceHistory history;
    // The lines after the header, read or skipped; blank lines are not counted.
    std::size_t lines = 0;
    // Why lines were skipped ("line 12: the close \"abc\" is no price"), at most 20 and then
    // "and N more"; or the one reason the file was not read at all.
    std::vector<std::string> problems;
};

// Reads a history file. A missing file is an empty history. A line that cannot be read is
// skipped and named in the problems, and so is a last line without its line end, which an
// append cut short. A file that is no regular file or is larger than `limit` is not read.
LoadedPriceHistory LoadPriceHistory(const std::string& path,
                                    std::uint64_t limit = kMaxPriceHistoryBytes);

struct PriceEntry {
    std::string symbol;
    PriceDay day = 0;
    float close = 0.0f;
};

// Appends a line per entry, the header first when the file is new or empty, and flushes the
// file to disk. An entry PriceHistory::Record would refuse refuses the whole call, before
// anything is written. Returns the error, naming the file, or an empty text.
std::string AppendPrices(const std::string& path, const std::vector<PriceEntry>& entries);

// Writes the whole history to `path`, symbols in byte order and each symbol's days in order,
// replacing any file there only once the new one is complete. Returns the error or an empty
// text.
std::string WritePriceHistory(const std::string& path, const PriceHistory& history);

// Whether the file holds so many replaced or skipped lines that it is worth rewriting.
bool PriceHistoryWantsCompacting(const LoadedPriceHistory& loaded);

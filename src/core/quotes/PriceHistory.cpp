#include "core/quotes/PriceHistory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <span>
#include <system_error>
#include <utility>

#include "core/model/FileBytes.h"
#include "core/model/FileDescriptor.h"
#include "core/model/LocalTime.h"
#include "core/reports/CsvText.h"

namespace {

constexpr std::string_view kHeader = "Symbol,Date,Close";
constexpr std::size_t kFieldCount = 3;
constexpr std::size_t kMaxListedProblems = 20;
// Enough of a bad field to recognise it; a damaged file may hold a field of any length.
constexpr std::size_t kMaxShownBytes = 40;

constexpr std::chrono::sys_days DaysOf(PriceDay day) {
    return std::chrono::sys_days{std::chrono::days{day}};
}

static_assert(DaysOf(kFirstPriceDay) ==
              std::chrono::sys_days{std::chrono::year{1} / std::chrono::January / 1});
static_assert(DaysOf(kLastPriceDay) ==
              std::chrono::sys_days{std::chrono::year{9999} / std::chrono::December / 31});

// Why the history cannot hold `symbol`, or an empty text.
std::string SymbolRefusal(std::string_view symbol) {
    if (symbol.empty()) {
        return "the symbol is empty";
    }
    if (symbol.size() > kMaxPriceSymbolBytes) {
        return "the symbol is longer than " + std::to_string(kMaxPriceSymbolBytes) + " bytes";
    }
    // Each close is one line of the file, so that a damaged line costs that close alone.
    if (symbol.find_first_of("\r\n") != std::string_view::npos) {
        return "the symbol holds a line break";
    }
    return {};
}

bool IsClose(float close) {
    return std::isfinite(close) && close > 0.0f;
}

bool IsStorableDay(PriceDay day) {
    return day >= kFirstPriceDay && day <= kLastPriceDay;
}

// `text` in quotes for a message, cut short, and never in the middle of a UTF-8 sequence.
std::string Shown(std::string_view text) {
    if (text.size() <= kMaxShownBytes) {
        return "\"" + std::string(text) + "\"";
    }
    std::size_t cut = kMaxShownBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0U) == 0x80U) {
        --cut;
    }
    return "\"" + std::string(text.substr(0, cut)) + "...\"";
}

std::optional<float> ParseClose(std::string_view text) {
    float value = 0.0f;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || !IsClose(value)) {
        return std::nullopt;
    }
    return value;
}

void AppendPriceLine(std::string& out, std::string_view symbol, PriceDay day, float close) {
    AppendCsvField(out, symbol);
    out += ',';
    out += PriceDayText(day);
    out += ',';
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), close);
    // 32 characters hold any float in its shortest form, so the error cannot happen.
    static_cast<void>(error);
    out.append(buffer.data(), end);
    out += '\n';
}

// The fields of one line: the first kFieldCount kept, all of them counted.
struct LineFields {
    std::array<std::string, kFieldCount> fields;
    std::size_t count = 0;
    std::string fault;  // not empty: the quoting is broken and the fields mean nothing
};

LineFields SplitLine(std::string_view line) {
    LineFields result;
    std::size_t position = 0;
    for (;;) {
        std::string field;
        if (position < line.size() && line[position] == '"') {
            ++position;
            for (;;) {
                const std::size_t quote = line.find('"', position);
                if (quote == std::string_view::npos) {
                    result.fault = "a quote is not closed";
                    return result;
                }
                field.append(line.substr(position, quote - position));
                position = quote + 1;
                if (position < line.size() && line[position] == '"') {
                    field += '"';
                    ++position;
                    continue;
                }
                break;
            }
            if (position < line.size() && line[position] != ',') {
                result.fault = "a quoted field goes on after its closing quote";
                return result;
            }
        } else {
            const std::size_t comma = std::min(line.find(',', position), line.size());
            const std::string_view text = line.substr(position, comma - position);
            if (text.find('"') != std::string_view::npos) {
                result.fault = "a field that is not quoted holds a quote";
                return result;
            }
            field.assign(text);
            position = comma;
        }
        if (result.count < kFieldCount) {
            result.fields[result.count] = std::move(field);
        }
        ++result.count;
        if (position >= line.size()) {
            return result;
        }
        ++position;  // the comma
    }
}

struct ProblemList {
    std::vector<std::string> listed;
    std::size_t unlisted = 0;

    void Add(std::size_t lineNumber, const std::string& what) {
        if (listed.size() < kMaxListedProblems) {
            listed.push_back("line " + std::to_string(lineNumber) + ": " + what);
        } else {
            ++unlisted;
        }
    }
};

// Records the close `line` holds; otherwise returns why it holds none.
std::string ReadPriceLine(std::string_view line, PriceHistory& history) {
    const LineFields split = SplitLine(line);
    if (!split.fault.empty()) {
        return split.fault;
    }
    if (split.count != kFieldCount) {
        return std::to_string(split.count) + (split.count == 1 ? " field" : " fields") +
               " where a line holds 3 (" + std::string(kHeader) + ")";
    }
    const std::string& symbol = split.fields[0];
    if (std::string refusal = SymbolRefusal(symbol); !refusal.empty()) {
        return refusal;
    }
    const std::optional<PriceDay> day = ParsePriceDay(split.fields[1]);
    if (!day) {
        return "the date " + Shown(split.fields[1]) + " is no date";
    }
    const std::optional<float> close = ParseClose(split.fields[2]);
    if (!close) {
        return "the close " + Shown(split.fields[2]) + " is no price";
    }
    history.Record(symbol, *day, *close);
    return {};
}

void ReadPriceText(std::string_view text, LoadedPriceHistory& loaded) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    ProblemList problems;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        const bool complete = end != std::string_view::npos;
        std::string_view line = text.substr(0, end);
        text.remove_prefix(complete ? end + 1 : text.size());
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (lineNumber == 1) {
            if (line == kHeader) {
                continue;
            }
            // A file whose header was lost still has its closes worth reading.
            PriceHistory probe;
            if (!complete || !ReadPriceLine(line, probe).empty()) {
                problems.Add(lineNumber,
                             Shown(line) + " is not the header " + std::string(kHeader));
                continue;
            }
            problems.Add(lineNumber, "the header " + std::string(kHeader) + " is missing");
        }
        if (line.empty()) {
            continue;
        }
        ++loaded.lines;
        if (!complete) {
            problems.Add(lineNumber, "the line is cut short, without its line end");
            continue;
        }
        if (std::string why = ReadPriceLine(line, loaded.history); !why.empty()) {
            problems.Add(lineNumber, why);
        }
    }
    loaded.problems = std::move(problems.listed);
    if (problems.unlisted > 0) {
        loaded.problems.push_back("and " + std::to_string(problems.unlisted) + " more");
    }
}

std::string AppendError(const std::string& path, const std::string& reason) {
    return "Could not add prices to \"" + path + "\": " + reason + ".";
}

std::string Reason(int error) {
    return std::generic_category().message(error);
}

}  // namespace

PriceDay PriceDayAt(std::int64_t time) {
    const LocalDate date = ToLocalDate(time);
    // A local date always exists, so the day does too.
    return PriceDayOf(date.year, date.month, date.day).value_or(0);
}

std::optional<PriceDay> PriceDayOf(int year, int month, int day) {
    // Checked before the chrono types see them: they leave values beyond their ranges
    // unspecified.
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) {
        return std::nullopt;
    }
    const std::chrono::year_month_day date{std::chrono::year{year},
                                           std::chrono::month{static_cast<unsigned>(month)},
                                           std::chrono::day{static_cast<unsigned>(day)}};
    if (!date.ok()) {
        return std::nullopt;
    }
    return static_cast<PriceDay>(std::chrono::sys_days{date}.time_since_epoch().count());
}

std::string PriceDayText(PriceDay day) {
    if (!IsStorableDay(day)) {
        return {};
    }
    const std::chrono::year_month_day date{DaysOf(day)};
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text.data();
}

std::optional<PriceDay> ParsePriceDay(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    const auto number = [text](std::size_t at, std::size_t length) -> std::optional<int> {
        int value = 0;
        for (const char c : text.substr(at, length)) {
            if (c < '0' || c > '9') {
                return std::nullopt;
            }
            value = value * 10 + (c - '0');
        }
        return value;
    };
    const std::optional<int> year = number(0, 4);
    const std::optional<int> month = number(5, 2);
    const std::optional<int> day = number(8, 2);
    if (!year || !month || !day) {
        return std::nullopt;
    }
    return PriceDayOf(*year, *month, *day);
}

bool PriceHistory::Record(const std::string& symbol, PriceDay day, float close) {
    if (!IsClose(close) || !IsStorableDay(day) || !SymbolRefusal(symbol).empty()) {
        return false;
    }
    auto& closes = m_closes[symbol];
    if (closes.insert_or_assign(day, close).second) {
        ++m_size;
    }
    return true;
}

const std::map<PriceDay, float>* PriceHistory::Closes(std::string_view symbol) const {
    const auto found = m_closes.find(symbol);
    return found == m_closes.end() ? nullptr : &found->second;
}

std::optional<float> PriceHistory::CloseOn(std::string_view symbol, PriceDay day) const {
    const std::map<PriceDay, float>* closes = Closes(symbol);
    if (closes == nullptr) {
        return std::nullopt;
    }
    auto after = closes->upper_bound(day);
    if (after == closes->begin()) {
        return std::nullopt;
    }
    return std::prev(after)->second;
}

std::vector<std::string> PriceHistory::Symbols() const {
    std::vector<std::string> symbols;
    symbols.reserve(m_closes.size());
    for (const auto& [symbol, closes] : m_closes) {
        symbols.push_back(symbol);
    }
    return symbols;
}

std::string PriceHistoryPath(const std::string& portfolioPath) {
    return portfolioPath + ".prices";
}

LoadedPriceHistory LoadPriceHistory(const std::string& path, std::uint64_t limit) {
    LoadedPriceHistory loaded;
    std::error_code ignored;
    if (std::filesystem::status(path, ignored).type() == std::filesystem::file_type::not_found) {
        return loaded;
    }
    const FileBytes file = ReadFileBytes(path, limit);
    if (!file.error.empty()) {
        loaded.problems.push_back(file.error);
        return loaded;
    }
    ReadPriceText(
        std::string_view(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()),
        loaded);
    return loaded;
}

std::string AppendPrices(const std::string& path, const std::vector<PriceEntry>& entries) {
    if (entries.empty()) {
        return {};
    }
    std::string lines;
    for (const PriceEntry& entry : entries) {
        std::string refusal = SymbolRefusal(entry.symbol);
        if (refusal.empty() && !IsStorableDay(entry.day)) {
            refusal = "the day " + std::to_string(entry.day) + " of " + Shown(entry.symbol) +
                      " is outside the years 1 to 9999";
        }
        if (refusal.empty() && !IsClose(entry.close)) {
            refusal = "the close of " + Shown(entry.symbol) + " on " + PriceDayText(entry.day) +
                      " is no price";
        }
        if (!refusal.empty()) {
            return AppendError(path, refusal);
        }
        AppendPriceLine(lines, entry.symbol, entry.day, entry.close);
    }

    // Opened without waiting, so that a FIFO in its place is refused rather than waited on.
    FileDescriptor file(
        ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666));
    struct stat status {};
    if (file.Get() < 0 || ::fstat(file.Get(), &status) != 0) {
        return AppendError(path, Reason(errno));
    }
    if (!S_ISREG(status.st_mode)) {
        return AppendError(path, "it is not a regular file");
    }
    const off_t previousSize = status.st_size;
    std::string text;
    if (previousSize == 0) {
        text += kHeader;
        text += '\n';
    } else {
        // A crash during an earlier append may have left its last line without a line end;
        // written straight after it, the first new line would be lost with it.
        char last = '\n';
        if (::pread(file.Get(), &last, 1, previousSize - 1) != 1) {
            return AppendError(path, Reason(errno));
        }
        if (last != '\n') {
            text += '\n';
        }
    }
    text += lines;

    int error = WriteAll(
        file.Get(), std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    if (error == 0 && ::fdatasync(file.Get()) != 0) {
        error = errno;
    }
    if (error != 0) {
        // Leaves no part of a line that a later append would run on from.
        static_cast<void>(::ftruncate(file.Get(), previousSize));
        return AppendError(path, Reason(error));
    }
    if (const int closeError = file.Close(); closeError != 0) {
        return AppendError(path, Reason(closeError));
    }
    return {};
}

std::string WritePriceHistory(const std::string& path, const PriceHistory& history) {
    std::string text(kHeader);
    text += '\n';
    for (const std::string& symbol : history.Symbols()) {
        for (const auto& [day, close] : *history.Closes(symbol)) {
            AppendPriceLine(text, symbol, day, close);
        }
    }
    // A rewrite loses nothing the file held that the history does not, so no backup is kept.
    return WriteFileSafely(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
        Backup::kNone);
}

bool PriceHistoryWantsCompacting(const LoadedPriceHistory& loaded) {
    return loaded.lines > 2 * loaded.history.Size() + 1000;
}

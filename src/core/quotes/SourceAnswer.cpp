#include "core/quotes/SourceAnswer.h"

#include <regex.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>

#include "core/model/PlainText.h"
#include "core/quotes/QuoteNumber.h"
#include "core/quotes/QuoteSource.h"
#include "core/quotes/SourceRequest.h"
#include "core/reports/CsvText.h"

namespace {

using Json = nlohmann::json;

std::string Trimmed(std::string_view text) {
    return std::string(TrimmedView(text));
}

// A whole text as a number: digits with an optional sign, point and exponent, and nothing
// after them but blanks.
std::optional<double> Number(std::string_view text) {
    const std::string trimmed = Trimmed(text);
    const char* begin = trimmed.data();
    const char* end = begin + trimmed.size();
    if (begin != end && *begin == '+') {
        ++begin;
    }
    double value = 0.0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end || begin == end) {
        return std::nullopt;
    }
    return value;
}

// A double as a float. A double beyond a float's range has no float value (the cast would
// be undefined), so it becomes an infinity, which no check takes for a price.
float Narrowed(double value) {
    constexpr double kLargest = std::numeric_limits<float>::max();
    if (value > kLargest) {
        return std::numeric_limits<float>::infinity();
    }
    if (value < -kLargest) {
        return -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(value);
}

std::string Cut(std::string_view text) {
    constexpr std::size_t kLongest = 40;
    std::string shown(text.substr(0, kLongest));
    for (char& c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F) {
            c = '?';
        }
    }
    return text.size() > kLongest ? shown + "..." : shown;
}

// A date "YYYY-MM-DD" or "YYYYMMDD", optionally followed by a time that is not read, as
// noon UTC of the day; or whole seconds since 1970 (milliseconds when the number is too
// large to be seconds).
std::int64_t TimeOf(std::string_view text) {
    const std::string trimmed = Trimmed(text);
    int year = 0;
    int month = 0;
    int day = 0;
    const auto digits = [&](std::size_t at, std::size_t count, int& value) {
        if (at + count > trimmed.size()) {
            return false;
        }
        const auto [stop, error] =
            std::from_chars(trimmed.data() + at, trimmed.data() + at + count, value);
        return error == std::errc() && stop == trimmed.data() + at + count;
    };
    const bool dashed = trimmed.size() >= 10 && trimmed[4] == '-' && trimmed[7] == '-' &&
                        digits(0, 4, year) && digits(5, 2, month) && digits(8, 2, day);
    const bool compact = !dashed && trimmed.size() == 8 && digits(0, 4, year) &&
                         digits(4, 2, month) && digits(6, 2, day);
    if (dashed || compact) {
        // A day its month does not have is no date; read on, "2024-02-30" would stand for
        // the 1st of March, and "20241301" for seconds in 1970.
        constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        if (year < 1970 || month < 1 || month > 12 || day < 1 || day > kDays[month - 1] ||
            (month == 2 && day == 29 && !leap)) {
            return 0;
        }
        // Days from the civil date (Howard Hinnant's algorithm), so no time zone is involved.
        const int y = year - (month <= 2 ? 1 : 0);
        const int era = y / 400;
        const int yoe = y - era * 400;
        const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
        const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
        const std::int64_t days = std::int64_t{era} * 146097 + doe - 719468;
        return days * 86400 + std::int64_t{12} * 3600;
    }
    const std::optional<double> number = Number(trimmed);
    if (!number || !std::isfinite(*number) || *number <= 0 || *number > 1e15) {
        return 0;
    }
    return static_cast<std::int64_t>(*number > 1e11 ? *number / 1000 : *number);
}

// What was read of one symbol before the figures are checked: the texts by field.
struct FieldTexts {
    std::optional<std::string> price;
    std::optional<std::string> time;
    std::optional<std::string> change;
    std::optional<std::string> previousClose;
    std::optional<std::string> currency;
};

// Turns the texts read for a symbol into its quote, or the reason there is none.
SourceQuote Finish(const std::string& held, const std::string& pricePlace, const FieldTexts& texts,
                   bool thousands) {
    SourceQuote quote;
    quote.held = held;
    const auto keep = [&](const char* name, const std::optional<std::string>& text) {
        if (text) {
            quote.read.emplace_back(name, *text);
        }
    };
    keep("price", texts.price);
    keep("time", texts.time);
    keep("change", texts.change);
    keep("previous close", texts.previousClose);
    keep("currency", texts.currency);
    const auto number = [thousands](std::string text) {
        if (thousands) {
            text.erase(std::remove(text.begin(), text.end(), ','), text.end());
        }
        return Number(text);
    };
    const std::optional<double> price = number(*texts.price);
    if (!price) {
        quote.reason =
            "the price at " + pricePlace + " is \"" + Cut(*texts.price) + "\", which is no number";
        return quote;
    }
    if (!IsQuotePrice(Narrowed(*price))) {
        quote.reason = "the price at " + pricePlace + " is " + Cut(*texts.price) +
                       ", which is no price (it must be above 0 and below 1000000000)";
        return quote;
    }
    quote.found = true;
    quote.price = Narrowed(*price);
    if (texts.change) {
        if (const std::optional<double> change = number(*texts.change)) {
            quote.change = SaneQuoteFigure(Narrowed(*change));
        }
    } else if (texts.previousClose) {
        if (const std::optional<double> previous = number(*texts.previousClose);
            previous && IsQuotePrice(Narrowed(*previous))) {
            quote.change = SaneQuoteFigure(Narrowed(*price - *previous));
        }
    }
    if (texts.time) {
        quote.time = TimeOf(*texts.time);
    }
    if (texts.currency) {
        quote.currency = Cut(*texts.currency);
    }
    return quote;
}

SourceQuote Missing(const std::string& held, std::string reason) {
    SourceQuote quote;
    quote.held = held;
    quote.reason = std::move(reason);
    return quote;
}

// --- CSV -------------------------------------------------------------------------------

using Rows = std::vector<std::vector<std::string>>;

// The column a place names: a number counted from 1, or a header name; -1 when the
// answer has no such column.
int ColumnOf(const std::string& place, const std::vector<std::string>* header) {
    int number = 0;
    const auto [stop, error] = std::from_chars(place.data(), place.data() + place.size(), number);
    if (error == std::errc() && stop == place.data() + place.size()) {
        return number >= 1 ? number - 1 : -1;
    }
    if (header == nullptr) {
        return -1;
    }
    const auto found = std::find_if(header->begin(), header->end(), [&](const std::string& name) {
        return SameIgnoringCase(Trimmed(name), Trimmed(place));
    });
    return found == header->end() ? -1 : static_cast<int>(found - header->begin());
}

std::optional<std::string> Cell(const std::vector<std::string>& row, int column) {
    if (column < 0 || static_cast<std::size_t>(column) >= row.size()) {
        return std::nullopt;
    }
    return row[static_cast<std::size_t>(column)];
}

std::vector<SourceQuote> ReadCsv(const QuoteSource& source, const SourceRequest& request,
                                 std::string_view body) {
    const Rows rows = ReadCsvRows(body);
    const std::vector<std::string>* header =
        source.csvHeader && !rows.empty() ? &rows.front() : nullptr;
    const std::size_t firstData = source.csvHeader ? 1 : 0;
    const SourceFields& fields = source.fields;
    std::string problem;
    const auto column = [&](const std::string& place) {
        if (place.empty()) {
            return -1;
        }
        const int found = ColumnOf(place, header);
        if (found < 0 && problem.empty()) {
            problem = "the answer has no column \"" + place + "\"";
        }
        return found;
    };
    const int priceColumn = column(fields.price);
    const int symbolColumn = column(fields.symbol);
    const int timeColumn = fields.time.empty() ? -1 : ColumnOf(fields.time, header);
    const int changeColumn = fields.change.empty() ? -1 : ColumnOf(fields.change, header);
    const int previousColumn =
        fields.previousClose.empty() ? -1 : ColumnOf(fields.previousClose, header);
    const int currencyColumn = fields.currency.empty() ? -1 : ColumnOf(fields.currency, header);

    std::vector<SourceQuote> quotes;
    for (std::size_t at = 0; at < request.held.size(); ++at) {
        const std::string& held = request.held[at];
        if (!problem.empty()) {
            quotes.push_back(Missing(held, problem));
            continue;
        }
        const std::vector<std::string>* row = nullptr;
        for (std::size_t r = firstData; r < rows.size() && row == nullptr; ++r) {
            const std::optional<std::string> symbol = Cell(rows[r], symbolColumn);
            if (symbolColumn < 0 ||
                (symbol && SameIgnoringCase(Trimmed(*symbol), request.asked[at]))) {
                row = &rows[r];
            }
        }
        if (row == nullptr) {
            quotes.push_back(Missing(
                held, symbolColumn < 0 ? "the answer has no rows"
                                       : "no row has " + fields.symbol + " " + request.asked[at]));
            continue;
        }
        FieldTexts texts;
        texts.price = Cell(*row, priceColumn);
        if (!texts.price) {
            quotes.push_back(Missing(
                held, "the row of " + request.asked[at] + " has no column " + fields.price));
            continue;
        }
        texts.time = Cell(*row, timeColumn);
        texts.change = Cell(*row, changeColumn);
        texts.previousClose = Cell(*row, previousColumn);
        texts.currency = Cell(*row, currencyColumn);
        quotes.push_back(Finish(held, "column " + fields.price, texts, false));
    }
    return quotes;
}

// --- JSON ------------------------------------------------------------------------------

// A pointer with the symbol asked in place of "{symbol}", escaped as a pointer needs.
std::string PointerFor(const std::string& place, const std::string& asked) {
    std::string escaped;
    for (const char c : asked) {
        escaped += c == '~' ? "~0" : c == '/' ? "~1" : std::string(1, c);
    }
    std::string pointer = place;
    for (std::size_t at = pointer.find("{symbol}"); at != std::string::npos;
         at = pointer.find("{symbol}", at + escaped.size())) {
        pointer.replace(at, 8, escaped);
    }
    return pointer;
}

// The value a pointer names, or why there is none.
const Json* At(const Json& document, const std::string& pointer, std::string& problem) {
    try {
        const Json::json_pointer path(pointer);
        if (!document.contains(path)) {
            problem = pointer + " is not in the answer";
            return nullptr;
        }
        return &document.at(path);
    } catch (const Json::exception&) {
        problem = "\"" + pointer + "\" is no JSON pointer";
        return nullptr;
    }
}

// A number or a text, as written; other values are no figure.
std::optional<std::string> Scalar(const Json& value) {
    if (value.is_string()) {
        return value.get<std::string>();
    }
    if (value.is_number_integer()) {
        return std::to_string(value.get<std::int64_t>());
    }
    if (value.is_number()) {
        char text[64];
        const auto [stop, error] = std::to_chars(text, text + sizeof text, value.get<double>());
        return error == std::errc() ? std::string(text, stop) : std::string();
    }
    if (value.is_null()) {
        return std::string("null");
    }
    return std::nullopt;
}

std::optional<Json> ParsedJson(std::string_view body, std::string& problem) {
    try {
        return Json::parse(body);
    } catch (const Json::parse_error& error) {
        problem = "the answer is no JSON (at byte " + std::to_string(error.byte) + ")";
    } catch (const Json::out_of_range&) {
        // The parser refuses a number beyond a double, such as 1e999, anywhere in the text.
        problem = "the answer holds a number too large to read";
    } catch (const Json::exception&) {
        problem = "the answer is no JSON";
    }
    return std::nullopt;
}

SourceQuote ReadJsonQuote(const QuoteSource& source, const Json& document, const std::string& held,
                          const std::string& asked) {
    const SourceFields& fields = source.fields;
    std::string problem;
    const std::string pricePointer = PointerFor(fields.price, asked);
    const Json* price = At(document, pricePointer, problem);
    if (price == nullptr) {
        return Missing(held, problem);
    }
    FieldTexts texts;
    texts.price = Scalar(*price);
    if (!texts.price) {
        return Missing(held, "the value at " + pricePointer + " is no number");
    }
    const auto optional = [&](const std::string& place) -> std::optional<std::string> {
        std::string ignored;
        const Json* value =
            place.empty() ? nullptr : At(document, PointerFor(place, asked), ignored);
        return value == nullptr ? std::nullopt : Scalar(*value);
    };
    texts.time = optional(fields.time);
    texts.change = optional(fields.change);
    texts.previousClose = optional(fields.previousClose);
    texts.currency = optional(fields.currency);
    return Finish(held, pricePointer, texts, false);
}

std::vector<SourceQuote> ReadJson(const QuoteSource& source, const SourceRequest& request,
                                  std::string_view body) {
    std::vector<SourceQuote> quotes;
    std::string problem;
    const std::optional<Json> document = ParsedJson(body, problem);
    const Json* results = nullptr;
    if (document && !source.results.empty()) {
        results = At(*document, source.results, problem);
        if (results != nullptr && !results->is_array()) {
            problem = source.results + " is no array";
            results = nullptr;
        }
    }
    for (std::size_t at = 0; at < request.held.size(); ++at) {
        const std::string& held = request.held[at];
        const std::string& asked = request.asked[at];
        if (!problem.empty()) {
            quotes.push_back(Missing(held, problem));
            continue;
        }
        if (results == nullptr) {
            quotes.push_back(ReadJsonQuote(source, *document, held, asked));
            continue;
        }
        const Json* match = nullptr;
        for (const Json& item : *results) {
            std::string ignored;
            const Json* symbol = At(item, PointerFor(source.fields.symbol, asked), ignored);
            if (symbol != nullptr && symbol->is_string() &&
                SameIgnoringCase(symbol->get<std::string>(), asked)) {
                match = &item;
                break;
            }
        }
        quotes.push_back(match == nullptr
                             ? Missing(held, "no result has " + source.fields.symbol + " " + asked)
                             : ReadJsonQuote(source, *match, held, asked));
    }
    return quotes;
}

// --- Regular expression ----------------------------------------------------------------

// A POSIX extended expression, freed when it goes; `error` says why it did not compile.
class CompiledPattern {
public:
    explicit CompiledPattern(const std::string& pattern) {
        const int code = regcomp(&m_expression, pattern.c_str(), REG_EXTENDED);
        if (code != 0) {
            char text[256];
            regerror(code, &m_expression, text, sizeof text);
            m_error = text;
        }
    }
    ~CompiledPattern() {
        if (m_error.empty()) {
            regfree(&m_expression);
        }
    }
    CompiledPattern(const CompiledPattern&) = delete;
    CompiledPattern& operator=(const CompiledPattern&) = delete;

    const std::string& Error() const { return m_error; }
    const regex_t* Expression() const { return &m_expression; }

private:
    regex_t m_expression{};
    std::string m_error;
};

std::string RegexEscaped(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        if (std::string_view("\\^$.|?*+()[]{}").find(c) != std::string_view::npos) {
            escaped += '\\';
        }
        escaped += c;
    }
    return escaped;
}

int GroupOf(const std::string& place, int fallback) {
    if (place.empty()) {
        return fallback;
    }
    int group = -1;
    const auto [stop, error] = std::from_chars(place.data(), place.data() + place.size(), group);
    return error == std::errc() && stop == place.data() + place.size() && group >= 0 && group < 10
               ? group
               : -1;
}

SourceQuote ReadRegexQuote(const QuoteSource& source, const std::string& body,
                           const std::string& held, const std::string& asked) {
    std::string pattern = source.pattern;
    const std::string escaped = RegexEscaped(asked);
    for (std::size_t at = pattern.find("{symbol}"); at != std::string::npos;
         at = pattern.find("{symbol}", at + escaped.size())) {
        pattern.replace(at, 8, escaped);
    }
    const CompiledPattern expression(pattern);
    if (!expression.Error().empty()) {
        return Missing(held, "the pattern is no regular expression (" + expression.Error() + ")");
    }
    constexpr std::size_t kGroups = 10;
    regmatch_t groups[kGroups];
    if (regexec(expression.Expression(), body.c_str(), kGroups, groups, 0) != 0) {
        return Missing(held, "the pattern matches nowhere in the answer");
    }
    const auto capture = [&](const std::string& place, int fallback) -> std::optional<std::string> {
        const int group = GroupOf(place, fallback);
        if (group < 0 || groups[group].rm_so < 0) {
            return std::nullopt;
        }
        return body.substr(static_cast<std::size_t>(groups[group].rm_so),
                           static_cast<std::size_t>(groups[group].rm_eo - groups[group].rm_so));
    };
    FieldTexts texts;
    texts.price = capture(source.fields.price, 1);
    if (!texts.price) {
        return Missing(held,
                       "the pattern's group " +
                           (source.fields.price.empty() ? std::string("1") : source.fields.price) +
                           " took nothing");
    }
    texts.time = capture(source.fields.time, -1);
    texts.change = capture(source.fields.change, -1);
    texts.previousClose = capture(source.fields.previousClose, -1);
    texts.currency = capture(source.fields.currency, -1);
    return Finish(held, "group " + std::to_string(GroupOf(source.fields.price, 1)), texts, true);
}

}  // namespace

std::vector<SourceQuote> ReadSourceAnswer(const QuoteSource& source, const SourceRequest& request,
                                          std::string_view body) {
    switch (source.format) {
        case SourceFormat::kCsv:
            return ReadCsv(source, request, body);
        case SourceFormat::kJson:
            return ReadJson(source, request, body);
        case SourceFormat::kRegex:
            break;
    }
    // The expression reads a text that ends at its first NUL.
    const std::string text(body.substr(0, body.find('\0')));
    std::vector<SourceQuote> quotes;
    for (std::size_t at = 0; at < request.held.size(); ++at) {
        quotes.push_back(ReadRegexQuote(source, text, request.held[at], request.asked[at]));
    }
    return quotes;
}

SourceCloses ReadSourceHistory(const QuoteSource& source, std::string_view body) {
    SourceCloses read;
    const SourceHistory& history = source.history;
    const auto add = [&](const std::string& when, const std::string& close) {
        const std::optional<double> price = Number(close);
        const std::int64_t time = TimeOf(when);
        if (price && IsQuotePrice(Narrowed(*price)) && time > 0) {
            read.closes.emplace_back(time, Narrowed(*price));
        }
    };
    if (history.format == SourceFormat::kCsv) {
        const Rows rows = ReadCsvRows(body);
        const std::vector<std::string>* header = rows.empty() ? nullptr : &rows.front();
        const int dateColumn = ColumnOf(history.date, header);
        const int closeColumn = ColumnOf(history.close, header);
        if (dateColumn < 0 || closeColumn < 0) {
            read.problem = "the answer has no column \"" +
                           (dateColumn < 0 ? history.date : history.close) + "\"";
            return read;
        }
        for (std::size_t r = 1; r < rows.size(); ++r) {
            const std::optional<std::string> when = Cell(rows[r], dateColumn);
            const std::optional<std::string> close = Cell(rows[r], closeColumn);
            if (when && close) {
                add(*when, *close);
            }
        }
    } else {
        const std::optional<Json> document = ParsedJson(body, read.problem);
        if (!document) {
            return read;
        }
        const Json* times = At(*document, history.date, read.problem);
        const Json* closes =
            times == nullptr ? nullptr : At(*document, history.close, read.problem);
        if (closes == nullptr) {
            return read;
        }
        if (!times->is_array() || !closes->is_array()) {
            read.problem = (times->is_array() ? history.close : history.date) + " is no array";
            return read;
        }
        for (std::size_t at = 0; at < std::min(times->size(), closes->size()); ++at) {
            const std::optional<std::string> when = Scalar((*times)[at]);
            const std::optional<std::string> close = Scalar((*closes)[at]);
            if (when && close) {
                add(*when, *close);
            }
        }
    }
    if (read.closes.empty() && read.problem.empty()) {
        read.problem = "the answer holds no closes";
    }
    return read;
}

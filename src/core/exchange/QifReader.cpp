#include "core/exchange/QifReader.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/model/LocalTime.h"
#include "core/model/PlainText.h"

namespace {

constexpr std::size_t kMaxQifBytes = std::size_t{64} * 1024 * 1024;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The split ratio search: Quicken rounds ratios that have no short decimal.
constexpr int kMaxOldShares = 1000;
constexpr double kMaxNewShares = 1e6;
constexpr double kRatioTolerance = 1e-4;

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && LowerCase(text.substr(0, prefix.size())) == prefix;
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

struct QifField {
    char code = 0;
    std::string_view value;
};

struct QifRecord {
    int line = 0;  // the first D or N line, else the first line
    std::vector<QifField> fields;

    // The first field of the code: a repeated one is a split detail we do not keep.
    std::optional<std::string_view> Get(char code) const {
        for (const QifField& field : fields) {
            if (field.code == code) {
                return field.value;
            }
        }
        return std::nullopt;
    }
};

enum class Section { kOther, kInvestment, kSecurity };

// The records of a file by what they hold, before any of them is interpreted, so that a
// security list after the accounts still names their symbols.
struct QifContent {
    std::vector<QifRecord> investments;
    std::unordered_map<std::string, std::string> symbols;  // security name -> symbol
};

class QifScanner {
public:
    void Line(std::string_view line, int number) {
        if (line.empty()) {
            return;
        }
        if (line.front() == '!') {
            Finish();
            section_ = SectionOf(line);
            return;
        }
        if (line.front() == '^') {
            Finish();
            return;
        }
        Add(line, number);
    }

    QifContent Take() {
        Finish();
        return std::move(content_);
    }

private:
    static Section SectionOf(std::string_view header) {
        const std::string lowered = LowerCase(TrimmedView(header));
        if (lowered == "!type:invst") {
            return Section::kInvestment;
        }
        if (lowered == "!type:security") {
            return Section::kSecurity;
        }
        return Section::kOther;
    }

    void Add(std::string_view line, int number) {
        const char code = line.front();
        if (section_ == Section::kOther) {
            return;
        }
        const bool firstLine = code == 'D' || code == 'N';
        if (record_.fields.empty() || (firstLine && !hasFirstLine_)) {
            record_.line = number;
        }
        hasFirstLine_ = hasFirstLine_ || firstLine;
        record_.fields.push_back({.code = code, .value = TrimmedView(line.substr(1))});
    }

    void Finish() {
        if (!record_.fields.empty()) {
            Keep(std::move(record_));
        }
        record_ = QifRecord{};
        hasFirstLine_ = false;
    }

    void Keep(QifRecord record) {
        if (section_ == Section::kInvestment) {
            content_.investments.push_back(std::move(record));
            return;
        }
        const std::optional<std::string_view> name = record.Get('N');
        const std::optional<std::string_view> symbol = record.Get('S');
        if (name && symbol && !name->empty() && !symbol->empty()) {
            content_.symbols.emplace(std::string(*name), std::string(*symbol));
        }
    }

    Section section_ = Section::kOther;
    QifRecord record_;
    bool hasFirstLine_ = false;
    QifContent content_;
};

// Calls `onLine` with each line, its CR taken off, and its number from 1.
template <typename OnLine>
void ForEachLine(std::string_view text, OnLine&& onLine) {
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        onLine(line, ++number);
    }
}

bool HasTypeLine(std::string_view text) {
    bool found = false;
    ForEachLine(text, [&found](std::string_view line, int) {
        found = found || StartsWithNoCase(TrimmedView(line), "!type:");
    });
    return found;
}

// ---- numbers ----

// A plain decimal number with "," separators and a "$" before or after its sign.
std::optional<double> ParseQifNumber(std::string_view text) {
    text = TrimmedView(text);
    std::string digits;
    bool negative = false;
    if (!text.empty() && text.front() == '$') {
        text.remove_prefix(1);
    }
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (!text.empty() && text.front() == '$') {
        text.remove_prefix(1);
    }
    bool point = false;
    bool anyDigit = false;
    for (const char c : text) {
        if (c == ',') {
            continue;
        }
        if (c == '.' && !point) {
            point = true;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            anyDigit = true;
        } else {
            return std::nullopt;
        }
        digits.push_back(c);
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc{} || end != digits.data() + digits.size() ||
        value > std::numeric_limits<float>::max()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

// ---- dates ----

struct DateParts {
    std::array<int, 3> numbers{};
    std::array<int, 3> widths{};  // digits written
    char yearMark = 0;            // the separator before the third number
};

bool IsDateSeparator(char c) {
    return c == '/' || c == '-' || c == '.' || c == '\'';
}

// Three numbers of up to four digits with a separator between each; spaces anywhere.
std::optional<DateParts> SplitDate(std::string_view text) {
    DateParts parts;
    std::size_t index = 0;
    bool inNumber = false;
    for (const char c : text) {
        if (c == ' ' || c == '\t') {
            continue;
        }
        if (std::isdigit(static_cast<unsigned char>(c))) {
            if (parts.widths[index] == 4) {
                return std::nullopt;
            }
            parts.numbers[index] = parts.numbers[index] * 10 + (c - '0');
            ++parts.widths[index];
            inNumber = true;
            continue;
        }
        if (!IsDateSeparator(c) || !inNumber || index == 2) {
            return std::nullopt;
        }
        ++index;
        inNumber = false;
        if (index == 2) {
            parts.yearMark = c;
        }
    }
    if (index != 2 || !inNumber) {
        return std::nullopt;
    }
    return parts;
}

int FullYear(int year, int width, char mark) {
    if (width > 2) {
        return year;
    }
    if (mark == '\'' || year < 50) {
        return 2000 + year;
    }
    return 1900 + year;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

std::optional<LocalDate> ParseQifDate(std::string_view text, bool dayFirst) {
    const std::optional<DateParts> parts = SplitDate(text);
    if (!parts || parts->widths[1] > 2) {
        return std::nullopt;
    }
    LocalDate date;
    if (parts->widths[0] == 4) {
        if (parts->yearMark == '\'' || parts->widths[2] > 2) {
            return std::nullopt;
        }
        date = {.year = parts->numbers[0], .month = parts->numbers[1], .day = parts->numbers[2]};
    } else {
        if (parts->widths[0] > 2 || parts->widths[2] == 3) {
            return std::nullopt;
        }
        const int first = parts->numbers[dayFirst ? 1 : 0];
        const int second = parts->numbers[dayFirst ? 0 : 1];
        date = {.year = FullYear(parts->numbers[2], parts->widths[2], parts->yearMark),
                .month = first,
                .day = second};
    }
    if (date.year < 1900 || date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > DaysInMonth(date.year, date.month)) {
        return std::nullopt;
    }
    return date;
}

// ---- split ratios ----

struct Ratio {
    std::int32_t newShares = 0;
    std::int32_t oldShares = 0;
};

// Q new shares per 10 old, as the simplest fraction close enough to it.
std::optional<Ratio> SplitRatio(double perTen) {
    const double ratio = perTen / 10.0;
    for (int oldShares = 1; oldShares <= kMaxOldShares; ++oldShares) {
        const double newShares = std::round(ratio * oldShares);
        if (newShares < 1 || newShares > kMaxNewShares) {
            continue;
        }
        if (std::abs(newShares - ratio * oldShares) <= kRatioTolerance * newShares) {
            return Ratio{.newShares = static_cast<std::int32_t>(newShares), .oldShares = oldShares};
        }
    }
    return std::nullopt;
}

// ---- actions ----

enum class ActionKind {
    kBuy,
    kSell,
    kSharesIn,
    kSharesOut,
    kCashDividend,
    kReinvest,
    kSplit,
    kNotRecorded,
};

struct ActionName {
    std::string_view name;  // lower case
    ActionKind kind;
};

constexpr std::array kActions = {
    ActionName{"buy", ActionKind::kBuy},
    ActionName{"buyx", ActionKind::kBuy},
    ActionName{"sell", ActionKind::kSell},
    ActionName{"sellx", ActionKind::kSell},
    ActionName{"shrsin", ActionKind::kSharesIn},
    ActionName{"shrsout", ActionKind::kSharesOut},
    ActionName{"div", ActionKind::kCashDividend},
    ActionName{"divx", ActionKind::kCashDividend},
    ActionName{"cglong", ActionKind::kCashDividend},
    ActionName{"cglongx", ActionKind::kCashDividend},
    ActionName{"cgmid", ActionKind::kCashDividend},
    ActionName{"cgmidx", ActionKind::kCashDividend},
    ActionName{"cgshort", ActionKind::kCashDividend},
    ActionName{"cgshortx", ActionKind::kCashDividend},
    ActionName{"intinc", ActionKind::kCashDividend},
    ActionName{"intincx", ActionKind::kCashDividend},
    ActionName{"miscinc", ActionKind::kCashDividend},
    ActionName{"miscincx", ActionKind::kCashDividend},
    ActionName{"reinvdiv", ActionKind::kReinvest},
    ActionName{"reinvlg", ActionKind::kReinvest},
    ActionName{"reinvmd", ActionKind::kReinvest},
    ActionName{"reinvsh", ActionKind::kReinvest},
    ActionName{"reinvint", ActionKind::kReinvest},
    ActionName{"stksplit", ActionKind::kSplit},
    // Money moving without shares, costs a lot cannot carry, and what Velmora keeps no
    // records for (short positions, employee options, price corrections).
    ActionName{"cash", ActionKind::kNotRecorded},
    ActionName{"xin", ActionKind::kNotRecorded},
    ActionName{"xout", ActionKind::kNotRecorded},
    ActionName{"contribx", ActionKind::kNotRecorded},
    ActionName{"withdrwx", ActionKind::kNotRecorded},
    ActionName{"margint", ActionKind::kNotRecorded},
    ActionName{"margintx", ActionKind::kNotRecorded},
    ActionName{"miscexp", ActionKind::kNotRecorded},
    ActionName{"miscexpx", ActionKind::kNotRecorded},
    ActionName{"rtrncap", ActionKind::kNotRecorded},
    ActionName{"rtrncapx", ActionKind::kNotRecorded},
    ActionName{"reprice", ActionKind::kNotRecorded},
    ActionName{"reminder", ActionKind::kNotRecorded},
    ActionName{"shtsell", ActionKind::kNotRecorded},
    ActionName{"shtsellx", ActionKind::kNotRecorded},
    ActionName{"cvrshrt", ActionKind::kNotRecorded},
    ActionName{"cvrshrtx", ActionKind::kNotRecorded},
    ActionName{"grant", ActionKind::kNotRecorded},
    ActionName{"vest", ActionKind::kNotRecorded},
    ActionName{"exercise", ActionKind::kNotRecorded},
    ActionName{"exercisx", ActionKind::kNotRecorded},
    ActionName{"expire", ActionKind::kNotRecorded},
};

std::optional<ActionKind> KindOf(std::string_view action) {
    const std::string lowered = LowerCase(action);
    for (const ActionName& known : kActions) {
        if (known.name == lowered) {
            return known.kind;
        }
    }
    return std::nullopt;
}

ImportAction ImportActionOf(ActionKind kind) {
    switch (kind) {
        case ActionKind::kBuy:
        case ActionKind::kSharesIn:
            return ImportAction::kBuy;
        case ActionKind::kSell:
        case ActionKind::kSharesOut:
            return ImportAction::kSell;
        case ActionKind::kCashDividend:
            return ImportAction::kCashDividend;
        case ActionKind::kReinvest:
            return ImportAction::kReinvestDividend;
        case ActionKind::kSplit:
        case ActionKind::kNotRecorded:  // refused before it is asked for
            break;
    }
    return ImportAction::kSplit;
}

// ---- one record ----

// Reads the fields of one investment record into a row; the first thing wrong with it is
// its problem.
class RecordReader {
public:
    RecordReader(const QifRecord& record,
                 const std::unordered_map<std::string, std::string>& symbols, bool dayFirst)
        : record_(record), symbols_(symbols), dayFirst_(dayFirst) {}

    std::optional<ImportRow> Read() {
        const std::optional<ActionKind> kind = Action();
        if (!kind) {
            return std::nullopt;
        }
        row_.line = record_.line;
        row_.action = ImportActionOf(*kind);
        if (!Date() || !Security()) {
            return std::nullopt;
        }
        row_.comment = std::string(record_.Get('M').value_or(""));
        const bool read = *kind == ActionKind::kCashDividend ? ReadCashDividend()
                          : *kind == ActionKind::kSplit      ? ReadSplit()
                                                             : ReadShares(*kind);
        if (!read) {
            return std::nullopt;
        }
        return std::move(row_);
    }

    const std::string& problem() const { return problem_; }

private:
    bool Fail(const std::string& reason) {
        problem_ = "line " + std::to_string(record_.line) + ": " + reason;
        return false;
    }

    std::optional<ActionKind> Action() {
        const std::optional<std::string_view> action = record_.Get('N');
        if (!action || action->empty()) {
            Fail("the record has no action");
            return std::nullopt;
        }
        const std::optional<ActionKind> kind = KindOf(*action);
        if (!kind) {
            Fail("the action " + Quoted(*action) + " is unknown");
            return std::nullopt;
        }
        if (*kind == ActionKind::kNotRecorded) {
            Fail("the action " + Quoted(*action) + " is not recorded");
            return std::nullopt;
        }
        return kind;
    }

    bool Date() {
        const std::optional<std::string_view> text = record_.Get('D');
        if (!text || text->empty()) {
            return Fail("the record has no date");
        }
        const std::optional<LocalDate> date = ParseQifDate(*text, dayFirst_);
        if (!date) {
            return Fail("the date " + Quoted(*text) + " is no date");
        }
        row_.date = LocalTimeOf(date->year, date->month, date->day);
        return true;
    }

    bool Security() {
        const std::optional<std::string_view> name = record_.Get('Y');
        if (!name || name->empty()) {
            return Fail("the record names no security");
        }
        row_.company = std::string(*name);
        const auto listed = symbols_.find(row_.company);
        row_.symbol = listed == symbols_.end() ? row_.company : listed->second;
        return true;
    }

    // The number of a field, if it is there; a field that is there must be a number.
    bool Number(char code, std::string_view what, std::optional<double>& value) {
        const std::optional<std::string_view> text = record_.Get(code);
        value.reset();
        if (!text || text->empty()) {
            return true;
        }
        value = ParseQifNumber(*text);
        if (!value) {
            return Fail("the " + std::string(what) + " " + Quoted(*text) + " is no number");
        }
        return true;
    }

    // T, or U where only U is written.
    bool Amount(std::optional<double>& value) {
        const bool hasT = record_.Get('T').has_value() && !record_.Get('T')->empty();
        return Number(hasT ? 'T' : 'U', "amount", value);
    }

    bool ReadCashDividend() {
        std::optional<double> amount;
        if (!Amount(amount)) {
            return false;
        }
        if (!amount) {
            return Fail("the record has no amount");
        }
        row_.amount = static_cast<float>(*amount);
        return true;
    }

    bool ReadSplit() {
        std::optional<double> perTen;
        if (!Number('Q', "split ratio", perTen)) {
            return false;
        }
        if (!perTen) {
            return Fail("the record has no split ratio");
        }
        const std::string text(*record_.Get('Q'));
        if (*perTen <= 0) {
            return Fail("the split ratio " + Quoted(text) + " is not positive");
        }
        const std::optional<Ratio> ratio = SplitRatio(*perTen);
        if (!ratio) {
            return Fail("the split ratio " + Quoted(text) + " is no ratio of whole shares");
        }
        row_.newShares = ratio->newShares;
        row_.oldShares = ratio->oldShares;
        return true;
    }

    bool ReadShares(ActionKind kind) {
        std::optional<double> quantity;
        std::optional<double> price;
        std::optional<double> amount;
        std::optional<double> commission;
        if (!Number('Q', "quantity", quantity) || !Number('I', "price", price) || !Amount(amount) ||
            !Number('O', "commission", commission)) {
            return false;
        }
        if (!quantity) {
            return Fail("the record has no quantity");
        }
        if (*quantity <= 0) {
            return Fail("the quantity " + Quoted(*record_.Get('Q')) + " is not positive");
        }
        const double fee = commission.value_or(0);
        const std::optional<double> paid =
            price ? price : PriceFromAmount(kind, amount, fee, *quantity);
        if (!paid) {
            return Fail("the record has no price");
        }
        row_.shares = static_cast<float>(*quantity);
        row_.price = static_cast<float>(*paid);
        row_.commission = static_cast<float>(fee);
        if (kind == ActionKind::kReinvest) {
            row_.amount = static_cast<float>(amount.value_or(*paid * *quantity));
        }
        return true;
    }

    // The money of the record spread over its shares; shares moved in or out without
    // money are at price 0.
    static std::optional<double> PriceFromAmount(ActionKind kind, std::optional<double> amount,
                                                 double fee, double quantity) {
        if (kind == ActionKind::kSharesIn || kind == ActionKind::kSharesOut) {
            return 0.0;
        }
        if (!amount) {
            return std::nullopt;
        }
        switch (kind) {
            case ActionKind::kBuy:
                return (*amount - fee) / quantity;
            case ActionKind::kSell:
                return (*amount + fee) / quantity;
            default:
                return *amount / quantity;
        }
    }

    const QifRecord& record_;
    const std::unordered_map<std::string, std::string>& symbols_;
    bool dayFirst_;
    ImportRow row_;
    std::string problem_;
};

}  // namespace

ImportRows ReadQif(std::string_view text, bool dayFirst) {
    ImportRows result;
    if (text.size() > kMaxQifBytes) {
        result.error = "the file is larger than 64 MiB";
        return result;
    }
    if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        text.remove_prefix(kUtf8Bom.size());
    }
    if (!HasTypeLine(text)) {
        result.error = "the file is no QIF file (no !Type line)";
        return result;
    }
    QifScanner scanner;
    ForEachLine(text, [&scanner](std::string_view line, int number) {
        scanner.Line(TrimmedView(line), number);
    });
    const QifContent content = scanner.Take();
    for (const QifRecord& record : content.investments) {
        RecordReader reader(record, content.symbols, dayFirst);
        std::optional<ImportRow> row = reader.Read();
        if (row) {
            result.rows.push_back(std::move(*row));
        } else {
            result.problems.push_back({.line = record.line, .reason = reader.problem()});
        }
    }
    return result;
}

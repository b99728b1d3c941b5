#include "core/exchange/CsvImport.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>

#include "core/model/LocalTime.h"
#include "core/model/PlainText.h"
#include "core/model/Purchase.h"
#include "core/reports/CsvText.h"

namespace {

// A larger file is no transactions file anyone keeps.
constexpr std::size_t kLargestFile = std::size_t{256} << 20;

std::string Trimmed(std::string_view text) {
    return std::string(TrimmedView(text));
}

CsvMapping Velmora() {
    CsvMapping mapping;
    mapping.name = "Velmora";
    mapping.date = "Date";
    mapping.action = "Action";
    mapping.symbol = "Symbol";
    mapping.company = "Company";
    mapping.shares = "Shares";
    mapping.price = "Price";
    mapping.amount = "Amount";
    mapping.commission = "Commission";
    mapping.comment = "Comment";
    mapping.type = "Type";
    mapping.vesting = "Vesting";
    mapping.grantId = "Grant ID";
    mapping.lot = "Lot";
    mapping.sale = "Sale";
    mapping.ratio = "Ratio";
    mapping.actions = {{"buy", ImportAction::kBuy},
                       {"grant", ImportAction::kGrant},
                       {"sell", ImportAction::kSell},
                       {"expire", ImportAction::kExpire},
                       {"dividend", ImportAction::kCashDividend},
                       {"share dividend", ImportAction::kShareDividend},
                       {"split", ImportAction::kSplit}};
    return mapping;
}

// Schwab's transaction history download: MM/DD/YYYY dates ("as of" dates after them),
// money with "$" and thousands separators.
CsvMapping Schwab() {
    CsvMapping mapping;
    mapping.name = "Schwab transactions";
    mapping.date = "Date";
    mapping.action = "Action";
    mapping.symbol = "Symbol";
    mapping.company = "Description";
    mapping.shares = "Quantity";
    mapping.price = "Price";
    mapping.amount = "Amount";
    mapping.commission = "Fees & Comm";
    mapping.dateOrder = CsvMapping::DateOrder::kMonthDayYear;
    mapping.actions = {{"buy", ImportAction::kBuy},
                       {"sell", ImportAction::kSell},
                       {"reinvest shares", ImportAction::kReinvestDividend},
                       {"cash dividend", ImportAction::kCashDividend},
                       {"qualified dividend", ImportAction::kCashDividend},
                       {"non-qualified div", ImportAction::kCashDividend}};
    return mapping;
}

// Fidelity's account history download: actions are sentences ("YOU BOUGHT ..."), sold
// quantities negative, commission and fees apart.
CsvMapping Fidelity() {
    CsvMapping mapping;
    mapping.name = "Fidelity account history";
    mapping.date = "Run Date";
    mapping.action = "Action";
    mapping.symbol = "Symbol";
    mapping.company = "Security Description";
    mapping.shares = "Quantity";
    mapping.price = "Price ($)";
    mapping.amount = "Amount ($)";
    mapping.commission = "Commission ($)";
    mapping.fees = "Fees ($)";
    mapping.dateOrder = CsvMapping::DateOrder::kMonthDayYear;
    mapping.actions = {{"you bought", ImportAction::kBuy},
                       {"you sold", ImportAction::kSell},
                       {"reinvestment", ImportAction::kReinvestDividend},
                       {"dividend received", ImportAction::kCashDividend}};
    return mapping;
}

// A figure as a broker writes it: "$1,234.56", "-1,234.56", "(1,234.56)" for a negative
// number, or "1.234,56" with a decimal comma; an empty cell is none.
std::optional<float> Figure(std::string_view cell, bool decimalComma, bool& bad) {
    std::string text;
    bool negative = false;
    for (const char c : Trimmed(cell)) {
        if (c == '$' || c == ' ' || c == (decimalComma ? '.' : ',')) {
            continue;
        }
        if (c == '(' || c == ')') {
            negative = true;
            continue;
        }
        text += decimalComma && c == ',' ? '.' : c;
    }
    if (text.empty()) {
        return std::nullopt;
    }
    double value = 0.0;
    const char* begin = text.data() + (text.front() == '+' ? 1 : 0);
    const auto [end, error] = std::from_chars(begin, text.data() + text.size(), value);
    const double limit = 1e9;
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
        std::fabs(value) > limit) {
        bad = true;
        return std::nullopt;
    }
    return static_cast<float>(negative ? -value : value);
}

// The date at the start of a cell in the mapping's order, with an optional local time
// "THH:MM:SS" after an ISO date; none when it is no date that exists.
std::optional<std::int64_t> DateOf(std::string_view cell, CsvMapping::DateOrder order) {
    const std::string text = Trimmed(cell);
    std::array<int, 3> parts{};
    std::size_t at = 0;
    for (std::size_t part = 0; part < parts.size(); ++part) {
        const auto [end, error] =
            std::from_chars(text.data() + at, text.data() + text.size(), parts[part]);
        if (error != std::errc()) {
            return std::nullopt;
        }
        at = static_cast<std::size_t>(end - text.data());
        if (part < 2) {
            if (at >= text.size() || (text[at] != '-' && text[at] != '/' && text[at] != '.')) {
                return std::nullopt;
            }
            ++at;
        }
    }
    int year = parts[0];
    int month = parts[1];
    int day = parts[2];
    if (order == CsvMapping::DateOrder::kMonthDayYear) {
        year = parts[2];
        month = parts[0];
        day = parts[1];
    } else if (order == CsvMapping::DateOrder::kDayMonthYear) {
        year = parts[2];
        month = parts[1];
        day = parts[0];
    }
    int hour = 0;
    int minute = 0;
    int second = 0;
    if (at < text.size() && text[at] == 'T' &&
        std::sscanf(text.c_str() + at, "T%2d:%2d:%2d", &hour, &minute, &second) != 3) {
        return std::nullopt;
    }
    if (year < 1970 || year > 2106 || month < 1 || month > 12 || day < 1 || day > 31) {
        return std::nullopt;
    }
    const std::int64_t time = LocalTimeOf(year, month, day, hour, minute, second);
    const LocalDate back = ToLocalDate(time);
    if (back.year != year || back.month != month || back.day != day) {
        return std::nullopt;
    }
    return time;
}

int ColumnOf(const std::vector<std::string>& header, const std::string& name) {
    if (name.empty()) {
        return -1;
    }
    const auto found = std::find_if(header.begin(), header.end(), [&](const std::string& cell) {
        return SameIgnoringCase(TrimmedView(cell), TrimmedView(name));
    });
    return found == header.end() ? -1 : static_cast<int>(found - header.begin());
}

struct Columns {
    int date, action, symbol, company, shares, price, amount, commission, fees, comment, type,
        vesting, grantId, lot, sale, ratio;
};

std::string CellAt(const std::vector<std::string>& row, int column) {
    return column >= 0 && static_cast<std::size_t>(column) < row.size()
               ? Trimmed(row[static_cast<std::size_t>(column)])
               : std::string();
}

std::optional<ImportAction> ActionOf(const CsvMapping& mapping, const std::string& cell) {
    const std::string lower = LowerCase(cell);
    // The longest words first, so "share dividend" is not taken for "dividend"... nor the
    // other way round.
    std::optional<ImportAction> best;
    std::size_t bestLength = 0;
    for (const auto& [words, action] : mapping.actions) {
        if (lower.starts_with(words) && words.size() > bestLength) {
            best = action;
            bestLength = words.size();
        }
    }
    return best;
}

}  // namespace

std::vector<CsvMapping> ShippedCsvMappings() {
    return {Velmora(), Schwab(), Fidelity()};
}

ImportRows ReadCsvImport(std::string_view text, const CsvMapping& mapping) {
    ImportRows read;
    if (text.size() > kLargestFile) {
        read.error = "the file is larger than 256 MiB";
        return read;
    }
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    const std::vector<std::vector<std::string>> rows = ReadCsvRows(text, mapping.separator);
    // The header is the first row that names the date column: downloads often start with
    // a title line or two.
    std::size_t headerRow = 0;
    while (headerRow < rows.size() && ColumnOf(rows[headerRow], mapping.date) < 0) {
        ++headerRow;
    }
    if (headerRow == rows.size()) {
        read.error = "no line names the column \"" + mapping.date + "\" of the mapping \"" +
                     mapping.name + "\"";
        return read;
    }
    const std::vector<std::string>& header = rows[headerRow];
    const auto column = [&](const std::string& name) { return ColumnOf(header, name); };
    const Columns at{column(mapping.date),    column(mapping.action),     column(mapping.symbol),
                     column(mapping.company), column(mapping.shares),     column(mapping.price),
                     column(mapping.amount),  column(mapping.commission), column(mapping.fees),
                     column(mapping.comment), column(mapping.type),       column(mapping.vesting),
                     column(mapping.grantId), column(mapping.lot),        column(mapping.sale),
                     column(mapping.ratio)};
    for (const auto& [name, found] :
         {std::pair{&mapping.action, at.action}, std::pair{&mapping.symbol, at.symbol}}) {
        if (found < 0) {
            read.error = "the file has no column \"" + *name + "\"";
            return read;
        }
    }
    // Lines are counted as the rows come; a quoted line break makes this a row number.
    for (std::size_t r = headerRow + 1; r < rows.size(); ++r) {
        const std::vector<std::string>& cells = rows[r];
        const int line = static_cast<int>(r + 1);
        const auto problem = [&](std::string reason) {
            read.problems.push_back({line, "line " + std::to_string(line) + ": " + reason});
        };
        const std::string actionText = CellAt(cells, at.action);
        const std::string dateText = CellAt(cells, at.date);
        if (actionText.empty() && dateText.empty()) {
            continue;  // a blank or a total line
        }
        const std::optional<ImportAction> action = ActionOf(mapping, actionText);
        if (!action) {
            problem("the action \"" + actionText + "\" is unknown");
            continue;
        }
        const std::optional<std::int64_t> date = DateOf(dateText, mapping.dateOrder);
        if (!date) {
            problem("the date \"" + dateText + "\" is no date");
            continue;
        }
        ImportRow row;
        row.line = line;
        row.action = *action;
        row.date = *date;
        row.symbol = CellAt(cells, at.symbol);
        row.company = CellAt(cells, at.company);
        row.comment = CellAt(cells, at.comment);
        row.type = CellAt(cells, at.type);
        row.grantId = CellAt(cells, at.grantId);
        bool bad = false;
        std::string badField;
        const auto figure = [&](int index, const char* field) {
            bool thisBad = false;
            const std::optional<float> value =
                Figure(CellAt(cells, index), mapping.decimalComma, thisBad);
            if (thisBad && !bad) {
                bad = true;
                badField = std::string(field) + " \"" + CellAt(cells, index) + "\"";
            }
            return value.value_or(0.0f);
        };
        row.shares = std::fabs(figure(at.shares, "shares"));
        row.price = std::fabs(figure(at.price, "price"));
        row.amount = std::fabs(figure(at.amount, "amount"));
        row.commission =
            std::fabs(figure(at.commission, "commission")) + std::fabs(figure(at.fees, "fees"));
        row.lot = static_cast<std::int32_t>(figure(at.lot, "lot"));
        if (!CellAt(cells, at.sale).empty()) {
            row.sale = static_cast<std::int32_t>(figure(at.sale, "sale"));
        }
        if (bad) {
            problem("the " + badField + " is no number");
            continue;
        }
        if (row.symbol.empty()) {
            problem("the row names no symbol");
            continue;
        }
        if (const std::string vesting = CellAt(cells, at.vesting); !vesting.empty()) {
            const auto found =
                std::find(kVestingScheduleNames.begin(), kVestingScheduleNames.end(), vesting);
            if (found == kVestingScheduleNames.end()) {
                problem("the vesting \"" + vesting + "\" is unknown");
                continue;
            }
            row.vesting = static_cast<std::int32_t>(found - kVestingScheduleNames.begin());
        }
        if (row.action == ImportAction::kSplit) {
            const std::string ratio = CellAt(cells, at.ratio);
            if (std::sscanf(ratio.c_str(), "%d:%d", &row.newShares, &row.oldShares) != 2 ||
                row.newShares <= 0 || row.oldShares <= 0) {
                problem("the split ratio \"" + ratio + "\" is not \"new:old\"");
                continue;
            }
        }
        if (row.action == ImportAction::kShareDividend && row.shares == 0.0f) {
            row.shares = row.amount;
        }
        if (row.action == ImportAction::kExpire) {
            row.price = 0.0f;
        }
        read.rows.push_back(std::move(row));
    }
    return read;
}

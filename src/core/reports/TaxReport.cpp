#include "core/reports/TaxReport.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"
#include "core/reports/CsvText.h"
#include "core/reports/ReportRow.h"
#include "core/reports/ReportText.h"
#include "core/settings/Settings.h"

namespace {

// What printf's "%s" writes of a label: the text up to a NUL character.
std::string_view AsCString(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

// Bytes a line takes in each layout with figures of everyday size, to reserve the text.
constexpr std::size_t kLineBytes = 200;
constexpr std::size_t kCsvLineBytes = 100;
constexpr std::size_t kFigureWidth = 14;

// The times of one local year's start and end, found once, so that most sales need no
// local time conversion. A margin of days around each end covers any zone's offset and
// clock changes; only times within the margins are converted.
struct YearSpan {
    std::int64_t start = 0;
    std::int64_t end = 0;
};

constexpr std::int64_t kMarginSeconds = std::int64_t{3} * 86400;

std::optional<YearSpan> SpanOfYear(int year) {
    // Far years are rare enough to convert every time.
    if (year < 1000 || year > 9999) {
        return std::nullopt;
    }
    const std::int64_t start = LocalTimeOf(year, 1, 1);
    const std::int64_t end = LocalTimeOf(year + 1, 1, 1);
    if (start == -1 || end == -1 || end - start < 4 * kMarginSeconds) {
        return std::nullopt;
    }
    return YearSpan{start, end};
}

bool InYear(std::int64_t time, int year, const std::optional<YearSpan>& span) {
    // Beyond millions of years the conversion fails and gives its fallback year.
    constexpr std::int64_t kConvertible = std::int64_t{1} << 50;
    if (span && time > -kConvertible && time < kConvertible) {
        if (time >= span->start + kMarginSeconds && time < span->end - kMarginSeconds) {
            return true;
        }
        if (time < span->start - kMarginSeconds || time >= span->end + kMarginSeconds) {
            return false;
        }
    }
    return ToLocalDate(time).year == year;
}

// One sale's line, or the merged lots of one sale: the first lot keeps its dates, labels
// and place.
struct TaxLine {
    std::int64_t date = 0;
    std::int64_t purchaseDate = 0;   // 0 when the merged lots come from different purchases
    const CPurchase* lot = nullptr;  // whose labels the line shows
    float shares = 0;
    float cost = 0;      // shares x price + purchase commission share
    float proceeds = 0;  // shares x sale price
    float saleCommission = 0;
};

// Which sales a report lists and what it counts of them.
struct TaxSelection {
    std::optional<int> year;  // every year when none
    std::optional<YearSpan> span;
    bool deductCommission = true;
    bool mergeSales = true;
};

void MergeTaxLine(TaxLine& merged, const TaxLine& line) {
    merged.shares += line.shares;
    merged.saleCommission += line.saleCommission;
    merged.cost += line.cost;
    merged.proceeds += line.proceeds;
    if (merged.purchaseDate != line.purchaseDate) {
        merged.purchaseDate = 0;
    }
}

// The lines of the sales the selection lists, in date order, equal dates in document order.
std::vector<TaxLine> CollectTaxLines(const CKx7Doc& doc, const TaxSelection& selection) {
    std::vector<TaxLine> lines;
    std::unordered_map<std::int32_t, std::size_t> saleLines;
    for (const auto& lot : doc.Purchases()) {
        for (const auto& sale : lot->sales) {
            if ((selection.year && !InYear(sale.date, *selection.year, selection.span)) ||
                sale.IsExpiry()) {
                continue;
            }
            float saleCommission = 0.0f;
            float purchaseCommission = 0.0f;
            if (selection.deductCommission) {
                saleCommission = sale.commission;
                purchaseCommission = PurchaseCommissionShare(*lot, sale.shares);
            }
            const TaxLine line{sale.date,
                               lot->date,
                               lot.get(),
                               sale.shares,
                               sale.shares * lot->price + purchaseCommission,
                               sale.shares * sale.price,
                               saleCommission};
            if (selection.mergeSales && sale.saleNumber != ReportRow::kPurchaseKey) {
                const auto [found, added] = saleLines.try_emplace(sale.saleNumber, lines.size());
                if (!added) {
                    MergeTaxLine(lines[found->second], line);
                    continue;
                }
            }
            lines.push_back(line);
        }
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const TaxLine& a, const TaxLine& b) { return a.date < b.date; });
    return lines;
}

// Appends the lines and the "Total Gain" footer in the fixed-width or the CSV layout.
void RenderTaxText(const std::vector<TaxLine>& lines, bool csv, bool monthFirst, std::string& out) {
    out.reserve(out.size() + lines.size() * (csv ? kCsvLineBytes : kLineBytes));
    // Sale dates come in order and repeat; purchase dates jump about: one cache each.
    DateTexts saleDates(ShortDatePattern(monthFirst));
    DateTexts purchaseDates(ShortDatePattern(monthFirst));
    // Only a grant's name is built; a lot's is shown where it is.
    std::string grantName;
    float totalGain = 0.0f;
    for (const TaxLine& line : lines) {
        const float netProceeds = line.proceeds - line.saleCommission;
        const float gain = line.proceeds - line.cost - line.saleCommission;
        totalGain += gain;
        const std::string_view date = saleDates.Of(line.date);
        const std::string_view purchaseDate =
            line.purchaseDate == 0 ? "Various   " : purchaseDates.Of(line.purchaseDate);
        const std::string_view symbol = CutText(line.lot->symbol, ReportRow::kSymbolTextWidth);
        if (csv) {
            out += date;
            out += " ,";
            AppendFixed(out, line.shares, 2);
            out += " ,";
            out += AsCString(symbol);
            out += " ,";
            out += purchaseDate;
            out += " ,";
            AppendFixed(out, line.cost, 2);
            out += " ,";
            AppendFixed(out, netProceeds, 4);
            out += " ,";
            AppendFixed(out, gain, 4);
            out += "\r\n";
            continue;
        }
        std::string_view name = line.lot->companyName;
        if (line.lot->IsGrant()) {
            grantName = name;
            grantName += "(Options)";
            name = grantName;
        }
        out += date;
        out += "  ";
        AppendFixed(out, line.shares, 2);
        out += " shares of ";
        out += CutText(name, ReportRow::kNameWidth);
        out += '(';
        out += symbol;
        out += ")\r\n";
        out += purchaseDate;
        out.append(11, ' ');
        AppendFixed(out, line.cost, 2, kFigureWidth);
        AppendFixed(out, netProceeds, 4, kFigureWidth);
        AppendFixed(out, gain, 4, kFigureWidth);
        out += "\r\n\r\n";
    }
    AppendFormat(out, "\r\n------------------\r\nSummary Results:\r\nTotal Gain: %.4f\r\n",
                 static_cast<double>(totalGain));
}

}  // namespace

std::optional<int> TaxYear(std::string_view yearText) {
    if (yearText == kTaxAllYears) {
        return std::nullopt;
    }
    std::size_t start = 0;
    while (start < yearText.size() && std::isspace(static_cast<unsigned char>(yearText[start]))) {
        ++start;
    }
    if (start < yearText.size() && yearText[start] == '+') {
        ++start;
    }
    int year = 0;
    const char* first = yearText.data() + start;
    const auto [end, error] = std::from_chars(first, yearText.data() + yearText.size(), year);
    // Like reading a number with atoi: no digits give 0, which matches no sale.
    if (error != std::errc{} || end == first) {
        return 0;
    }
    return year;
}

namespace {

TaxSelection SelectionOf(std::string_view yearText, bool groupSales, bool deductCommission) {
    TaxSelection selection;
    selection.year = TaxYear(yearText);
    selection.span = selection.year ? SpanOfYear(*selection.year) : std::nullopt;
    selection.deductCommission = deductCommission;
    selection.mergeSales = groupSales;
    return selection;
}

std::string Fixed(float value, int decimals) {
    std::string text;
    AppendFixed(text, value, decimals);
    return text;
}

}  // namespace

std::string BuildTaxReport(const CKx7Doc& doc, std::string_view yearText, bool groupSales,
                           bool deductCommission, bool csv) {
    std::string text;
    RenderTaxText(CollectTaxLines(doc, SelectionOf(yearText, groupSales, deductCommission)), csv,
                  doc.AppSettings().dateMonthFirst, text);
    return text;
}

std::string BuildTaxCsvExport(const CKx7Doc& doc, std::string_view yearText, bool groupSales,
                              bool deductCommission) {
    const std::vector<TaxLine> lines =
        CollectTaxLines(doc, SelectionOf(yearText, groupSales, deductCommission));
    std::string out;
    AppendCsvRow(out, {"Sale Date", "Shares", "Symbol", "Company", "Purchase Date", "Cost Basis",
                       "Net Proceeds", "Gain"});
    for (const TaxLine& line : lines) {
        const std::string purchaseDate =
            line.purchaseDate == 0 ? "Various" : IsoDate(line.purchaseDate);
        const float netProceeds = line.proceeds - line.saleCommission;
        const float gain = line.proceeds - line.cost - line.saleCommission;
        // The names whole, as the file holds them: a spreadsheet has room for them.
        AppendCsvRow(out, {IsoDate(line.date), Fixed(line.shares, 4), line.lot->symbol,
                           line.lot->companyName, purchaseDate, Fixed(line.cost, 2),
                           Fixed(netProceeds, 4), Fixed(gain, 4)});
    }
    return out;
}

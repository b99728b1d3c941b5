#include "reports/TaxReport.h"

#include <cctype>
#include <charconv>

#include "app/Settings.h"
#include "model/Kx7Doc.h"
#include "model/LocalTime.h"
#include "reports/ReportRowList.h"
#include "reports/ReportText.h"
#include "reports/SaleCount.h"

namespace {

// The purchase commission that goes with `saleShares` of the lot. A lot of 0 shares has
// no share of anything to give.
float PurchaseCommissionShare(const CPurchase& lot, float saleShares) {
    if (lot.shares == 0.0f) {
        return 0.0f;
    }
    return saleShares / lot.shares * lot.commission;
}

// What printf's "%s" writes of a label: the text up to a NUL character.
std::string_view AsCString(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

// Bytes a row takes in each layout with figures of everyday size, to reserve the text.
constexpr std::size_t kRowBytes = 200;
constexpr std::size_t kCsvRowBytes = 100;
constexpr std::size_t kFigureWidth = 14;

// The times of one local year's start and end, found once, so that most sales need no
// local time conversion. A margin of days around each end covers any zone's offset and
// clock changes; only times within the margins are converted.
struct YearSpan {
    std::int64_t start = 0;
    std::int64_t end = 0;
};

constexpr std::int64_t kMarginSeconds = 3 * 86400;

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

std::string BuildTaxReport(const CKx7Doc& doc, std::string_view yearText, bool groupSales,
                           bool deductCommission, bool csv) {
    ReportRowList rows(groupSales, true, csv);
    const std::optional<int> year = TaxYear(yearText);

    const std::optional<YearSpan> span = year ? SpanOfYear(*year) : std::nullopt;
    if (!year) {
        rows.Reserve(SaleRecordCount(doc));
    }
    for (const auto& lot : doc.Purchases()) {
        std::string label;
        for (const auto& sale : lot->sales) {
            if (year && !InYear(sale->date, *year, span)) {
                continue;
            }
            if (sale->IsExpiry()) {
                continue;
            }
            float saleCommission = 0.0f;
            float purchaseCommission = 0.0f;
            if (deductCommission) {
                saleCommission = sale->commission;
                purchaseCommission = PurchaseCommissionShare(*lot, sale->shares);
            }
            if (label.empty()) {
                label = lot->IsGrant() ? lot->companyName + "(Options)" : lot->companyName;
            }
            rows.AddRow(label, lot->symbol, lot->date, sale->date, sale->shares, lot->price,
                        sale->price, purchaseCommission, saleCommission, sale->saleNumber);
        }
    }

    std::string text;
    RenderTaxText(rows, doc.AppSettings().dateMonthFirst, text);
    return text;
}

void RenderTaxText(const ReportRowList& rows, bool monthFirst, std::string& out) {
    // Sale dates come in order and repeat; purchase dates jump about: one cache each.
    DateTexts saleDates(ShortDatePattern(monthFirst));
    DateTexts purchaseDates(ShortDatePattern(monthFirst));
    out.reserve(out.size() + rows.Size() * (rows.CsvLayout() ? kCsvRowBytes : kRowBytes));
    float totalGain = 0.0f;
    rows.ForEachRow([&](const ReportRow& row) {
        const float netProceeds = row.proceeds - row.saleCommission;
        const float gain = row.proceeds - row.cost - row.saleCommission;
        totalGain += gain;
        const std::string_view date = saleDates.Of(row.date);
        const std::string_view purchaseDate =
            row.purchaseDate == 0 ? "Various   " : purchaseDates.Of(row.purchaseDate);
        LineWriter line(out);
        if (rows.CsvLayout()) {
            line.Text(date);
            line.Text(" ,");
            line.Fixed(row.shares, 2);
            line.Text(" ,");
            line.Text(AsCString(row.symbolText));
            line.Text(" ,");
            line.Text(purchaseDate);
            line.Text(" ,");
            line.Fixed(row.cost, 2);
            line.Text(" ,");
            line.Fixed(netProceeds, 4);
            line.Text(" ,");
            line.Fixed(gain, 4);
            line.Text("\r\n");
            return;
        }
        line.Text(date);
        line.Text("  ");
        line.Fixed(row.shares, 2);
        line.Text(" shares of ");
        line.Text(row.name);
        line.Char('(');
        line.Text(row.symbolText);
        line.Text(")\r\n");
        line.Text(purchaseDate);
        line.Spaces(11);
        line.Fixed(row.cost, 2, kFigureWidth);
        line.Fixed(netProceeds, 4, kFigureWidth);
        line.Fixed(gain, 4, kFigureWidth);
        line.Text("\r\n\r\n");
    });
    AppendFormat(out, "\r\n------------------\r\nSummary Results:\r\nTotal Gain: %.4f\r\n",
                 static_cast<double>(totalGain));
}

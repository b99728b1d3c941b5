#include "reports/TaxReport.h"

#include <cctype>
#include <charconv>

#include "app/Settings.h"
#include "model/Kx7Doc.h"
#include "model/LocalTime.h"
#include "reports/ReportRowList.h"
#include "reports/ReportText.h"

namespace {

// The purchase commission that goes with `saleShares` of the lot. A lot of 0 shares has
// no share of anything to give.
float PurchaseCommissionShare(const CPurchase& lot, float saleShares) {
    if (lot.shares == 0.0f) {
        return 0.0f;
    }
    return saleShares / lot.shares * lot.commission;
}

std::string PurchaseDateText(const ReportRow& row, bool monthFirst) {
    if (row.purchaseDate == 0) {
        return "Various   ";
    }
    return FormatShortDate(row.purchaseDate, monthFirst);
}

void AppendRightAlignedFigure(std::string& out, const char* format, float value) {
    std::string figure;
    AppendFormat(figure, format, static_cast<double>(value));
    AppendRightAligned(out, figure, 14);
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

    for (const auto& lot : doc.Purchases()) {
        std::string label;
        for (const auto& sale : lot->sales) {
            if (year && ToLocalDate(sale->date).year != *year) {
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
    float totalGain = 0.0f;
    rows.ForEachRow([&](const ReportRow& row) {
        const float netProceeds = row.proceeds - row.saleCommission;
        const float gain = row.proceeds - row.cost - row.saleCommission;
        totalGain += gain;
        const std::string date = FormatShortDate(row.date, monthFirst);
        const std::string purchaseDate = PurchaseDateText(row, monthFirst);
        if (rows.CsvLayout()) {
            AppendFormat(out, "%s ,%.2f ,%s ,%s ,%.2f ,%.4f ,%.4f\r\n", date.c_str(),
                         static_cast<double>(row.shares), row.symbolText.c_str(),
                         purchaseDate.c_str(), static_cast<double>(row.cost),
                         static_cast<double>(netProceeds), static_cast<double>(gain));
            return;
        }
        AppendFormat(out, "%s  %.2f shares of ", date.c_str(), static_cast<double>(row.shares));
        out += row.name;
        out += '(';
        out += row.symbolText;
        out += ")\r\n";
        out += purchaseDate;
        out.append(11, ' ');
        AppendRightAlignedFigure(out, "%.2f", row.cost);
        AppendRightAlignedFigure(out, "%.4f", netProceeds);
        AppendRightAlignedFigure(out, "%.4f", gain);
        out += "\r\n\r\n";
    });
    AppendFormat(out, "\r\n------------------\r\nSummary Results:\r\nTotal Gain: %.4f\r\n",
                 static_cast<double>(totalGain));
}

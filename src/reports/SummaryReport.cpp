#include "reports/SummaryReport.h"

#include "app/Settings.h"
#include "model/Clock.h"
#include "model/Kx7Doc.h"
#include "model/LocalTime.h"
#include "reports/ReportRowList.h"
#include "reports/ReportText.h"

namespace {

bool TakesLot(const CPurchase& lot, const LotSelection& selection, bool ungroupOptions) {
    if (lot.symbol != selection.symbol) {
        return false;
    }
    return !ungroupOptions || lot.IsGrant() == selection.optionsOnly;
}

// Gain in percent of a sale; a cost of 0 has no meaningful percentage.
void AppendGainPercent(std::string& out, float gain, float cost) {
    if (cost == 0.0f) {
        out += "NA\t";
        return;
    }
    AppendFormat(out, "%.2f\t", static_cast<double>(gain / cost * 100.0f));
}

}  // namespace

std::string BuildSummaryReport(const CKx7Doc& doc, std::string_view symbol, bool sortByDate,
                               bool sellBalance, bool groupSales) {
    const Settings& settings = doc.AppSettings();
    ReportRowList rows(sortByDate && groupSales, sortByDate);
    const LotSelection selection = SelectLots(symbol);
    const std::int64_t today = Clock::Now();

    for (const auto& lot : doc.Purchases()) {
        if (!TakesLot(*lot, selection, settings.ungroupOptions)) {
            continue;
        }
        rows.AddSummaryRow(lot->date, lot->shares, lot->price, 0, ReportRow::kPurchaseKey);
        for (const auto& sale : lot->sales) {
            rows.AddSummaryRow(sale->date, sale->shares, lot->price, sale->price, sale->saleNumber);
        }
        if (HasShares(lot->availableShares) && sellBalance) {
            rows.AddSummaryRow(today, lot->availableShares, lot->price, lot->marketPrice,
                               ReportRow::kBalanceKey);
        }
    }

    std::string text;
    RenderSummaryText(rows, settings.dateMonthFirst, text);

    // Dividend dates are always month first here, whatever the date order.
    for (const auto& dividend : doc.Dividends()) {
        if (dividend->symbol != selection.symbol) {
            continue;
        }
        const std::string date = FormatLocalTime(dividend->date, "%m/%d/%y");
        AppendFormat(text, "Dividend\t%s\t\t%.4f\t\t\t%.4f\t\r\n", date.c_str(),
                     static_cast<double>(dividend->amount), static_cast<double>(dividend->amount));
    }
    return text;
}

void RenderSummaryText(const ReportRowList& rows, bool monthFirst, std::string& out) {
    if (rows.Empty()) {
        out += "No data to display\r\n";
        return;
    }
    float sharesLeft = 0.0f;
    rows.ForEachRow([&](const ReportRow& row) {
        const std::string date = FormatShortDate(row.date, monthFirst);
        if (row.IsPurchase()) {
            sharesLeft += row.shares;
            AppendFormat(out, "Purchase\t%s\t%.4f\t%.4f\t%.4f\t\t\t\r\n", date.c_str(),
                         static_cast<double>(row.shares), static_cast<double>(row.price),
                         static_cast<double>(sharesLeft));
            return;
        }
        sharesLeft -= row.shares;
        if (row.IsExpiredLot()) {
            AppendFormat(out, "Sale\t%s\t%.4f\tEXPIRED\t%.4f\t\t\t\r\n", date.c_str(),
                         static_cast<double>(row.shares), static_cast<double>(sharesLeft));
            return;
        }
        const float gain = row.salePrice * row.shares - row.cost;
        AppendFormat(out, "Sale\t%s\t%.4f\t%.4f\t%.4f\t", date.c_str(),
                     static_cast<double>(row.shares), static_cast<double>(row.salePrice),
                     static_cast<double>(sharesLeft));
        AppendGainPercent(out, gain, row.cost);
        AppendFormat(out, "%.2f\t\r\n", static_cast<double>(gain));
    });
}

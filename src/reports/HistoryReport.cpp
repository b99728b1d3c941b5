#include "reports/HistoryReport.h"

#include <cstdint>
#include <limits>

#include "app/Settings.h"
#include "model/Clock.h"
#include "model/Kx7Doc.h"
#include "reports/ReportRowList.h"
#include "reports/ReportText.h"

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::size_t kNameColumn = 25;

}  // namespace

std::string BuildHistoryReport(const CKx7Doc& doc, std::optional<int> days) {
    ReportRowList rows(true, true);
    const std::int64_t cutOff = days ? Clock::Now() - std::int64_t{*days} * kSecondsPerDay
                                     : std::numeric_limits<std::int64_t>::min();
    for (const auto& lot : doc.Purchases()) {
        if (lot->date >= cutOff) {
            rows.AddHistoryRow(lot->companyName, lot->date, lot->shares, lot->price,
                               ReportRow::kPurchaseKey);
        }
        // A sale is listed even when its lot was bought before the time frame.
        for (const auto& sale : lot->sales) {
            if (sale->date >= cutOff) {
                rows.AddHistoryRow(lot->companyName, sale->date, -sale->shares, sale->price,
                                   sale->saleNumber);
            }
        }
    }
    std::string text;
    RenderHistoryText(rows, doc.AppSettings().dateMonthFirst, text);
    return text;
}

void RenderHistoryText(const ReportRowList& rows, bool monthFirst, std::string& out) {
    rows.ForEachRow([&](const ReportRow& row) {
        out += FormatShortDate(row.date, monthFirst);
        out += "  ";
        float shares = row.shares;
        if (shares > 0.0f) {
            out += "Pur  ";
        } else {
            out += row.price == -1.0f ? "Exp. " : "Sale ";
            shares = -shares;
        }
        AppendFormat(out, "%12.4f ", static_cast<double>(shares));
        AppendColumn(out, row.name, kNameColumn);
        if (row.price == -1.0f) {
            out += "         NA";
        } else {
            AppendFormat(out, "%11.4f%12.2f", static_cast<double>(row.price),
                         static_cast<double>(row.price * shares));
        }
        out += "\r\n";
    });
    out += "\r\n";
}

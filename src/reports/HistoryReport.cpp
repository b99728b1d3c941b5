#include "reports/HistoryReport.h"

#include <cstdint>
#include <limits>

#include "app/Settings.h"
#include "model/Clock.h"
#include "model/Kx7Doc.h"
#include "reports/ReportRowList.h"
#include "reports/ReportText.h"
#include "reports/SaleCount.h"

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::size_t kNameColumn = 25;
// Bytes of a line with figures of everyday size, to reserve the text.
constexpr std::size_t kLineBytes = 80;

}  // namespace

std::string BuildHistoryReport(const CKx7Doc& doc, std::optional<int> days) {
    ReportRowList rows(true, true);
    const std::int64_t cutOff = days ? Clock::Now() - std::int64_t{*days} * kSecondsPerDay
                                     : std::numeric_limits<std::int64_t>::min();
    if (!days) {
        rows.Reserve(doc.Purchases().size() + SaleRecordCount(doc));
    }
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
    DateTexts dates(ShortDatePattern(monthFirst));
    out.reserve(out.size() + rows.Size() * kLineBytes);
    rows.ForEachRow([&](const ReportRow& row) {
        LineWriter line(out);
        line.Text(dates.Of(row.date));
        line.Text("  ");
        float shares = row.shares;
        if (shares > 0.0f) {
            line.Text("Pur  ");
        } else {
            line.Text(row.price == -1.0f ? "Exp. " : "Sale ");
            shares = -shares;
        }
        line.Fixed(shares, 4, 12);
        line.Char(' ');
        line.Column(row.name, kNameColumn);
        if (row.price == -1.0f) {
            line.Text("         NA");
        } else {
            line.Fixed(row.price, 4, 11);
            line.Fixed(row.price * shares, 2, 12);
        }
        line.Text("\r\n");
    });
    out += "\r\n";
}

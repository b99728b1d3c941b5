#include "reports/OverviewReport.h"

#include <map>
#include <utility>

#include "app/Settings.h"
#include "model/Kx7Doc.h"
#include "reports/ReportRowList.h"
#include "reports/ReportText.h"

namespace {

// The overview of one symbol from its matching lots, in document order.
std::string OverviewOfLots(const std::vector<const CPurchase*>& lots, bool optionsOnly,
                           bool monthFirst) {
    if (lots.empty()) {
        return {};
    }
    const CPurchase& first = *lots.front();
    std::string text = first.symbol + ":" + first.companyName;
    if (optionsOnly) {
        text += "  (Options)";
    }
    text += "\r\n";

    ReportRowList rows(true, true);
    for (const CPurchase* lot : lots) {
        rows.AddOverviewRow(lot->date, lot->shares, lot->price, ReportRow::kPurchaseKey);
        for (const auto& sale : lot->sales) {
            rows.AddOverviewRow(sale->date, -sale->shares, sale->price, sale->saleNumber);
        }
    }
    RenderOverviewText(rows, monthFirst, text);
    return text;
}

}  // namespace

std::string BuildOverviewReport(const CKx7Doc& doc, std::string_view symbol) {
    const LotSelection selection = SelectLots(symbol);
    std::vector<const CPurchase*> lots;
    for (const auto& lot : doc.Purchases()) {
        if (lot->symbol == selection.symbol && lot->IsGrant() == selection.optionsOnly) {
            lots.push_back(lot.get());
        }
    }
    return OverviewOfLots(lots, selection.optionsOnly, doc.AppSettings().dateMonthFirst);
}

std::string BuildOverviewOfSymbols(const CKx7Doc& doc, const std::vector<std::string>& symbols) {
    // Each lot can belong to one selection only: its symbol, and whether it is a grant.
    std::map<std::pair<std::string, bool>, std::vector<const CPurchase*>> lotsBySelection;
    for (const std::string& symbol : symbols) {
        const LotSelection selection = SelectLots(symbol);
        lotsBySelection.try_emplace({selection.symbol, selection.optionsOnly});
    }
    for (const auto& lot : doc.Purchases()) {
        const auto found = lotsBySelection.find({lot->symbol, lot->IsGrant()});
        if (found != lotsBySelection.end()) {
            found->second.push_back(lot.get());
        }
    }

    const bool monthFirst = doc.AppSettings().dateMonthFirst;
    std::string text;
    for (const std::string& symbol : symbols) {
        const LotSelection selection = SelectLots(symbol);
        text += OverviewOfLots(lotsBySelection.at({selection.symbol, selection.optionsOnly}),
                               selection.optionsOnly, monthFirst);
        text += kOverviewSeparator;
    }
    return text;
}

void RenderOverviewText(const ReportRowList& rows, bool monthFirst, std::string& out) {
    float running = 0.0f;
    rows.ForEachRow([&](const ReportRow& row) {
        running += row.shares;
        const std::string date = FormatLongDate(row.date, monthFirst);
        AppendFormat(out, "%14s", date.c_str());
        if (row.shares > 0.0f) {
            AppendFormat(out, "%12.4f%12.4f", static_cast<double>(row.shares),
                         static_cast<double>(row.price));
        } else {
            AppendFormat(out, "(%11.4f)", static_cast<double>(-row.shares));
            if (row.price == -1.0f) {
                out += "    EXPIRED";
            } else {
                AppendFormat(out, "%11.4f", static_cast<double>(row.price));
            }
        }
        AppendFormat(out, "%13.4f\r\n", static_cast<double>(running));
    });
}

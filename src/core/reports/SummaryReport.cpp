#include "core/reports/SummaryReport.h"

#include <initializer_list>

#include "core/model/Clock.h"
#include "core/model/Kx7Doc.h"
#include "core/reports/ReportRowList.h"
#include "core/reports/ReportText.h"
#include "core/settings/Settings.h"

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
    AppendFixed(out, gain / cost * 100.0f, 2);
    out += '\t';
}

// Each figure with four decimals after a tab.
void AppendFigures(std::string& out, std::initializer_list<float> figures) {
    for (const float figure : figures) {
        out += '\t';
        AppendFixed(out, figure, 4);
    }
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
            rows.AddSummaryRow(sale.date, sale.shares, lot->price, sale.price, sale.saleNumber);
        }
        if (HasShares(lot->availableShares) && sellBalance) {
            rows.AddSummaryRow(today, lot->availableShares, lot->price, lot->marketPrice,
                               ReportRow::kBalanceKey);
        }
    }

    std::string text;
    RenderSummaryText(rows, settings.dateMonthFirst, text);

    // Dividend dates are always month first here, whatever the date order.
    DateTexts dividendDates(ShortDatePattern(true));
    for (const auto& dividend : doc.Dividends()) {
        if (dividend->symbol != selection.symbol) {
            continue;
        }
        text += "Dividend\t";
        text += dividendDates.Of(dividend->date);
        text += '\t';
        AppendFigures(text, {dividend->amount});
        text += "\t\t";
        AppendFigures(text, {dividend->amount});
        text += "\t\r\n";
    }
    return text;
}

void RenderSummaryText(const ReportRowList& rows, bool monthFirst, std::string& out) {
    if (rows.Empty()) {
        out += "No data to display\r\n";
        return;
    }
    DateTexts dates(ShortDatePattern(monthFirst));
    float sharesLeft = 0.0f;
    rows.ForEachRow([&](const ReportRow& row) {
        const std::string_view date = dates.Of(row.date);
        if (row.IsPurchase()) {
            sharesLeft += row.shares;
            out += "Purchase\t";
            out += date;
            AppendFigures(out, {row.shares, row.price, sharesLeft});
            out += "\t\t\t\r\n";
            return;
        }
        sharesLeft -= row.shares;
        out += "Sale\t";
        out += date;
        if (row.IsExpiredLot()) {
            AppendFigures(out, {row.shares});
            out += "\tEXPIRED";
            AppendFigures(out, {sharesLeft});
            out += "\t\t\t\r\n";
            return;
        }
        const float gain = row.salePrice * row.shares - row.cost;
        AppendFigures(out, {row.shares, row.salePrice, sharesLeft});
        out += '\t';
        AppendGainPercent(out, gain, row.cost);
        AppendFixed(out, gain, 2);
        out += "\t\r\n";
    });
}

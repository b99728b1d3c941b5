#include "reports/OverviewReport.h"

#include "app/Settings.h"
#include "model/Kx7Doc.h"
#include "model/LocalTime.h"
#include "model/SymbolMap.h"
#include "reports/ReportRowList.h"
#include "reports/ReportText.h"

namespace {

// Bytes of a row's line, to reserve the text.
constexpr std::size_t kLineBytes = 64;

// The lots of each symbol and kind, gathered in one walk over the lots.
struct SymbolLots {
    std::vector<const CPurchase*> ordinary;
    std::vector<const CPurchase*> grants;

    std::vector<const CPurchase*>& Of(bool grant) { return grant ? grants : ordinary; }
};

void RenderRows(const ReportRowList& rows, DateTexts& dates, std::string& out);

// Appends the overview of one symbol from its matching lots, in document order.
void AppendOverviewOfLots(const std::vector<const CPurchase*>& lots, bool optionsOnly,
                          DateTexts& dates, std::string& out) {
    if (lots.empty()) {
        return;
    }
    const CPurchase& first = *lots.front();
    out += first.symbol;
    out += ':';
    out += first.companyName;
    if (optionsOnly) {
        out += "  (Options)";
    }
    out += "\r\n";

    ReportRowList rows(true, true);
    for (const CPurchase* lot : lots) {
        rows.AddOverviewRow(lot->date, lot->shares, lot->price, ReportRow::kPurchaseKey);
        for (const auto& sale : lot->sales) {
            rows.AddOverviewRow(sale->date, -sale->shares, sale->price, sale->saleNumber);
        }
    }
    RenderRows(rows, dates, out);
}

void RenderRows(const ReportRowList& rows, DateTexts& dates, std::string& out) {
    out.reserve(out.size() + rows.Size() * kLineBytes);
    float running = 0.0f;
    rows.ForEachRow([&](const ReportRow& row) {
        running += row.shares;
        LineWriter line(out);
        line.RightAligned(dates.Of(row.date), 14);
        if (row.shares > 0.0f) {
            line.Fixed(row.shares, 4, 12);
            line.Fixed(row.price, 4, 12);
        } else {
            line.Char('(');
            line.Fixed(-row.shares, 4, 11);
            line.Char(')');
            if (row.price == -1.0f) {
                line.Text("    EXPIRED");
            } else {
                line.Fixed(row.price, 4, 11);
            }
        }
        line.Fixed(running, 4, 13);
        line.Text("\r\n");
    });
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
    DateTexts dates(DatePattern(doc.AppSettings().dateMonthFirst));
    std::string text;
    AppendOverviewOfLots(lots, selection.optionsOnly, dates, text);
    return text;
}

std::string BuildOverviewOfSymbols(const CKx7Doc& doc, const std::vector<std::string>& symbols) {
    // Each lot can belong to one selection only: its symbol, and whether it is a grant.
    SymbolMap<SymbolLots> lotsBySymbol;
    std::vector<LotSelection> selections;
    selections.reserve(symbols.size());
    for (const std::string& symbol : symbols) {
        selections.push_back(SelectLots(symbol));
        lotsBySymbol.try_emplace(selections.back().symbol);
    }
    std::size_t records = 0;
    for (const auto& lot : doc.Purchases()) {
        const auto found = lotsBySymbol.find(lot->symbol);
        if (found != lotsBySymbol.end()) {
            found->second.Of(lot->IsGrant()).push_back(lot.get());
            records += 1 + lot->sales.size();
        }
    }

    DateTexts dates(DatePattern(doc.AppSettings().dateMonthFirst));
    std::string text;
    text.reserve(records * kLineBytes + symbols.size() * (kOverviewSeparator.size() + 2));
    for (const LotSelection& selection : selections) {
        AppendOverviewOfLots(lotsBySymbol.at(selection.symbol).Of(selection.optionsOnly),
                             selection.optionsOnly, dates, text);
        text += kOverviewSeparator;
    }
    return text;
}

void RenderOverviewText(const ReportRowList& rows, bool monthFirst, std::string& out) {
    DateTexts dates(DatePattern(monthFirst));
    RenderRows(rows, dates, out);
}

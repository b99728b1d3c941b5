#include "reports/OverviewReport.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "model/Kx7Doc.h"
#include "model/LocalTime.h"
#include "model/SymbolMap.h"
#include "reports/DateSort.h"
#include "reports/GroupRows.h"
#include "reports/ReportRowList.h"
#include "reports/ReportText.h"
#include "reports/TextInParts.h"

namespace {

// Bytes of a row's line, to reserve the text.
constexpr std::size_t kLineBytes = 64;

// A purchase or sale of one symbol's overview, as gathered from the document.
struct OverviewEntry {
    std::int64_t date = 0;
    float shares = 0;  // negative for a sale
    float price = 0;
    std::int64_t groupKey = ReportRow::kPurchaseKey;
};

// The purchases and sales of one selection in document order, with its first lot, which
// names it.
struct SelectionEntries {
    const CPurchase* first = nullptr;
    std::vector<OverviewEntry> entries;

    void Add(const CPurchase& lot) {
        if (first == nullptr) {
            first = &lot;
        }
        entries.push_back({lot.date, lot.shares, lot.price, ReportRow::kPurchaseKey});
        for (const auto& sale : lot.sales) {
            entries.push_back({sale->date, -sale->shares, sale->price, sale->saleNumber});
        }
    }
};

// Both selections of a symbol: its ordinary lots and its grants.
struct SymbolEntries {
    SelectionEntries ordinary;
    SelectionEntries grants;
    bool ordinaryWanted = false;
    bool grantsWanted = false;

    SelectionEntries& Of(bool grant) { return grant ? grants : ordinary; }
    bool& Wanted(bool grant) { return grant ? grantsWanted : ordinaryWanted; }
};

// Appends one row's line; `running` is the balance after it.
void AppendRowLine(std::int64_t date, float shares, float price, float running, DateTexts& dates,
                   std::string& out) {
    LineWriter line(out);
    line.RightAligned(dates.Of(date), 14);
    if (shares > 0.0f) {
        line.Fixed(shares, 4, 12);
        line.Fixed(price, 4, 12);
    } else {
        line.Char('(');
        line.Fixed(-shares, 4, 11);
        line.Char(')');
        if (price == -1.0f) {
            line.Text("    EXPIRED");
        } else {
            line.Fixed(price, 4, 11);
        }
    }
    line.Fixed(running, 4, 13);
    line.Text("\r\n");
}

// Appends the overview of one selection: the lots of one sale merged into the first, as
// a report row list merges them, then in date order. The entries are small, so merging
// and sorting them directly moves far fewer bytes than building full report rows.
void AppendOverview(const SelectionEntries& selection, bool optionsOnly, DateTexts& dates,
                    std::string& out) {
    if (selection.first == nullptr) {
        return;
    }
    out += selection.first->symbol;
    out += ':';
    out += selection.first->companyName;
    if (optionsOnly) {
        out += "  (Options)";
    }
    out += "\r\n";

    std::vector<OverviewEntry> rows;
    rows.reserve(selection.entries.size());
    GroupRows saleRows;
    saleRows.Expect(selection.entries.size());
    for (const OverviewEntry& entry : selection.entries) {
        if (entry.groupKey != ReportRow::kPurchaseKey) {
            if (const std::optional<std::size_t> found = saleRows.Find(entry.groupKey)) {
                rows[*found].shares += entry.shares;
                continue;
            }
            saleRows.Insert(entry.groupKey, rows.size());
        }
        rows.push_back(entry);
    }
    SortByDate(rows);

    out.reserve(out.size() + rows.size() * kLineBytes);
    float running = 0.0f;
    for (const OverviewEntry& row : rows) {
        running += row.shares;
        AppendRowLine(row.date, row.shares, row.price, running, dates, out);
    }
}

void RenderRows(const ReportRowList& rows, DateTexts& dates, std::string& out) {
    out.reserve(out.size() + rows.Size() * kLineBytes);
    float running = 0.0f;
    rows.ForEachRow([&](const ReportRow& row) {
        running += row.shares;
        AppendRowLine(row.date, row.shares, row.price, running, dates, out);
    });
}

}  // namespace

std::string BuildOverviewReport(const CKx7Doc& doc, std::string_view symbol) {
    const LotSelection selection = SelectLots(symbol);
    SelectionEntries entries;
    for (const auto& lot : doc.Purchases()) {
        if (lot->symbol == selection.symbol && lot->IsGrant() == selection.optionsOnly) {
            entries.Add(*lot);
        }
    }
    DateTexts dates(DatePattern(doc.AppSettings().dateMonthFirst));
    std::string text;
    AppendOverview(entries, selection.optionsOnly, dates, text);
    return text;
}

std::string BuildOverviewOfSymbols(const CKx7Doc& doc, const std::vector<std::string>& symbols) {
    // Each lot belongs to one selection only: its symbol, and whether it is a grant. One
    // walk in document order gathers every selection's entries, reading the document
    // from start to end rather than hopping about it once per symbol.
    SymbolMap<SymbolEntries> bySymbol;
    std::vector<LotSelection> selections;
    selections.reserve(symbols.size());
    for (const std::string& symbol : symbols) {
        selections.push_back(SelectLots(symbol));
        const LotSelection& selection = selections.back();
        bySymbol[selection.symbol].Wanted(selection.optionsOnly) = true;
    }
    std::size_t records = 0;
    for (const auto& lot : doc.Purchases()) {
        const auto found = bySymbol.find(lot->symbol);
        if (found != bySymbol.end() && found->second.Wanted(lot->IsGrant())) {
            found->second.Of(lot->IsGrant()).Add(*lot);
            records += 1 + lot->sales.size();
        }
    }

    // Symbols differ in size by thousands of times: parts are made of even numbers of
    // rows, not of symbols.
    std::vector<std::size_t> weights;
    weights.reserve(selections.size());
    for (const LotSelection& selection : selections) {
        weights.push_back(1 +
                          bySymbol.at(selection.symbol).Of(selection.optionsOnly).entries.size());
    }
    const char* const pattern = DatePattern(doc.AppSettings().dateMonthFirst);
    std::string text;
    AppendInParts(
        text, selections.size(),
        records * kLineBytes + symbols.size() * (kOverviewSeparator.size() + 2),
        [&](std::size_t first, std::size_t last, std::string& part) {
            DateTexts dates(pattern);
            for (std::size_t i = first; i < last; ++i) {
                const LotSelection& selection = selections[i];
                AppendOverview(bySymbol.at(selection.symbol).Of(selection.optionsOnly),
                               selection.optionsOnly, dates, part);
                part += kOverviewSeparator;
            }
        },
        weights);
    return text;
}

void RenderOverviewText(const ReportRowList& rows, bool monthFirst, std::string& out) {
    DateTexts dates(DatePattern(monthFirst));
    RenderRows(rows, dates, out);
}

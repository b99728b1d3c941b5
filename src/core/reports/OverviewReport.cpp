#include "core/reports/OverviewReport.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"
#include "core/model/SymbolMap.h"
#include "core/reports/ReportRow.h"
#include "core/reports/ReportRowList.h"
#include "core/reports/ReportText.h"
#include "core/settings/Settings.h"

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

// The purchases and sales of one selection's lots, in document order, and its first lot,
// which names it.
struct SelectionEntries {
    const CPurchase* first = nullptr;
    std::vector<OverviewEntry> entries;

    void Add(const CPurchase& lot) {
        if (first == nullptr) {
            first = &lot;
        }
        entries.push_back(OverviewEntry{lot.date, lot.shares, lot.price, ReportRow::kPurchaseKey});
        for (const auto& sale : lot.sales) {
            entries.push_back(OverviewEntry{sale.date, -sale.shares, sale.price, sale.saleNumber});
        }
    }
};

// Appends one row's line; `running` is the balance after it.
void AppendRowLine(std::int64_t date, float shares, float price, float running, DateTexts& dates,
                   std::string& out) {
    AppendRightAligned(out, dates.Of(date), 14);
    if (shares > 0.0f) {
        AppendFixed(out, shares, 4, 12);
        AppendFixed(out, price, 4, 12);
    } else {
        out += '(';
        AppendFixed(out, -shares, 4, 11);
        out += ')';
        if (price == -1.0f) {
            out += "    EXPIRED";
        } else {
            AppendFixed(out, price, 4, 11);
        }
    }
    AppendFixed(out, running, 4, 13);
    out += "\r\n";
}

// Appends the overview of one selection: the lots of one sale merged into the first, as a
// report row list merges them, then in date order.
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
    std::unordered_map<std::int64_t, std::size_t> saleRows;
    for (const OverviewEntry& entry : selection.entries) {
        if (entry.groupKey != ReportRow::kPurchaseKey) {
            const auto [found, added] = saleRows.try_emplace(entry.groupKey, rows.size());
            if (!added) {
                rows[found->second].shares += entry.shares;
                continue;
            }
        }
        rows.push_back(entry);
    }
    std::stable_sort(rows.begin(), rows.end(), [](const OverviewEntry& a, const OverviewEntry& b) {
        return a.date < b.date;
    });

    // Not reserved here: with many symbols, a reserve per symbol would copy the whole text
    // so far each time.
    float running = 0.0f;
    for (const OverviewEntry& row : rows) {
        running += row.shares;
        AppendRowLine(row.date, row.shares, row.price, running, dates, out);
    }
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
    // One walk over the lots gathers the entries of every symbol asked for, by whether the
    // lot is a grant, instead of one walk per symbol.
    SymbolMap<std::array<SelectionEntries, 2>> bySymbol;
    for (const std::string& symbol : symbols) {
        bySymbol[SelectLots(symbol).symbol];
    }
    for (const auto& lot : doc.Purchases()) {
        if (const auto found = bySymbol.find(lot->symbol); found != bySymbol.end()) {
            found->second[lot->IsGrant() ? 1 : 0].Add(*lot);
        }
    }
    // Reserved once for every row, since growing a text of many megabytes copies it.
    std::size_t rowCount = 0;
    for (const auto& [name, selections] : bySymbol) {
        rowCount += selections[0].entries.size() + selections[1].entries.size();
    }
    DateTexts dates(DatePattern(doc.AppSettings().dateMonthFirst));
    std::string text;
    text.reserve(rowCount * kLineBytes);
    for (const std::string& symbol : symbols) {
        const LotSelection selection = SelectLots(symbol);
        AppendOverview(bySymbol.at(selection.symbol)[selection.optionsOnly ? 1 : 0],
                       selection.optionsOnly, dates, text);
        text += kOverviewSeparator;
    }
    return text;
}

void RenderOverviewText(const ReportRowList& rows, bool monthFirst, std::string& out) {
    DateTexts dates(DatePattern(monthFirst));
    out.reserve(out.size() + rows.Size() * kLineBytes);
    float running = 0.0f;
    rows.ForEachRow([&](const ReportRow& row) {
        running += row.shares;
        AppendRowLine(row.date, row.shares, row.price, running, dates, out);
    });
}

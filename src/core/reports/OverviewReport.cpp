#include "core/reports/OverviewReport.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"
#include "core/model/SymbolMap.h"
#include "core/reports/DateSort.h"
#include "core/reports/GroupRows.h"
#include "core/reports/KeptTable.h"
#include "core/reports/ReportRowList.h"
#include "core/reports/ReportText.h"
#include "core/reports/TextInParts.h"
#include "core/reports/WorkInParts.h"
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

// Appends a lot's purchase and sales, in document order.
template <typename Put>
void PutEntries(const CPurchase& lot, Put put) {
    put(OverviewEntry{lot.date, lot.shares, lot.price, ReportRow::kPurchaseKey});
    for (const auto& sale : lot.sales) {
        put(OverviewEntry{sale->date, -sale->shares, sale->price, sale->saleNumber});
    }
}

// Where the purchases and sales of one selection lie in the table of every selection's
// entries, with its first lot, which names it.
struct SelectionEntries {
    const CPurchase* first = nullptr;
    std::size_t start = 0;
    std::size_t count = 0;
};

// Both selections of a symbol: its ordinary lots and its grants.
struct SymbolEntries {
    SelectionEntries ordinary;
    SelectionEntries grants;
    bool ordinaryWanted = false;
    bool grantsWanted = false;
    std::uint32_t number = 0;  // of the ordinary lots' selection; the grants' is the next

    SelectionEntries& Of(bool grant) { return grant ? grants : ordinary; }
    bool& Wanted(bool grant) { return grant ? grantsWanted : ordinaryWanted; }
};

// What the overview of one selection needs besides its entries, kept from one selection
// to the next by whoever writes a run of them.
struct OverviewRoom {
    std::vector<OverviewEntry> rows;
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

// Appends the overview of one selection, named by its first lot: the lots of one sale
// merged into the first, as a report row list merges them, then in date order. The
// entries are small, so merging and sorting them directly moves far fewer bytes than
// building full report rows.
void AppendOverview(const CPurchase* first, std::span<const OverviewEntry> entries,
                    bool optionsOnly, DateTexts& dates, OverviewRoom& room, std::string& out) {
    if (first == nullptr) {
        return;
    }
    out += first->symbol;
    out += ':';
    out += first->companyName;
    if (optionsOnly) {
        out += "  (Options)";
    }
    out += "\r\n";

    std::vector<OverviewEntry>& rows = room.rows;
    rows.clear();
    rows.reserve(entries.size());
    GroupRows saleRows;
    saleRows.Expect(entries.size());
    for (const OverviewEntry& entry : entries) {
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
    const CPurchase* first = nullptr;
    std::vector<OverviewEntry> entries;
    for (const auto& lot : doc.Purchases()) {
        if (lot->symbol == selection.symbol && lot->IsGrant() == selection.optionsOnly) {
            if (first == nullptr) {
                first = lot.get();
            }
            PutEntries(*lot, [&entries](const OverviewEntry& entry) { entries.push_back(entry); });
        }
    }
    DateTexts dates(DatePattern(doc.AppSettings().dateMonthFirst));
    OverviewRoom room;
    std::string text;
    AppendOverview(first, entries, selection.optionsOnly, dates, room, text);
    return text;
}

std::string BuildOverviewOfSymbols(const CKx7Doc& doc, const std::vector<std::string>& symbols) {
    // Each lot belongs to one selection only: its symbol, and whether it is a grant. One
    // walk in document order counts every selection's entries and a second puts them in
    // one table, each selection's together, reading the document from start to end rather
    // than hopping about it once per symbol.
    SymbolMap<SymbolEntries> bySymbol;
    std::vector<LotSelection> selections;
    selections.reserve(symbols.size());
    for (const std::string& symbol : symbols) {
        selections.push_back(SelectLots(symbol));
        const LotSelection& selection = selections.back();
        bySymbol[selection.symbol].Wanted(selection.optionsOnly) = true;
    }
    // Every selection numbered, each symbol's ordinary lots before its grants.
    std::vector<SelectionEntries*> numbered;
    numbered.reserve(2 * bySymbol.size());
    for (auto& [symbol, entries] : bySymbol) {
        entries.number = static_cast<std::uint32_t>(numbered.size());
        numbered.push_back(&entries.ordinary);
        numbered.push_back(&entries.grants);
    }
    // Both walks run on every core, each part over a stretch of the lots: a part counts
    // its entries of each selection, and its entries of a selection go after those of the
    // parts before, so each selection's entries stay in document order.
    const auto& lots = doc.Purchases();
    constexpr std::uint32_t kNoSelection = std::numeric_limits<std::uint32_t>::max();
    std::vector<std::uint32_t> selectionOfLot(lots.size(), kNoSelection);
    const std::size_t parts = WorkParts(lots.size() / kLeastPartLots);
    // Each part's count of entries by selection, then where its next entry goes.
    std::vector<std::vector<std::size_t>> places(parts, std::vector<std::size_t>(numbered.size()));
    std::vector<std::vector<const CPurchase*>> firsts(
        parts, std::vector<const CPurchase*>(numbered.size(), nullptr));
    RunInParts(parts, [&](std::size_t part) {
        const PartItems items = ItemsOfPart(lots.size(), part, parts);
        std::vector<std::size_t>& counts = places[part];
        std::vector<const CPurchase*>& first = firsts[part];
        for (std::size_t i = items.first; i < items.last; ++i) {
            const CPurchase& lot = *lots[i];
            const auto found = bySymbol.find(lot.symbol);
            if (found == bySymbol.end() || !found->second.Wanted(lot.IsGrant())) {
                continue;
            }
            const std::uint32_t number = found->second.number + (lot.IsGrant() ? 1 : 0);
            counts[number] += 1 + lot.sales.size();
            if (first[number] == nullptr) {
                first[number] = &lot;
            }
            selectionOfLot[i] = number;
        }
    });
    std::size_t records = 0;
    for (std::size_t number = 0; number < numbered.size(); ++number) {
        SelectionEntries& selection = *numbered[number];
        selection.start = records;
        for (std::size_t part = 0; part < parts; ++part) {
            if (selection.first == nullptr) {
                selection.first = firsts[part][number];
            }
            records += std::exchange(places[part][number], records);
        }
        selection.count = records - selection.start;
    }
    KeptTable<OverviewEntry> table(records);
    RunInParts(parts, [&](std::size_t part) {
        const PartItems items = ItemsOfPart(lots.size(), part, parts);
        std::vector<std::size_t>& next = places[part];
        for (std::size_t i = items.first; i < items.last; ++i) {
            const std::uint32_t number = selectionOfLot[i];
            if (number == kNoSelection) {
                continue;
            }
            PutEntries(*lots[i], [&table, &next, number](const OverviewEntry& entry) {
                (*table)[next[number]++] = entry;
            });
        }
    });

    // Symbols differ in size by thousands of times: parts are made of even numbers of
    // rows, not of symbols.
    std::vector<std::size_t> weights;
    weights.reserve(selections.size());
    for (const LotSelection& selection : selections) {
        weights.push_back(1 + bySymbol.at(selection.symbol).Of(selection.optionsOnly).count);
    }
    const char* const pattern = DatePattern(doc.AppSettings().dateMonthFirst);
    std::string text = TakeReportText();
    AppendInParts(
        text, selections.size(),
        records * kLineBytes + symbols.size() * (kOverviewSeparator.size() + 2),
        [&](std::size_t first, std::size_t last, std::string& part) {
            DateTexts dates(pattern);
            OverviewRoom room;
            for (std::size_t i = first; i < last; ++i) {
                const LotSelection& selection = selections[i];
                const SelectionEntries& entries =
                    bySymbol.at(selection.symbol).Of(selection.optionsOnly);
                AppendOverview(
                    entries.first,
                    std::span<const OverviewEntry>(table->data() + entries.start, entries.count),
                    selection.optionsOnly, dates, room, part);
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

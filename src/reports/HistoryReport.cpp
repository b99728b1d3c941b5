#include "reports/HistoryReport.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/Settings.h"
#include "model/Clock.h"
#include "model/Kx7Doc.h"
#include "model/LargeBuffer.h"
#include "reports/DateSort.h"
#include "reports/GroupRows.h"
#include "reports/KeptTable.h"
#include "reports/LabelStore.h"
#include "reports/ReportRow.h"
#include "reports/ReportText.h"
#include "reports/SaleCount.h"
#include "reports/TextInParts.h"

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::size_t kNameColumn = 25;
// Bytes of a line with figures of everyday size, to reserve the text.
constexpr std::size_t kLineBytes = 80;

// One line of the history: small, so that sorting hundreds of thousands of them moves
// little memory.
struct HistoryLine {
    std::int64_t date = 0;
    std::string_view name;  // kept by the lines' label store
    float shares = 0;       // negative for a sale
    float price = 0;        // -1 marks an expired option lot
};

// The lines in the order they are added, the lots of one sale merged into the line of
// its first lot, which keeps that lot's date, price and place.
class HistoryLines {
public:
    void Reserve(std::size_t lines) {
        ReserveLargeTable(*m_lines, lines);
        m_saleLines.Expect(lines);
    }

    // The label of a lot's lines, to be found once per lot.
    std::string_view Label(std::string_view name) {
        return m_names.Keep(CutText(name, ReportRow::kNameWidth));
    }

    void AddPurchase(std::string_view name, std::int64_t date, float shares, float price) {
        m_lines->push_back(HistoryLine{date, name, shares, price});
    }

    void AddSale(std::string_view name, std::int64_t date, float shares, float price,
                 std::int64_t saleNumber) {
        // A sale numbered like a purchase has nothing to merge with.
        if (saleNumber == ReportRow::kPurchaseKey) {
            m_lines->push_back(HistoryLine{date, name, -shares, price});
            return;
        }
        if (const std::optional<std::size_t> found = m_saleLines.Find(saleNumber)) {
            (*m_lines)[*found].shares -= shares;
            return;
        }
        m_saleLines.Insert(saleNumber, m_lines->size());
        m_lines->push_back(HistoryLine{date, name, -shares, price});
    }

    // The lines by date, equal dates in the order they were added.
    const std::vector<HistoryLine>& SortedByDate() {
        SortByDate(*m_lines);
        return *m_lines;
    }

private:
    KeptTable<HistoryLine> m_lines;
    GroupRows m_saleLines;
    LabelStore m_names;
};

void AppendHistoryLines(const std::vector<HistoryLine>& lines, std::size_t first, std::size_t last,
                        bool monthFirst, std::string& out) {
    DateTexts dates(ShortDatePattern(monthFirst));
    for (std::size_t i = first; i < last; ++i) {
        const HistoryLine& entry = lines[i];
        LineWriter line(out);
        line.Text(dates.Of(entry.date));
        line.Text("  ");
        float shares = entry.shares;
        if (shares > 0.0f) {
            line.Text("Pur  ");
        } else {
            line.Text(entry.price == -1.0f ? "Exp. " : "Sale ");
            shares = -shares;
        }
        line.Fixed(shares, 4, 12);
        line.Char(' ');
        line.Column(entry.name, kNameColumn);
        if (entry.price == -1.0f) {
            line.Text("         NA");
        } else {
            line.Fixed(entry.price, 4, 11);
            line.Fixed(entry.price * shares, 2, 12);
        }
        line.Text("\r\n");
    }
}

void RenderHistoryText(const std::vector<HistoryLine>& lines, bool monthFirst, std::string& out) {
    AppendInParts(out, lines.size(), lines.size() * kLineBytes,
                  [&](std::size_t first, std::size_t last, std::string& text) {
                      AppendHistoryLines(lines, first, last, monthFirst, text);
                  });
    out += "\r\n";
}

}  // namespace

std::string BuildHistoryReport(const CKx7Doc& doc, std::optional<int> days) {
    HistoryLines lines;
    const std::int64_t cutOff = days ? Clock::Now() - std::int64_t{*days} * kSecondsPerDay
                                     : std::numeric_limits<std::int64_t>::min();
    if (!days) {
        lines.Reserve(doc.Purchases().size() + SaleRecordCount(doc));
    }
    for (const auto& lot : doc.Purchases()) {
        std::string_view name;
        const auto label = [&] {
            if (name.empty()) {
                name = lines.Label(lot->companyName);
            }
            return name;
        };
        if (lot->date >= cutOff) {
            lines.AddPurchase(label(), lot->date, lot->shares, lot->price);
        }
        // A sale is listed even when its lot was bought before the time frame.
        for (const auto& sale : lot->sales) {
            if (sale->date >= cutOff) {
                lines.AddSale(label(), sale->date, sale->shares, sale->price, sale->saleNumber);
            }
        }
    }
    std::string text;
    RenderHistoryText(lines.SortedByDate(), doc.AppSettings().dateMonthFirst, text);
    return text;
}

#include "core/reports/HistoryReport.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/model/Clock.h"
#include "core/model/Kx7Doc.h"
#include "core/reports/DateSort.h"
#include "core/reports/LabelStore.h"
#include "core/reports/LotLines.h"
#include "core/reports/ReportRow.h"
#include "core/reports/ReportText.h"
#include "core/reports/SaleCount.h"
#include "core/reports/TextInParts.h"
#include "core/settings/Settings.h"

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::size_t kNameColumn = 25;
// Bytes of a line with figures of everyday size, to reserve the text.
constexpr std::size_t kLineBytes = 80;

// One line of the history: small, so that sorting hundreds of thousands of them moves
// little memory.
struct HistoryLine {
    std::int64_t date = 0;
    std::uint32_t labels = 0;     // the lot's name in the lines' label list
    float shares = 0;             // negative for a sale
    float price = 0;              // -1 marks an expired option lot
    std::int32_t saleNumber = 0;  // whose lots merge into one line
};

// The names of the lots one walk meets, cut to the width of a report row, each kept once
// for the lines to refer to by number.
class HistoryLabels {
public:
    std::uint32_t LabelOf(std::string_view name) {
        const std::string_view kept = m_names.Keep(CutText(name, ReportRow::kNameWidth));
        // The store keeps one copy of each text, so the copies' places tell texts apart.
        const auto [found, added] =
            m_numbers.try_emplace(kept.data(), static_cast<std::uint32_t>(m_list.size()));
        if (added) {
            m_list.push_back(kept);
        }
        return found->second;
    }

    const std::vector<std::string_view>& List() const { return m_list; }

private:
    LabelStore m_names;
    std::unordered_map<const char*, std::uint32_t> m_numbers;
    std::vector<std::string_view> m_list;
};

// The lines in document order, the lots of one sale merged into the line of its first lot,
// which keeps that lot's date, price and place.
using HistoryLines = LotLines<HistoryLine, HistoryLabels>;

void MergeHistoryLine(HistoryLine& merged, const HistoryLine& line) {
    // The line holds the sold shares negated, and subtracting is adding the negation.
    merged.shares += line.shares;
}

// Calls `add(line)` for each purchase and sale of the lots, in document order, dated at
// or after `cutOff`.
template <typename AddLine>
void CollectHistory(std::span<const std::unique_ptr<CPurchase>> lots, std::int64_t cutOff,
                    HistoryLabels& labels, const AddLine& add) {
    for (const auto& lot : lots) {
        std::optional<std::uint32_t> lotLabels;
        const auto label = [&] {
            if (!lotLabels) {
                lotLabels = labels.LabelOf(lot->companyName);
            }
            return *lotLabels;
        };
        if (lot->date >= cutOff) {
            const auto purchase = static_cast<std::int32_t>(ReportRow::kPurchaseKey);
            add(HistoryLine{lot->date, label(), lot->shares, lot->price, purchase});
        }
        // A sale is listed even when its lot was bought before the time frame.
        for (const auto& sale : lot->sales) {
            if (sale->date >= cutOff) {
                add(HistoryLine{sale->date, label(), -sale->shares, sale->price, sale->saleNumber});
            }
        }
    }
}

void AppendHistoryLines(const HistoryLines& historyLines, std::size_t first, std::size_t last,
                        bool monthFirst, std::string& out) {
    const std::vector<HistoryLine>& lines = historyLines.Lines();
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
        line.Column(historyLines.LabelOf(entry), kNameColumn);
        if (entry.price == -1.0f) {
            line.Text("         NA");
        } else {
            line.Fixed(entry.price, 4, 11);
            line.Fixed(entry.price * shares, 2, 12);
        }
        line.Text("\r\n");
    }
}

void RenderHistoryText(const HistoryLines& lines, bool monthFirst, std::string& out) {
    AppendInParts(out, lines.Lines().size(), lines.Lines().size() * kLineBytes,
                  [&](std::size_t first, std::size_t last, std::string& text) {
                      AppendHistoryLines(lines, first, last, monthFirst, text);
                  });
    out += "\r\n";
}

}  // namespace

std::string BuildHistoryReport(const CKx7Doc& doc, std::optional<int> days) {
    const std::int64_t cutOff = days ? Clock::Now() - std::int64_t{*days} * kSecondsPerDay
                                     : std::numeric_limits<std::int64_t>::min();
    HistoryLines lines(true);
    lines.Collect(
        doc.Purchases(),
        days ? std::nullopt
             : std::optional<std::size_t>(doc.Purchases().size() + SaleRecordCount(doc)),
        [cutOff](std::span<const std::unique_ptr<CPurchase>> lots, HistoryLabels& labels,
                 const auto& add) { CollectHistory(lots, cutOff, labels, add); },
        MergeHistoryLine);
    SortByDate(lines.Lines());
    std::string text = TakeReportText();
    RenderHistoryText(lines, doc.AppSettings().dateMonthFirst, text);
    return text;
}

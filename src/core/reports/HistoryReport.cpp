#include "core/reports/HistoryReport.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/model/Clock.h"
#include "core/model/Kx7Doc.h"
#include "core/reports/ReportRow.h"
#include "core/reports/ReportText.h"
#include "core/settings/Settings.h"

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::size_t kNameColumn = 25;
// Bytes of a line with figures of everyday size, to reserve the text.
constexpr std::size_t kLineBytes = 80;

// One purchase or sale, or the merged lots of one sale: the first lot keeps its date,
// price, name and place.
struct HistoryLine {
    std::int64_t date = 0;
    const CPurchase* lot = nullptr;  // whose name the line shows
    float shares = 0;                // negative for a sale
    float price = 0;                 // -1 marks an expired option lot
};

// The purchases and sales of the lots dated at or after `cutOff`, in date order, equal
// dates in document order.
std::vector<HistoryLine> CollectHistory(const CKx7Doc& doc, std::int64_t cutOff) {
    std::vector<HistoryLine> lines;
    std::unordered_map<std::int32_t, std::size_t> saleLines;
    for (const auto& lot : doc.Purchases()) {
        if (lot->date >= cutOff) {
            lines.push_back(HistoryLine{lot->date, lot.get(), lot->shares, lot->price});
        }
        // A sale is listed even when its lot was bought before the time frame.
        for (const auto& sale : lot->sales) {
            if (sale.date < cutOff) {
                continue;
            }
            if (sale.saleNumber != ReportRow::kPurchaseKey) {
                const auto [found, added] = saleLines.try_emplace(sale.saleNumber, lines.size());
                if (!added) {
                    // The line holds the sold shares negated.
                    lines[found->second].shares -= sale.shares;
                    continue;
                }
            }
            lines.push_back(HistoryLine{sale.date, lot.get(), -sale.shares, sale.price});
        }
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const HistoryLine& a, const HistoryLine& b) { return a.date < b.date; });
    return lines;
}

void RenderHistoryText(const std::vector<HistoryLine>& lines, bool monthFirst, std::string& out) {
    out.reserve(out.size() + lines.size() * kLineBytes);
    DateTexts dates(ShortDatePattern(monthFirst));
    for (const HistoryLine& line : lines) {
        out += dates.Of(line.date);
        out += "  ";
        float shares = line.shares;
        if (shares > 0.0f) {
            out += "Pur  ";
        } else {
            out += line.price == -1.0f ? "Exp. " : "Sale ";
            shares = -shares;
        }
        AppendFixed(out, shares, 4, 12);
        out += ' ';
        AppendColumn(out, line.lot->companyName, kNameColumn);
        if (line.price == -1.0f) {
            out += "         NA";
        } else {
            AppendFixed(out, line.price, 4, 11);
            AppendFixed(out, line.price * shares, 2, 12);
        }
        out += "\r\n";
    }
    out += "\r\n";
}

}  // namespace

std::string BuildHistoryReport(const CKx7Doc& doc, std::optional<int> days) {
    const std::int64_t cutOff = days ? Clock::Now() - std::int64_t{*days} * kSecondsPerDay
                                     : std::numeric_limits<std::int64_t>::min();
    std::string text;
    RenderHistoryText(CollectHistory(doc, cutOff), doc.AppSettings().dateMonthFirst, text);
    return text;
}

#include "core/reports/TaxReport.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"
#include "core/model/SymbolMap.h"
#include "core/reports/DateSort.h"
#include "core/reports/LabelStore.h"
#include "core/reports/LotLines.h"
#include "core/reports/ReportRow.h"
#include "core/reports/ReportText.h"
#include "core/reports/SaleCount.h"
#include "core/reports/TextInParts.h"
#include "core/settings/Settings.h"

namespace {

// The purchase commission that goes with `saleShares` of the lot. A lot of 0 shares has
// no share of anything to give.
float PurchaseCommissionShare(const CPurchase& lot, float saleShares) {
    if (lot.shares == 0.0f) {
        return 0.0f;
    }
    return saleShares / lot.shares * lot.commission;
}

// What printf's "%s" writes of a label: the text up to a NUL character.
std::string_view AsCString(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

// Bytes a row takes in each layout with figures of everyday size, to reserve the text.
constexpr std::size_t kRowBytes = 200;
constexpr std::size_t kCsvRowBytes = 100;
constexpr std::size_t kFigureWidth = 14;

// The times of one local year's start and end, found once, so that most sales need no
// local time conversion. A margin of days around each end covers any zone's offset and
// clock changes; only times within the margins are converted.
struct YearSpan {
    std::int64_t start = 0;
    std::int64_t end = 0;
};

constexpr std::int64_t kMarginSeconds = std::int64_t{3} * 86400;

std::optional<YearSpan> SpanOfYear(int year) {
    // Far years are rare enough to convert every time.
    if (year < 1000 || year > 9999) {
        return std::nullopt;
    }
    const std::int64_t start = LocalTimeOf(year, 1, 1);
    const std::int64_t end = LocalTimeOf(year + 1, 1, 1);
    if (start == -1 || end == -1 || end - start < 4 * kMarginSeconds) {
        return std::nullopt;
    }
    return YearSpan{start, end};
}

bool InYear(std::int64_t time, int year, const std::optional<YearSpan>& span) {
    // Beyond millions of years the conversion fails and gives its fallback year.
    constexpr std::int64_t kConvertible = std::int64_t{1} << 50;
    if (span && time > -kConvertible && time < kConvertible) {
        if (time >= span->start + kMarginSeconds && time < span->end - kMarginSeconds) {
            return true;
        }
        if (time < span->start - kMarginSeconds || time >= span->end + kMarginSeconds) {
            return false;
        }
    }
    return ToLocalDate(time).year == year;
}

// One sale's line (or the merged lots of one sale): small, so that sorting hundreds of
// thousands of them moves little memory.
struct TaxLine {
    std::int64_t date = 0;
    std::int64_t purchaseDate = 0;  // 0 when the merged lots come from different purchases
    std::uint32_t labels = 0;       // the lot's name and symbol in the lines' label list
    float shares = 0;
    float cost = 0;      // shares x price + purchase commission share
    float proceeds = 0;  // shares x sale price
    float saleCommission = 0;
    std::int32_t saleNumber = 0;  // whose lots merge into one line
};

struct LotLabels {
    std::string_view name;
    std::string_view symbol;
    std::string_view csvSymbol;  // what the CSV layout prints of the symbol
};

struct LabelKey {
    const char* name = nullptr;
    const char* symbol = nullptr;

    bool operator==(const LabelKey&) const = default;
};

struct LabelKeyHash {
    std::size_t operator()(const LabelKey& key) const {
        const std::hash<const char*> hash;
        return hash(key.name) * 31 + hash(key.symbol);
    }
};

// The labels of the lots one walk meets, cut to the widths of a report row, each kept
// once for the lines to refer to by number.
class TaxLabels {
public:
    // Lots with the same labels share one entry: the lines come back in date order, which
    // jumps between lots, and a list the size of the symbols stays in the cache where one
    // entry per lot would not.
    std::uint32_t LabelsOf(const CPurchase& lot) {
        // The lots of a symbol mostly follow one another; otherwise the symbol is looked
        // up once, and its few names (the company's, its grants') compared.
        if (m_last && m_last->grant == lot.IsGrant() && m_lastSymbol == lot.symbol &&
            m_last->companyName == lot.companyName) {
            return m_last->labels;
        }
        auto found = m_bySymbol.find(std::string_view(lot.symbol));
        if (found == m_bySymbol.end()) {
            found = m_bySymbol.emplace(lot.symbol, std::vector<NameLabels>()).first;
        }
        std::vector<NameLabels>& names = found->second;
        const auto same = std::find_if(names.begin(), names.end(), [&lot](const NameLabels& n) {
            return n.grant == lot.IsGrant() && n.companyName == lot.companyName;
        });
        if (same != names.end()) {
            m_last = &*same;
        } else {
            const std::uint32_t labels =
                Index(lot.IsGrant() ? lot.companyName + "(Options)" : lot.companyName, lot.symbol);
            names.push_back(NameLabels{lot.companyName, lot.IsGrant(), labels});
            m_last = &names.back();
        }
        m_lastSymbol = found->first;
        return m_last->labels;
    }

    const std::vector<LotLabels>& List() const { return m_labels; }

private:
    std::uint32_t Index(std::string_view name, std::string_view symbol) {
        const std::string_view symbolText =
            m_texts.Keep(CutText(symbol, ReportRow::kSymbolTextWidth));
        const LotLabels labels{m_texts.Keep(CutText(name, ReportRow::kNameWidth)), symbolText,
                               AsCString(symbolText)};
        // The store keeps one copy of each text, so the copies' places tell texts apart.
        const LabelKey key{labels.name.data(), labels.symbol.data()};
        const auto [found, added] =
            m_labelIndex.try_emplace(key, static_cast<std::uint32_t>(m_labels.size()));
        if (added) {
            m_labels.push_back(labels);
        }
        return found->second;
    }

    std::vector<LotLabels> m_labels;
    std::unordered_map<LabelKey, std::uint32_t, LabelKeyHash> m_labelIndex;
    // The labels of each symbol's names, by whether the lot is a grant.
    struct NameLabels {
        std::string companyName;
        bool grant = false;
        std::uint32_t labels = 0;
    };
    SymbolMap<std::vector<NameLabels>> m_bySymbol;
    const NameLabels* m_last = nullptr;  // the last lot's, in m_bySymbol
    std::string_view m_lastSymbol;       // its symbol, the key in m_bySymbol
    LabelStore m_texts;
};

// Which sales a report lists and what it counts of them.
struct TaxSelection {
    std::optional<int> year;  // every year when none
    std::optional<YearSpan> span;
    bool deductCommission = true;
};

// Calls `add(line)` for each sale of the lots, in document order, that the selection
// lists. `labels` numbers the lots' labels.
template <typename AddLine>
void CollectSales(std::span<const std::unique_ptr<CPurchase>> lots, const TaxSelection& selection,
                  TaxLabels& labels, const AddLine& add) {
    for (const auto& lot : lots) {
        std::optional<std::uint32_t> lotLabels;
        for (const auto& sale : lot->sales) {
            if (selection.year && !InYear(sale->date, *selection.year, selection.span)) {
                continue;
            }
            if (sale->IsExpiry()) {
                continue;
            }
            float saleCommission = 0.0f;
            float purchaseCommission = 0.0f;
            if (selection.deductCommission) {
                saleCommission = sale->commission;
                purchaseCommission = PurchaseCommissionShare(*lot, sale->shares);
            }
            if (!lotLabels) {
                lotLabels = labels.LabelsOf(*lot);
            }
            add(TaxLine{sale->date, lot->date, *lotLabels, sale->shares,
                        sale->shares * lot->price + purchaseCommission, sale->shares * sale->price,
                        saleCommission, sale->saleNumber});
        }
    }
}

// The lines in document order; with `mergeSales` the lots of one sale merge into the line
// of the first, which keeps its dates, labels and place.
using TaxLines = LotLines<TaxLine, TaxLabels>;

void MergeTaxLine(TaxLine& merged, const TaxLine& line) {
    merged.shares += line.shares;
    merged.saleCommission += line.saleCommission;
    merged.cost += line.cost;
    merged.proceeds += line.proceeds;
    if (merged.purchaseDate != line.purchaseDate) {
        merged.purchaseDate = 0;
    }
}

// Appends lines first to last-1 in the fixed-width or the CSV layout.
void AppendTaxLines(const TaxLines& taxLines, std::size_t first, std::size_t last, bool csv,
                    bool monthFirst, std::string& out) {
    const std::vector<TaxLine>& lines = taxLines.Lines();
    // Sale dates come in order and repeat; purchase dates jump about: one cache each.
    DateTexts saleDates(ShortDatePattern(monthFirst));
    DateTexts purchaseDates(ShortDatePattern(monthFirst));
    for (std::size_t i = first; i < last; ++i) {
        const TaxLine& row = lines[i];
        const float netProceeds = row.proceeds - row.saleCommission;
        const float gain = row.proceeds - row.cost - row.saleCommission;
        const std::string_view date = saleDates.Of(row.date);
        const std::string_view purchaseDate =
            row.purchaseDate == 0 ? "Various   " : purchaseDates.Of(row.purchaseDate);
        const LotLabels& lot = taxLines.LabelOf(row);
        LineWriter line(out);
        if (csv) {
            line.Text(date);
            line.Text(" ,");
            line.Fixed(row.shares, 2);
            line.Text(" ,");
            line.Text(lot.csvSymbol);
            line.Text(" ,");
            line.Text(purchaseDate);
            line.Text(" ,");
            line.Fixed(row.cost, 2);
            line.Text(" ,");
            line.Fixed(netProceeds, 4);
            line.Text(" ,");
            line.Fixed(gain, 4);
            line.Text("\r\n");
            continue;
        }
        line.Text(date);
        line.Text("  ");
        line.Fixed(row.shares, 2);
        line.Text(" shares of ");
        line.Text(lot.name);
        line.Char('(');
        line.Text(lot.symbol);
        line.Text(")\r\n");
        line.Text(purchaseDate);
        line.Spaces(11);
        line.Fixed(row.cost, 2, kFigureWidth);
        line.Fixed(netProceeds, 4, kFigureWidth);
        line.Fixed(gain, 4, kFigureWidth);
        line.Text("\r\n\r\n");
    }
}

// Appends the lines and the "Total Gain" footer in the fixed-width or the CSV layout.
void RenderTaxText(const TaxLines& taxLines, bool csv, bool monthFirst, std::string& out) {
    const std::vector<TaxLine>& lines = taxLines.Lines();
    AppendInParts(out, lines.size(), lines.size() * (csv ? kCsvRowBytes : kRowBytes),
                  [&](std::size_t first, std::size_t last, std::string& text) {
                      AppendTaxLines(taxLines, first, last, csv, monthFirst, text);
                  });
    // The total adds the gains in line order, as a float, whoever wrote the lines.
    float totalGain = 0.0f;
    for (const TaxLine& row : lines) {
        totalGain += row.proceeds - row.cost - row.saleCommission;
    }
    AppendFormat(out, "\r\n------------------\r\nSummary Results:\r\nTotal Gain: %.4f\r\n",
                 static_cast<double>(totalGain));
}

}  // namespace

std::optional<int> TaxYear(std::string_view yearText) {
    if (yearText == kTaxAllYears) {
        return std::nullopt;
    }
    std::size_t start = 0;
    while (start < yearText.size() && std::isspace(static_cast<unsigned char>(yearText[start]))) {
        ++start;
    }
    if (start < yearText.size() && yearText[start] == '+') {
        ++start;
    }
    int year = 0;
    const char* first = yearText.data() + start;
    const auto [end, error] = std::from_chars(first, yearText.data() + yearText.size(), year);
    // Like reading a number with atoi: no digits give 0, which matches no sale.
    if (error != std::errc{} || end == first) {
        return 0;
    }
    return year;
}

std::string BuildTaxReport(const CKx7Doc& doc, std::string_view yearText, bool groupSales,
                           bool deductCommission, bool csv) {
    TaxSelection selection;
    selection.year = TaxYear(yearText);
    selection.span = selection.year ? SpanOfYear(*selection.year) : std::nullopt;
    selection.deductCommission = deductCommission;
    TaxLines lines(groupSales);
    lines.Collect(
        doc.Purchases(),
        selection.year ? std::nullopt : std::optional<std::size_t>(SaleRecordCount(doc)),
        [&selection](std::span<const std::unique_ptr<CPurchase>> lots, TaxLabels& labels,
                     const auto& add) { CollectSales(lots, selection, labels, add); },
        MergeTaxLine);
    SortByDate(lines.Lines());

    std::string text = TakeReportText();
    RenderTaxText(lines, csv, doc.AppSettings().dateMonthFirst, text);
    return text;
}

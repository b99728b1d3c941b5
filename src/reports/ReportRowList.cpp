#include "reports/ReportRowList.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>

#include "reports/ReportText.h"

namespace {

// Below this many rows a comparison sort beats counting passes.
constexpr std::size_t kRadixLeast = 512;
constexpr int kDigitBits = 11;

// Sorts entries by date, keeping the order of equal dates: passes of a least significant
// digit first counting sort over the dates' offsets from the earliest, as many as the span
// of dates needs (three for a century of times in seconds). Linear in the number of rows.
template <typename Entry>
void SortByDate(std::vector<Entry>& entries) {
    if (entries.size() < kRadixLeast) {
        std::stable_sort(entries.begin(), entries.end(),
                         [](const Entry& a, const Entry& b) { return a.date < b.date; });
        return;
    }
    const auto [least, most] =
        std::minmax_element(entries.begin(), entries.end(),
                            [](const Entry& a, const Entry& b) { return a.date < b.date; });
    const auto base = static_cast<std::uint64_t>(least->date);
    const std::uint64_t span = static_cast<std::uint64_t>(most->date) - base;
    const auto offset = [base](const Entry& entry) {
        return static_cast<std::uint64_t>(entry.date) - base;
    };

    constexpr std::size_t kDigits = std::size_t{1} << kDigitBits;
    constexpr std::uint64_t kDigitMask = kDigits - 1;
    std::vector<int> shifts;
    for (int shift = 0; shift < std::numeric_limits<std::uint64_t>::digits && (span >> shift) != 0;
         shift += kDigitBits) {
        shifts.push_back(shift);
    }
    // Every pass's counts in one read of the entries.
    std::vector<std::size_t> starts(shifts.size() * kDigits);
    for (const Entry& entry : entries) {
        const std::uint64_t value = offset(entry);
        for (std::size_t pass = 0; pass < shifts.size(); ++pass) {
            ++starts[pass * kDigits + ((value >> shifts[pass]) & kDigitMask)];
        }
    }
    std::vector<Entry> other(entries.size());
    for (std::size_t pass = 0; pass < shifts.size(); ++pass) {
        std::size_t* const passStarts = starts.data() + pass * kDigits;
        std::size_t start = 0;
        for (std::size_t digit = 0; digit < kDigits; ++digit) {
            start += std::exchange(passStarts[digit], start);
        }
        const int shift = shifts[pass];
        for (const Entry& entry : entries) {
            other[passStarts[(offset(entry) >> shift) & kDigitMask]++] = entry;
        }
        entries.swap(other);
    }
}

}  // namespace

ReportRowList::ReportRowList(bool mergeSales, bool dateOrdered, bool csvLayout)
    : m_mergeSales(mergeSales), m_dateOrdered(dateOrdered), m_csvLayout(csvLayout) {}

void ReportRowList::AddRow(std::string_view name, std::string_view symbolText,
                           std::int64_t purchaseDate, std::int64_t date, float shares, float price,
                           float salePrice, float purchaseCommission, float saleCommission,
                           std::int64_t groupKey) {
    const float cost = shares * price + purchaseCommission;
    const float proceeds = shares * salePrice;
    const bool groupable = m_mergeSales && groupKey != ReportRow::kPurchaseKey;
    if (groupable) {
        if (const std::optional<std::size_t> found = m_groupRows.Find(groupKey)) {
            // The first lot of the sale keeps its date, prices, labels and place.
            ReportRow& row = m_rows[*found];
            row.shares += shares;
            row.saleCommission += saleCommission;
            row.cost += cost;
            row.proceeds += proceeds;
            if (row.purchaseDate != purchaseDate) {
                row.purchaseDate = 0;
            }
            return;
        }
    }

    const std::size_t index = m_rows.size();
    m_rows.push_back(ReportRow{m_names.Keep(CutText(name, ReportRow::kNameWidth)),
                               m_symbolTexts.Keep(CutText(symbolText, ReportRow::kSymbolTextWidth)),
                               purchaseDate, date, shares, price, salePrice, saleCommission,
                               groupKey, cost, proceeds});
    if (groupable) {
        m_groupRows.Insert(groupKey, index);
    }
    if (m_dateOrdered) {
        if (!m_byDate.empty() && date < m_byDate.back().date) {
            m_byDateSorted = false;
        }
        m_byDate.push_back(DateEntry{date, index});
    }
}

void ReportRowList::AddHistoryRow(std::string_view name, std::int64_t date, float shares,
                                  float price, std::int64_t groupKey) {
    AddRow(name, {}, 0, date, shares, price, 0, 0, 0, groupKey);
}

void ReportRowList::AddOverviewRow(std::int64_t date, float shares, float price,
                                   std::int64_t groupKey) {
    AddRow({}, {}, 0, date, shares, price, 0, 0, 0, groupKey);
}

void ReportRowList::AddSummaryRow(std::int64_t date, float shares, float price, float salePrice,
                                  std::int64_t groupKey) {
    AddRow({}, {}, 0, date, shares, price, salePrice, 0, 0, groupKey);
}

const std::vector<ReportRowList::DateEntry>& ReportRowList::DateOrder() const {
    if (!m_byDateSorted) {
        // Entries arrive in index order, so a stable sort orders equal dates as they
        // were added.
        SortByDate(m_byDate);
        m_byDateSorted = true;
    }
    return m_byDate;
}

void ReportRowList::Reserve(std::size_t rows) {
    m_rows.reserve(m_rows.size() + rows);
    m_groupRows.Expect(m_rows.size() + rows);
    if (m_dateOrdered) {
        m_byDate.reserve(m_byDate.size() + rows);
    }
}

std::vector<ReportRow> ReportRowList::Rows() const {
    std::vector<ReportRow> rows;
    rows.reserve(m_rows.size());
    ForEachRow([&rows](const ReportRow& row) { rows.push_back(row); });
    return rows;
}

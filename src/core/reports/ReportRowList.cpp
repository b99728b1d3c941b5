#include "core/reports/ReportRowList.h"

#include <cstdint>
#include <string>

#include "core/reports/DateSort.h"
#include "core/reports/ReportText.h"

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

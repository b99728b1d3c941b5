#include "core/reports/ReportRowList.h"

#include <algorithm>
#include <numeric>
#include <string>

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
        const auto [found, added] = m_saleRows.try_emplace(groupKey, m_rows.size());
        if (!added) {
            // The first lot of the sale keeps its date, prices, labels and place.
            ReportRow& row = m_rows[found->second];
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
    m_rows.push_back(ReportRow{std::string(CutText(name, ReportRow::kNameWidth)),
                               std::string(CutText(symbolText, ReportRow::kSymbolTextWidth)),
                               purchaseDate, date, shares, price, salePrice, saleCommission,
                               groupKey, cost, proceeds});
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

std::vector<std::size_t> ReportRowList::Order() const {
    std::vector<std::size_t> order(m_rows.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (m_dateOrdered) {
        std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
            return m_rows[a].date < m_rows[b].date;
        });
    }
    return order;
}

std::vector<ReportRow> ReportRowList::Rows() const {
    std::vector<ReportRow> rows;
    rows.reserve(m_rows.size());
    ForEachRow([&rows](const ReportRow& row) { rows.push_back(row); });
    return rows;
}

#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/reports/ReportRow.h"

// The ordered rows of a report. With `mergeSales` the lots of one sale (equal group key)
// become one row; with `dateOrdered` rows come out by date, equal dates in the order they
// were added.
class ReportRowList {
public:
    explicit ReportRowList(bool mergeSales, bool dateOrdered = true, bool csvLayout = false);

    bool MergeSales() const { return m_mergeSales; }
    bool DateOrdered() const { return m_dateOrdered; }
    bool CsvLayout() const { return m_csvLayout; }

    void AddRow(std::string_view name, std::string_view symbolText, std::int64_t purchaseDate,
                std::int64_t date, float shares, float price, float salePrice,
                float purchaseCommission, float saleCommission, std::int64_t groupKey);
    void AddHistoryRow(std::string_view name, std::int64_t date, float shares, float price,
                       std::int64_t groupKey);
    void AddOverviewRow(std::int64_t date, float shares, float price, std::int64_t groupKey);
    void AddSummaryRow(std::int64_t date, float shares, float price, float salePrice,
                       std::int64_t groupKey);

    bool Empty() const { return m_rows.empty(); }
    std::size_t Size() const { return m_rows.size(); }

    // Calls `visit` with every row in list order.
    template <typename Visit>
    void ForEachRow(Visit&& visit) const {
        for (const std::size_t index : Order()) {
            visit(m_rows[index]);
        }
    }

    // A copy of the rows in list order.
    std::vector<ReportRow> Rows() const;

private:
    // The rows' indexes in list order.
    std::vector<std::size_t> Order() const;

    bool m_mergeSales;
    bool m_dateOrdered;
    bool m_csvLayout;
    std::vector<ReportRow> m_rows;  // in the order they were added
    // For `mergeSales`: the row that each sale's lots merge into.
    std::unordered_map<std::int64_t, std::size_t> m_saleRows;
};

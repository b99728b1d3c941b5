#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/reports/GroupRows.h"
#include "core/reports/LabelStore.h"
#include "core/reports/ReportRow.h"

// The ordered rows of the summary, tax, history and overview reports. With `mergeSales`
// the lots of one sale (equal group key) become one row; with `dateOrdered` rows come
// out by date, equal dates in the order they were added. Merging is a hash look-up and
// the date order one sort when the rows are first read, so a report over hundreds of
// thousands of sales stays fast. The rows' labels live as long as the list.
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
        if (m_dateOrdered) {
            // Date order jumps about the rows; asking for rows a little ahead lets their
            // reads from memory overlap instead of waiting for each in turn.
            const std::vector<DateEntry>& order = DateOrder();
            for (std::size_t i = 0; i < order.size(); ++i) {
                if (i + kReadAhead < order.size()) {
                    // A row spans two cache lines more often than not.
                    const ReportRow* ahead = &m_rows[order[i + kReadAhead].index];
                    __builtin_prefetch(ahead);
                    __builtin_prefetch(reinterpret_cast<const char*>(ahead + 1) - 1);
                }
                visit(m_rows[order[i].index]);
            }
            return;
        }
        for (const ReportRow& row : m_rows) {
            visit(row);
        }
    }

    // Room for `rows` more rows, for a builder that knows about how many it adds.
    void Reserve(std::size_t rows);

    // A copy of the rows in list order.
    std::vector<ReportRow> Rows() const;

private:
    static constexpr std::size_t kReadAhead = 8;

    struct DateEntry {
        std::int64_t date;
        std::size_t index;  // into m_rows; breaks ties between equal dates
    };

    // The date index, sorted if rows arrived out of date order since the last read.
    const std::vector<DateEntry>& DateOrder() const;

    bool m_mergeSales;
    bool m_dateOrdered;
    bool m_csvLayout;
    std::vector<ReportRow> m_rows;  // in the order they were added
    // Date index for `dateOrdered`. Sorting it is deferred to the first read after rows
    // arrive out of order; that cache does not change what the list holds.
    mutable std::vector<DateEntry> m_byDate;
    mutable bool m_byDateSorted = true;
    // For `mergeSales`: the row that each sale's lots merge into.
    GroupRows m_groupRows;
    LabelStore m_names;
    LabelStore m_symbolTexts;
};

#pragma once

#include <string>
#include <string_view>

class CKx7Doc;
class ReportRowList;

// The summary report of one symbol: tab-separated rows (transaction, date, shares, price,
// shares left, % gain, $ gain) for its purchases and sales, then its dividends.
std::string BuildSummaryReport(const CKx7Doc& doc, std::string_view symbol, bool sortByDate,
                               bool sellBalance, bool groupSales);

// Appends the rows of the summary report to `out`.
void RenderSummaryText(const ReportRowList& rows, bool monthFirst, std::string& out);

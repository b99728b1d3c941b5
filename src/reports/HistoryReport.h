#pragma once

#include <optional>
#include <string>

class CKx7Doc;
class ReportRowList;

// The purchases and sales of the last `days` days (every one when `days` is empty), one
// fixed-width line each, in date order.
std::string BuildHistoryReport(const CKx7Doc& doc, std::optional<int> days);

// Appends the lines of the history report to `out`.
void RenderHistoryText(const ReportRowList& rows, bool monthFirst, std::string& out);

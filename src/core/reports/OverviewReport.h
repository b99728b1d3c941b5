#pragma once

#include <string>
#include <string_view>
#include <vector>

class CKx7Doc;
class ReportRowList;

// The purchases and sales of one symbol in date order with a running share count, under
// a "symbol:company" heading; "XYZ-O" takes the option grants of XYZ, a plain symbol its
// ordinary lots. Empty when no lot matches.
std::string BuildOverviewReport(const CKx7Doc& doc, std::string_view symbol);

// The line written after every symbol's overview.
inline constexpr std::string_view kOverviewSeparator =
    "======================================================\r\n";

// The overview of each symbol in turn, each followed by the separator, as the overview
// dialog shows them. One walk over the lots serves every symbol.
std::string BuildOverviewOfSymbols(const CKx7Doc& doc, const std::vector<std::string>& symbols);

// Appends the rows of one symbol's overview to `out`.
void RenderOverviewText(const ReportRowList& rows, bool monthFirst, std::string& out);

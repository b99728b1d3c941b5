#pragma once

#include <optional>
#include <string>
#include <string_view>

class CKx7Doc;

// The year item that lists the sales of every year.
inline constexpr std::string_view kTaxAllYears = "Show All";

// Which year a year text asks for: nothing for "Show All", otherwise the number at the
// start of the text (any year, not only those the year box offers).
std::optional<int> TaxYear(std::string_view yearText);

// Every sale of the year (or of all years) with its cost basis, net proceeds and gain.
std::string BuildTaxReport(const CKx7Doc& doc, std::string_view yearText, bool groupSales,
                           bool deductCommission, bool csv);

// The same sales as RFC 4180 CSV for a spreadsheet or a tax program: a header row, one row
// per line of the report, ISO dates ("Various" for a sale grouped from several purchase
// dates), whole symbols and company names, no total.
std::string BuildTaxCsvExport(const CKx7Doc& doc, std::string_view yearText, bool groupSales,
                              bool deductCommission);

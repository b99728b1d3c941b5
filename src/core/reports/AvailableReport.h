#pragma once

#include <string>
#include <string_view>

class CKx7Doc;

// The lots that still hold shares as of today, one line each: symbol, date, purchase
// price, shares left. Both bring the lots' available shares up to today.
std::string BuildAvailableReport(CKx7Doc& doc);
// The same for one symbol; "XYZ-O" lists the option grants of XYZ.
std::string BuildAvailableReportForSymbol(CKx7Doc& doc, std::string_view symbol);

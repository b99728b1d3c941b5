#pragma once

#include <string>

class CKx7Doc;

// The three figures of the main window's value summary.
struct ValueSummary {
    float totalValue = 0;
    float realizedGain = 0;   // the realized gains report's total
    float potentialGain = 0;  // the potential gains report's total
};

// The document's total value: the held symbols' values, as CKx7Doc::TotalValue sums them.
float PortfolioValue(const CKx7Doc& doc);

// Brings the lots' available shares up to today, as the potential gains report does.
ValueSummary ComputeValueSummary(CKx7Doc& doc);

// The figures in money format, each followed by CR LF, in the order value, realized
// gain, potential gain: the text the view draws beside its labels.
std::string ValueSummaryFigures(const ValueSummary& summary);

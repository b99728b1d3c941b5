#pragma once

#include <string>
#include <string_view>

class CKx7Doc;

// One tab-separated line per symbol (symbol, cost, value, dividends, gain, percent) and
// the sum of the gains of the lines written.
struct GainsReport {
    std::string text;
    float total = 0;
};

// Sold shares only.
GainsReport BuildRealizedGains(const CKx7Doc& doc);
// Shares still held, valued at the market price. Brings every lot's available shares up
// to today.
GainsReport BuildPotentialGains(CKx7Doc& doc);
// Both.
GainsReport BuildCombinedGains(CKx7Doc& doc);
// "Realized", "Potential", or anything else for the combination.
GainsReport BuildGainsReport(CKx7Doc& doc, std::string_view view);

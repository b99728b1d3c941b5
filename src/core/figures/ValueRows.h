#pragma once

#include <string>
#include <string_view>

// The rows of the manual price entry. The list is shown in a fixed-pitch font and its
// columns are made by padding with spaces: symbol and shares end at character 17, the
// price at 28, the value at 41 and the percentage at 50.

// n spaces, none when n is below 1.
std::string Pad(int n);

// symbol, shares "%.4f", market price "%.4f".
std::string ValueInitialRow(std::string_view symbol, float shares, float price);
// symbol, the shares text read back from the row, the entry exactly as typed.
std::string ValueCommittedRow(std::string_view symbol, std::string_view sharesText,
                              std::string_view entryText);
// The first 28 characters of the row, then value and percentage "%.4f".
std::string ValueCalculatedRow(std::string_view row, float value, float percent);

// The first three blank-separated items of a row.
struct ValueRowFields {
    std::string symbol;
    std::string sharesText;
    float price = 0;
};
ValueRowFields ReadValueRow(std::string_view row);

// A holding's share of the total in percent; 0 when the total is 0, which would otherwise
// print "nan" or "inf" in the column.
float PercentOfTotal(float value, float total);

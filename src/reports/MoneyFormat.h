#pragma once

#include <string>

// "%.2f" with a comma between groups of three integer digits: 1234567.89 gives
// "1,234,567.89", -1234.56 gives "-1,234.56", -123.45 stays "-123.45".
std::string FormatMoney(float amount);

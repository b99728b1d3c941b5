#pragma once

#include <string>

// An amount with two decimals and a comma between groups of three integer digits, the
// minus sign kept in front: 1234567.89 gives "1,234,567.89", -1234.56 "-1,234.56".
std::string FormatMoney(float value);

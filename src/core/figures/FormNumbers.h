#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The number rules of the forms' fields, kept apart from the widgets so they can be tested
// without a window.

// A whole field read as a number: blanks around it are allowed, anything else is not. A
// value that a float cannot hold (1e39, "inf", "nan") is no number either, so an absurd
// entry is refused instead of stored as infinity.
std::optional<float> ParseFormNumber(std::string_view text);

// A whole field read as an integer, blanks around it allowed.
std::optional<int> ParseFormInteger(std::string_view text);

// The number a text begins with (after blanks), as a scan for a number would read it;
// nothing when it does not begin with one or the number is not finite.
std::optional<double> LeadingNumber(std::string_view text);

// The same, for a float: a number beyond the float range counts as none.
std::optional<float> LeadingFloat(std::string_view text);

// A number as a field shows it: the shortest form with at most six significant digits.
std::string FormatFormNumber(float value);

// printf of one number, for the fixed formats of the forms ("%.4f", "%.2f ").
std::string FormatNumber(const char* format, double value);

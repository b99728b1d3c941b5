#pragma once

#include <string>
#include <string_view>

// Small text rules the readers of other programs' files share. Case is folded for ASCII
// letters only: the names compared (columns, actions, symbols, hosts) are ASCII.

// The text without the white space at either end.
std::string_view TrimmedView(std::string_view text);

// The text with its ASCII letters in lower case.
std::string LowerCase(std::string_view text);

// Whether two texts are equal but for the case of their ASCII letters.
bool SameIgnoringCase(std::string_view a, std::string_view b);

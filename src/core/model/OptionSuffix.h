#pragma once

#include <string>
#include <string_view>

// With the ungroup setting on, the grants of a symbol are listed and valued under the
// pseudo-symbol made of the symbol and this suffix.
inline constexpr std::string_view kOptionSuffix = "-O";

// Only the "-O" the program itself appends counts, so a share-class ticker such as BRK-B
// stays an ordinary symbol.
bool HasOptionSuffix(std::string_view symbol);

// The symbol without the option suffix; any other symbol unchanged.
std::string StripOptionSuffix(std::string_view symbol);

std::string WithOptionSuffix(std::string_view symbol);

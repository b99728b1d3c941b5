#pragma once

#include <array>
#include <string>

inline constexpr std::array<int, 4> kVersionNumbers{5, 1, 0, 0};
inline constexpr const char* kProductName = "Velmora";

// "Version 5.1.0.0": shown in the About box and the first string of every portfolio file.
std::string VersionText();

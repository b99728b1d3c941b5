#pragma once

#include <cstdint>

// The length prefix of an archive string: one byte below kArchiveLongLength; otherwise that
// byte, then a 16-bit length, or kArchiveLongerLength and a 32-bit length. The 16-bit value
// kArchiveWideMarker announces a UTF-16 text, whose own prefix follows.
inline constexpr std::uint8_t kArchiveLongLength = 0xFF;
inline constexpr std::uint16_t kArchiveWideMarker = 0xFFFE;
inline constexpr std::uint16_t kArchiveLongerLength = 0xFFFF;

// The longest text a 32-bit prefix frames; the all-ones value is left unused. Texts of that
// size cannot come from the program, and one that did is cut rather than mis-framed.
inline constexpr std::uint32_t kArchiveMaxLength = 0xFFFFFFFE;

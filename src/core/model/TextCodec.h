#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

// Conversions between the UTF-8 text held in memory and the encodings of the portfolio file:
// the Windows-1252 code page, and UTF-16 for text that code page cannot hold.

// Plain ASCII means the same in UTF-8 and in the code page, and needs no conversion.
inline bool IsAscii(std::string_view text) {
    // Eight bytes at a time, here in the header: every text of a file passes through here.
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    std::uint64_t seen = 0;
    std::size_t i = 0;
    for (; i + sizeof seen <= text.size(); i += sizeof seen) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + i, sizeof word);
        seen |= word;
    }
    for (; i < text.size(); ++i) {
        seen |= static_cast<unsigned char>(text[i]);
    }
    return (seen & kHighBits) == 0;
}

// Every byte has a meaning: the five bytes the code page leaves unassigned map to the C1
// controls of the same value, so any file text converts and converts back unchanged.
std::string Utf8FromWindows1252(std::string_view bytes);

// nullopt when the text holds a character outside the code page. Invalid UTF-8 counts as
// such a character (it becomes U+FFFD on the way to UTF-16).
std::optional<std::string> Windows1252FromUtf8(std::string_view utf8);

// Invalid sequences become U+FFFD, so any byte string converts.
std::u16string Utf16FromUtf8(std::string_view utf8);

// Unpaired surrogates become U+FFFD.
std::string Utf8FromUtf16(std::u16string_view utf16);

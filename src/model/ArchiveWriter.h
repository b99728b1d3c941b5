#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

// Writes the values of the portfolio file's byte encoding into a growing buffer.
class CArchiveWriter {
public:
    // Room for `bytes` in all, so that a large store does not grow the buffer step by step.
    void Reserve(std::size_t bytes);
    void WriteInt(std::int32_t value);
    void WriteFloat(float value);
    void WriteDouble(double value);
    // Stored as an unsigned 32-bit count; a time outside that range is held at its nearest
    // end, since wrapping would turn it into a date a century away.
    void WriteTime(std::int64_t time);
    // Windows-1252 when the text fits the code page, the wide UTF-16 form otherwise.
    void WriteString(std::string_view utf8);

    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }
    std::vector<std::uint8_t> TakeBytes() { return std::move(m_bytes); }

private:
    void WriteByte(std::uint8_t value);
    void WriteWord(std::uint16_t value);
    void WriteDword(std::uint32_t value);
    void WriteLength(std::uint64_t length);
    // Code-page bytes with their length prefix.
    void WriteNarrow(std::string_view bytes);

    std::vector<std::uint8_t> m_bytes;
};

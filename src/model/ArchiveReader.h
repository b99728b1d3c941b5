#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Reads the values of the portfolio file's byte encoding from a buffer. A read that would
// pass the end of the buffer fails: from then on every read gives 0 or an empty text and
// Failed() is true, so a loader can read a whole group and check once. Nothing is ever
// allocated beyond what the remaining bytes could hold.
class CArchiveReader {
public:
    explicit CArchiveReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::int32_t ReadInt();
    float ReadFloat();
    double ReadDouble();
    // The stored unsigned 32-bit count of seconds.
    std::int64_t ReadTime();
    // A length-prefixed text, narrow (Windows-1252) or wide (UTF-16), as UTF-8.
    std::string ReadString();
    // The same text for comparing only: it stays valid until the next read into `scratch`
    // or, for plain ASCII, as long as the buffer, and needs no allocation then.
    std::string_view ReadText(std::string& scratch);

    bool Failed() const { return m_failed; }
    std::size_t Offset() const { return m_offset; }

private:
    // A text's bytes with the prefix read; `bytes` is nullptr (and failed) when the prefix
    // is damaged or claims more than remains.
    struct TextBytes {
        const std::uint8_t* bytes = nullptr;
        std::size_t length = 0;  // in characters
        bool wide = false;
    };
    TextBytes ReadTextBytes();
    static std::string Decode(const TextBytes& text);

    // The next `count` bytes, or nullptr (and failed) when fewer remain.
    const std::uint8_t* Take(std::size_t count);
    std::uint8_t ReadByte();
    std::uint16_t ReadWord();
    std::uint32_t ReadDword();
    std::uint64_t ReadQword();

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_offset = 0;
    bool m_failed = false;
};

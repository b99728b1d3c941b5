#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
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

    // The fixed-size values are read here in the header, since a load reads millions.
    std::int32_t ReadInt() { return static_cast<std::int32_t>(Read<std::uint32_t>()); }
    float ReadFloat() { return std::bit_cast<float>(Read<std::uint32_t>()); }
    double ReadDouble() { return std::bit_cast<double>(Read<std::uint64_t>()); }
    // The stored unsigned 32-bit count of seconds.
    std::int64_t ReadTime() { return static_cast<std::int64_t>(Read<std::uint32_t>()); }
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
    const std::uint8_t* Take(std::size_t count) {
        if (m_failed || m_bytes.size() - m_offset < count) {
            m_failed = true;
            return nullptr;
        }
        const std::uint8_t* start = m_bytes.data() + m_offset;
        m_offset += count;
        return start;
    }
    // Little-endian, whatever the machine's own order; 0 past the end.
    template <typename Unsigned>
    Unsigned Read() {
        const std::uint8_t* at = Take(sizeof(Unsigned));
        if (at == nullptr) {
            return 0;
        }
        Unsigned value = 0;
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(&value, at, sizeof value);
        } else {
            for (std::size_t i = 0; i < sizeof value; ++i) {
                value |= static_cast<Unsigned>(static_cast<Unsigned>(at[i]) << (8 * i));
            }
        }
        return value;
    }

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_offset = 0;
    bool m_failed = false;
};

#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>
#include <vector>

#include "model/ArchiveFormat.h"
#include "model/TextCodec.h"

// Writes the values of the portfolio file's byte encoding into a growing buffer. The
// fixed-size values are written here in the header, since a store writes millions of them.
class CArchiveWriter {
public:
    // Room for `bytes` in all, so that a large store does not grow the buffer step by step.
    void Reserve(std::size_t bytes);
    void WriteInt(std::int32_t value) { WriteDword(static_cast<std::uint32_t>(value)); }
    void WriteFloat(float value) { WriteDword(std::bit_cast<std::uint32_t>(value)); }
    void WriteDouble(double value) { Store(std::bit_cast<std::uint64_t>(value)); }
    // Stored as an unsigned 32-bit count; a time outside that range is held at its nearest
    // end, since wrapping would turn it into a date a century away.
    void WriteTime(std::int64_t time) {
        constexpr std::int64_t kLatest = std::numeric_limits<std::uint32_t>::max();
        WriteDword(static_cast<std::uint32_t>(std::clamp<std::int64_t>(time, 0, kLatest)));
    }
    // Windows-1252 when the text fits the code page, the wide UTF-16 form otherwise.
    void WriteString(std::string_view utf8) {
        // Nearly every text is short plain ASCII, which is its own code-page form.
        if (utf8.size() < kArchiveLongLength && IsAscii(utf8)) {
            std::uint8_t* at = Extend(1 + utf8.size());
            at[0] = static_cast<std::uint8_t>(utf8.size());
            if (!utf8.empty()) {
                std::memcpy(at + 1, utf8.data(), utf8.size());
            }
            return;
        }
        WriteOtherString(utf8);
    }

    const std::vector<std::uint8_t>& Bytes() const;
    std::vector<std::uint8_t> TakeBytes();

private:
    // The next `count` bytes of the buffer, to be filled by the caller.
    std::uint8_t* Extend(std::size_t count) {
        if (m_bytes.size() - m_size < count) {
            Grow(count);
        }
        std::uint8_t* at = m_bytes.data() + m_size;
        m_size += count;
        return at;
    }
    void Grow(std::size_t count);
    // Little-endian, whatever the machine's own order.
    template <typename Unsigned>
    void Store(Unsigned value) {
        std::uint8_t* at = Extend(sizeof value);
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(at, &value, sizeof value);
        } else {
            for (std::size_t i = 0; i < sizeof value; ++i) {
                at[i] = static_cast<std::uint8_t>(value >> (8 * i));
            }
        }
    }
    void WriteByte(std::uint8_t value) { *Extend(1) = value; }
    void WriteWord(std::uint16_t value) { Store(value); }
    void WriteDword(std::uint32_t value) { Store(value); }
    void WriteOtherString(std::string_view utf8);
    void WriteLength(std::uint64_t length);
    // Code-page bytes with their length prefix.
    void WriteNarrow(std::string_view bytes);

    // Values are stored through a pointer into room made ahead, since growing a vector value
    // by value costs several times the store; the room past `m_size` is cut off whenever the
    // bytes are handed out.
    mutable std::vector<std::uint8_t> m_bytes;
    std::size_t m_size = 0;
};

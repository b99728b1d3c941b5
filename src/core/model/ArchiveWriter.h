#pragma once

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>
#include <vector>

#include "core/model/ArchiveFormat.h"
#include "core/model/TextCodec.h"

namespace archive {

// Little-endian, whatever the machine's own order; returns the byte after it.
template <typename Unsigned>
std::uint8_t* Put(std::uint8_t* at, Unsigned value) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(at, &value, sizeof value);
    } else {
        for (std::size_t i = 0; i < sizeof value; ++i) {
            at[i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    }
    return at + sizeof value;
}

// Stored as an unsigned 32-bit count; a time outside that range is held at its nearest end,
// since wrapping would turn it into a date a century away.
inline std::uint32_t StoredTime(std::int64_t time) {
    constexpr std::int64_t kLatest = std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(std::clamp<std::int64_t>(time, 0, kLatest));
}

// A text that is its own code-page form and fits a one-byte prefix: nearly every text.
inline bool IsShortAscii(std::string_view text) {
    return text.size() < kArchiveLongLength && IsAscii(text);
}

// A short ASCII text with its prefix; returns the byte after it.
inline std::uint8_t* PutShortAscii(std::uint8_t* at, std::string_view text) {
    *at++ = static_cast<std::uint8_t>(text.size());
    if (!text.empty()) {
        std::memcpy(at, text.data(), text.size());
    }
    return at + text.size();
}

}  // namespace archive

// Writes the values of the portfolio file's byte encoding into a growing buffer. The
// fixed-size values are written here in the header, since a store writes millions of them.
class CArchiveWriter {
public:
    class Record;

    // Room for `bytes` in all, so that a large store does not grow the buffer step by step.
    void Reserve(std::size_t bytes);
    void WriteInt(std::int32_t value) { Store(static_cast<std::uint32_t>(value)); }
    void WriteFloat(float value) { Store(std::bit_cast<std::uint32_t>(value)); }
    void WriteDouble(double value) { Store(std::bit_cast<std::uint64_t>(value)); }
    // See archive::StoredTime.
    void WriteTime(std::int64_t time) { Store(archive::StoredTime(time)); }
    // Windows-1252 when the text fits the code page, the wide UTF-16 form otherwise.
    void WriteString(std::string_view utf8) {
        if (archive::IsShortAscii(utf8)) {
            archive::PutShortAscii(Extend(1 + utf8.size()), utf8);
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
    template <typename Unsigned>
    void Store(Unsigned value) {
        archive::Put(Extend(sizeof value), value);
    }
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

// The values of one record written with one check for room instead of one per value. The
// caller names the most the record can take and passes only texts for which
// archive::IsShortAscii holds; what is left over goes back when the record ends.
class CArchiveWriter::Record {
public:
    Record(CArchiveWriter& writer, std::size_t mostBytes)
        : m_writer(writer), m_at(writer.Extend(mostBytes)), m_end(m_at + mostBytes) {}
    ~Record() {
        assert(m_at <= m_end && "a record wrote more than it made room for");
        m_writer.m_size -= static_cast<std::size_t>(m_end - m_at);
    }
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;

    void WriteInt(std::int32_t value) {
        m_at = archive::Put(m_at, static_cast<std::uint32_t>(value));
    }
    void WriteFloat(float value) { m_at = archive::Put(m_at, std::bit_cast<std::uint32_t>(value)); }
    void WriteTime(std::int64_t time) { m_at = archive::Put(m_at, archive::StoredTime(time)); }
    void WriteString(std::string_view shortAscii) {
        m_at = archive::PutShortAscii(m_at, shortAscii);
    }

private:
    CArchiveWriter& m_writer;
    std::uint8_t* m_at;
    std::uint8_t* const m_end;
};

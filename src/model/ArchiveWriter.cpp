#include "model/ArchiveWriter.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <limits>
#include <optional>
#include <string>

#include "model/ArchiveFormat.h"
#include "model/TextCodec.h"

void CArchiveWriter::Reserve(std::size_t bytes) {
    m_bytes.reserve(bytes);
}

void CArchiveWriter::WriteByte(std::uint8_t value) {
    m_bytes.push_back(value);
}

void CArchiveWriter::WriteWord(std::uint16_t value) {
    WriteByte(static_cast<std::uint8_t>(value & 0xFF));
    WriteByte(static_cast<std::uint8_t>(value >> 8));
}

void CArchiveWriter::WriteDword(std::uint32_t value) {
    WriteWord(static_cast<std::uint16_t>(value & 0xFFFF));
    WriteWord(static_cast<std::uint16_t>(value >> 16));
}

void CArchiveWriter::WriteInt(std::int32_t value) {
    WriteDword(static_cast<std::uint32_t>(value));
}

void CArchiveWriter::WriteFloat(float value) {
    WriteDword(std::bit_cast<std::uint32_t>(value));
}

void CArchiveWriter::WriteDouble(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    WriteDword(static_cast<std::uint32_t>(bits & 0xFFFFFFFF));
    WriteDword(static_cast<std::uint32_t>(bits >> 32));
}

void CArchiveWriter::WriteTime(std::int64_t time) {
    constexpr std::int64_t kLatest = std::numeric_limits<std::uint32_t>::max();
    WriteDword(static_cast<std::uint32_t>(std::clamp<std::int64_t>(time, 0, kLatest)));
}

void CArchiveWriter::WriteLength(std::uint64_t length) {
    if (length < kArchiveLongLength) {
        WriteByte(static_cast<std::uint8_t>(length));
        return;
    }
    WriteByte(kArchiveLongLength);
    if (length < kArchiveWideMarker) {
        WriteWord(static_cast<std::uint16_t>(length));
        return;
    }
    WriteWord(kArchiveLongerLength);
    WriteDword(static_cast<std::uint32_t>(length));
}

void CArchiveWriter::WriteNarrow(std::string_view bytes) {
    const std::size_t length = std::min<std::size_t>(bytes.size(), kArchiveMaxLength);
    WriteLength(length);
    m_bytes.insert(m_bytes.end(), bytes.begin(),
                   bytes.begin() + static_cast<std::ptrdiff_t>(length));
}

void CArchiveWriter::WriteString(std::string_view utf8) {
    // Nearly every text is plain ASCII, which is its own code-page form.
    if (IsAscii(utf8)) {
        WriteNarrow(utf8);
        return;
    }
    if (const std::optional<std::string> narrow = Windows1252FromUtf8(utf8)) {
        WriteNarrow(*narrow);
        return;
    }
    const std::u16string wide = Utf16FromUtf8(utf8);
    const std::size_t length = std::min<std::size_t>(wide.size(), kArchiveMaxLength);
    WriteByte(kArchiveLongLength);
    WriteWord(kArchiveWideMarker);
    WriteLength(length);
    for (std::size_t i = 0; i < length; ++i) {
        WriteWord(static_cast<std::uint16_t>(wide[i]));
    }
}

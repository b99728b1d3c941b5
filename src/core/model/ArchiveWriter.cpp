#include "core/model/ArchiveWriter.h"

#include <optional>
#include <string>
#include <utility>

void CArchiveWriter::Reserve(std::size_t bytes) {
    if (bytes > m_bytes.size()) {
        m_bytes.resize(bytes);
    }
}

const std::vector<std::uint8_t>& CArchiveWriter::Bytes() const {
    m_bytes.resize(m_size);
    return m_bytes;
}

std::vector<std::uint8_t> CArchiveWriter::TakeBytes() {
    m_bytes.resize(m_size);
    m_size = 0;
    return std::move(m_bytes);
}

void CArchiveWriter::Grow(std::size_t count) {
    m_bytes.resize(std::max(m_bytes.size() * 2, m_size + count));
}

void CArchiveWriter::WriteLength(std::uint64_t length) {
    if (length < kArchiveLongLength) {
        Store(static_cast<std::uint8_t>(length));
        return;
    }
    Store(kArchiveLongLength);
    if (length < kArchiveWideMarker) {
        Store(static_cast<std::uint16_t>(length));
        return;
    }
    Store(kArchiveLongerLength);
    Store(static_cast<std::uint32_t>(length));
}

void CArchiveWriter::WriteNarrow(std::string_view bytes) {
    const std::size_t length = std::min<std::size_t>(bytes.size(), kArchiveMaxLength);
    WriteLength(length);
    if (length > 0) {
        std::memcpy(Extend(length), bytes.data(), length);
    }
}

void CArchiveWriter::WriteOtherString(std::string_view utf8) {
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
    Store(kArchiveLongLength);
    Store(kArchiveWideMarker);
    WriteLength(length);
    for (std::size_t i = 0; i < length; ++i) {
        Store(static_cast<std::uint16_t>(wide[i]));
    }
}

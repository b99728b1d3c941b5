#include "model/ArchiveReader.h"

#include <bit>
#include <cstring>

#include "model/ArchiveFormat.h"
#include "model/TextCodec.h"

const std::uint8_t* CArchiveReader::Take(std::size_t count) {
    if (m_failed || m_bytes.size() - m_offset < count) {
        m_failed = true;
        return nullptr;
    }
    const std::uint8_t* start = m_bytes.data() + m_offset;
    m_offset += count;
    return start;
}

std::uint8_t CArchiveReader::ReadByte() {
    const std::uint8_t* p = Take(1);
    return p == nullptr ? 0 : p[0];
}

std::uint16_t CArchiveReader::ReadWord() {
    const std::uint8_t* p = Take(2);
    return p == nullptr ? 0 : static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t CArchiveReader::ReadDword() {
    const std::uint8_t* p = Take(4);
    if (p == nullptr) {
        return 0;
    }
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint64_t CArchiveReader::ReadQword() {
    const std::uint64_t low = ReadDword();
    const std::uint64_t high = ReadDword();
    return low | (high << 32);
}

std::int32_t CArchiveReader::ReadInt() {
    return static_cast<std::int32_t>(ReadDword());
}

float CArchiveReader::ReadFloat() {
    return std::bit_cast<float>(ReadDword());
}

double CArchiveReader::ReadDouble() {
    return std::bit_cast<double>(ReadQword());
}

std::int64_t CArchiveReader::ReadTime() {
    return static_cast<std::int64_t>(ReadDword());
}

std::string CArchiveReader::ReadString() {
    bool wide = false;
    std::uint64_t length = ReadByte();
    if (length == kArchiveLongLength) {
        length = ReadWord();
        if (length == kArchiveWideMarker) {
            // The marker comes once, before the ordinary prefix of a UTF-16 text.
            wide = true;
            length = ReadByte();
            if (length == kArchiveLongLength) {
                length = ReadWord();
            }
        }
        if (length == kArchiveLongerLength) {
            length = ReadDword();
        } else if (length == kArchiveWideMarker) {
            m_failed = true;
        }
    }
    // Checked before anything is allocated: a prefix larger than the rest of the input is
    // a damaged file, however large it claims to be.
    const std::uint64_t byteCount = wide ? length * 2 : length;
    if (m_failed || byteCount > m_bytes.size() - m_offset) {
        m_failed = true;
        return {};
    }
    const std::uint8_t* p = Take(static_cast<std::size_t>(byteCount));
    if (!wide) {
        return Utf8FromWindows1252(
            std::string_view(reinterpret_cast<const char*>(p), static_cast<std::size_t>(length)));
    }
    std::u16string text(static_cast<std::size_t>(length), u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8));
    }
    return Utf8FromUtf16(text);
}

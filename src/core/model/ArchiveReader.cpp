#include "core/model/ArchiveReader.h"

#include "core/model/ArchiveFormat.h"
#include "core/model/TextCodec.h"

CArchiveReader::TextBytes CArchiveReader::ReadTextBytes() {
    bool wide = false;
    std::uint64_t length = Read<std::uint8_t>();
    if (length == kArchiveLongLength) {
        length = Read<std::uint16_t>();
        if (length == kArchiveWideMarker) {
            // The marker comes once, before the ordinary prefix of a UTF-16 text.
            wide = true;
            length = Read<std::uint8_t>();
            if (length == kArchiveLongLength) {
                length = Read<std::uint16_t>();
            }
        }
        if (length == kArchiveLongerLength) {
            length = Read<std::uint32_t>();
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
    return {Take(static_cast<std::size_t>(byteCount)), static_cast<std::size_t>(length), wide};
}

std::string CArchiveReader::Decode(const TextBytes& text) {
    if (text.bytes == nullptr) {
        return {};
    }
    if (!text.wide) {
        return Utf8FromWindows1252(
            std::string_view(reinterpret_cast<const char*>(text.bytes), text.length));
    }
    std::u16string utf16(text.length, u'\0');
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        utf16[i] = static_cast<char16_t>(text.bytes[2 * i] | (text.bytes[2 * i + 1] << 8));
    }
    return Utf8FromUtf16(utf16);
}

std::string CArchiveReader::ReadString() {
    return Decode(ReadTextBytes());
}

std::string_view CArchiveReader::ReadText(std::string& scratch) {
    const TextBytes text = ReadTextBytes();
    if (text.bytes != nullptr && !text.wide) {
        const std::string_view narrow(reinterpret_cast<const char*>(text.bytes), text.length);
        if (IsAscii(narrow)) {
            return narrow;
        }
    }
    scratch = Decode(text);
    return scratch;
}

#include "model/ArchiveReader.h"

#include <bit>
#include <cstring>

#include "model/ArchiveFormat.h"
#include "model/TextCodec.h"

namespace {

// Little-endian, whatever the machine's own order.
template <typename Unsigned>
Unsigned LoadLittleEndian(const std::uint8_t* at) {
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

}  // namespace

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
    return p == nullptr ? 0 : LoadLittleEndian<std::uint16_t>(p);
}

std::uint32_t CArchiveReader::ReadDword() {
    const std::uint8_t* p = Take(4);
    return p == nullptr ? 0 : LoadLittleEndian<std::uint32_t>(p);
}

std::uint64_t CArchiveReader::ReadQword() {
    const std::uint8_t* p = Take(8);
    return p == nullptr ? 0 : LoadLittleEndian<std::uint64_t>(p);
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

CArchiveReader::TextBytes CArchiveReader::ReadTextBytes() {
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

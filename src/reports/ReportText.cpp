#include "reports/ReportText.h"

#include <array>
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "model/LocalTime.h"
#include "model/OptionSuffix.h"

namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Byte length of the first `width` characters of UTF-8 `text`, and how many it holds.
struct Prefix {
    std::size_t bytes = 0;
    std::size_t characters = 0;
};

Prefix CharacterPrefix(std::string_view text, std::size_t width) {
    Prefix prefix;
    while (prefix.bytes < text.size()) {
        if (!IsContinuationByte(text[prefix.bytes])) {
            if (prefix.characters == width) {
                break;
            }
            ++prefix.characters;
        }
        ++prefix.bytes;
    }
    return prefix;
}

}  // namespace

void AppendFormat(std::string& out, const char* format, ...) {
    std::array<char, 128> buffer{};
    va_list arguments;
    va_start(arguments, format);
    va_list retry;
    va_copy(retry, arguments);
    const int length = std::vsnprintf(buffer.data(), buffer.size(), format, arguments);
    va_end(arguments);
    if (length < 0) {
        va_end(retry);
        return;
    }
    const auto size = static_cast<std::size_t>(length);
    if (size < buffer.size()) {
        out.append(buffer.data(), size);
    } else {
        // Figures as large as a float allows print 40 digits and more.
        std::vector<char> large(size + 1);
        std::vsnprintf(large.data(), large.size(), format, retry);
        out.append(large.data(), size);
    }
    va_end(retry);
}

void AppendFixed(std::string& out, double value, int precision, std::size_t width) {
    // A double's largest value has 309 integer digits; the precisions used stay small.
    std::array<char, 384> buffer;
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed, precision);
    if (error != std::errc{}) {
        AppendFormat(out, "%*.*f", static_cast<int>(width), precision, value);
        return;
    }
    const auto length = static_cast<std::size_t>(end - buffer.data());
    if (length < width) {
        out.append(width - length, ' ');
    }
    out.append(buffer.data(), length);
}

const char* ShortDatePattern(bool monthFirst) {
    return monthFirst ? "%m/%d/%y" : "%d/%m/%y";
}

std::string FormatShortDate(std::int64_t time, bool monthFirst) {
    return FormatLocalTime(time, ShortDatePattern(monthFirst));
}

std::string FormatLongDate(std::int64_t time, bool monthFirst) {
    return FormatDate(time, monthFirst);
}

std::string_view DateTexts::Of(std::int64_t time) {
    if (m_last == nullptr || time != m_lastTime) {
        auto found = m_texts.find(time);
        if (found == m_texts.end()) {
            found = m_texts.emplace(time, FormatLocalTime(time, m_pattern)).first;
        }
        m_lastTime = time;
        m_last = &found->second;
    }
    return *m_last;
}

std::string_view CutText(std::string_view text, std::size_t width) {
    return text.substr(0, CharacterPrefix(text, width).bytes);
}

void AppendColumn(std::string& out, std::string_view text, std::size_t width) {
    const Prefix prefix = CharacterPrefix(text, width);
    out.append(text.substr(0, prefix.bytes));
    out.append(width - prefix.characters, ' ');
}

void AppendRightAligned(std::string& out, std::string_view text, std::size_t width) {
    const Prefix prefix = CharacterPrefix(text, width);
    out.append(width - prefix.characters, ' ');
    out.append(text);
}

LotSelection SelectLots(std::string_view symbolText) {
    return LotSelection{StripOptionSuffix(symbolText), HasOptionSuffix(symbolText)};
}

#include "core/figures/FormNumbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// from_chars takes no "+" sign; a person may type one.
std::string_view WithoutPlus(std::string_view text) {
    if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+') {
        text.remove_prefix(1);
    }
    return text;
}

bool FitsFloat(double value) {
    return std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max();
}

// The longest number at the start of `text`; `used` tells how many characters it took.
std::optional<double> NumberAtStart(std::string_view text, std::size_t& used) {
    const std::string_view body = WithoutPlus(text);
    double value = 0.0;
    const auto [end, error] = std::from_chars(body.data(), body.data() + body.size(), value);
    if (error != std::errc() || !std::isfinite(value)) {
        return std::nullopt;
    }
    used = static_cast<std::size_t>(end - body.data()) + (text.size() - body.size());
    return value;
}

}  // namespace

std::optional<float> ParseFormNumber(std::string_view text) {
    text = Trimmed(text);
    std::size_t used = 0;
    const std::optional<double> value = NumberAtStart(text, used);
    if (!value || used != text.size() || !FitsFloat(*value)) {
        return std::nullopt;
    }
    return static_cast<float>(*value);
}

std::optional<int> ParseFormInteger(std::string_view text) {
    text = WithoutPlus(Trimmed(text));
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> LeadingNumber(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    std::size_t used = 0;
    return NumberAtStart(text, used);
}

std::optional<float> LeadingFloat(std::string_view text) {
    const std::optional<double> value = LeadingNumber(text);
    if (!value || !FitsFloat(*value)) {
        return std::nullopt;
    }
    return static_cast<float>(*value);
}

std::string FormatFormNumber(float value) {
    return FormatNumber("%.6g", static_cast<double>(value));
}

std::string FormatNumber(const char* format, double value) {
    char text[400];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

#include "reports/MoneyFormat.h"

#include <cctype>
#include <cstdio>

std::string FormatMoney(float amount) {
    const double value = amount;
    const int length = std::snprintf(nullptr, 0, "%.2f", value);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%.2f", value);
    text.resize(static_cast<std::size_t>(length));

    const std::size_t digitsBegin = text[0] == '-' ? 1 : 0;
    std::size_t digitsEnd = text.find('.');
    if (digitsEnd == std::string::npos) {
        digitsEnd = text.size();
    }
    // "inf" and "nan" have no digits to group.
    for (std::size_t i = digitsBegin; i < digitsEnd; ++i) {
        if (std::isdigit(static_cast<unsigned char>(text[i])) == 0) {
            return text;
        }
    }
    for (std::size_t at = digitsEnd; at > digitsBegin + 3; at -= 3) {
        text.insert(at - 3, 1, ',');
    }
    return text;
}

#include "core/reports/MoneyFormat.h"

#include <cctype>

#include "core/reports/ReportText.h"

std::string FormatMoney(float value) {
    std::string plain;
    AppendFormat(plain, "%.2f", static_cast<double>(value));

    const std::size_t digitsStart = !plain.empty() && plain.front() == '-' ? 1 : 0;
    std::size_t digitsEnd = digitsStart;
    while (digitsEnd < plain.size() &&
           std::isdigit(static_cast<unsigned char>(plain[digitsEnd])) != 0) {
        ++digitsEnd;
    }

    std::string grouped = plain.substr(0, digitsStart);
    for (std::size_t i = digitsStart; i < digitsEnd; ++i) {
        const std::size_t digitsLeft = digitsEnd - i;
        if (i != digitsStart && digitsLeft % 3 == 0) {
            grouped += ',';
        }
        grouped += plain[i];
    }
    grouped += plain.substr(digitsEnd);
    return grouped;
}

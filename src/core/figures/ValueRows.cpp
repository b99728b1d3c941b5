#include "core/figures/ValueRows.h"

#include <sstream>

#include "core/figures/FormNumbers.h"

namespace {

int Length(std::string_view text) {
    return static_cast<int>(text.size());
}

std::string Fixed4(float value) {
    return FormatNumber("%.4f", static_cast<double>(value));
}

constexpr std::size_t kKeptColumns = 28;

}  // namespace

std::string Pad(int n) {
    return n >= 1 ? std::string(static_cast<std::size_t>(n), ' ') : std::string();
}

std::string ValueInitialRow(std::string_view symbol, float shares, float price) {
    return ValueCommittedRow(symbol, Fixed4(shares), Fixed4(price));
}

std::string ValueCommittedRow(std::string_view symbol, std::string_view sharesText,
                              std::string_view entryText) {
    std::string row(symbol);
    row += Pad(17 - Length(symbol) - Length(sharesText));
    row += sharesText;
    row += Pad(11 - Length(entryText));
    row += entryText;
    return row;
}

std::string ValueCalculatedRow(std::string_view row, float value, float percent) {
    const std::string valueText = Fixed4(value);
    const std::string percentText = Fixed4(percent);
    std::string result(row.substr(0, kKeptColumns));
    result += Pad(13 - Length(valueText));
    result += valueText;
    result += Pad(9 - Length(percentText));
    result += percentText;
    return result;
}

ValueRowFields ReadValueRow(std::string_view row) {
    ValueRowFields fields;
    std::istringstream items{std::string(row)};
    std::string price;
    items >> fields.symbol >> fields.sharesText >> price;
    fields.price = LeadingFloat(price).value_or(0.0f);
    return fields;
}

float PercentOfTotal(float value, float total) {
    if (total == 0.0f) {
        return 0.0f;
    }
    return value / total * 100.0f;
}

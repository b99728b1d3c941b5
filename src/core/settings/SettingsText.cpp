#include "core/settings/SettingsText.h"

#include <cctype>
#include <climits>
#include <cstddef>

namespace {

const std::string kSettings = "Settings";
const std::string kAutoUpdate = "AutoUpdate";
const std::string kQuotes = "Quotes";

std::string PieGroupingText(PieGrouping grouping) {
    switch (grouping) {
        case PieGrouping::kByValue:
            return "Value";
        case PieGrouping::kBySymbol:
            return "Symbol";
        default:
            return "Percent";
    }
}

}  // namespace

std::optional<int> ParseDecimal(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t firstDigit = i;
    long long value = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            return std::nullopt;
        }
        ++i;
    }
    if (i == firstDigit) {
        return std::nullopt;
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX || value < INT_MIN) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

Settings ReadSettings(const SettingsLookup& lookup) {
    Settings settings;
    const auto text = [&](const std::string& section, const std::string& key) {
        return lookup(section, key);
    };

    // Files already written store "DMY" while month/day/year is shown: only "MDY" flips it.
    settings.dateMonthFirst = text(kSettings, "DateFormat") != std::optional<std::string>("MDY");

    settings.pieRecordCount = 20;
    if (const auto count = text(kSettings, "ShowCount")) {
        if (const auto value = ParseDecimal(*count)) {
            const auto asUnsigned = static_cast<unsigned>(*value);
            if (asUnsigned >= 5 && asUnsigned <= 30) {
                settings.pieRecordCount = *value;
            }
        }
    }

    const auto showBy = text(kSettings, "ShowBy");
    settings.pieGrouping = showBy == std::optional<std::string>("Value") ? PieGrouping::kByValue
                           : showBy == std::optional<std::string>("Symbol")
                               ? PieGrouping::kBySymbol
                               : PieGrouping::kByPercent;

    settings.ungroupOptions = text(kSettings, "SeperateO") != std::optional<std::string>("FALSE");

    // The stored source is never read back: every run starts with Yahoo!.
    settings.quoteSource = QuoteServer::kYahoo;

    settings.autoUpdate = text(kAutoUpdate, "Enabled") == std::optional<std::string>("TRUE");

    settings.updateInterval = 3;
    if (const auto timer = text(kAutoUpdate, "Timer")) {
        if (const auto value = ParseDecimal(*timer)) {
            settings.updateInterval = *value;
        }
    }

    if (const auto deadline = text(kQuotes, "Deadline")) {
        if (const auto value = ParseDecimal(*deadline);
            value && *value >= Settings::kShortestQuoteDeadline &&
            *value <= Settings::kLongestQuoteDeadline) {
            settings.quoteDeadlineSeconds = *value;
        }
    }
    return settings;
}

std::vector<SettingsEntry> SettingsEntries(const Settings& settings) {
    return {
        {kSettings, "DateFormat", settings.dateMonthFirst ? "DMY" : "MDY"},
        {kSettings, "ShowCount", std::to_string(settings.pieRecordCount)},
        {kSettings, "ShowBy", PieGroupingText(settings.pieGrouping)},
        {kSettings, "SeperateO", settings.ungroupOptions ? "TRUE" : "FALSE"},
        {kSettings, "WebSource", std::to_string(static_cast<int>(settings.quoteSource))},
        {kAutoUpdate, "Enabled", settings.autoUpdate ? "TRUE" : "FFALSE"},
        {kAutoUpdate, "Timer", std::to_string(settings.updateInterval)},
        {kQuotes, "Deadline", std::to_string(settings.quoteDeadlineSeconds)},
    };
}

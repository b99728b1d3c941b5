#include "ExportCommand.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string_view>

#include "OpenPortfolio.h"
#include "core/exchange/Exports.h"
#include "core/model/Clock.h"
#include "core/model/FileBytes.h"
#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/model/LocalTime.h"
#include "core/quotes/PriceHistory.h"
#include "core/settings/Settings.h"

namespace {

constexpr const char* kUsage =
    "Usage: velmora-cli export FILE transactions|holdings|gains [--date YYYY-MM-DD] "
    "[--year YYYY] [--output OUT]\n";

// The local midnight of a "YYYY-MM-DD" date; none for a text that is no date.
std::optional<std::int64_t> DateFromText(const std::string& text) {
    const std::optional<PriceDay> day = ParsePriceDay(text);
    int year = 0;
    int month = 0;
    int date = 0;
    if (!day || std::sscanf(text.c_str(), "%4d-%2d-%2d", &year, &month, &date) != 3) {
        return std::nullopt;
    }
    return LocalTimeOf(year, month, date);
}

int Say(const char* text) {
    std::fputs(text, stderr);
    return 2;
}

}  // namespace

int RunExportCommand(std::vector<std::string> arguments) {
    std::optional<std::string> dateText;
    std::optional<std::string> yearText;
    std::optional<std::string> output;
    if (!TakeValue(arguments, "--date", dateText) || !TakeValue(arguments, "--year", yearText) ||
        !TakeValue(arguments, "--output", output) || arguments.size() != 2) {
        return Say(kUsage);
    }
    const std::string& kind = arguments[1];
    if (kind != "transactions" && kind != "holdings" && kind != "gains") {
        return Say(kUsage);
    }
    const std::int64_t now = Clock::Now();
    const std::optional<std::int64_t> date = dateText ? DateFromText(*dateText) : now;
    if (!date) {
        return Say("velmora-cli: --date takes a date as YYYY-MM-DD\n");
    }
    int year = ToLocalDate(now).year;
    if (yearText) {
        if (std::sscanf(yearText->c_str(), "%d", &year) != 1 || year < 1970 || year > 2106 ||
            std::to_string(year) != *yearText) {
            return Say("velmora-cli: --year takes a year such as 2024\n");
        }
    }
    Settings settings;
    CKx7Doc doc(settings);
    Kx7ReadResult read;
    if (!OpenPortfolio(doc, arguments[0], read)) {
        return 1;
    }
    std::string text;
    if (kind == "transactions") {
        text = TransactionsCsv(doc);
    } else if (kind == "gains") {
        text = RealizedGainsCsv(doc, year);
    } else {
        // Today's holdings take the portfolio's prices; a past day's, the price history's.
        const bool today = ToLocalDate(*date) == ToLocalDate(now);
        const LoadedPriceHistory history =
            today ? LoadedPriceHistory{} : LoadPriceHistory(PriceHistoryPath(arguments[0]));
        text = HoldingsCsv(doc, *date, [&](std::string_view symbol) -> std::optional<float> {
            if (today) {
                const float price = doc.MarketPrice(symbol);
                return price > 0.0f ? std::optional<float>(price) : std::nullopt;
            }
            return history.history.CloseOn(symbol, PriceDayAt(*date));
        });
    }
    if (!output) {
        if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() ||
            std::fflush(stdout) != 0) {
            std::fprintf(stderr, "velmora-cli: the export could not be written in full.\n");
            return 1;
        }
        return 0;
    }
    const std::string error = WriteFileSafely(
        *output, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
        Backup::kNone);
    if (!error.empty()) {
        std::fprintf(stderr, "velmora-cli: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

#include "core/reports/AvailableReport.h"

#include "core/model/Clock.h"
#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"
#include "core/model/OptionSuffix.h"
#include "core/reports/ReportText.h"
#include "core/settings/Settings.h"

namespace {

constexpr std::size_t kSymbolColumn = 7;
// The all-symbols list is a little more generous than the share threshold elsewhere.
constexpr double kListedAllSymbols = 0.00009;

constexpr std::size_t kDateColumn = 10;

void AppendLotLine(std::string& out, std::string_view label, const CPurchase& lot,
                   DateTexts& dates) {
    AppendColumn(out, label, kSymbolColumn);
    AppendRightAligned(out, dates.Of(lot.date), kDateColumn);
    AppendFixed(out, lot.price, 4, 12);
    AppendFixed(out, lot.availableShares, 4, 14);
    out += "\r\n";
}

}  // namespace

std::string BuildAvailableReport(CKx7Doc& doc) {
    DateTexts dates(DatePattern(doc.AppSettings().dateMonthFirst));
    const std::int64_t now = Clock::Now();
    std::string text;
    std::string label;
    for (const auto& lot : doc.Purchases()) {
        if (lot->ExercisableShares(now) > kListedAllSymbols) {
            label.assign(lot->symbol);
            if (lot->IsGrant()) {
                label += kOptionSuffix;
            }
            AppendLotLine(text, label, *lot, dates);
        }
    }
    return text;
}

std::string BuildAvailableReportForSymbol(CKx7Doc& doc, std::string_view symbol) {
    DateTexts dates(DatePattern(doc.AppSettings().dateMonthFirst));
    const std::int64_t now = Clock::Now();
    const LotSelection selection = SelectLots(symbol);
    std::string text;
    for (const auto& lot : doc.Purchases()) {
        if (lot->symbol != selection.symbol || lot->IsGrant() != selection.optionsOnly) {
            continue;
        }
        if (HasShares(lot->ExercisableShares(now))) {
            AppendLotLine(text, symbol, *lot, dates);
        }
    }
    return text;
}

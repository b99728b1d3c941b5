#include "core/reports/AvailableReport.h"

#include "core/model/Clock.h"
#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"
#include "core/model/OptionSuffix.h"
#include "core/reports/ReportText.h"
#include "core/reports/TextInParts.h"
#include "core/settings/Settings.h"

namespace {

constexpr std::size_t kSymbolColumn = 7;
// The all-symbols list is a little more generous than the share threshold elsewhere.
constexpr double kListedAllSymbols = 0.00009;

constexpr std::size_t kDateColumn = 10;

void AppendLotLine(std::string& out, std::string_view label, const CPurchase& lot,
                   DateTexts& dates) {
    LineWriter line(out);
    line.Column(label, kSymbolColumn);
    line.RightAligned(dates.Of(lot.date), kDateColumn);
    line.Fixed(lot.price, 4, 12);
    line.Fixed(lot.availableShares, 4, 14);
    line.Text("\r\n");
}

}  // namespace

std::string BuildAvailableReport(CKx7Doc& doc) {
    DateTexts dates(DatePattern(doc.AppSettings().dateMonthFirst));
    const std::int64_t now = Clock::Now();
    std::string text = TakeReportText();
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
    std::string text = TakeReportText();
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

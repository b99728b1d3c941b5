#include "reports/AvailableReport.h"

#include "app/Settings.h"
#include "model/Clock.h"
#include "model/Kx7Doc.h"
#include "model/OptionSuffix.h"
#include "reports/ReportText.h"

namespace {

constexpr std::size_t kSymbolColumn = 7;
// The all-symbols list is a little more generous than the share threshold elsewhere.
constexpr double kListedAllSymbols = 0.00009;

void AppendLotLine(std::string& out, std::string_view label, const CPurchase& lot,
                   bool monthFirst) {
    AppendColumn(out, label, kSymbolColumn);
    const std::string date = FormatLongDate(lot.date, monthFirst);
    AppendFormat(out, "%10s%12.4f%14.4f\r\n", date.c_str(), static_cast<double>(lot.price),
                 static_cast<double>(lot.availableShares));
}

}  // namespace

std::string BuildAvailableReport(CKx7Doc& doc) {
    const bool monthFirst = doc.AppSettings().dateMonthFirst;
    const std::int64_t now = Clock::Now();
    std::string text;
    for (const auto& lot : doc.Purchases()) {
        if (lot->ExercisableShares(now) > kListedAllSymbols) {
            AppendLotLine(text, lot->IsGrant() ? WithOptionSuffix(lot->symbol) : lot->symbol, *lot,
                          monthFirst);
        }
    }
    return text;
}

std::string BuildAvailableReportForSymbol(CKx7Doc& doc, std::string_view symbol) {
    const bool monthFirst = doc.AppSettings().dateMonthFirst;
    const std::int64_t now = Clock::Now();
    const LotSelection selection = SelectLots(symbol);
    std::string text;
    for (const auto& lot : doc.Purchases()) {
        if (lot->symbol != selection.symbol || lot->IsGrant() != selection.optionsOnly) {
            continue;
        }
        if (HasShares(lot->ExercisableShares(now))) {
            AppendLotLine(text, symbol, *lot, monthFirst);
        }
    }
    return text;
}

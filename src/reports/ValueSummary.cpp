#include "reports/ValueSummary.h"

#include "app/Settings.h"
#include "model/Kx7Doc.h"
#include "reports/GainsReport.h"
#include "reports/MoneyFormat.h"
#include "reports/SymbolKindSums.h"

float PortfolioValue(const CKx7Doc& doc) {
    SymbolKindSums values(doc.AppSettings().ungroupOptions);
    for (const auto& lot : doc.Purchases()) {
        values.Add(*lot, lot->LotValue());
    }
    float total = 0.0f;
    for (const std::string& symbol : doc.SymbolNames(CKx7Doc::kHeldLots)) {
        total += values.Selected(symbol);
    }
    return total;
}

ValueSummary ComputeValueSummary(CKx7Doc& doc) {
    ValueSummary summary;
    summary.totalValue = PortfolioValue(doc);
    summary.realizedGain = BuildRealizedGains(doc).total;
    summary.potentialGain = BuildPotentialGains(doc).total;
    return summary;
}

std::string ValueSummaryFigures(const ValueSummary& summary) {
    return FormatMoney(summary.totalValue) + "\r\n" + FormatMoney(summary.realizedGain) + "\r\n" +
           FormatMoney(summary.potentialGain) + "\r\n";
}

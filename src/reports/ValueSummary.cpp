#include "reports/ValueSummary.h"

#include "app/Settings.h"
#include "model/Kx7Doc.h"
#include "reports/GainsReport.h"
#include "reports/MoneyFormat.h"

float PortfolioValue(const CKx7Doc& doc) {
    return doc.TotalValue();
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

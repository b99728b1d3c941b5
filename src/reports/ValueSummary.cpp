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
    // The value takes the lots' held shares as they were before the gains bring them up
    // to today.
    summary.totalValue = PortfolioValue(doc);
    const GainsTotals gains = BuildGainsTotals(doc);
    summary.realizedGain = gains.realized;
    summary.potentialGain = gains.potential;
    return summary;
}

std::string ValueSummaryFigures(const ValueSummary& summary) {
    return FormatMoney(summary.totalValue) + "\r\n" + FormatMoney(summary.realizedGain) + "\r\n" +
           FormatMoney(summary.potentialGain) + "\r\n";
}

#include "core/reports/ValueSummary.h"

#include <string>
#include <vector>

#include "core/model/Kx7Doc.h"
#include "core/reports/GainsFigures.h"
#include "core/reports/MoneyFormat.h"
#include "core/settings/Settings.h"

float PortfolioValue(const CKx7Doc& doc) {
    return doc.TotalValue();
}

ValueSummary ComputeValueSummary(CKx7Doc& doc) {
    // The held shares are brought up to today first, so the value counts the shares vested
    // or expired since they were stored, as the main view does; the gains reports would
    // count the same shares.
    doc.BringHeldSharesUpToDate();
    GainsFigures gains(doc.AppSettings().ungroupOptions);
    for (const auto& lot : doc.Purchases()) {
        gains.AddLot(*lot, lot->availableShares);
    }
    gains.AddDividends(doc.Dividends());
    const std::vector<std::string> symbols = gains.SymbolNames();
    return ValueSummary{doc.TotalValue(), gains.Total(GainsView::kRealized, symbols),
                        gains.Total(GainsView::kPotential, symbols)};
}

std::string ValueSummaryFigures(const ValueSummary& summary) {
    return FormatMoney(summary.totalValue) + "\r\n" + FormatMoney(summary.realizedGain) + "\r\n" +
           FormatMoney(summary.potentialGain) + "\r\n";
}

#include "core/reports/ValueSummary.h"

#include <cstdint>
#include <string>
#include <vector>

#include "core/model/Clock.h"
#include "core/model/Kx7Doc.h"
#include "core/model/TotalValueSums.h"
#include "core/reports/GainsFigures.h"
#include "core/reports/MoneyFormat.h"
#include "core/settings/Settings.h"

float PortfolioValue(const CKx7Doc& doc) {
    return doc.TotalValue();
}

ValueSummary ComputeValueSummary(CKx7Doc& doc) {
    // The held shares are brought up to today first, so the value counts the shares vested
    // or expired since they were stored, as the main view does; then one walk over the
    // lots gives the value and both gains.
    doc.BringHeldSharesUpToDate();
    const bool ungroupOptions = doc.AppSettings().ungroupOptions;
    TotalValueSums value(ungroupOptions);
    GainsFigures gains(ungroupOptions);
    const std::int64_t now = Clock::Now();
    for (const auto& lot : doc.Purchases()) {
        // Both number the symbols in the order of the lots: one looks the symbol up.
        const std::uint32_t slot = value.Add(*lot);
        gains.AddLotAsOf(*lot, now, slot);
    }
    gains.AddDividends(doc.Dividends());
    const std::vector<std::string> symbols = gains.SymbolNames();
    return ValueSummary{value.Total(), gains.Total(GainsView::kRealized, symbols),
                        gains.Total(GainsView::kPotential, symbols)};
}

std::string ValueSummaryFigures(const ValueSummary& summary) {
    return FormatMoney(summary.totalValue) + "\r\n" + FormatMoney(summary.realizedGain) + "\r\n" +
           FormatMoney(summary.potentialGain) + "\r\n";
}

#include "core/figures/DashboardFigures.h"

#include <cstdint>
#include <utility>

#include "core/model/Clock.h"
#include "core/model/Kx7Doc.h"
#include "core/reports/GainsFigures.h"
#include "core/settings/Settings.h"

DashboardFigures ComputeDashboard(CKx7Doc& doc, bool valueShown) {
    // Shares vested or expired since they were stored count in every figure, the first
    // one as well.
    doc.BringHeldSharesUpToDate();
    const Settings& settings = doc.AppSettings();
    SymbolFigures symbols(settings.ungroupOptions);
    GainsFigures gains(settings.ungroupOptions);
    const std::int64_t now = Clock::Now();
    for (const auto& lot : doc.Purchases()) {
        const std::uint32_t slot = symbols.Add(*lot);
        if (valueShown) {
            gains.AddLotAsOf(*lot, now, slot);
        }
    }
    symbols.Finish();

    DashboardFigures dashboard{.alerts = EvaluateAlerts(doc, symbols),
                               .values = {},
                               .snapshot = {},
                               .holdings = {},
                               .symbols = SymbolFigures(settings.ungroupOptions)};
    if (valueShown) {
        gains.AddDividends(doc.Dividends());
        dashboard.values.totalValue = symbols.TotalValue();
        dashboard.values.realizedGain = gains.Total(GainsView::kRealized, symbols.AllNames());
        dashboard.values.potentialGain = gains.Total(GainsView::kPotential, symbols.AllNames());
    }
    dashboard.symbols = std::move(symbols);
    dashboard.snapshot = TakePortfolioSnapshot(dashboard.symbols, settings.pieGrouping);
    dashboard.holdings = BuildHoldingRows(doc, dashboard.snapshot, dashboard.symbols);
    return dashboard;
}

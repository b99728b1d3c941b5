#include "core/figures/DashboardFigures.h"

#include <bit>
#include <cstdint>
#include <utility>

#include "core/model/Clock.h"
#include "core/model/Kx7Doc.h"
#include "core/reports/GainsFigures.h"
#include "core/settings/Settings.h"

DashboardFigures ComputeDashboard(CKx7Doc& doc, bool valueShown) {
    const Settings& settings = doc.AppSettings();
    SymbolFigures before(settings.ungroupOptions);
    GainsFigures gains(settings.ungroupOptions);
    const std::int64_t now = Clock::Now();
    bool heldChanged = false;
    for (const auto& lot : doc.Purchases()) {
        const std::uint32_t slot = before.Add(*lot);
        if (valueShown) {
            const auto previous = std::bit_cast<std::uint32_t>(lot->availableShares);
            gains.AddLotAsOf(*lot, now, slot);
            heldChanged =
                heldChanged || previous != std::bit_cast<std::uint32_t>(lot->availableShares);
        }
    }
    before.Finish();

    DashboardFigures dashboard{.alerts = EvaluateAlerts(doc, before),
                               .values = {},
                               .snapshot = {},
                               .holdings = {},
                               .symbols = SymbolFigures(settings.ungroupOptions)};
    if (valueShown) {
        gains.AddDividends(doc.Dividends());
        dashboard.values.totalValue = before.TotalValue();
        dashboard.values.realizedGain = gains.Total(GainsView::kRealized, before.AllNames());
        dashboard.values.potentialGain = gains.Total(GainsView::kPotential, before.AllNames());
    }
    dashboard.symbols = heldChanged ? SymbolFigures(doc) : std::move(before);
    dashboard.snapshot = TakePortfolioSnapshot(dashboard.symbols, settings.pieGrouping);
    dashboard.holdings = BuildHoldingRows(doc, dashboard.snapshot, dashboard.symbols);
    return dashboard;
}

#include "core/figures/DashboardFigures.h"

#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"

DashboardFigures ComputeDashboard(CKx7Doc& doc, bool valueShown) {
    // Shares vested or expired since they were stored count in every figure, the first
    // one as well.
    doc.BringHeldSharesUpToDate();
    DashboardFigures dashboard{.alerts = {},
                               .values = valueShown ? ComputeValueSummary(doc) : ValueSummary{},
                               .snapshot = {},
                               .holdings = {},
                               .symbols = SymbolFigures(doc)};
    dashboard.alerts = EvaluateAlerts(doc, dashboard.symbols);
    dashboard.snapshot = TakePortfolioSnapshot(dashboard.symbols, doc.AppSettings().pieGrouping);
    dashboard.holdings = BuildHoldingRows(doc, dashboard.snapshot, dashboard.symbols);
    return dashboard;
}

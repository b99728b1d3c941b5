#pragma once

#include <vector>

#include "core/figures/AlertRows.h"
#include "core/figures/PortfolioSnapshot.h"
#include "core/figures/SymbolFigures.h"
#include "core/reports/ValueSummary.h"

class CKx7Doc;

// Everything the main view draws of the document. Every lot's held shares are first
// brought up to today; then the value and the two gains are totalled (while the value
// summary is shown), the alerts fire and the snapshot of the holdings and the pie is taken.
struct DashboardFigures {
    std::vector<AlertRow> alerts;
    ValueSummary values;  // only while the value summary is shown
    PortfolioSnapshot snapshot;
    std::vector<HoldingRow> holdings;
    SymbolFigures symbols;  // as the lots stand today
};

// `valueShown`: the value summary is drawn.
DashboardFigures ComputeDashboard(CKx7Doc& doc, bool valueShown);

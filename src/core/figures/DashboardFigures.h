#pragma once

#include <vector>

#include "core/figures/AlertRows.h"
#include "core/figures/PortfolioSnapshot.h"
#include "core/figures/SymbolFigures.h"
#include "core/reports/ValueSummary.h"

class CKx7Doc;

// Everything one paint of the main view reads from the document. The paint fires the
// alerts, then (while the value summary is shown) totals the value and the two gains,
// which brings every lot's held shares up to today, and then takes the snapshot of the
// holdings and the pie. All of it comes from one walk over the lots; a second walk is
// made only when bringing the held shares up to today changed one.
struct DashboardFigures {
    std::vector<AlertRow> alerts;
    ValueSummary values;  // only while the value summary is shown
    PortfolioSnapshot snapshot;
    std::vector<HoldingRow> holdings;
    SymbolFigures symbols;  // as the lots stand after the paint
};

// `valueShown`: the value summary is drawn in this paint.
DashboardFigures ComputeDashboard(CKx7Doc& doc, bool valueShown);

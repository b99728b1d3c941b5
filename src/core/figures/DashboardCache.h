#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/figures/DashboardFigures.h"
#include "core/figures/PieLayout.h"

class CKx7Doc;

// What the main view draws from the document: the dashboard figures, the pie laid out
// from them and the quote direction of each slice.
struct PaintFigures {
    DashboardFigures dashboard;
    PieLayout pie;
    std::vector<int> sliceDirections;  // by slice
};

// Everything the figures depend on. The clock counts because vesting and expiry
// move with it; the exact second, since the figures may change at any second.
struct PaintFiguresKey {
    const CKx7Doc* document = nullptr;
    std::uint64_t revision = 0;
    std::int64_t now = 0;
    bool valueShown = false;
    bool ungroupOptions = false;
    PieGrouping pieGrouping = PieGrouping::kByPercent;
    int pieRecordCount = 0;

    friend bool operator==(const PaintFiguresKey&, const PaintFiguresKey&) = default;
};

PaintFiguresKey PaintFiguresKeyOf(const CKx7Doc& doc, bool valueShown);

// The view looks at its figures on every change and every second, far more often than
// what they depend on changes: this keeps the last figures and hands them back while
// their key holds. Computing them brings every lot's held shares up to the clock first, so
// the figures never count shares vested or expired since they were last stored, and fires
// the alerts; figures found current have nothing of either left to do.
class DashboardCache {
public:
    // `valueShown`: the value summary is drawn.
    const PaintFigures& Figures(CKx7Doc& doc, bool valueShown);
    // The figures computed last, or none yet.
    const PaintFigures* Current() const { return m_figures ? &*m_figures : nullptr; }

private:
    std::optional<PaintFiguresKey> m_key;
    std::optional<PaintFigures> m_figures;
};

// The figures computed afresh.
PaintFigures ComputePaintFigures(CKx7Doc& doc, bool valueShown);

#include "core/figures/DashboardCache.h"

#include "core/figures/ViewGeometry.h"
#include "core/model/Clock.h"
#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"

PaintFiguresKey PaintFiguresKeyOf(const CKx7Doc& doc, bool valueShown) {
    const Settings& settings = doc.AppSettings();
    return {.document = &doc,
            .revision = doc.Revision(),
            .now = Clock::Now(),
            .valueShown = valueShown,
            .ungroupOptions = settings.ungroupOptions,
            .pieGrouping = settings.pieGrouping,
            .pieRecordCount = settings.pieRecordCount};
}

PaintFigures ComputePaintFigures(CKx7Doc& doc, bool valueShown) {
    PaintFigures figures{
        .dashboard = ComputeDashboard(doc, valueShown), .pie = {}, .sliceDirections = {}};
    figures.pie = LayoutPie(figures.dashboard.snapshot, doc.AppSettings().pieRecordCount,
                            view_layout::kPieBody);
    for (const PieSlice& slice : figures.pie.slices) {
        figures.sliceDirections.push_back(figures.dashboard.symbols.QuoteDirection(slice.label));
    }
    return figures;
}

const PaintFigures& DashboardCache::Figures(CKx7Doc& doc, bool valueShown) {
    doc.BringHeldSharesUpToDate();
    const PaintFiguresKey key = PaintFiguresKeyOf(doc, valueShown);
    if (!m_figures || m_key != key) {
        // Dropped first, so that the old and the new figures are never held at once.
        m_figures.reset();
        m_figures.emplace(ComputePaintFigures(doc, valueShown));
        // The held shares are current, so computing the figures leaves the key as it was.
        m_key = key;
    }
    return *m_figures;
}

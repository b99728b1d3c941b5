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
    if (!m_figures || m_key != PaintFiguresKeyOf(doc, valueShown)) {
        // Dropped first, so that the old and the new figures are never held at once.
        m_figures.reset();
        m_figures.emplace(ComputePaintFigures(doc, valueShown));
        // Taken after: bringing the held shares up to today may have moved the revision.
        m_key = PaintFiguresKeyOf(doc, valueShown);
    }
    return *m_figures;
}

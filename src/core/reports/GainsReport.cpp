#include "core/reports/GainsReport.h"

#include <optional>
#include <string>
#include <vector>

#include "core/model/Clock.h"
#include "core/model/Kx7Doc.h"
#include "core/reports/GainsFigures.h"
#include "core/reports/ReportText.h"
#include "core/settings/Settings.h"

namespace {

// Brings every lot's available shares up to today, as the cost of the shares held is then
// taken from them, and gathers the figures.
GainsFigures FiguresToday(CKx7Doc& doc) {
    GainsFigures figures(doc.AppSettings().ungroupOptions);
    const std::int64_t now = Clock::Now();
    for (const auto& lot : doc.Purchases()) {
        const float held = lot->ExercisableShares(now);
        figures.AddLot(*lot, held);
    }
    figures.AddDividends(doc.Dividends());
    return figures;
}

GainsFigures FiguresAsHeld(const CKx7Doc& doc) {
    GainsFigures figures(doc.AppSettings().ungroupOptions);
    for (const auto& lot : doc.Purchases()) {
        figures.AddLot(*lot);
    }
    figures.AddDividends(doc.Dividends());
    return figures;
}

void AppendGainsLine(std::string& out, const std::string& symbol, const GainsRow& row) {
    out += symbol;
    for (const float figure : {row.cost, row.value, row.dividends, row.gain}) {
        out += '\t';
        AppendFixed(out, figure, 4);
    }
    out += '\t';
    // A gain on nothing paid has no percentage.
    if (row.cost == 0.0f) {
        out += "NA\t\r\n";
        return;
    }
    AppendFixed(out, row.gain / row.cost * 100.0f, 4);
    out += "\t\r\n";
}

GainsReport BuildGains(GainsView view, const GainsFigures& figures) {
    GainsReport report;
    for (const std::string& symbol : figures.SymbolNames()) {
        if (const std::optional<GainsRow> row = figures.Row(view, symbol)) {
            report.total += row->gain;
            AppendGainsLine(report.text, symbol, *row);
        }
    }
    return report;
}

}  // namespace

GainsReport BuildRealizedGains(const CKx7Doc& doc) {
    return BuildGains(GainsView::kRealized, FiguresAsHeld(doc));
}

GainsReport BuildPotentialGains(CKx7Doc& doc) {
    return BuildGains(GainsView::kPotential, FiguresToday(doc));
}

GainsReport BuildCombinedGains(CKx7Doc& doc) {
    return BuildGains(GainsView::kCombined, FiguresToday(doc));
}

GainsReport BuildGainsReport(CKx7Doc& doc, std::string_view view) {
    if (view == "Realized") {
        return BuildRealizedGains(doc);
    }
    if (view == "Potential") {
        return BuildPotentialGains(doc);
    }
    return BuildCombinedGains(doc);
}

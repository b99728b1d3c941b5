#include "core/figures/AlertRows.h"

#include "core/figures/PortfolioSnapshot.h"
#include "core/figures/SymbolFigures.h"
#include "core/model/Kx7Doc.h"

namespace {

bool IsSet(double threshold) {
    return threshold != kAlertNotSet;
}

}  // namespace

std::vector<AlertRow> EvaluateAlerts(CKx7Doc& doc) {
    return EvaluateAlerts(doc, SymbolFigures(doc));
}

std::vector<AlertRow> EvaluateAlerts(CKx7Doc& doc, const SymbolFigures& figures) {
    std::vector<AlertRow> rows;
    for (const std::string& symbol : figures.HeldNames()) {
        const AlertThresholds marks = doc.AlertOf(symbol);
        if (!IsSet(marks.lowMark) && !IsSet(marks.highMark) && !IsSet(marks.percentDown) &&
            !IsSet(marks.percentUp)) {
            continue;
        }
        const std::string shown = " " + symbol;
        const float price = figures.MarketPrice(symbol);
        int state = 0;
        if (IsSet(marks.lowMark) && price < marks.lowMark) {
            rows.push_back(
                {shown, FormatFixed2(marks.lowMark), FormatFixed2(price), view_palette::kAlertLow});
            state = -1;
        }
        if (IsSet(marks.highMark) && price > marks.highMark) {
            rows.push_back({shown, FormatFixed2(marks.highMark), FormatFixed2(price),
                            view_palette::kAlertHigh});
            state = 1;
        }
        // Without a cost of the shares held there is no percentage to compare; a lot
        // received for nothing would otherwise read as an infinite gain.
        const float cost = figures.CostHeld(symbol);
        if (cost > 0.0f) {
            const float percent = figures.Value(symbol) / cost * 100.0f;
            if (IsSet(marks.percentDown) && 100.0 - marks.percentDown > percent) {
                rows.push_back({shown, FormatFixed2(100.0f - percent) + "%",
                                FormatFixed2(marks.percentDown) + "%", view_palette::kAlertLow});
                state = -1;
            }
            if (IsSet(marks.percentUp) && percent > 100.0 + marks.percentUp) {
                rows.push_back({shown, FormatFixed2(percent - 100.0f) + "%",
                                FormatFixed2(marks.percentUp) + "%", view_palette::kAlertHigh});
                state = 1;
            }
        }
        doc.SetAlertState(symbol, state);
    }
    return rows;
}

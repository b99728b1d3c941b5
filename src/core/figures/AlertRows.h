#pragma once

#include <string>
#include <vector>

#include "core/figures/ViewGeometry.h"

class CKx7Doc;
class SymbolFigures;

// One fired price alert as the alert list shows it.
struct AlertRow {
    std::string symbol;   // " SYM"
    std::string target;   // the mark, or the percentage moved
    std::string current;  // the price, or the percentage threshold
    Rgb background;       // red for low mark and percent down, green for high and up

    friend bool operator==(const AlertRow&, const AlertRow&) = default;
};

// The one place price alerts fire: tests every held symbol's thresholds against its
// price (strictly: a price equal to a mark fires nothing), stores each symbol's alert
// state in the document and returns the rows in firing order.
std::vector<AlertRow> EvaluateAlerts(CKx7Doc& doc);
// The same from figures of the document's lots taken beforehand.
std::vector<AlertRow> EvaluateAlerts(CKx7Doc& doc, const SymbolFigures& figures);

#pragma once

#include <string>
#include <vector>

#include "core/figures/ViewGeometry.h"
#include "core/settings/Settings.h"

class CKx7Doc;
class SymbolFigures;

struct SnapshotEntry {
    std::string symbol;
    float value = 0.0f;
};

// The held symbols with their values in the order the holdings list and the pie chart
// share: by value, largest first, for pie grouping "Percent" and "Value"; by symbol for
// "Symbol". The row index picks the slice colour in both.
struct PortfolioSnapshot {
    std::vector<SnapshotEntry> entries;
    float total = 0.0f;
};

PortfolioSnapshot TakePortfolioSnapshot(const CKx7Doc& doc);
// The same from figures of the document's lots taken beforehand.
PortfolioSnapshot TakePortfolioSnapshot(const SymbolFigures& figures, PieGrouping pieGrouping);

// One row of the holdings list.
struct HoldingRow {
    std::string symbolText;  // " SYM", with "+" or "-" after it while an alert fires
    bool bold = false;       // an alert fires for the symbol
    Rgb background;          // the slice colour of the row
    std::string value;
    std::string price;
    std::string change;
    Rgb changeBackground;  // by quote direction

    friend bool operator==(const HoldingRow&, const HoldingRow&) = default;
};

std::vector<HoldingRow> BuildHoldingRows(const CKx7Doc& doc, const PortfolioSnapshot& snapshot);
std::vector<HoldingRow> BuildHoldingRows(const CKx7Doc& doc, const PortfolioSnapshot& snapshot,
                                         const SymbolFigures& figures);

// "%.2f" of a value as the lists show it.
std::string FormatFixed2(double value);

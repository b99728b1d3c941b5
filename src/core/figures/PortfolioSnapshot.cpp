#include "core/figures/PortfolioSnapshot.h"

#include <cstdio>
#include <utility>

#include "core/figures/SymbolFigures.h"
#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"

PortfolioSnapshot TakePortfolioSnapshot(const CKx7Doc& doc) {
    return TakePortfolioSnapshot(SymbolFigures(doc), doc.AppSettings().pieGrouping);
}

PortfolioSnapshot TakePortfolioSnapshot(const SymbolFigures& figures, PieGrouping pieGrouping) {
    PortfolioSnapshot snapshot;
    for (const std::string& symbol : figures.HeldNames()) {
        const float value = figures.Value(symbol);
        snapshot.total += value;
        snapshot.entries.push_back({symbol, value});
    }
    if (pieGrouping == PieGrouping::kBySymbol) {
        return snapshot;
    }
    // Exchange-sort rather than std::sort so equal values keep the order the holdings
    // have always had. It sorts the values with their positions, so that each of its many
    // swaps moves two numbers rather than two names.
    struct Ranked {
        float value;
        std::size_t position;
    };
    std::vector<Ranked> ranked;
    ranked.reserve(snapshot.entries.size());
    for (const SnapshotEntry& entry : snapshot.entries) {
        ranked.push_back({entry.value, ranked.size()});
    }
    for (std::size_t i = 0; i < ranked.size(); ++i) {
        for (std::size_t j = i; j < ranked.size(); ++j) {
            if (ranked[i].value < ranked[j].value) {
                std::swap(ranked[i], ranked[j]);
            }
        }
    }
    std::vector<SnapshotEntry> sorted;
    sorted.reserve(ranked.size());
    for (const Ranked& entry : ranked) {
        sorted.push_back(std::move(snapshot.entries[entry.position]));
    }
    snapshot.entries = std::move(sorted);
    return snapshot;
}

std::string FormatFixed2(double value) {
    const int length = std::snprintf(nullptr, 0, "%.2f", value);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%.2f", value);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::vector<HoldingRow> BuildHoldingRows(const CKx7Doc& doc, const PortfolioSnapshot& snapshot) {
    return BuildHoldingRows(doc, snapshot, SymbolFigures(doc));
}

std::vector<HoldingRow> BuildHoldingRows(const CKx7Doc& doc, const PortfolioSnapshot& snapshot,
                                         const SymbolFigures& figures) {
    std::vector<HoldingRow> rows;
    rows.reserve(snapshot.entries.size());
    int index = 0;
    for (const SnapshotEntry& entry : snapshot.entries) {
        HoldingRow row;
        const int state = doc.AlertState(entry.symbol);
        row.symbolText = " " + entry.symbol;
        if (state > 0) {
            row.symbolText += '+';
        } else if (state < 0) {
            row.symbolText += '-';
        }
        row.bold = state != 0;
        row.background = view_palette::SliceColour(index++);
        row.value = FormatFixed2(entry.value);
        row.price = FormatFixed2(figures.MarketPrice(entry.symbol));
        row.change = FormatFixed2(figures.QuoteChange(entry.symbol));
        const int direction = figures.QuoteDirection(entry.symbol);
        row.changeBackground = direction == 1    ? view_palette::kRising
                               : direction == -1 ? view_palette::kFalling
                                                 : view_palette::kUnchanged;
        rows.push_back(std::move(row));
    }
    return rows;
}

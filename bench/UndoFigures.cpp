#include "UndoFigures.h"

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchPortfolios.h"
#include "core/model/Kx7Doc.h"

namespace {

constexpr int kSteps = 100;
constexpr std::size_t kLotsPerSale = 10;

std::size_t HeapInUse() {
    return mallinfo2().uordblks;
}

// Shares held by the first ten lots of the busiest symbol with ten lots still holding
// shares: a FIFO sale of that many takes from exactly those lots.
float TenLotShares(const CKx7Doc& doc, const std::string& symbol) {
    float shares = 0.0f;
    std::size_t lots = 0;
    for (const auto& lot : doc.Purchases()) {
        if (lots < kLotsPerSale && lot->symbol == symbol && !lot->IsGrant() &&
            HasShares(lot->availableShares)) {
            shares += lot->availableShares;
            ++lots;
        }
    }
    return lots == kLotsPerSale ? shares : 0.0f;
}

}  // namespace

void PrintUndoFigures() {
    // Run last: the portfolio keeps the sales.
    CKx7Doc& doc = BenchPortfolio(kLifetime);
    doc.ClearHistory();
    const auto sell = [&doc](const std::string& symbol, float shares) {
        doc.Sell({.symbol = symbol,
                  .shares = shares,
                  .price = 10.0f,
                  .date = 0,
                  .commission = 1.0f,
                  .method = SaleMethod::kFifo,
                  .comment = ""});
    };

    // Each step sells ten lots of a symbol still holding them.
    std::vector<std::string> symbols = doc.SymbolNames(SymbolFilter::kHeldLots);
    std::erase_if(symbols,
                  [&doc](const std::string& symbol) { return TenLotShares(doc, symbol) == 0.0f; });
    if (symbols.empty()) {
        std::printf("undo: no symbol holds ten lots\n");
        return;
    }
    const std::size_t before = HeapInUse();
    for (int step = 0; step < kSteps; ++step) {
        const std::string& symbol = symbols[static_cast<std::size_t>(step) % symbols.size()];
        sell(symbol, TenLotShares(doc, symbol));
    }
    const std::size_t withSteps = HeapInUse();
    std::vector<double> undoMs;
    for (int step = 0; step < kSteps; ++step) {
        const auto start = std::chrono::steady_clock::now();
        doc.Undo();
        undoMs.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    // Redone and forgotten, what the steps held is the heap they took beyond their records.
    while (doc.CanRedo()) {
        doc.Redo();
    }
    const std::size_t withRecords = HeapInUse();
    doc.ClearHistory();
    const std::size_t withoutSteps = HeapInUse();
    std::sort(undoMs.begin(), undoMs.end());
    std::printf(
        "\nundo on \"lifetime\": %d steps of %zu-lot sales hold %.2f MB of history "
        "(heap %.2f MB before the sales, %.2f MB after); one undo takes %.3f ms (median), "
        "%.3f ms at most\n",
        kSteps, kLotsPerSale, static_cast<double>(withRecords - withoutSteps) / (1024.0 * 1024.0),
        static_cast<double>(before) / (1024.0 * 1024.0),
        static_cast<double>(withSteps) / (1024.0 * 1024.0), undoMs[undoMs.size() / 2],
        undoMs.back());
}

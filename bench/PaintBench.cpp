// The document queries of one paint of the main view, beside one bare pass over every lot
// and sale of the same portfolio: as the view repaints an unchanged portfolio, and after
// every change.

#include <benchmark/benchmark.h>

#include "BenchPortfolios.h"
#include "core/figures/DashboardCache.h"
#include "core/figures/TimelineLayout.h"
#include "core/figures/ViewGeometry.h"
#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"

namespace {

// What the view asks of the document in one paint, in its order.
void PaintQueries(CKx7Doc& doc, DashboardCache& cache) {
    const PaintFigures& figures = cache.Figures(doc, doc.AppSettings().valueShown);
    benchmark::DoNotOptimize(&figures);
    auto timeline = LayoutTimeline(doc, view_layout::kTimelineBody);
    benchmark::DoNotOptimize(timeline);
}

void BM_Paint_Queries(benchmark::State& state) {
    CKx7Doc& doc = BenchPortfolio(state.range(0));
    DashboardCache cache;
    for (auto _ : state) {
        PaintQueries(doc, cache);
    }
}

// Each paint finds the portfolio changed.
void BM_Paint_QueriesChanged(benchmark::State& state) {
    CKx7Doc& doc = BenchPortfolio(state.range(0));
    const bool modified = doc.IsModified();
    DashboardCache cache;
    for (auto _ : state) {
        doc.SetModified();
        PaintQueries(doc, cache);
    }
    doc.SetModified(modified);
}

// Reads one figure of every lot and every sale: the least any paint could do.
void BM_Paint_BarePass(benchmark::State& state) {
    const CKx7Doc& doc = BenchPortfolio(state.range(0));
    for (auto _ : state) {
        float sum = 0.0f;
        for (const auto& lot : doc.Purchases()) {
            sum += lot->availableShares;
            for (const auto& sale : lot->sales) {
                sum += sale->shares;
            }
        }
        benchmark::DoNotOptimize(sum);
    }
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
    BothSizes(benchmark, 0.3);
}

BENCHMARK(BM_Paint_Queries)->Apply(Sizes);
BENCHMARK(BM_Paint_QueriesChanged)->Apply(Sizes);
BENCHMARK(BM_Paint_BarePass)->Apply(Sizes);

}  // namespace

// The document queries of one paint of the main view, beside one bare pass over every lot
// and sale of the same portfolio.

#include <benchmark/benchmark.h>

#include "BenchPortfolios.h"
#include "app/Settings.h"
#include "mainwindow/DashboardFigures.h"
#include "mainwindow/PieLayout.h"
#include "mainwindow/TimelineLayout.h"
#include "mainwindow/ViewGeometry.h"
#include "model/Kx7Doc.h"

namespace {

// What the view asks of the document in one paint, in its order.
void PaintQueries(CKx7Doc& doc) {
    const DashboardFigures figures = ComputeDashboard(doc, doc.AppSettings().valueShown);
    const PieLayout pie =
        LayoutPie(figures.snapshot, doc.AppSettings().pieRecordCount, view_layout::kPieBody);
    std::vector<int> directions;
    for (const PieSlice& slice : pie.slices) {
        directions.push_back(figures.symbols.QuoteDirection(slice.label));
    }
    benchmark::DoNotOptimize(directions);
    auto timeline = LayoutTimeline(doc, view_layout::kTimelineBody);
    benchmark::DoNotOptimize(timeline);
}

void BM_Paint_Queries(benchmark::State& state) {
    CKx7Doc& doc = BenchPortfolio(state.range(0));
    for (auto _ : state) {
        PaintQueries(doc);
    }
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
    benchmark->ArgName("size")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(0.3);
}

BENCHMARK(BM_Paint_Queries)->Apply(Sizes);
BENCHMARK(BM_Paint_BarePass)->Apply(Sizes);

}  // namespace

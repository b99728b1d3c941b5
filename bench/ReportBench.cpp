// Builds every report over the "lifetime" and the "tenth" portfolio, each time from a
// cold cache.

#include <benchmark/benchmark.h>

#include <optional>
#include <string>

#include "BenchPortfolios.h"
#include "core/model/Kx7Doc.h"
#include "core/reports/AvailableReport.h"
#include "core/reports/DetailsReport.h"
#include "core/reports/GainsReport.h"
#include "core/reports/HistoryReport.h"
#include "core/reports/OverviewReport.h"
#include "core/reports/SummaryReport.h"
#include "core/reports/TaxReport.h"
#include "core/reports/ValueSummary.h"

namespace {

// The first fund, bought every month for thirty years: the largest symbol.
constexpr const char* kBusySymbol = "AAA";

template <typename Build>
void Measure(benchmark::State& state, Build build) {
    CKx7Doc& doc = BenchPortfolio(state.range(0));
    std::size_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        EvictCaches();
        state.ResumeTiming();
        const std::string text = build(doc);
        benchmark::DoNotOptimize(text);
        bytes = text.size();
    }
    state.counters["text_bytes"] = static_cast<double>(bytes);
}

void BM_Report_TaxAllYears(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return BuildTaxReport(doc, "Show All", true, true, false); });
}

void BM_Report_TaxCsv(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return BuildTaxReport(doc, "Show All", false, true, true); });
}

void BM_Report_TaxOneYear(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return BuildTaxReport(doc, "2012", true, true, false); });
}

void BM_Report_Summary(benchmark::State& state) {
    Measure(state,
            [](CKx7Doc& doc) { return BuildSummaryReport(doc, kBusySymbol, true, true, true); });
}

void BM_Report_GainsRealized(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return BuildRealizedGains(doc).text; });
}

void BM_Report_GainsPotential(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return BuildPotentialGains(doc).text; });
}

void BM_Report_GainsCombined(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return BuildCombinedGains(doc).text; });
}

void BM_Report_HistoryAll(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return BuildHistoryReport(doc, std::nullopt); });
}

void BM_Report_AvailableAll(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return BuildAvailableReport(doc); });
}

void BM_Report_AvailableForSymbol(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return BuildAvailableReportForSymbol(doc, kBusySymbol); });
}

void BM_Report_OverviewAll(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return BuildOverviewOfSymbols(doc, doc.SymbolNames()); });
}

void BM_Report_DetailsList(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return BuildDetailsList(doc); });
}

void BM_Report_ValueSummary(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return ValueSummaryFigures(ComputeValueSummary(doc)); });
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
    BothSizes(benchmark, 0.3);
}

BENCHMARK(BM_Report_TaxAllYears)->Apply(Sizes);
BENCHMARK(BM_Report_TaxCsv)->Apply(Sizes);
BENCHMARK(BM_Report_TaxOneYear)->Apply(Sizes);
BENCHMARK(BM_Report_Summary)->Apply(Sizes);
BENCHMARK(BM_Report_GainsRealized)->Apply(Sizes);
BENCHMARK(BM_Report_GainsPotential)->Apply(Sizes);
BENCHMARK(BM_Report_GainsCombined)->Apply(Sizes);
BENCHMARK(BM_Report_HistoryAll)->Apply(Sizes);
BENCHMARK(BM_Report_AvailableAll)->Apply(Sizes);
BENCHMARK(BM_Report_AvailableForSymbol)->Apply(Sizes);
BENCHMARK(BM_Report_OverviewAll)->Apply(Sizes);
BENCHMARK(BM_Report_DetailsList)->Apply(Sizes);
BENCHMARK(BM_Report_ValueSummary)->Apply(Sizes);

}  // namespace

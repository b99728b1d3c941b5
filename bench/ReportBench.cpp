// Builds every report over generated portfolios of 20,000 and 200,000 lots and sales.

#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "LargePortfolio.h"
#include "ScalingReporter.h"
#include "app/Settings.h"
#include "model/Clock.h"
#include "model/Kx7Doc.h"
#include "model/LocalTime.h"
#include "reports/AvailableReport.h"
#include "reports/DetailsReport.h"
#include "reports/GainsReport.h"
#include "reports/HistoryReport.h"
#include "reports/OverviewReport.h"
#include "reports/SummaryReport.h"
#include "reports/TaxReport.h"
#include "reports/ValueSummary.h"

namespace {

// One portfolio per size, built once and kept for every benchmark of that size.
CKx7Doc& Portfolio(int records) {
    static Settings settings;
    static std::map<int, std::unique_ptr<CKx7Doc>> portfolios;
    std::unique_ptr<CKx7Doc>& doc = portfolios[records];
    if (!doc) {
        doc = std::make_unique<CKx7Doc>(settings);
        BuildLargePortfolio(*doc, records);
    }
    return *doc;
}

// Overwrites more memory than the processor caches hold, so that the next report reads
// the portfolio from memory, as it does when a dialog opens after other work.
void EvictCaches() {
    static std::vector<char> buffer(64u << 20);
    static char fill = 0;
    ++fill;
    std::memset(buffer.data(), fill, buffer.size());
    benchmark::ClobberMemory();
}

// state.range(1): 1 to read the portfolio from a cold cache on every build.
template <typename Build>
void Measure(benchmark::State& state, Build build) {
    CKx7Doc& doc = Portfolio(static_cast<int>(state.range(0)));
    const bool cold = state.range(1) != 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            EvictCaches();
            state.ResumeTiming();
        }
        const auto text = build(doc);
        benchmark::DoNotOptimize(text);
        bytes = text.size();
    }
    state.counters["text_bytes"] = static_cast<double>(bytes);
}

void BM_TaxAllYears(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return BuildTaxReport(doc, "Show All", true, true, false); });
}

void BM_TaxCsvUngrouped(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return BuildTaxReport(doc, "Show All", false, true, true); });
}

void BM_TaxOneYear(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return BuildTaxReport(doc, "2012", true, true, false); });
}

void BM_SummaryByDate(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return BuildSummaryReport(doc, "S007", true, true, true); });
}

void BM_SummaryByPurchase(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return BuildSummaryReport(doc, "S007", false, true, true); });
}

void BM_GainsCombined(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return BuildCombinedGains(doc).text; });
}

void BM_GainsRealized(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return BuildRealizedGains(doc).text; });
}

void BM_GainsPotential(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return BuildPotentialGains(doc).text; });
}

void BM_HistoryAll(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return BuildHistoryReport(doc, std::nullopt); });
}

void BM_AvailableAll(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return BuildAvailableReport(doc); });
}

void BM_AvailableForSymbol(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return BuildAvailableReportForSymbol(doc, "S007-O"); });
}

void BM_OverviewAllSymbols(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return BuildOverviewOfSymbols(doc, doc.SymbolNames()); });
}

void BM_DetailsList(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return BuildDetailsList(doc); });
}

void BM_ValueSummary(benchmark::State& state) {
    Measure(state, [](CKx7Doc& doc) { return ValueSummaryFigures(ComputeValueSummary(doc)); });
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgNames({"records", "cold"})
        ->Args({20000, 0})
        ->Args({200000, 0})
        ->Args({20000, 1})
        ->Args({200000, 1})
        ->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_TaxAllYears)->Apply(Sizes);
BENCHMARK(BM_TaxCsvUngrouped)->Apply(Sizes);
BENCHMARK(BM_TaxOneYear)->Apply(Sizes);
BENCHMARK(BM_SummaryByDate)->Apply(Sizes);
BENCHMARK(BM_SummaryByPurchase)->Apply(Sizes);
BENCHMARK(BM_GainsRealized)->Apply(Sizes);
BENCHMARK(BM_GainsPotential)->Apply(Sizes);
BENCHMARK(BM_GainsCombined)->Apply(Sizes);
BENCHMARK(BM_HistoryAll)->Apply(Sizes);
BENCHMARK(BM_AvailableAll)->Apply(Sizes);
BENCHMARK(BM_AvailableForSymbol)->Apply(Sizes);
BENCHMARK(BM_OverviewAllSymbols)->Apply(Sizes);
BENCHMARK(BM_DetailsList)->Apply(Sizes);
BENCHMARK(BM_ValueSummary)->Apply(Sizes);

}  // namespace

int main(int argc, char** argv) {
    // Vesting depends on the day; pin it so every run values the same options.
    Clock::SetFixed(LocalTimeOf(2024, 6, 15, 12));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    ScalingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.AllWithinBound() ? 0 : 1;
}

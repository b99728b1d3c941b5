// Opening and saving .kx7 files as the program does: the whole file read and loaded into a
// new document, and the document stored and written safely over a file (flushed to the
// disk, then renamed), each time from a cold cache.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "BenchPortfolios.h"
#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/settings/Settings.h"

namespace {

void BM_Load(benchmark::State& state) {
    const std::string& path = BenchPortfolioFile(state.range(0));
    const Settings settings;
    for (auto _ : state) {
        state.PauseTiming();
        EvictCaches();
        state.ResumeTiming();
        auto doc = std::make_unique<CKx7Doc>(settings);
        const Kx7ReadResult result = OpenKx7File(*doc, path);
        if (!result.Ok()) {
            state.SkipWithError(result.error.c_str());
        }
        // Closing the portfolio is another action.
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
}

void BM_Save(benchmark::State& state) {
    const CKx7Doc& doc = BenchPortfolio(state.range(0));
    const std::string path = BenchScratchFile("save.kx7");
    for (auto _ : state) {
        state.PauseTiming();
        EvictCaches();
        state.ResumeTiming();
        if (!WriteKx7File(doc, path).empty()) {
            state.SkipWithError("save failed");
        }
    }
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
    BothSizes(benchmark, 0.5);
}

BENCHMARK(BM_Load)->Apply(Sizes);
BENCHMARK(BM_Save)->Apply(Sizes);

}  // namespace

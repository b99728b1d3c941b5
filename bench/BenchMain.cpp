// Runs every benchmark and prints one table of the figures and the targets.

#include <benchmark/benchmark.h>

#include <string_view>

#include "BenchPortfolios.h"
#include "BenchTable.h"
#include "PeakMemory.h"
#include "core/model/Clock.h"
#include "core/model/LocalTime.h"

int main(int argc, char** argv) {
    // Vesting depends on the day; pin it so every run values the same options.
    Clock::SetFixed(LocalTimeOf(2024, 6, 15, 12));
    if (argc == 2 && std::string_view(argv[1]).starts_with(kPeakOption)) {
        return MeasurePeakHere(std::string(argv[1] + kPeakOption.size()));
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    BenchTable table;
    // The host of this kind of virtual machine slows it by a third or more for seconds or
    // minutes at a time, and takes a core away now and then. So every benchmark runs once
    // in each of several rounds spread over the whole run, its two sizes one after the
    // other: see BenchTable for how the rounds are judged.
    constexpr int kRounds = 5;
    for (int round = 0; round < kRounds; ++round) {
        table.StartRound(round);
        benchmark::RunSpecifiedBenchmarks(&table);
    }
    if (const auto peak = MeasurePeakInChild(BenchPortfolioFile(1))) {
        table.SetPeakMemory(peak->peakBytes, peak->fieldBytes);
    }
    table.Print();
    benchmark::Shutdown();
    return table.AllMet() ? 0 : 1;
}

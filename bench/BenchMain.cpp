// Runs every benchmark and prints one table of the times and the targets.

#include <benchmark/benchmark.h>

#include "BenchTable.h"
#include "UndoFigures.h"
#include "core/model/Clock.h"
#include "core/model/LocalTime.h"

int main(int argc, char** argv) {
    // Vesting depends on the day; pin it so every run values the same options.
    Clock::SetFixed(LocalTimeOf(2024, 6, 15, 12));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    BenchTable table;
    // Each round runs every benchmark once, its two sizes one after the other, so that a
    // slow spell of the host falls on one round rather than on one benchmark.
    constexpr int kRounds = 3;
    for (int round = 0; round < kRounds; ++round) {
        table.StartRound(round);
        benchmark::RunSpecifiedBenchmarks(&table);
    }
    const bool allMet = table.Print();
    PrintUndoFigures();
    benchmark::Shutdown();
    return allMet ? 0 : 1;
}

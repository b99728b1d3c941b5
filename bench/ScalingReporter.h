#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// Prints the runs as the console reporter does, then, for every benchmark run at two
// sizes, how many times the processor time of the smaller size the larger one took
// (processor time, because the machine may be shared).
class ScalingReporter final : public benchmark::ConsoleReporter {
public:
    // The largest time ratio allowed for ten times the records.
    static constexpr double kMaxRatio = 15.0;

    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

    // Whether every benchmark stayed within kMaxRatio.
    bool AllWithinBound() const { return m_withinBound; }

private:
    // Processor seconds per iteration, by benchmark and record count.
    std::map<std::string, std::map<long, double>> m_times;
    bool m_withinBound = true;
};

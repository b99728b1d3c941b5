#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// Collects every run and prints one table: each benchmark's time per iteration for the
// "lifetime" and the "extreme" portfolio, then the targets, each judged on figures of
// this same run (ratios, so that they hold on any machine). The targets judge wall time,
// what a person waits for, since a large report is written on several cores at once; the
// processor time of all the process's threads is printed beside it, so that work moved to
// other cores is not hidden.
//
// The benchmarks run in rounds. A figure is the fastest of its rounds: what a host adds
// is only ever more time. The growth from "lifetime" to "extreme" is the median of the
// rounds' own growths, each taken from two runs made one after the other, so that a slow
// spell of the host between them cannot pass for growth.
class BenchTable final : public benchmark::ConsoleReporter {
public:
    // Milliseconds of wall or processor time per iteration, by round.
    using Rounds = std::map<int, double>;
    // By benchmark and size.
    using Figures = std::map<std::string, std::map<int, Rounds>>;

    // The runs that follow belong to round `round`.
    void StartRound(int round) { m_round = round; }

    bool ReportContext(const Context& context) override;
    void ReportRuns(const std::vector<Run>& runs) override;
    // The table waits for the peak memory, measured after the runs: see Print.
    void Finalize() override {}
    void Print();

    // The peak memory of a process that loaded the "extreme" file, and the bytes of the
    // records' fields, when measured.
    void SetPeakMemory(std::uint64_t peakBytes, std::uint64_t fieldBytes);
    // Whether every target was met.
    bool AllMet() const { return m_allMet; }

private:
    std::optional<double> Milliseconds(const std::string& name, int size) const;
    std::optional<double> ProcessorMilliseconds(const std::string& name, int size) const;
    std::optional<double> Growth(const std::string& name) const;
    void PrintTimes() const;
    void Judge(const std::string& what, std::optional<double> value, double limit,
               const char* unit);

    Figures m_times;
    // Of all threads.
    Figures m_processorTimes;
    int m_round = 0;
    std::vector<std::string> m_order;
    std::uint64_t m_peakBytes = 0;
    std::uint64_t m_fieldBytes = 0;
    bool m_allMet = true;
};

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
class BenchTable final : public benchmark::ConsoleReporter {
public:
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
    void PrintTimes() const;
    void Judge(const std::string& what, std::optional<double> value, double limit,
               const char* unit);

    // Milliseconds of wall time per iteration, by benchmark and size.
    std::map<std::string, std::map<int, double>> m_times;
    // Milliseconds of processor time of all threads per iteration, likewise.
    std::map<std::string, std::map<int, double>> m_processorTimes;
    std::vector<std::string> m_order;
    std::uint64_t m_peakBytes = 0;
    std::uint64_t m_fieldBytes = 0;
    bool m_allMet = true;
};

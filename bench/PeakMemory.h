#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The peak memory of loading a portfolio file, measured in a process of its own so that
// nothing else the benchmarks hold counts.
struct PeakMemory {
    std::uint64_t peakBytes = 0;   // the process's high-water resident size (VmHWM)
    std::uint64_t fieldBytes = 0;  // RecordFieldBytes of the loaded portfolio
};

// The option that makes the benchmark program measure a file instead of benchmarking.
inline constexpr std::string_view kPeakOption = "--measure_peak=";

// Loads `path` in this process and prints "<peak bytes> <field bytes>"; returns the exit
// status.
int MeasurePeakHere(const std::string& path);

// Runs this program with kPeakOption on `path` and reads what it printed.
std::optional<PeakMemory> MeasurePeakInChild(const std::string& path);

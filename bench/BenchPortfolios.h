#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "LargePortfolio.h"

class CKx7Doc;

// The generated portfolios the benchmarks share, by benchmark argument: 0 "lifetime",
// 1 "tenth". Each is generated and stored to a file in a temporary folder once per run,
// and opened from that file once.
inline constexpr std::int64_t kLifetime = 0;
inline constexpr std::int64_t kTenth = 1;
const PortfolioSize& BenchSize(std::int64_t index);
CKx7Doc& BenchPortfolio(std::int64_t index);
// The portfolio's .kx7 file.
const std::string& BenchPortfolioFile(std::int64_t index);
// A path in the same folder for files the benchmarks write.
std::string BenchScratchFile(const std::string& name);

// Overwrites more memory than the processor caches hold, so that the next action reads its
// data from memory, as it does when a person asks for it after other work. Both sizes then
// start alike, and their ratio shows how the work grows rather than what fits in a cache.
void EvictCaches();

// Runs a benchmark over both portfolios, in milliseconds of wall time, for at least
// `minSeconds` each.
void BothSizes(benchmark::internal::Benchmark* benchmark, double minSeconds);

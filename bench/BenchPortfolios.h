#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "LargePortfolio.h"

class CKx7Doc;

// The generated portfolios the benchmarks share, by benchmark argument: 0 "lifetime",
// 1 "extreme". Each is generated and stored to a file in a temporary folder once per run,
// and opened from that file once.
const PortfolioSize& BenchSize(std::int64_t index);
CKx7Doc& BenchPortfolio(std::int64_t index);
// The portfolio's .kx7 file.
const std::string& BenchPortfolioFile(std::int64_t index);
// A path in the same folder for files the benchmarks write.
std::string BenchScratchFile(const std::string& name);

// The bytes the records' fields take in memory: each record's own object, plus the
// characters of its texts that do not fit inside their string objects. Allocator headers,
// the lists of pointers that hold the records and the file buffer are left out.
std::uint64_t RecordFieldBytes(const CKx7Doc& doc);

// Overwrites more memory than the processor caches hold, so that the next measurement
// reads its data from memory, as a report does when a dialog opens after other work.
void EvictCaches();

// Runs a benchmark over both portfolios in milliseconds, timed by the wall clock with the
// processor time of all threads beside it, for at least `minSeconds` each, after a warm-up
// that is not timed.
void BothSizes(benchmark::internal::Benchmark* benchmark, double minSeconds);

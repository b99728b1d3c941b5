// Loading and saving .kx7 files, each beside its baseline: the same bytes read from the
// page cache into memory, or written to a file, with nothing else done.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

#include "BenchPortfolios.h"
#include "core/model/FileBytes.h"
#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/settings/Settings.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::perror(what);
    std::exit(2);
}

// The whole file into a buffer of its size, nothing initialised first.
std::size_t ReadPlainly(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        Fail("open");
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        Fail("fstat");
    }
    const auto size = static_cast<std::size_t>(status.st_size);
    const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(size);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, buffer.get() + done, size - done);
        if (got <= 0) {
            Fail("read");
        }
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    benchmark::DoNotOptimize(buffer.get());
    return done;
}

// Replaces the file's contents without flushing them to the disk.
void WritePlainly(const std::string& path, std::span<const std::uint8_t> bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        Fail("open");
    }
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written <= 0) {
            Fail("write");
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    ::close(fd);
}

const Settings& LoadSettings() {
    static const Settings settings;
    return settings;
}

void BM_File_Load(benchmark::State& state) {
    const std::string& path = BenchPortfolioFile(state.range(0));
    ReadPlainly(path);  // in the page cache, as the baseline finds it
    for (auto _ : state) {
        auto doc = std::make_unique<CKx7Doc>(LoadSettings());
        const Kx7ReadResult result = OpenKx7File(*doc, path);
        if (!result.Ok()) {
            state.SkipWithError(result.error.c_str());
        }
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
}

void BM_File_ReadBaseline(benchmark::State& state) {
    const std::string& path = BenchPortfolioFile(state.range(0));
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = ReadPlainly(path);
    }
    state.counters["file_bytes"] = static_cast<double>(bytes);
}

void BM_File_Save(benchmark::State& state) {
    const CKx7Doc& doc = BenchPortfolio(state.range(0));
    const std::string path = BenchScratchFile("save.kx7");
    for (auto _ : state) {
        WritePlainly(path, StoreKx7(doc));
    }
}

void BM_File_WriteBaseline(benchmark::State& state) {
    const std::vector<std::uint8_t> bytes = StoreKx7(BenchPortfolio(state.range(0)));
    const std::string path = BenchScratchFile("write.kx7");
    for (auto _ : state) {
        WritePlainly(path, bytes);
    }
}

// As the program saves: a new file flushed to the disk, renamed over the old one.
void BM_File_SaveDurable(benchmark::State& state) {
    CKx7Doc& doc = BenchPortfolio(state.range(0));
    const std::string path = BenchScratchFile("durable-save.kx7");
    for (auto _ : state) {
        if (!SaveKx7File(doc, path).empty()) {
            state.SkipWithError("save failed");
        }
    }
}

void BM_File_WriteDurableBaseline(benchmark::State& state) {
    const std::vector<std::uint8_t> bytes = StoreKx7(BenchPortfolio(state.range(0)));
    const std::string path = BenchScratchFile("durable-write.kx7");
    for (auto _ : state) {
        if (!WriteFileSafely(path, bytes).empty()) {
            state.SkipWithError("write failed");
        }
    }
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
    BothSizes(benchmark, 0.5);
}

BENCHMARK(BM_File_Load)->Apply(Sizes);
BENCHMARK(BM_File_ReadBaseline)->Apply(Sizes);
BENCHMARK(BM_File_Save)->Apply(Sizes);
BENCHMARK(BM_File_WriteBaseline)->Apply(Sizes);
BENCHMARK(BM_File_SaveDurable)->Apply(Sizes);
BENCHMARK(BM_File_WriteDurableBaseline)->Apply(Sizes);

}  // namespace

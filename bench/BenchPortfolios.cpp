#include "BenchPortfolios.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/settings/Settings.h"

namespace {

namespace fs = std::filesystem;

constexpr std::array<const PortfolioSize*, 2> kSizes{&kLifetimePortfolio, &kExtremePortfolio};

const Settings& BenchSettings() {
    static const Settings settings;
    return settings;
}

// Removed at exit with everything in it.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "velmora-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::exit(2);
        }
        m_path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

ScratchFolder& Scratch() {
    static ScratchFolder folder;
    return folder;
}

std::size_t HeapChars(const std::string& text) {
    // Texts within the small-string buffer live inside the string object.
    return text.capacity() > std::string().capacity() ? text.capacity() + 1 : 0;
}

}  // namespace

const PortfolioSize& BenchSize(std::int64_t index) {
    return *kSizes.at(static_cast<std::size_t>(index));
}

// The portfolio as the program holds it after opening its file: records in file order in
// memory, as a person's portfolio is every time it is opened.
CKx7Doc& BenchPortfolio(std::int64_t index) {
    static std::array<std::unique_ptr<CKx7Doc>, kSizes.size()> portfolios;
    std::unique_ptr<CKx7Doc>& doc = portfolios.at(static_cast<std::size_t>(index));
    if (!doc) {
        // Every file first: a generated portfolio freed while another is open would leave
        // its records' blocks for the next load to take in the order they were freed, a
        // scatter no person's single open portfolio has.
        for (std::size_t size = 0; size < kSizes.size(); ++size) {
            BenchPortfolioFile(static_cast<std::int64_t>(size));
        }
        doc = std::make_unique<CKx7Doc>(BenchSettings());
        const Kx7ReadResult result = OpenKx7File(*doc, BenchPortfolioFile(index));
        if (!result.Ok()) {
            std::fprintf(stderr, "%s\n", result.error.c_str());
            std::exit(2);
        }
    }
    return *doc;
}

const std::string& BenchPortfolioFile(std::int64_t index) {
    static std::array<std::string, kSizes.size()> files;
    std::string& path = files.at(static_cast<std::size_t>(index));
    if (path.empty()) {
        path = BenchScratchFile(std::string(BenchSize(index).name) + ".kx7");
        CKx7Doc generated(BenchSettings());
        BuildLargePortfolio(generated, BenchSize(index));
        const std::string error = SaveKx7File(generated, path);
        if (!error.empty()) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::exit(2);
        }
    }
    return path;
}

std::string BenchScratchFile(const std::string& name) {
    return (Scratch().Path() / name).string();
}

std::uint64_t RecordFieldBytes(const CKx7Doc& doc) {
    std::uint64_t bytes = 0;
    for (const auto& lot : doc.Purchases()) {
        bytes += sizeof(CPurchase) + HeapChars(lot->symbol) + HeapChars(lot->companyName) +
                 HeapChars(lot->purchaseType) + HeapChars(lot->comment) + HeapChars(lot->grantId);
        for (const auto& sale : lot->sales) {
            bytes += sizeof(CSale) + HeapChars(sale->comment);
        }
    }
    for (const auto& dividend : doc.Dividends()) {
        bytes += sizeof(CDividend) + HeapChars(dividend->symbol) + HeapChars(dividend->comment);
    }
    for (const SplitEntry& split : doc.Splits()) {
        bytes += sizeof(SplitEntry) + HeapChars(split.symbol);
    }
    for (const AlertEntry& alert : doc.Alerts()) {
        bytes += sizeof(AlertEntry) + HeapChars(alert.symbol);
    }
    return bytes;
}

void EvictCaches() {
    static std::vector<char> buffer(64u << 20);
    static char fill = 0;
    ++fill;
    std::memset(buffer.data(), fill, buffer.size());
    benchmark::ClobberMemory();
}

void BothSizes(benchmark::internal::Benchmark* benchmark, double minSeconds) {
    // The first run of a piece of work grows the process's memory and pools once, which
    // every later run reuses. Without a warm-up, a benchmark whose first run outlasts the
    // minimum time would report that run alone, and a shorter one its later runs: the same
    // work measured in two states depending on its speed.
    constexpr double kWarmUpSeconds = 0.2;
    benchmark->ArgName("size")
        ->MinWarmUpTime(kWarmUpSeconds)
        ->Arg(0)
        ->Arg(1)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(minSeconds)
        ->UseRealTime()
        ->MeasureProcessCPUTime();
}

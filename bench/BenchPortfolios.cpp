#include "BenchPortfolios.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/settings/Settings.h"

namespace {

namespace fs = std::filesystem;

constexpr std::array<const PortfolioSize*, 2> kSizes{&kLifetimePortfolio, &kTenthPortfolio};

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

}  // namespace

const PortfolioSize& BenchSize(std::int64_t index) {
    return *kSizes.at(static_cast<std::size_t>(index));
}

// The portfolio as the program holds it after opening its file.
CKx7Doc& BenchPortfolio(std::int64_t index) {
    static std::array<std::unique_ptr<CKx7Doc>, kSizes.size()> portfolios;
    std::unique_ptr<CKx7Doc>& doc = portfolios.at(static_cast<std::size_t>(index));
    if (!doc) {
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

void EvictCaches() {
    static std::vector<unsigned char> buffer(std::size_t{64} << 20);
    // Every cache line read and written: a memset this large would write around the caches.
    constexpr std::size_t kLine = 64;
    for (std::size_t i = 0; i < buffer.size(); i += kLine) {
        ++buffer[i];
    }
    benchmark::ClobberMemory();
}

void BothSizes(benchmark::internal::Benchmark* benchmark, double minSeconds) {
    benchmark->ArgName("size")
        ->Arg(kLifetime)
        ->Arg(kTenth)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(minSeconds)
        ->UseRealTime();
}

#include "PeakMemory.h"

#include <unistd.h>

#include <limits.h>
#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "BenchPortfolios.h"
#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/settings/Settings.h"

namespace {

std::uint64_t HighWaterBytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("VmHWM:")) {
            std::istringstream fields(line.substr(6));
            std::uint64_t kib = 0;
            fields >> kib;
            return kib * 1024;
        }
    }
    return 0;
}

std::string SelfPath() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

}  // namespace

int MeasurePeakHere(const std::string& path) {
    const Settings settings;
    CKx7Doc doc(settings);
    const Kx7ReadResult result = OpenKx7File(doc, path);
    if (!result.Ok()) {
        std::fprintf(stderr, "%s\n", result.error.c_str());
        return 1;
    }
    std::printf("%" PRIu64 " %" PRIu64 "\n", HighWaterBytes(), RecordFieldBytes(doc));
    return 0;
}

std::optional<PeakMemory> MeasurePeakInChild(const std::string& path) {
    const std::string command = "'" + SelfPath() + "' '" + std::string(kPeakOption) + path + "'";
    FILE* child = ::popen(command.c_str(), "r");
    if (child == nullptr) {
        return std::nullopt;
    }
    PeakMemory peak;
    const int read = std::fscanf(child, "%" SCNu64 " %" SCNu64, &peak.peakBytes, &peak.fieldBytes);
    if (::pclose(child) != 0 || read != 2) {
        return std::nullopt;
    }
    return peak;
}

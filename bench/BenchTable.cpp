#include "BenchTable.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "BenchPortfolios.h"

namespace {

constexpr int kLifetime = 0;
constexpr int kExtreme = 1;

// Ten times the records may cost less than fifteen times the time. For the two sizes'
// record ratio R the same growth allows 15^(log10 R).
double ScalingLimit() {
    const double records = static_cast<double>(kExtremePortfolio.Records()) /
                           static_cast<double>(kLifetimePortfolio.Records());
    return std::pow(15.0, std::log10(records));
}

}  // namespace

bool BenchTable::ReportContext(const Context& context) {
    if (m_round == 0) {
        PrintBasicContext(&GetErrorStream(), context);
    }
    return true;
}

void BenchTable::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        if (run.error_occurred) {
            std::fprintf(stderr, "%s: %s\n", run.benchmark_name().c_str(),
                         run.error_message.c_str());
            continue;
        }
        if (run.run_type != Run::RT_Iteration || run.iterations == 0) {
            continue;
        }
        std::string name = run.run_name.function_name;
        if (name.starts_with("BM_")) {
            name.erase(0, 3);
        }
        const std::string& args = run.run_name.args;  // "size:1"
        const int size = args.ends_with("size:1") ? kExtreme : kLifetime;
        if (!m_times.contains(name)) {
            m_order.push_back(name);
        }
        const auto iterations = static_cast<double>(run.iterations);
        const double ms = run.real_accumulated_time / iterations * 1e3;
        const double cpuMs = run.cpu_accumulated_time / iterations * 1e3;
        m_times[name][size][m_round] = ms;
        m_processorTimes[name][size][m_round] = cpuMs;
        std::fprintf(stderr, "  round %d %-32s %-9s %12.3f ms wall %12.3f ms cpu\n", m_round + 1,
                     name.c_str(), size == kExtreme ? "extreme" : "lifetime", ms, cpuMs);
    }
}

namespace {

std::optional<double> Fastest(const BenchTable::Figures& figures, const std::string& name,
                              int size) {
    const auto found = figures.find(name);
    if (found == figures.end()) {
        return std::nullopt;
    }
    const auto rounds = found->second.find(size);
    if (rounds == found->second.end() || rounds->second.empty()) {
        return std::nullopt;
    }
    double fastest = rounds->second.begin()->second;
    for (const auto& [round, time] : rounds->second) {
        fastest = std::min(fastest, time);
    }
    return fastest;
}

}  // namespace

std::optional<double> BenchTable::Milliseconds(const std::string& name, int size) const {
    return Fastest(m_times, name, size);
}

std::optional<double> BenchTable::ProcessorMilliseconds(const std::string& name, int size) const {
    return Fastest(m_processorTimes, name, size);
}

std::optional<double> BenchTable::Growth(const std::string& name) const {
    const auto found = m_times.find(name);
    if (found == m_times.end() || !found->second.contains(kLifetime) ||
        !found->second.contains(kExtreme)) {
        return std::nullopt;
    }
    const Rounds& small = found->second.at(kLifetime);
    const Rounds& large = found->second.at(kExtreme);
    std::vector<double> growths;
    for (const auto& [round, time] : small) {
        const auto paired = large.find(round);
        if (paired != large.end() && time > 0) {
            growths.push_back(paired->second / time);
        }
    }
    if (growths.empty()) {
        return std::nullopt;
    }
    std::sort(growths.begin(), growths.end());
    const std::size_t middle = growths.size() / 2;
    return growths.size() % 2 == 1 ? growths[middle] : (growths[middle - 1] + growths[middle]) / 2;
}

void BenchTable::SetPeakMemory(std::uint64_t peakBytes, std::uint64_t fieldBytes) {
    m_peakBytes = peakBytes;
    m_fieldBytes = fieldBytes;
}

void BenchTable::PrintTimes() const {
    std::printf("\n%-32s %14s %14s %8s %14s %14s\n", "benchmark (ms wall)", "lifetime", "extreme",
                "growth", "cpu lifetime", "cpu extreme");
    const auto print = [](std::optional<double> time) {
        if (time) {
            std::printf(" %14.3f", *time);
        } else {
            std::printf(" %14s", "-");
        }
    };
    for (const std::string& name : m_order) {
        const auto small = Milliseconds(name, kLifetime);
        const auto large = Milliseconds(name, kExtreme);
        std::printf("%-32s", name.c_str());
        print(small);
        print(large);
        if (const auto growth = Growth(name)) {
            std::printf(" %8.2f", *growth);
        } else {
            std::printf(" %8s", "");
        }
        print(ProcessorMilliseconds(name, kLifetime));
        print(ProcessorMilliseconds(name, kExtreme));
        std::printf("\n");
    }
}

void BenchTable::Judge(const std::string& what, std::optional<double> value, double limit,
                       const char* unit) {
    if (!value) {
        std::printf("%-48s %10s   limit %8.2f%s  not measured\n", what.c_str(), "-", limit, unit);
        return;
    }
    const bool met = *value <= limit;
    m_allMet = m_allMet && met;
    std::printf("%-48s %10.2f%s limit %8.2f%s  %s\n", what.c_str(), *value, unit, limit, unit,
                met ? "met" : "MISSED");
}

void BenchTable::Print() {
    PrintTimes();

    const auto ratio = [this](const std::string& a, const std::string& b,
                              int size) -> std::optional<double> {
        const auto top = Milliseconds(a, size);
        const auto bottom = Milliseconds(b, size);
        if (!top || !bottom || *bottom <= 0) {
            return std::nullopt;
        }
        return *top / *bottom;
    };

    std::printf("\n%-48s %10s\n", "target (same run)", "measured");
    Judge("load extreme / read its bytes", ratio("File_Load", "File_ReadBaseline", kExtreme), 4.0,
          "x");
    Judge("save extreme / write its bytes", ratio("File_Save", "File_WriteBaseline", kExtreme), 4.0,
          "x");
    Judge("paint queries lifetime", Milliseconds("Paint_Queries", kLifetime), 1000.0 / 60.0, "ms");
    Judge("paint queries / bare pass, lifetime",
          ratio("Paint_Queries", "Paint_BarePass", kLifetime), 1.5, "x");
    // A paint after every change pays for the figures in full; shown, not judged.
    if (const auto changed = ratio("Paint_QueriesChanged", "Paint_BarePass", kLifetime)) {
        std::printf("%-48s %10.2fx (not judged)\n", "paint after a change / bare pass, lifetime",
                    *changed);
    }

    const double scaling = ScalingLimit();
    std::optional<double> worstScaling;
    std::string worstName;
    std::optional<double> slowest;
    std::string slowestName;
    for (const std::string& name : m_order) {
        if (!name.starts_with("Report_")) {
            continue;
        }
        const auto growth = Growth(name);
        if (growth && (!worstScaling || *growth > *worstScaling)) {
            worstScaling = growth;
            worstName = name;
        }
        const auto large = Milliseconds(name, kExtreme);
        if (large && (!slowest || *large > *slowest)) {
            slowest = large;
            slowestName = name;
        }
    }
    Judge("report growth lifetime->extreme (" + worstName + ")", worstScaling, scaling, "x");
    const auto load = Milliseconds("File_Load", kExtreme);
    Judge("slowest report / load, extreme (" + slowestName + ")",
          slowest && load ? std::optional<double>(*slowest / *load) : std::nullopt, 1.0, "x");
    Judge("peak memory / record fields, extreme loaded",
          m_fieldBytes > 0 ? std::optional<double>(static_cast<double>(m_peakBytes) /
                                                   static_cast<double>(m_fieldBytes))
                           : std::nullopt,
          3.0, "x");
    if (m_fieldBytes > 0) {
        std::printf("  (peak %.1f MiB, record fields %.1f MiB)\n",
                    static_cast<double>(m_peakBytes) / 1048576.0,
                    static_cast<double>(m_fieldBytes) / 1048576.0);
    }
    std::printf("%s\n", m_allMet ? "PASS: every target met" : "FAIL: a target was missed");
}

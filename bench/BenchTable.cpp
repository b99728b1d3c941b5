#include "BenchTable.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "BenchPortfolios.h"

namespace {

constexpr double kMostMilliseconds = 100.0;

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
        const std::int64_t size = run.run_name.args == "size:1" ? kTenth : kLifetime;
        const double ms = run.real_accumulated_time / static_cast<double>(run.iterations) * 1e3;
        if (!m_fastest.contains(name)) {
            m_order.push_back(name);
        }
        Times& times = m_fastest[name];
        std::optional<double>& fastest = size == kTenth ? times.tenth : times.lifetime;
        fastest = std::min(fastest.value_or(ms), ms);
        std::fprintf(stderr, "  round %d %-28s %-9s %10.3f ms\n", m_round + 1, name.c_str(),
                     std::string(BenchSize(size).name).c_str(), ms);
    }
}

bool BenchTable::Print() const {
    // The builders are judged on time alone. Their growth against the tenth is shown, not
    // judged: a walk of a few milliseconds over the lifetime portfolio reads memory the tenth
    // finds in cache, so its ratio says more about the machine than about the code. The
    // program's own actions, timed after this table, are judged on both.
    bool allMet = true;
    std::printf("\n%-28s %12s %12s %8s %10s\n", "builder (ms)", "lifetime", "tenth", "ratio",
                "< 100 ms");
    for (const std::string& name : m_order) {
        const Times& times = m_fastest.at(name);
        if (!times.lifetime || !times.tenth || *times.tenth <= 0) {
            std::printf("%-28s not measured on both sizes\n", name.c_str());
            allMet = false;
            continue;
        }
        const bool met = *times.lifetime < kMostMilliseconds;
        allMet = allMet && met;
        std::printf("%-28s %12.3f %12.3f %8.2f %10s\n", name.c_str(), *times.lifetime, *times.tenth,
                    *times.lifetime / *times.tenth, met ? "met" : "MISSED");
    }
    std::printf("%s\n", allMet ? "PASS: every builder under 100 ms" : "FAIL: a target was missed");
    return allMet;
}

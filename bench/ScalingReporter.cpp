#include "ScalingReporter.h"

#include <cstdio>
#include <string>

void ScalingReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred || run.run_type != Run::RT_Iteration || run.iterations == 0) {
            continue;
        }
        const std::string& args = run.run_name.args;  // "records:20000/cold:1"
        const long records = std::stol(args.substr(args.find(':') + 1));
        const bool cold = args.ends_with("cold:1");
        const std::string name = run.run_name.function_name + (cold ? " cold" : " warm");
        m_times[name][records] = run.cpu_accumulated_time / static_cast<double>(run.iterations);
    }
}

void ScalingReporter::Finalize() {
    ConsoleReporter::Finalize();
    std::printf("\n%-28s %15s %15s %8s\n", "report", "small (ms cpu)", "large (ms cpu)", "ratio");
    for (const auto& [name, bySize] : m_times) {
        if (bySize.size() < 2) {
            continue;
        }
        const double small = bySize.begin()->second;
        const double large = bySize.rbegin()->second;
        const double ratio = large / small;
        const bool within = ratio < kMaxRatio;
        // Warm runs of the small portfolio may find it all in the processor cache, which
        // the large one can never be; the bound is judged on cold runs.
        const bool judged = name.ends_with(" cold");
        if (judged) {
            m_withinBound = m_withinBound && within;
        }
        std::printf("%-32s %15.3f %15.3f %8.2f%s\n", name.c_str(), small * 1e3, large * 1e3, ratio,
                    within || !judged ? "" : "  TOO SLOW");
    }
    std::printf("%s: from a cold cache, ten times the records %s less than %.0f times the time\n",
                m_withinBound ? "PASS" : "FAIL", m_withinBound ? "cost" : "do not cost", kMaxRatio);
}

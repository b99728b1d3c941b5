#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

// Collects every run and prints one table: each builder's time on the "lifetime" and the
// "tenth" portfolio, their ratio, and whether it meets the target of under 100 ms on
// "lifetime". The benchmarks run in rounds and a time is the fastest of its rounds, since a
// busy host only ever adds time.
class BenchTable final : public benchmark::ConsoleReporter {
public:
    void StartRound(int round) { m_round = round; }

    bool ReportContext(const Context& context) override;
    void ReportRuns(const std::vector<Run>& runs) override;
    // The table comes once, after every round: see Print.
    void Finalize() override {}
    // Returns whether every target was met.
    bool Print() const;

private:
    // Milliseconds per action.
    struct Times {
        std::optional<double> lifetime;
        std::optional<double> tenth;
    };

    std::map<std::string, Times> m_fastest;
    std::vector<std::string> m_order;
    int m_round = 0;
};

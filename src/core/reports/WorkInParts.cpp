#include "core/reports/WorkInParts.h"

#include <algorithm>
#include <future>
#include <system_error>
#include <thread>
#include <vector>

namespace {

constexpr std::size_t kMostParts = 8;

}  // namespace

std::size_t WorkParts(std::size_t items) {
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    return std::clamp<std::size_t>(std::min({cores, kMostParts, items}), 1, kMostParts);
}

void RunInParts(std::size_t parts, const std::function<void(std::size_t part)>& run) {
    std::vector<std::future<void>> others;
    others.reserve(parts);
    for (std::size_t part = 1; part < parts; ++part) {
        try {
            others.push_back(std::async(std::launch::async, run, part));
        } catch (const std::system_error&) {
            others.push_back(std::async(std::launch::deferred, run, part));
        }
    }
    // A part that throws leaves the others to finish before the exception goes on: the
    // futures wait for their threads as they go.
    run(0);
    for (std::future<void>& other : others) {
        other.get();
    }
}

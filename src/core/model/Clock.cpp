#include "core/model/Clock.h"

#include <atomic>
#include <chrono>

namespace {
// The worker thread reads the clock too, so the override is atomic.
std::atomic<bool> g_fixed{false};
std::atomic<std::int64_t> g_fixedTime{0};
}  // namespace

std::int64_t Clock::Now() {
    if (g_fixed.load()) {
        return g_fixedTime.load();
    }
    const auto now = std::chrono::system_clock::now();
    return std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count();
}

void Clock::SetFixed(std::int64_t secondsSince1970) {
    g_fixedTime.store(secondsSince1970);
    g_fixed.store(true);
}

void Clock::UseSystemTime() {
    g_fixed.store(false);
}

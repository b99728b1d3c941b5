#include "core/quotes/HostPacer.h"

#include <algorithm>
#include <thread>

bool HostPacer::WaitTurn(const std::string& host, int minSeconds,
                         const std::function<bool()>& keepGoing) {
    Clock::time_point turn;
    {
        // The turn is taken at once, so two callers waiting for one host go one after the
        // other rather than together.
        const std::lock_guard lock(m_mutex);
        const auto now = Clock::now();
        auto& next = m_next[host];
        turn = std::max(now, next);
        next = turn + std::chrono::seconds(std::max(minSeconds, 0));
    }
    constexpr auto kPoll = std::chrono::milliseconds(100);
    for (auto now = Clock::now(); now < turn; now = Clock::now()) {
        if (keepGoing && !keepGoing()) {
            return false;
        }
        std::this_thread::sleep_for(std::min<Clock::duration>(kPoll, turn - now));
    }
    return !keepGoing || keepGoing();
}

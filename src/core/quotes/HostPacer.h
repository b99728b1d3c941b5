#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <string>

// Keeps the least time a service asks for between two requests to its host, across every
// run that shares the pacer: the automatic update on its thread and a window fetching on
// its own. A short update timer therefore never asks a host more often than it allows.
class HostPacer {
public:
    using Clock = std::chrono::steady_clock;

    // Waits until a request to `host` may go, `minSeconds` after the last one, asking
    // `keepGoing` every tenth of a second; false when told to stop first.
    bool WaitTurn(const std::string& host, int minSeconds, const std::function<bool()>& keepGoing);

private:
    std::mutex m_mutex;
    std::map<std::string, Clock::time_point> m_next;  // the earliest next request, by host
};

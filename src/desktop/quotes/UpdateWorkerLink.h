#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class UiTaskQueue;

// What one run of the automatic update worker shares with the user-interface thread: its
// stop flag, and the calls it hands over. Every wait of the worker ends at once when the
// run is stopped, so stopping never waits for the user-interface thread; work handed over
// by a stopped run is dropped rather than done.
class UpdateWorkerLink final : public std::enable_shared_from_this<UpdateWorkerLink> {
public:
    explicit UpdateWorkerLink(UiTaskQueue& queue) : m_queue(queue) {}

    void RequestStop();
    bool Stopped() const { return m_stop.load(); }

    // Worker side: sleeps for `pause`; false when the run was stopped meanwhile.
    bool Pause(std::chrono::milliseconds pause);

    // Worker side: has `task` done on the user-interface thread, unless the run is
    // stopped by then.
    void Post(std::function<void()> task);

    // Worker side: has `call` done on the user-interface thread and waits for its result;
    // nothing when the run was stopped first.
    template <typename Result>
    std::optional<Result> Call(std::function<Result()> call);

private:
    UiTaskQueue& m_queue;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::condition_variable m_wake;
};

template <typename Result>
std::optional<Result> UpdateWorkerLink::Call(std::function<Result()> call) {
    auto reply = std::make_shared<std::optional<Result>>();
    Post([self = shared_from_this(), reply, call = std::move(call)] {
        Result result = call();
        {
            const std::lock_guard lock(self->m_mutex);
            *reply = std::move(result);
        }
        self->m_wake.notify_all();
    });
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [&] { return m_stop.load() || reply->has_value(); });
    if (m_stop.load()) {
        return std::nullopt;
    }
    return std::move(*reply);
}

#include "desktop/quotes/UpdateWorkerLink.h"

#include <utility>

#include "desktop/quotes/UiTaskQueue.h"

void UpdateWorkerLink::RequestStop() {
    {
        // Set under the lock, so a worker about to wait cannot miss it.
        const std::lock_guard lock(m_mutex);
        m_stop.store(true);
    }
    m_wake.notify_all();
}

bool UpdateWorkerLink::Pause(std::chrono::milliseconds pause) {
    std::unique_lock lock(m_mutex);
    return !m_wake.wait_for(lock, pause, [this] { return m_stop.load(); });
}

void UpdateWorkerLink::Post(std::function<void()> task) {
    m_queue.Post([self = shared_from_this(), task = std::move(task)] {
        if (!self->Stopped()) {
            task();
        }
    });
}

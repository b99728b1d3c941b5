#include "desktop/quotes/UiTaskQueue.h"

#include <utility>

void UiTaskQueue::Post(std::function<void()> task) {
    bool wake = false;
    {
        const std::lock_guard lock(m_mutex);
        wake = m_tasks.empty();
        m_tasks.push_back(std::move(task));
    }
    // One wake-up for a run of tasks: the first one finds them all.
    if (wake) {
        QMetaObject::invokeMethod(this, "RunTasks", Qt::QueuedConnection);
    }
}

void UiTaskQueue::RunTasks() {
    std::vector<std::function<void()>> tasks;
    {
        const std::lock_guard lock(m_mutex);
        tasks.swap(m_tasks);
    }
    for (const std::function<void()>& task : tasks) {
        task();
    }
}

#pragma once

#include <QObject>
#include <functional>
#include <mutex>
#include <vector>

// Runs work on the thread this object lives on (the user-interface thread), handed in
// from any thread. The work itself passes through this queue's own lock, so everything a
// task carries is handed over under that lock; the event that wakes the queue carries
// nothing.
class UiTaskQueue final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UiTaskQueue)

public:
    using QObject::QObject;

    // Safe from any thread; the task runs later, from this object's event loop. Tasks
    // still waiting when the queue is destroyed never run.
    void Post(std::function<void()> task);

private:
    Q_INVOKABLE void RunTasks();

    std::mutex m_mutex;
    std::vector<std::function<void()>> m_tasks;
};

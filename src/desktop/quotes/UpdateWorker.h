#pragma once

#include <QObject>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "core/figures/UpdateWorkerSwitch.h"
#include "core/quotes/QuoteHosts.h"
#include "core/quotes/Web.h"
#include "desktop/quotes/UiTaskQueue.h"

class CKx7Doc;
class UpdateWorkerLink;
struct Settings;

// The automatic price update: a thread that, while it runs, decides at each cycle whether
// to fetch, fetches and reads the pages on its own thread, and hands the prices to the
// user-interface thread, which stores them, touches the last update, records a timeline
// sample and repaints. The document and the settings are only ever touched on the
// user-interface thread: the worker asks that thread for what it needs before it fetches.
class CUpdateWorker final : public QObject, public UpdateWorkerControl {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CUpdateWorker)

public:
    // What a run works on; everything but the hosts belongs to the user-interface thread.
    struct Target {
        CKx7Doc& document;
        Settings& settings;
        QuoteHosts hosts;
        std::function<void()> repaint;
    };
    // Asked at every start, on the user-interface thread.
    using TargetSource = std::function<Target()>;
    // The pause the worker takes for the pause a cycle calls for; tests shorten it.
    using PauseFor = std::function<std::chrono::milliseconds(std::chrono::milliseconds)>;

    explicit CUpdateWorker(TargetSource target, PauseFor pause = {}, FetchLimits limits = {},
                           QObject* parent = nullptr);
    // Stops the thread; so does the application's quitting.
    ~CUpdateWorker() override;

    // Creates and runs the thread unless it runs already; false when it could not be made.
    bool Start() override;
    // Ends the thread: at once during the pause or while it waits for the user-interface
    // thread, between batches, or as soon as libcurl reports progress on a page in
    // flight. Anything it fetched but has not yet handed over is dropped.
    bool Stop() override;
    bool Running() const { return m_link != nullptr; }

private:
    TargetSource m_target;
    PauseFor m_pause;
    FetchLimits m_limits;
    UiTaskQueue m_queue;
    std::shared_ptr<UpdateWorkerLink> m_link;
    std::thread m_thread;
};

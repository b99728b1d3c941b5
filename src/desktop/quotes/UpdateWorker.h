#pragma once

#include <QObject>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/figures/UpdateWorkerSwitch.h"
#include "core/quotes/QuoteHosts.h"
#include "core/quotes/QuoteParsers.h"
#include "core/quotes/Web.h"
#include "desktop/quotes/UiTaskQueue.h"

class CKx7Doc;
class HostPacer;
class UpdateWorkerLink;
struct Settings;

// The automatic price update: a thread that, while it runs, decides at each cycle whether
// to fetch, asks the chosen sources in turn on its own thread, and hands the prices to the
// user-interface thread, which stores them, touches the last update, records a timeline
// sample and repaints. It never opens a window: a cycle that stored no price says so in
// one status line, leaves the last update as it was, and the next cycle tries again. The document
// and the settings are only ever touched on the user-interface thread: the worker asks that thread
// for what it needs before it fetches.
class CUpdateWorker final : public QObject, public UpdateWorkerControl {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CUpdateWorker)

public:
    // What a run works on; everything but the hosts and the pacer belongs to the
    // user-interface thread.
    struct Target {
        Target(CKx7Doc& servedDocument, Settings& servedSettings, QuoteHosts quoteHosts,
               std::function<void()> repaintView)
            : document(servedDocument),
              settings(servedSettings),
              hosts(std::move(quoteHosts)),
              repaint(std::move(repaintView)) {}

        CKx7Doc& document;
        Settings& settings;
        QuoteHosts hosts;
        std::function<void()> repaint;
        // Told of the prices a cycle stored, after they are in the document.
        std::function<void(const std::vector<QuoteResult>&)> pricesStored;
        // Told the status line of a cycle that stored no price.
        std::function<void(const std::string&)> status;
        // Shared with the windows that fetch, so a host's pause holds across them all;
        // the worker keeps its own when none is given.
        HostPacer* pacer = nullptr;
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

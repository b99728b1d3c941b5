#include "desktop/quotes/UpdateWorker.h"

#include <QCoreApplication>
#include <exception>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "core/model/Clock.h"
#include "core/model/Kx7Doc.h"
#include "core/quotes/FetchNotifier.h"
#include "core/quotes/HostPacer.h"
#include "core/quotes/QuoteSource.h"
#include "core/quotes/QuoteUpdate.h"
#include "core/quotes/SourceChain.h"
#include "core/quotes/UpdateSchedule.h"
#include "core/settings/Settings.h"
#include "desktop/quotes/UpdateWorkerLink.h"

namespace {

// What the user-interface thread tells the worker at the start of a cycle.
struct CyclePlan {
    bool fetch = false;
    std::vector<QuoteSource> chain;
    std::vector<ChainSymbol> symbols;
    std::chrono::milliseconds pause{0};
    std::chrono::seconds deadline{60};  // how long one cycle's fetching may take
};

// Runs on the user-interface thread. A portfolio without records fetches nothing and
// looks again after the short pause; an out-of-range interval is put back to its default
// here, in the settings, as the pause table says.
CyclePlan PlanCycle(const CKx7Doc& document, Settings& settings) {
    CyclePlan plan;
    const std::int32_t records = document.RecordCount();
    plan.pause = UpdatePause(records, settings.updateInterval);
    plan.fetch = records != 0 && ShouldFetchQuotes(Clock::Now(), document.LastUpdateTime());
    if (plan.fetch) {
        plan.chain = ChosenQuoteSources(settings);
        plan.symbols = ChainSymbols(document);
        plan.deadline = std::chrono::seconds(settings.quoteDeadlineSeconds);
    }
    return plan;
}

// Runs on the user-interface thread: the prices go into the document, or, when none came,
// the status line says so and the last update stays.
void StoreCycle(const CUpdateWorker::Target& target, const std::vector<QuoteResult>& results) {
    if (!AnyPrice(results)) {
        if (target.status) {
            target.status(UpdateFailedText(Clock::Now(), target.document.LastUpdateTime(),
                                           FirstFailure(results)));
        }
        return;
    }
    ApplyQuoteResults(target.document, results);
    FinishQuoteUpdate(target.document);
    if (target.pricesStored) {
        target.pricesStored(results);
    }
    target.repaint();
}

// The worker's thread procedure: one cycle after another until the run is stopped.
void RunCycles(const std::shared_ptr<UpdateWorkerLink>& link,
               const std::shared_ptr<const CUpdateWorker::Target>& target,
               const CUpdateWorker::PauseFor& pauseFor, const FetchLimits& limits) {
    const QuoteHosts hosts = target->hosts;
    HostPacer ownPacer;
    HostPacer& pacer = target->pacer != nullptr ? *target->pacer : ownPacer;
    for (;;) {
        const std::optional<CyclePlan> plan = link->Call<CyclePlan>(
            [target] { return PlanCycle(target->document, target->settings); });
        if (!plan) {
            return;
        }
        if (plan->fetch) {
            // A silent server holds one cycle no longer than its deadline; what arrived by
            // then is stored.
            const auto deadline = std::chrono::steady_clock::now() + plan->deadline;
            const auto keepGoing = [&link, deadline] {
                return !link->Stopped() && std::chrono::steady_clock::now() < deadline;
            };
            // The reasons of a failed fetch reach the results; no box is opened.
            SilentFetchNotifier notifier;
            CWeb web(notifier, limits);
            web.SetProgressCallback(keepGoing);
            std::vector<QuoteResult> results;
            FetchFromChain(
                web, hosts, QuoteCaller::kWorker, plan->chain, plan->symbols, pacer,
                [&results, &keepGoing](std::vector<QuoteResult> batch) {
                    std::move(batch.begin(), batch.end(), std::back_inserter(results));
                    return keepGoing();
                },
                keepGoing);
            if (link->Stopped()) {
                return;
            }
            link->Post([target, results = std::move(results)] { StoreCycle(*target, results); });
        }
        if (!link->Pause(pauseFor ? pauseFor(plan->pause) : plan->pause)) {
            return;
        }
    }
}

}  // namespace

CUpdateWorker::CUpdateWorker(TargetSource target, PauseFor pause, FetchLimits limits,
                             QObject* parent)
    : QObject(parent), m_target(std::move(target)), m_pause(std::move(pause)), m_limits(limits) {
    // The worker must be gone before the document and the windows it serves.
    if (QCoreApplication* application = QCoreApplication::instance()) {
        connect(application, &QCoreApplication::aboutToQuit, this, [this] { Stop(); });
    }
}

CUpdateWorker::~CUpdateWorker() {
    Stop();
}

bool CUpdateWorker::Start() {
    if (m_link != nullptr) {
        return true;
    }
    auto target = std::make_shared<const Target>(m_target());
    auto link = std::make_shared<UpdateWorkerLink>(m_queue);
    try {
        m_thread = std::thread([link, target, pause = m_pause, limits = m_limits] {
            try {
                RunCycles(link, target, pause, limits);
            } catch (const std::exception&) {
                // Out of memory on this thread: the worker ends, the program goes on.
            }
        });
    } catch (const std::system_error&) {
        return false;
    }
    m_link = std::move(link);
    return true;
}

bool CUpdateWorker::Stop() {
    if (m_link == nullptr) {
        return true;
    }
    m_link->RequestStop();
    m_thread.join();
    m_link.reset();
    return true;
}

// Times the program's own commands over generated portfolios and prints one table: for
// each action the median of several rounds on the "lifetime" portfolio and on one a
// tenth its size, their ratio, and whether the targets are met.

#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "LargePortfolio.h"
#include "core/figures/UpdateWorkerSwitch.h"
#include "core/model/Clock.h"
#include "core/model/DocumentStorage.h"
#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/model/LocalTime.h"
#include "core/settings/Settings.h"
#include "desktop/app/RecentFileList.h"
#include "desktop/mainwindow/MainFrm.h"

namespace {

constexpr double kTargetMs = 100.0;
constexpr double kTargetRatio = 10.0;
constexpr double kMemoryTargetMb = 10.0;

double ResidentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) /
           (1024.0 * 1024.0);
}

// Calls `then` once the next paint of a widget that `watched` accepts has finished: the
// paint of a window paints all its dirty widgets in one go, so a zero timer queued from the
// first of them runs after the last.
class PaintWatch final : public QObject {
public:
    PaintWatch() { qApp->installEventFilter(this); }
    ~PaintWatch() override { qApp->removeEventFilter(this); }
    PaintWatch(const PaintWatch&) = delete;
    PaintWatch& operator=(const PaintWatch&) = delete;

    void Arm(std::function<bool(const QWidget&)> watched, std::function<void()> then) {
        m_watched = std::move(watched);
        m_then = std::move(then);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Paint && m_then && object->isWidgetType() &&
            m_watched(*static_cast<QWidget*>(object))) {
            QTimer::singleShot(0, this, [then = std::exchange(m_then, {})] { then(); });
        }
        return false;
    }

private:
    std::function<bool(const QWidget&)> m_watched;
    std::function<void()> m_then;
};

bool InDialog(const QWidget& widget) {
    return qobject_cast<const QDialog*>(widget.window()) != nullptr;
}

void SettleEvents() {
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// A report: its menu command, then what is chosen in the open dialog, each timed to the
// paint it causes.
struct ReportRun {
    std::string name;
    CMainFrame::Command command;
    // Object name of a box in the dialog and the item to choose in it; empty for none.
    QString box;
    QString item;
};

const std::vector<ReportRun> kReports{
    {"Overview", CMainFrame::kReportOverview, {}, {}},
    {"Summary", CMainFrame::kReportSummary, {}, {}},
    {"Taxes", CMainFrame::kReportTaxes, QStringLiteral("yearBox"), QStringLiteral("Show All")},
    {"Gains", CMainFrame::kReportGains, QStringLiteral("viewBox"), QStringLiteral("Combination")},
    {"Available", CMainFrame::kReportAvailable, {}, {}},
    {"Detailed Info", CMainFrame::kReportDetailed, {}, {}},
    {"History", CMainFrame::kReportHistory, QStringLiteral("timeFrameBox"),
     QStringLiteral("Show All")},
};

using Figures = std::map<std::string, std::vector<double>>;

class Session {
public:
    Session() : m_frame(m_doc, m_settings, m_storage, m_recentFiles, m_worker) {
        m_frame.resize(1024, 768);
        m_frame.show();
        SettleEvents();
    }

    void Open(const QString& path, Figures& figures) {
        const QWidget* view = m_frame.centralWidget();
        QElapsedTimer timer;
        bool painted = false;
        m_watch.Arm([view](const QWidget& widget) { return &widget == view; },
                    [&] { painted = true; });
        timer.start();
        if (!m_frame.OpenPortfolio(path)) {
            std::fprintf(stderr, "could not open %s\n", qPrintable(path));
            std::exit(2);
        }
        while (!painted) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        figures["Open to first paint"].push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        SettleEvents();
    }

    void Report(const ReportRun& run, Figures& figures, Figures& memory) {
        const double before = ResidentMegabytes();
        QElapsedTimer timer;
        m_watch.Arm(InDialog, [&] {
            figures[run.name].push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (run.box.isEmpty()) {
                dialog->reject();
                return;
            }
            auto* box = dialog->findChild<QComboBox*>(run.box);
            m_watch.Arm(InDialog, [&, dialog] {
                figures[run.name + ": " + run.item.toStdString()].push_back(
                    static_cast<double>(timer.nsecsElapsed()) / 1e6);
                dialog->reject();
            });
            timer.start();
            box->setCurrentIndex(box->findText(run.item));
        });
        timer.start();
        m_frame.CommandAction(run.command)->trigger();
        SettleEvents();
        memory[run.name].push_back(ResidentMegabytes() - before);
    }

    void Save(const QString& path, Figures& figures) {
        QElapsedTimer timer;
        timer.start();
        if (!m_frame.SavePortfolio(path)) {
            std::fprintf(stderr, "could not save %s\n", qPrintable(path));
            std::exit(2);
        }
        figures["Save"].push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }

private:
    Settings m_settings;
    CKx7Doc m_doc{m_settings};
    Kx7FileStorage m_storage;
    CRecentFileList m_recentFiles;
    NoUpdateWorker m_worker;
    CMainFrame m_frame;
    PaintWatch m_watch;
};

QString WritePortfolio(const QTemporaryDir& folder, const PortfolioSize& size) {
    const Settings settings;
    CKx7Doc doc(settings);
    BuildLargePortfolio(doc, size);
    const QString path = folder.filePath(QString::fromUtf8(size.name.data()) + ".kx7");
    if (const std::string error = SaveKx7File(doc, path.toStdString()); !error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::exit(2);
    }
    return path;
}

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Every action a round of: open, each report (with its choice), save.
void Round(const QString& file, const QString& saveTo, Figures& figures, Figures& memory) {
    Session session;
    session.Open(file, figures);
    for (const ReportRun& run : kReports) {
        session.Report(run, figures, memory);
    }
    session.Save(saveTo, figures);
}

// The offscreen platform says so for every dialog that sizes itself; the table is what counts.
void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains(QStringLiteral("propagateSizeHints"))) {
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietOffscreenNotes);
    QApplication app(argc, argv);
    // Vesting depends on the day; pin it so every run values the same options.
    Clock::SetFixed(LocalTimeOf(2024, 6, 15, 12));
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

    QTemporaryDir folder;
    const QString lifetime = WritePortfolio(folder, kLifetimePortfolio);
    const QString tenth = WritePortfolio(folder, kTenthPortfolio);

    Figures big;
    Figures small;
    Figures bigMemory;
    Figures smallMemory;
    for (int round = 0; round < rounds; ++round) {
        Round(tenth, folder.filePath(QStringLiteral("saved-tenth.kx7")), small, smallMemory);
        Round(lifetime, folder.filePath(QStringLiteral("saved-lifetime.kx7")), big, bigMemory);
    }

    std::vector<std::string> order{"Open to first paint"};
    for (const ReportRun& run : kReports) {
        order.push_back(run.name);
        if (!run.box.isEmpty()) {
            order.push_back(run.name + ": " + run.item.toStdString());
        }
    }
    order.emplace_back("Save");

    bool allMet = true;
    std::printf("%-26s %12s %10s %7s %6s %6s %14s\n", "GUI, offscreen (median ms)", "lifetime",
                "tenth", "ratio", "<100", "<10x", "RSS left (MB)");
    for (const std::string& action : order) {
        const double lifetimeMs = Median(big[action]);
        const double tenthMs = Median(small[action]);
        const double ratio = tenthMs > 0 ? lifetimeMs / tenthMs : 0.0;
        const bool fast = lifetimeMs < kTargetMs;
        const bool scales = ratio < kTargetRatio;
        allMet = allMet && fast && scales;
        const auto left = bigMemory.find(action);
        std::printf("%-26s %12.1f %10.1f %7.1f %6s %6s", action.c_str(), lifetimeMs, tenthMs, ratio,
                    fast ? "yes" : "NO", scales ? "yes" : "NO");
        if (left != bigMemory.end()) {
            const double kept = Median(left->second);
            std::printf(" %14.1f", kept);
            allMet = allMet && kept < kMemoryTargetMb;
        }
        std::printf("\n");
    }
    return allMet ? 0 : 1;
}

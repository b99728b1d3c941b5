// A minute of the program under load: the automatic update worker fetches every 100 ms
// from a loopback quote server whose prices move with every request, while a scripted
// user buys, sells, opens and closes every report and now and then saves, all through the
// main window's menus and forms. At the end the saved file must hold exactly what the user
// entered and the last prices served, the worker must have stored prices many times, and
// the heap must not have grown beyond what the new records need. A sanitizer build also
// runs this with the leak checker on.

#include <QAction>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPixmapCache>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/model/DocumentStorage.h"
#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/model/LocalTime.h"
#include "core/settings/Settings.h"
#include "core/support/LoopbackHttpServer.h"
#include "core/support/NoProxy.h"
#include "core/support/TestClock.h"
#include "desktop/app/RecentFileList.h"
#include "desktop/mainwindow/MainFrm.h"
#include "desktop/quotes/UpdateWorker.h"
#include "forms/FormTestSupport.h"
#include "quotes/MessageBoxRecorder.h"
#include "soak/HeapInUse.h"
#include "soak/MovingQuotes.h"
#include "soak/PortfolioLedger.h"

using namespace formtest;
using namespace std::chrono_literals;

namespace {

// The full run; VELMORA_SOAK_SECONDS may shorten it for a quick look, never lengthen it.
constexpr std::chrono::milliseconds kSoakTime = 60s;
constexpr std::chrono::milliseconds kUpdatePause = 100ms;
// Heap samples are compared from the end of the warm-up (Qt's caches, the first report of
// each kind) to the end of the run.
constexpr int kWarmUpShare = 6;
constexpr std::chrono::milliseconds kSampleEvery = 5s;
// What the heap may grow by after the warm-up: each record entered meanwhile takes a few
// hundred bytes in the portfolio and the script's own account; caches and the day's
// timeline settle within the fixed part. A kilobyte kept per update passes this within
// the minute; smaller leaks are the leak checker's to find.
constexpr std::size_t kHeapGrowthFixed = 64 * 1024;
constexpr std::size_t kHeapGrowthPerRecord = 768;
// The worker pauses 100 ms between fetches; even a slow sanitizer build manages this many
// stored updates per second of the run.
constexpr int kMinUpdatesPerSecond = 2;
// Every symbol keeps at least this many shares, so each is fetched to the very end.
constexpr float kKeptShares = 10.0f;

constexpr std::array<const char*, 7> kSymbols{"KQX", "MRW", "TZP", "BVN", "HJL", "DFY", "GCS"};

// A Wednesday in the middle of the trading day, so every cycle fetches.
std::int64_t MarketTime() {
    return LocalTimeOf(2024, 6, 5, 11, 15);
}

struct HeapSample {
    std::size_t bytes = 0;
    std::int32_t records = 0;
};

// The heap while the worker is between fetches: the least seen over one and a half
// cycles, so that a page in flight does not count. Qt's pixmap cache, which may fill to
// its own limit of megabytes with drawn widget parts, is emptied first.
std::size_t SettledHeap() {
    QPixmapCache::clear();
    std::size_t least = HeapInUse();
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kUpdatePause.count() * 3 / 2) {
        QTest::qWait(5);
        least = std::min(least, HeapInUse());
    }
    return least;
}

std::chrono::milliseconds SoakTime() {
    const int seconds = qEnvironmentVariableIntValue("VELMORA_SOAK_SECONDS");
    if (seconds > 0) {
        return std::min<std::chrono::milliseconds>(std::chrono::seconds(seconds), kSoakTime);
    }
    return kSoakTime;
}

QString Number(float value) {
    return QString::number(static_cast<double>(value), 'f', 2);
}

struct ReportCommand {
    int command;
    const char* title;
};

constexpr std::array<ReportCommand, 7> kReports{{
    {CMainFrame::kReportOverview, "Overview"},
    {CMainFrame::kReportSummary, "Summary"},
    {CMainFrame::kReportTaxes, "Tax Report"},
    {CMainFrame::kReportGains, "Gains and Losses"},
    {CMainFrame::kReportAvailable, "Available"},
    {CMainFrame::kReportDetailed, "Detailed Information"},
    {CMainFrame::kReportHistory, "History Report"},
}};

// The program's pieces as the application puts them together, with the worker pointed at
// the loopback server and pausing 100 ms; it counts every update it stores.
struct Program {
    explicit Program(const std::string& host)
        : worker(
              [this, host] {
                  return CUpdateWorker::Target{doc, settings, QuoteHosts{host, host, host}, [this] {
                                                   ++updates;
                                                   frame.Repaint();
                                               }};
              },
              [](std::chrono::milliseconds) { return kUpdatePause; }, Limits()),
          frame(doc, settings, storage, recentFiles, worker) {}
    // The worker goes first: it must not hand anything to a window being destroyed.
    ~Program() { worker.Stop(); }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    static FetchLimits Limits() {
        FetchLimits limits;
        limits.connectTimeout = 2s;
        limits.transferTimeout = 5s;
        return limits;
    }

    bool Run(int command) {
        QAction* action = frame.CommandAction(command);
        if (action == nullptr || !action->isEnabled()) {
            return false;
        }
        action->trigger();
        return true;
    }

    Settings settings;
    CKx7Doc doc{settings};
    Kx7FileStorage storage;
    CRecentFileList recentFiles;
    int updates = 0;
    CUpdateWorker worker;
    CMainFrame frame;
};

// Runs `action` on the next modal window when its title is `title`; anything else that
// opens instead (a warning, say) is noted in `unexpected` and closed.
void OnWindow(const QString& title, QStringList& unexpected, std::function<void(QWidget*)> action) {
    WhenModal([title, &unexpected, action = std::move(action)](QWidget* window) {
        if (window->windowTitle() != title) {
            unexpected << window->windowTitle() + QStringLiteral(": ") +
                              (qobject_cast<QMessageBox*>(window) != nullptr
                                   ? qobject_cast<QMessageBox*>(window)->text()
                                   : QString());
            window->close();
            return;
        }
        action(window);
    });
}

// The undo history grows by design, up to its bound, with every step the user and the
// updates make; it is forgotten before each sample, so that the heap shows what leaks.
std::size_t HeapWithoutHistory(CKx7Doc& doc) {
    doc.ClearHistory();
    return SettledHeap();
}

}  // namespace

class SoakTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ClearProxyEnvironment(); }

    void aMinuteOfUpdatesWhileAUserWorks() {
        const ScopedClock clock(MarketTime());
        MovingQuotes quotes;
        LoopbackHttpServer server(
            [&quotes](const std::string& target) { return quotes.Answer(target); },
            LoopbackHttpServer::RequestLog::kNone);
        Program program(server.Host());
        // A failed fetch or save would warn; each warning is answered, so that nothing
        // hangs, and fails the run.
        const MessageBoxRecorder warnings;
        const QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("soak.kx7"));

        PortfolioLedger ledger(MarketTime());
        for (const char* symbol : kSymbols) {
            QString company = QString::fromLatin1(symbol).toLower();
            company[0] = company[0].toUpper();
            ledger.Buy(symbol, (company + QStringLiteral(" Corp")).toStdString(), 100.0f, 20.0f,
                       5.0f);
        }
        {
            Settings settings;
            CKx7Doc start(settings);
            ledger.BuildDocument(start);
            QCOMPARE(SaveKx7File(start, path.toStdString()), std::string());
        }
        QVERIFY(program.frame.OpenPortfolio(path));
        program.settings.updateInterval = 0;
        program.settings.autoUpdate = true;
        program.frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&program.frame));
        program.frame.Repaint();
        QTRY_VERIFY(program.worker.Running());
        QTRY_VERIFY(program.updates > 0);

        m_program = &program;
        m_ledger = &ledger;
        m_path = path;
        m_random.seed(20240605);
        m_counts = {};

        const std::chrono::milliseconds soakTime = SoakTime();
        const std::chrono::milliseconds warmUp = soakTime / kWarmUpShare;
        std::vector<HeapSample> heapSamples;
        QElapsedTimer elapsed;
        elapsed.start();
        for (int step = 0; elapsed.elapsed() < soakTime.count(); ++step) {
            if (elapsed.elapsed() >=
                (warmUp + kSampleEvery * static_cast<int>(heapSamples.size())).count()) {
                heapSamples.push_back({HeapWithoutHistory(program.doc), program.doc.RecordCount()});
            }
            RunStep(step);
            if (QTest::currentTestFailed()) {
                return;
            }
            QVERIFY2(m_unexpected.isEmpty(), qPrintable(m_unexpected.join(QLatin1Char('\n'))));
            QVERIFY2(warnings.messages.isEmpty(),
                     qPrintable(warnings.messages.join(QLatin1Char('\n'))));
            QTest::qWait(static_cast<int>(m_random() % 30));
        }

        // The server now repeats its last prices; a few more stored updates later, every
        // price in the portfolio is the last one served.
        const int updatesAtFreeze = program.updates;
        quotes.Freeze();
        QTRY_VERIFY_WITH_TIMEOUT(program.updates >= updatesAtFreeze + 3, 10000);
        heapSamples.push_back({HeapWithoutHistory(program.doc), program.doc.RecordCount()});

        // Automatic update switched off as the preferences do: the view stops the worker.
        program.settings.autoUpdate = false;
        program.frame.Repaint();
        QVERIFY(!program.worker.Running());
        const int updatesAtStop = program.updates;
        QTest::qWait(3 * static_cast<int>(kUpdatePause.count()));
        QCOMPARE(program.updates, updatesAtStop);

        SaveAndCompare();
        QVERIFY2(warnings.messages.isEmpty(),
                 qPrintable(warnings.messages.join(QLatin1Char('\n'))));
        CKx7Doc reopened(program.settings);
        QVERIFY(OpenKx7File(reopened, path.toStdString()).Ok());
        const std::map<std::string, float> served = quotes.LastServed();
        QCOMPARE(served.size(), kSymbols.size());
        for (const auto& lot : reopened.Purchases()) {
            QCOMPARE(lot->marketPrice, served.at(lot->symbol));
        }

        const auto seconds = static_cast<int>(elapsed.elapsed() / 1000);
        const HeapSample& first = heapSamples.front();
        const HeapSample& last = heapSamples.back();
        const std::size_t growth = last.bytes > first.bytes ? last.bytes - first.bytes : 0;
        const std::size_t allowed =
            kHeapGrowthFixed +
            kHeapGrowthPerRecord * static_cast<std::size_t>(last.records - first.records);
        QStringList samples;
        for (const HeapSample& sample : heapSamples) {
            samples << QString::number(sample.bytes / 1024) + QStringLiteral(" KiB");
        }
        qInfo(
            "%d s: %d updates stored from %d requests; %d purchases, %d sales, %d reports, "
            "%d saves, %d view switches; %zu lots",
            seconds, program.updates, quotes.Requests(), m_counts.purchases, m_counts.sales,
            m_counts.reports, m_counts.saves, m_counts.switches, ledger.LotCount());
        qInfo(
            "heap in use every %lld s after the warm-up: %s; growth %zu bytes, %zu allowed "
            "for %d records",
            static_cast<long long>(
                std::chrono::duration_cast<std::chrono::seconds>(kSampleEvery).count()),
            qPrintable(samples.join(QStringLiteral(", "))), growth, allowed,
            last.records - first.records);
        QVERIFY2(program.updates >= kMinUpdatesPerSecond * seconds,
                 qPrintable(QString::number(program.updates)));
        QVERIFY2(growth <= allowed, qPrintable(QString::number(growth)));
        QVERIFY(m_counts.purchases > 0 && m_counts.sales > 0 && m_counts.saves > 0);
        QVERIFY(m_counts.reports >= static_cast<int>(kReports.size()));
        m_program = nullptr;
        m_ledger = nullptr;
    }

private:
    enum class Step { kBuy, kReport, kSellFifo, kSellLifo, kSellFromLot, kSave, kSwitchView };

    void RunStep(int step) {
        static constexpr std::array<Step, 12> kRound{
            Step::kBuy,    Step::kReport,     Step::kSellFifo, Step::kReport,
            Step::kBuy,    Step::kSellLifo,   Step::kReport,   Step::kSellFromLot,
            Step::kReport, Step::kSwitchView, Step::kBuy,      Step::kSave};
        switch (kRound[static_cast<std::size_t>(step) % kRound.size()]) {
            case Step::kBuy:
                Buy();
                break;
            case Step::kReport:
                OpenReport(kReports[static_cast<std::size_t>(m_counts.reports) % kReports.size()]);
                break;
            case Step::kSellFifo:
                Sell(SaleMethod::kFifo);
                break;
            case Step::kSellLifo:
                Sell(SaleMethod::kLifo);
                break;
            case Step::kSellFromLot:
                Sell(SaleMethod::kCustom);
                break;
            case Step::kSave:
                SaveAndCompare();
                break;
            case Step::kSwitchView:
                SwitchView();
                break;
        }
    }

    // Now and then the user lingers in a form, and the worker's prices land meanwhile.
    void Linger() {
        if (m_random() % 3 == 0) {
            QTest::qWait(static_cast<int>(kUpdatePause.count()) * 2);
        }
    }

    std::string SomeSymbol() { return kSymbols[m_random() % kSymbols.size()]; }

    // A quarter between 5 and 55.
    float SomePrice() { return 5.0f + 0.25f * static_cast<float>(m_random() % 200); }

    float SomeCommission() {
        static constexpr std::array<float, 4> kCommissions{0.0f, 4.25f, 7.5f, 12.0f};
        return kCommissions[m_random() % kCommissions.size()];
    }

    void Buy() {
        const std::string symbol = SomeSymbol();
        const auto shares = static_cast<float>(1 + m_random() % 50);
        const float price = SomePrice();
        const float commission = SomeCommission();
        OnWindow(QStringLiteral("Purchase"), m_unexpected, [=, this](QWidget* form) {
            Choose(FieldOf<QComboBox>(form, QStringLiteral("Symbol")),
                   QString::fromStdString(symbol));
            Type(FieldOf<QLineEdit>(form, QStringLiteral("Number of shares")), Number(shares));
            Type(FieldOf<QLineEdit>(form, QStringLiteral("Purchase Price")), Number(price));
            Choose(FieldOf<QComboBox>(form, QStringLiteral("Purchase Type")),
                   QStringLiteral("Direct Purchase"));
            Type(FieldOf<QLineEdit>(form, QStringLiteral("Commission")), Number(commission));
            Linger();
            Click(form, QStringLiteral("OK"));
        });
        QVERIFY(m_program->Run(CMainFrame::kPurchaseStock));
        m_ledger->Buy(symbol, m_ledger->CompanyOf(symbol), shares, price, commission);
        QCOMPARE(m_program->doc.Purchases().size(), m_ledger->LotCount());
        ++m_counts.purchases;
    }

    void Sell(SaleMethod method) {
        const std::string symbol = SomeSymbol();
        const float spare = m_ledger->Held(symbol) - kKeptShares;
        if (spare < 1.0f) {
            return Buy();
        }
        const std::vector<const PortfolioLedger::Lot*> open = m_ledger->OpenLots(symbol);
        const std::size_t lotIndex = m_random() % open.size();
        const float most =
            method == SaleMethod::kCustom ? std::min(spare, open[lotIndex]->Held()) : spare;
        const auto shares = static_cast<float>(1 + m_random() % static_cast<unsigned>(most));
        const float price = SomePrice();
        const float commission = SomeCommission();
        static constexpr std::array<const char*, 3> kMethods{"FIFO", "LIFO", "Custom"};
        OnWindow(QStringLiteral("Sale"), m_unexpected, [=, this](QWidget* form) {
            Choose(FieldOf<QComboBox>(form, QStringLiteral("Symbol")),
                   QString::fromStdString(symbol));
            Type(FieldOf<QLineEdit>(form, QStringLiteral("Sale Price")), Number(price));
            Type(FieldOf<QLineEdit>(form, QStringLiteral("Number of shares")), Number(shares));
            Type(FieldOf<QLineEdit>(form, QStringLiteral("Commission")), Number(commission));
            Click(form, QString::fromLatin1(kMethods[static_cast<std::size_t>(method)]));
            if (method == SaleMethod::kCustom) {
                OnWindow(QStringLiteral("Sale Custom"), m_unexpected, [=](QWidget* custom) {
                    custom->findChild<QListWidget*>(QStringLiteral("lots"))
                        ->setCurrentRow(static_cast<int>(lotIndex));
                    Type(custom->findChild<QLineEdit*>(QStringLiteral("entry")), Number(shares));
                    Click(custom, QStringLiteral("Commit"));
                    Click(custom, QStringLiteral("Sell"));
                });
            }
            Linger();
            Click(form, QStringLiteral("OK"));
        });
        QVERIFY(m_program->Run(CMainFrame::kSellStock));
        if (method == SaleMethod::kCustom) {
            m_ledger->SellFromLot(symbol, lotIndex, shares, price, commission);
        } else {
            m_ledger->SellInOrder(symbol, shares, price, commission, method == SaleMethod::kLifo);
        }
        QCOMPARE(m_program->doc.NextSaleNumber(), m_ledger->NextSaleNumber());
        ++m_counts.sales;
    }

    // Each report in turn, held open a moment while updates arrive, then closed with Esc.
    void OpenReport(const ReportCommand& report) {
        const auto hold = static_cast<int>(m_random() % 250);
        OnWindow(QString::fromLatin1(report.title), m_unexpected, [hold](QWidget* dialog) {
            QTest::qWait(hold);
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QVERIFY(m_program->Run(report.command));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        ++m_counts.reports;
    }

    // The value pane and the chart, on and off, so the view draws every part of itself.
    void SwitchView() {
        QVERIFY(m_program->Run(m_counts.switches % 2 == 0 ? CMainFrame::kShowChart
                                                          : CMainFrame::kShowValue));
        ++m_counts.switches;
    }

    // File Save, then the file read back must hold exactly the records entered so far.
    void SaveAndCompare() {
        QVERIFY(m_program->Run(CMainFrame::kFileSave));
        QVERIFY(!m_program->doc.IsModified());
        Settings settings;
        CKx7Doc reopened(settings);
        QVERIFY(OpenKx7File(reopened, m_path.toStdString()).Ok());
        CKx7Doc expected(settings);
        m_ledger->BuildDocument(expected);
        QCOMPARE(DescribeRecords(reopened), DescribeRecords(expected));
        ++m_counts.saves;
    }

    struct Counts {
        int purchases = 0;
        int sales = 0;
        int reports = 0;
        int saves = 0;
        int switches = 0;
    };

    Program* m_program = nullptr;
    PortfolioLedger* m_ledger = nullptr;
    QString m_path;
    std::mt19937 m_random;
    Counts m_counts;
    QStringList m_unexpected;
};

QTEST_MAIN(SoakTest)

#include "Soak.moc"

#include "desktop/quotes/UpdateWorker.h"

#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "core/model/Clock.h"
#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"
#include "core/settings/Settings.h"
#include "core/support/DocBuilder.h"
#include "core/support/LoopbackHttpServer.h"
#include "core/support/NoProxy.h"
#include "desktop/controls/XListCtrl.h"
#include "desktop/mainwindow/Kx7View.h"
#include "quotes/MessageBoxRecorder.h"
#include "support/GuiTestRegistry.h"

namespace {

using namespace std::chrono_literals;

// A Wednesday in the middle of the trading day.
std::int64_t MarketTime() {
    return LocalTimeOf(2024, 6, 5, 11, 15);
}

}  // namespace

class UpdateWorkerTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ClearProxyEnvironment(); }
    void cleanupTestCase() { Clock::UseSystemTime(); }

    void init() {
        Clock::SetFixed(MarketTime());
        m_settings = std::make_unique<Settings>();
        m_doc = std::make_unique<CKx7Doc>(*m_settings);
        AddLot(*m_doc, "AB", 10, 5).marketPrice = 10.0f;
        m_doc->AddToRecordCount(1);
        m_repaints = 0;
        m_statusLines.clear();
        m_repaintedOnUiThread = true;
        const std::lock_guard lock(m_pausesMutex);
        m_tablePauses.clear();
    }

    // The worker fetches when the timing decision says so, and then the prices, the last
    // update and a timeline sample reach the document on the user-interface thread,
    // followed by a repaint.
    void fetchesWhenDue_data() {
        QTest::addColumn<qint64>("now");
        QTest::addColumn<qint64>("lastUpdate");
        QTest::addColumn<bool>("fetches");
        QTest::newRow("never updated") << qint64(LocalTimeOf(2024, 6, 8, 12)) << qint64(0) << true;
        QTest::newRow("market time")
            << qint64(MarketTime()) << qint64(LocalTimeOf(2024, 6, 5, 11, 5)) << true;
        QTest::newRow("Saturday after Friday 16:30")
            << qint64(LocalTimeOf(2024, 6, 8, 12)) << qint64(LocalTimeOf(2024, 6, 7, 16, 30))
            << true;
        QTest::newRow("Saturday, updated this morning")
            << qint64(LocalTimeOf(2024, 6, 8, 12)) << qint64(LocalTimeOf(2024, 6, 8, 10)) << false;
    }

    void fetchesWhenDue() {
        QFETCH(qint64, now);
        QFETCH(qint64, lastUpdate);
        QFETCH(bool, fetches);
        Clock::SetFixed(now);
        m_doc->SetLastUpdateTime(lastUpdate);
        LoopbackHttpServer server(
            [](const std::string&) { return CannedReply::Page("AB <b>12.5</b>, 12.0 - 0.5\n"); });
        // One cycle only, however slowly the test machine runs.
        auto worker = MakeWorker(server.Host(), 1h);

        QVERIFY(worker->Start());
        QTRY_VERIFY(!TablePauses().empty());
        if (fetches) {
            QTRY_COMPARE(m_repaints, 1);
            QCOMPARE(m_doc->MarketPrice("AB"), 12.5f);
            QCOMPARE(m_doc->Purchases().front()->quoteDirection, 1);
            QCOMPARE(m_doc->LastUpdateTime(), now);
            QCOMPARE(m_doc->TimelineCount(), 1);
            QVERIFY(m_repaintedOnUiThread);
            QCOMPARE(server.Targets().front(), std::string("/d?s=AB&f=1lc"));
        } else {
            QTest::qWait(200);
            QCOMPARE(m_repaints, 0);
            QVERIFY(server.Targets().empty());
            QCOMPARE(m_doc->LastUpdateTime(), lastUpdate);
        }
        QVERIFY(worker->Stop());
        QVERIFY(!worker->Running());
    }

    // The pause after each cycle comes from the refresh index; an empty portfolio only
    // looks again after 10 seconds and fetches nothing; an index out of range goes back
    // to 10 minutes in the settings.
    void pauseFollowsTheSettings_data() {
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("interval");
        QTest::addColumn<qint64>("pauseMs");
        QTest::addColumn<int>("intervalAfter");
        QTest::addColumn<int>("requests");
        QTest::newRow("1 minute") << 1 << 0 << qint64(60'000) << 0 << 1;
        QTest::newRow("60 minutes") << 1 << 5 << qint64(3'600'000) << 5 << 1;
        QTest::newRow("out of range") << 1 << 7 << qint64(600'000) << 3 << 1;
        QTest::newRow("no records") << 0 << 0 << qint64(10'000) << 0 << 0;
    }

    void pauseFollowsTheSettings() {
        QFETCH(int, records);
        QFETCH(int, interval);
        QFETCH(qint64, pauseMs);
        QFETCH(int, intervalAfter);
        QFETCH(int, requests);
        m_doc->AddToRecordCount(records - m_doc->RecordCount());
        m_settings->updateInterval = interval;
        LoopbackHttpServer server([](const std::string&) { return CannedReply::Page(""); });
        auto worker = MakeWorker(server.Host());

        worker->Start();
        QTRY_VERIFY(TablePauses().size() >= 2);
        QCOMPARE(TablePauses().front(), std::chrono::milliseconds(pauseMs));
        QCOMPARE(m_settings->updateInterval, intervalAfter);
        worker->Stop();
        QCOMPARE(server.Targets().empty(), requests == 0);
    }

    // A stop is honoured at once: during the pause, while a page is on its way, and while
    // the server has stopped half-way through the body. Nothing of that cycle is stored.
    void stopsWithinASecond_data() {
        QTest::addColumn<int>("reply");
        QTest::addColumn<bool>("fetchDone");
        QTest::newRow("in the pause") << int(CannedReply::Kind::kPage) << true;
        QTest::newRow("server silent") << int(CannedReply::Kind::kStall) << false;
        QTest::newRow("body stalled") << int(CannedReply::Kind::kStallInBody) << false;
    }

    void stopsWithinASecond() {
        QFETCH(int, reply);
        QFETCH(bool, fetchDone);
        CannedReply canned;
        canned.kind = static_cast<CannedReply::Kind>(reply);
        canned.body = "AB <b>12.5</b>, 12.0 - 0.5\n";
        LoopbackHttpServer server([&canned](const std::string&) { return canned; });
        auto worker = MakeWorker(server.Host(), 1h);

        worker->Start();
        QTRY_COMPARE(server.Targets().size(), std::size_t{1});
        if (fetchDone) {
            QTRY_COMPARE(m_repaints, 1);
        } else {
            QTest::qWait(100);
        }
        QElapsedTimer stopping;
        stopping.start();
        worker->Stop();
        QVERIFY2(stopping.elapsed() < 1000, qPrintable(QString::number(stopping.elapsed())));
        QVERIFY(!worker->Running());

        QTest::qWait(100);
        QCOMPARE(m_repaints, fetchDone ? 1 : 0);
        QCOMPARE(m_doc->MarketPrice("AB"), fetchDone ? 12.5f : 10.0f);
    }

    // Results that a stopped worker had already handed over are not stored.
    void resultsOfAStoppedWorkerAreDropped() {
        std::atomic<bool> answer{false};
        LoopbackHttpServer server([&answer](const std::string&) {
            while (!answer.load()) {
                std::this_thread::sleep_for(5ms);
            }
            return CannedReply::Page("AB <b>12.5</b>\n");
        });
        auto worker = MakeWorker(server.Host(), 1h);
        worker->Start();
        QTRY_COMPARE(server.Targets().size(), std::size_t{1});
        // The user-interface thread is kept busy, so the results wait in its queue.
        answer = true;
        QThread::msleep(300);
        worker->Stop();
        QTest::qWait(100);
        QCOMPARE(m_repaints, 0);
        QCOMPARE(m_doc->MarketPrice("AB"), 10.0f);
        QCOMPARE(m_doc->LastUpdateTime(), std::int64_t{0});
    }

    // A cycle that brings no price opens no box: it says so in one status line, with the
    // time it tried and that no prices came yet; the last update stays, nothing is
    // repainted, and the next cycle tries again and stores what it gets.
    void failedCycleSaysWhyInTheStatusLine() {
        std::atomic<int> requests{0};
        LoopbackHttpServer server([&requests](const std::string&) {
            // The three attempts of the first cycle fail; the next cycle's page comes.
            return requests++ < 3 ? CannedReply::Page("busy", 503)
                                  : CannedReply::Page("AB <b>12.5</b>, 12.0 - 0.5\n");
        });
        MessageBoxRecorder boxes;
        auto worker = MakeWorker(server.Host(), 200ms);

        worker->Start();
        QTRY_COMPARE(m_statusLines.size(), qsizetype{1});
        QCOMPARE(m_statusLines.front(),
                 QStringLiteral("Prices not updated at 11:15: %1 answered with HTTP status 503 "
                                "(no prices yet)")
                     .arg(QString::fromStdString(server.Host())));
        QCOMPARE(m_doc->LastUpdateTime(), std::int64_t{0});
        QCOMPARE(m_doc->MarketPrice("AB"), 10.0f);
        QTRY_COMPARE(m_repaints, 1);
        worker->Stop();
        QCOMPARE(m_doc->MarketPrice("AB"), 12.5f);
        QCOMPARE(m_doc->LastUpdateTime(), MarketTime());
        QCOMPARE(m_statusLines.size(), qsizetype{1});
        QVERIFY(boxes.messages.isEmpty());
    }

    // A whole cycle ends by the settings' deadline, however long a silent server would hold
    // a page: what arrived before it is stored, the rest keeps its price, and no box opens.
    void deadlineEndsACycle() {
        for (const char* symbol : {"S00", "S01", "S02", "S03", "S04"}) {
            AddLot(*m_doc, symbol, 10, 5).marketPrice = 3.0f;
        }
        std::atomic<int> requests{0};
        LoopbackHttpServer server([&requests](const std::string&) {
            if (requests++ == 0) {
                return CannedReply::Page("AB <b>12.5</b>, 12.0 - 0.5\nS03 <b>4</b>\n");
            }
            CannedReply silent;
            silent.kind = CannedReply::Kind::kStall;
            return silent;
        });
        m_settings->quoteDeadlineSeconds = 1;
        auto worker = MakeWorker(server.Host(), 1h, 60s);
        MessageBoxRecorder boxes;
        QElapsedTimer timer;
        timer.start();

        worker->Start();

        QTRY_COMPARE_WITH_TIMEOUT(m_repaints, 1, 10'000);
        QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(server.Targets().size(), std::size_t{2});
        QCOMPARE(m_doc->MarketPrice("AB"), 12.5f);
        QCOMPARE(m_doc->MarketPrice("S03"), 4.0f);
        QCOMPARE(m_doc->MarketPrice("S04"), 3.0f);
        QCOMPARE(m_doc->LastUpdateTime(), MarketTime());
        QVERIFY(boxes.messages.isEmpty());
        worker->Stop();
    }

    // The view runs the worker exactly while automatic update is on; a new interval
    // restarts it with a fresh first cycle, which fetches at once during market time.
    void viewControlsTheWorker() {
        LoopbackHttpServer server(
            [](const std::string&) { return CannedReply::Page("AB <b>12.5</b>\n"); });
        auto worker = MakeWorker(server.Host(), 1h);
        CKx7View view(*m_doc, *m_settings, *worker);
        m_repaintView = [&view] { view.Repaint(); };
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        m_settings->autoUpdate = false;
        view.Repaint();
        QTest::qWait(200);
        QVERIFY(!worker->Running());
        QVERIFY(server.Targets().empty());

        m_settings->autoUpdate = true;
        view.Repaint();
        QVERIFY(worker->Running());
        QTRY_COMPARE(m_repaints, 1);
        QCOMPARE(view.HoldingsList().GetItemText(0, 2), QStringLiteral("12.50"));
        QTest::qWait(200);
        QCOMPARE(server.Targets().size(), std::size_t{1});

        m_settings->updateInterval = 1;
        view.Repaint();
        QTRY_COMPARE(m_repaints, 2);
        QCOMPARE(server.Targets().size(), std::size_t{2});

        m_settings->autoUpdate = false;
        view.Repaint();
        QVERIFY(!worker->Running());
        m_repaintView = {};
    }

    // Destroying the worker in the middle of a page (as quitting does) ends its thread
    // without waiting for the server.
    void destroyedMidPage() {
        CannedReply stall;
        stall.kind = CannedReply::Kind::kStall;
        LoopbackHttpServer server([&stall](const std::string&) { return stall; });
        auto worker = MakeWorker(server.Host());
        worker->Start();
        QTRY_COMPARE(server.Targets().size(), std::size_t{1});
        QElapsedTimer ending;
        ending.start();
        worker.reset();
        QVERIFY(ending.elapsed() < 1000);
        QTest::qWait(50);
        QCOMPARE(m_repaints, 0);
    }

private:
    // A worker on this test's document with every host at `host`; its pause is `pause`
    // whatever the table says, and the table's pauses are kept. Each attempt may take
    // `transferTimeout`.
    std::unique_ptr<CUpdateWorker> MakeWorker(const std::string& host,
                                              std::chrono::milliseconds pause = 30ms,
                                              std::chrono::milliseconds transferTimeout = 5s) {
        auto target = [this, host] {
            CUpdateWorker::Target made{*m_doc, *m_settings, QuoteHosts{host, host, host},
                                       [this] { OnRepaint(); }};
            made.status = [this](const std::string& line) {
                m_statusLines << QString::fromStdString(line);
            };
            return made;
        };
        auto pauseFor = [this, pause](std::chrono::milliseconds fromTable) {
            // Asked on the worker thread.
            const std::lock_guard lock(m_pausesMutex);
            m_tablePauses.push_back(fromTable);
            return pause;
        };
        FetchLimits limits;
        limits.connectTimeout = 2s;
        limits.transferTimeout = transferTimeout;
        return std::make_unique<CUpdateWorker>(target, pauseFor, limits);
    }

    std::vector<std::chrono::milliseconds> TablePauses() {
        const std::lock_guard lock(m_pausesMutex);
        return m_tablePauses;
    }

    void OnRepaint() {
        ++m_repaints;
        m_repaintedOnUiThread = m_repaintedOnUiThread && QThread::currentThread() == qApp->thread();
        if (m_repaintView) {
            m_repaintView();
        }
    }

    std::unique_ptr<Settings> m_settings;
    std::unique_ptr<CKx7Doc> m_doc;
    int m_repaints = 0;
    QStringList m_statusLines;  // the status lines of cycles that stored nothing
    bool m_repaintedOnUiThread = true;
    std::function<void()> m_repaintView;
    std::mutex m_pausesMutex;
    std::vector<std::chrono::milliseconds> m_tablePauses;
};

static const GuiTestRegistration<UpdateWorkerTest> registration("UpdateWorker_test");

#include "UpdateWorker_test.moc"

#include "desktop/quotes/QuoteUpdateDlg.h"
#include "desktop/quotes/TabbedItemDelegate.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "core/model/Clock.h"
#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"
#include "core/quotes/PriceHistoryKeeper.h"
#include "core/quotes/QuoteSource.h"
#include "core/settings/Settings.h"
#include "core/support/DocBuilder.h"
#include "core/support/LoopbackHttpServer.h"
#include "core/support/NoProxy.h"
#include "core/support/QuotePages.h"
#include "desktop/controls/XListCtrl.h"
#include "desktop/mainwindow/Kx7View.h"
#include "quotes/MessageBoxRecorder.h"
#include "support/FrameFixture.h"
#include "support/GuiTestRegistry.h"

namespace {

using namespace std::chrono_literals;

QuoteHosts AllAt(const std::string& host) {
    return {host, host, host};
}

QString SymbolName(int index) {
    return QStringLiteral("S%1").arg(index, 2, 10, QLatin1Char('0'));
}

void ClickUpdate(CQuoteUpdateDlg& dialog) {
    auto* update = dialog.findChild<QPushButton*>(QStringLiteral("updateButton"));
    QVERIFY(update != nullptr);
    QTest::mouseClick(update, Qt::LeftButton);
}

}  // namespace

class QuoteUpdateDlgTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        ClearProxyEnvironment();
        Clock::SetFixed(LocalTimeOf(2024, 6, 5, 11, 15));
    }
    void cleanupTestCase() { Clock::UseSystemTime(); }

    void init() {
        m_settings = std::make_unique<Settings>();
        m_doc = std::make_unique<CKx7Doc>(*m_settings);
    }

    // The texts a person reads, and the held symbols in order with their prices.
    void opening() {
        AddLot(*m_doc, "CD", 10, 5).marketPrice = 7.25f;
        AddLot(*m_doc, "AB", 10, 5).marketPrice = 12.5f;
        AddLot(*m_doc, "EF", 0, 5).marketPrice = 1.0f;  // nothing held: not listed
        CQuoteUpdateDlg dialog(*m_doc, QuoteServer::kYahoo, AllAt("127.0.0.1:1"));

        QCOMPARE(dialog.windowTitle(), QStringLiteral("Quote Price"));
        QStringList labels;
        for (const QLabel* label : dialog.findChildren<QLabel*>()) {
            labels << label->text();
        }
        QCOMPARE(labels, (QStringList{QStringLiteral("Update Status"),
                                      QStringLiteral("Get Current Market Value*"),
                                      QStringLiteral("*Quotes are delayed 15 to 20 minutes.")}));
        const auto* heading = dialog.findChild<CTabbedHeading*>(QStringLiteral("quoteHeading"));
        QVERIFY(heading != nullptr);
        QCOMPARE(heading->Text(), QStringLiteral("Symbol\tOld Mktvalue\tCurrent MktValue"));
        QCOMPARE(dialog.Lines(),
                 (QStringList{QStringLiteral("AB\t$12.500000"), QStringLiteral("CD\t$7.250000")}));
        const auto* progress = dialog.findChild<QProgressBar*>(QStringLiteral("progress"));
        QCOMPARE(progress->maximum(), 100);
        QCOMPARE(progress->value(), 0);
        QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("closeButton"))->text(),
                 QStringLiteral("Close"));
        QVERIFY(QDir().mkpath(ScreenshotFolder()));
        dialog.grab().save(ScreenshotFolder() + QStringLiteral("/QuoteUpdateDlg.png"));
    }

    // Each source's page, as its service lays it out, read into old and new prices.
    void update_data() {
        QTest::addColumn<int>("source");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("direction");
        const QStringList found{QStringLiteral("AB\t$10.0000 \t$12.5000"),
                                QStringLiteral("CD\t$10.0000 \tNo Data")};
        QTest::newRow("Yahoo!") << static_cast<int>(QuoteServer::kYahoo)
                                << QStringLiteral("AB <b>12.5</b>\n")
                                << QStringLiteral("/d?s=AB+CD&f=1lc") << found << 0;
        QTest::newRow("NASDAQ") << static_cast<int>(QuoteServer::kNasdaq)
                                << QString::fromStdString(
                                       NasdaqRow("AB", "12.5", NasdaqTail("up", "0.75")))
                                << QStringLiteral("/quote.dll?mode=stock&symbol=AB&symbol=CD") +
                                       QStringLiteral("&symbol=").repeated(8) +
                                       QStringLiteral("&multi.x=5&multi.y=13")
                                << found << 1;
        QTest::newRow("American Stock Exchange")
            << static_cast<int>(QuoteServer::kAmex) << QString::fromStdString(AmexRow("AB", "12.5"))
            << QStringLiteral("quote.dll?mode=stock&page=quick&symbol=AB&symbol=CD") +
                   QStringLiteral("&symbol=").repeated(8)
            << found << 0;
    }

    void update() {
        QFETCH(int, source);
        QFETCH(QString, page);
        QFETCH(QString, target);
        QFETCH(QStringList, lines);
        QFETCH(int, direction);
        AddLot(*m_doc, "AB", 10, 5).marketPrice = 10.0f;
        AddLot(*m_doc, "CD", 10, 5).marketPrice = 10.0f;
        LoopbackHttpServer server(
            [&page](const std::string&) { return CannedReply::Page(page.toStdString()); });
        CQuoteUpdateDlg dialog(*m_doc, static_cast<QuoteServer>(source), AllAt(server.Host()));
        QCOMPARE(dialog.Lines(),
                 (QStringList{QStringLiteral("AB\t$10.000000"), QStringLiteral("CD\t$10.000000")}));

        ClickUpdate(dialog);

        QCOMPARE(dialog.Lines(), lines);
        QCOMPARE(server.Targets(), std::vector<std::string>{target.toStdString()});
        QCOMPARE(m_doc->MarketPrice("AB"), 12.5f);
        QCOMPARE(m_doc->MarketPrice("CD"), 10.0f);
        QCOMPARE(m_doc->Purchases().front()->quoteDirection, direction);
        QVERIFY(m_doc->IsModified());
    }

    // The bar stops after each full batch at the position of its last symbol, then at n.
    void progressPositions_data() {
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("symbols");
        QTest::addColumn<QList<int>>("positions");
        QTest::addColumn<int>("requests");
        QTest::newRow("AMEX 23") << static_cast<int>(QuoteServer::kAmex) << 23
                                 << QList<int>{1, 9, 19, 23} << 3;
        QTest::newRow("Yahoo 6") << static_cast<int>(QuoteServer::kYahoo) << 6
                                 << QList<int>{1, 4, 6} << 2;
        QTest::newRow("NASDAQ 10")
            << static_cast<int>(QuoteServer::kNasdaq) << 10 << QList<int>{1, 9, 10} << 1;
        QTest::newRow("no symbols")
            << static_cast<int>(QuoteServer::kYahoo) << 0 << QList<int>{} << 0;
        QTest::newRow("no source") << 7 << 3 << QList<int>{1, 3} << 0;
    }

    void progressPositions() {
        QFETCH(int, source);
        QFETCH(int, symbols);
        QFETCH(QList<int>, positions);
        QFETCH(int, requests);
        for (int i = 0; i < symbols; ++i) {
            AddLot(*m_doc, SymbolName(i).toStdString(), 1, 1);
        }
        LoopbackHttpServer server([](const std::string&) { return CannedReply::Page(""); });
        CQuoteUpdateDlg dialog(*m_doc, static_cast<QuoteServer>(source), AllAt(server.Host()));
        auto* progress = dialog.findChild<QProgressBar*>(QStringLiteral("progress"));
        QList<int> seen;
        connect(progress, &QProgressBar::valueChanged, [&seen](int value) { seen << value; });

        ClickUpdate(dialog);

        QCOMPARE(seen, positions);
        QCOMPARE(progress->value(), symbols);
        QCOMPARE(progress->maximum(), std::max(symbols, 1));
        QCOMPARE(static_cast<int>(server.Targets().size()), requests);
        QCOMPARE(dialog.Lines().size(), requests > 0 ? symbols : 0);
    }

    // Every run ends with the last update and a sample of the day's value, even one that
    // fetched nothing; each press records another sample.
    void timelineAndLastUpdate() {
        AddLot(*m_doc, "AB", 10, 5).marketPrice = 10.0f;
        m_doc->SetLastUpdateTime(0);
        LoopbackHttpServer server(
            [](const std::string&) { return CannedReply::Page("AB <b>20</b>\n"); });
        CQuoteUpdateDlg dialog(*m_doc, QuoteServer::kYahoo, AllAt(server.Host()));
        const int samples = m_doc->TimelineCount();

        ClickUpdate(dialog);

        QCOMPARE(m_doc->LastUpdateTime(), Clock::Now());
        QCOMPARE(m_doc->TimelineCount(), samples + 1);
        QCOMPARE(m_doc->TimelineValue(samples), 200.0f);

        Clock::SetFixed(Clock::Now() + 60);
        ClickUpdate(dialog);
        QCOMPARE(m_doc->LastUpdateTime(), Clock::Now());
        QCOMPARE(m_doc->TimelineCount(), samples + 2);
        Clock::SetFixed(LocalTimeOf(2024, 6, 5, 11, 15));
    }

    // With the server down each batch warns three times, then "Error Occurs on HTTP!",
    // in boxes without an owner; its symbols show "No Data" and keep their prices.
    void serverDown() {
        for (int i = 0; i < 6; ++i) {
            AddLot(*m_doc, SymbolName(i).toStdString(), 1, 1).marketPrice = 3.0f;
        }
        const QString host = QStringLiteral("127.0.0.1:%1").arg(LoopbackHttpServer::ClosedPort());
        QWidget owner;
        CQuoteUpdateDlg dialog(*m_doc, QuoteServer::kYahoo, AllAt(host.toStdString()), &owner);
        MessageBoxRecorder boxes;

        ClickUpdate(dialog);

        const QString warning = QStringLiteral(
                                    "!Velmora|Can't connect to %1 server, please "
                                    "try again later!")
                                    .arg(host);
        const QString final = QStringLiteral("Velmora|Error Occurs on HTTP!");
        const QStringList batch{warning, warning, warning, final};
        QCOMPARE(boxes.messages, batch + batch);
        QVERIFY(boxes.ownerless);
        QCOMPARE(dialog.Lines().size(), 6);
        QCOMPARE(dialog.Lines().front(),
                 QStringLiteral("S00\t$3.0000 \tNo Data (could not connect to %1 (Couldn't "
                                "connect to server))")
                     .arg(host));
        QCOMPARE(m_doc->MarketPrice("S05"), 3.0f);
        QCOMPARE(m_doc->LastUpdateTime(), Clock::Now());
    }

    // While a page loads the dialog still handles its events, and Close (as Escape or the
    // window's own close) stops the run at once: what arrived before is stored, nothing
    // after, and no more message boxes come.
    void closeStopsARunAtOnce() {
        for (int i = 0; i < 6; ++i) {
            AddLot(*m_doc, SymbolName(i).toStdString(), 1, 1).marketPrice = 3.0f;
        }
        std::atomic<int> requests{0};
        LoopbackHttpServer server([&](const std::string&) {
            if (requests++ == 0) {
                return CannedReply::Page(
                    "S00 <b>4</b> S01 <b>4</b> S02 <b>4</b> S03 <b>4</b> "
                    "S04 <b>4</b>\n");
            }
            CannedReply silent;
            silent.kind = CannedReply::Kind::kStall;
            return silent;
        });
        CQuoteUpdateDlg dialog(*m_doc, QuoteServer::kYahoo, AllAt(server.Host()));
        FetchLimits limits;
        limits.transferTimeout = 60s;
        dialog.SetFetchLimits(limits);
        dialog.show();
        MessageBoxRecorder boxes;
        QElapsedTimer sinceClose;
        bool closeWasOffered = false;
        QTimer::singleShot(500, &dialog, [&] {
            auto* close = dialog.findChild<QPushButton*>(QStringLiteral("closeButton"));
            closeWasOffered = close->isEnabled();
            sinceClose.start();
            close->click();
        });

        ClickUpdate(dialog);

        QVERIFY(sinceClose.isValid());
        QVERIFY2(sinceClose.elapsed() < 1000, qPrintable(QString::number(sinceClose.elapsed())));
        QVERIFY(closeWasOffered);
        QVERIFY(!dialog.isVisible());
        QVERIFY(boxes.messages.isEmpty());
        QCOMPARE(m_doc->MarketPrice("S04"), 4.0f);
        QCOMPARE(m_doc->MarketPrice("S05"), 3.0f);
        QVERIFY(dialog.Lines().last().startsWith(QStringLiteral("S05\t$3.0000 \tNo Data (")));
        QCOMPARE(m_doc->LastUpdateTime(), Clock::Now());
    }

    // A Close given right after a fetch warning ends the run there: no further box of that
    // run, however many attempts and batches were left, and the dialog goes.
    void closeAfterAWarningShowsNoMoreBoxes() {
        for (int i = 0; i < 11; ++i) {
            AddLot(*m_doc, SymbolName(i).toStdString(), 1, 1).marketPrice = 3.0f;
        }
        const QString host = QStringLiteral("127.0.0.1:%1").arg(LoopbackHttpServer::ClosedPort());
        CQuoteUpdateDlg dialog(*m_doc, QuoteServer::kYahoo, AllAt(host.toStdString()));
        dialog.show();
        MessageBoxRecorder boxes(100ms, [&dialog] {
            dialog.findChild<QPushButton*>(QStringLiteral("closeButton"))->click();
        });
        QElapsedTimer timer;
        timer.start();

        ClickUpdate(dialog);

        QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(boxes.messages.size(), 1);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(m_doc->MarketPrice("S00"), 3.0f);
        QCOMPARE(m_doc->MarketPrice("S10"), 3.0f);
    }

    // The settings' deadline ends a run against a server that never answers.
    void deadlineEndsARun() {
        AddLot(*m_doc, "AB", 1, 1).marketPrice = 3.0f;
        LoopbackHttpServer server([](const std::string&) {
            CannedReply silent;
            silent.kind = CannedReply::Kind::kStall;
            return silent;
        });
        m_settings->quoteDeadlineSeconds = 1;
        CQuoteUpdateDlg dialog(*m_doc, QuoteServer::kYahoo, AllAt(server.Host()));
        FetchLimits limits;
        limits.transferTimeout = 60s;
        dialog.SetFetchLimits(limits);
        QElapsedTimer timer;
        timer.start();
        ClickUpdate(dialog);
        QVERIFY(timer.elapsed() < 3000);
        QVERIFY(dialog.Lines().front().contains(QStringLiteral("ran out of time")));
        QCOMPARE(m_doc->MarketPrice("AB"), 3.0f);
    }

    // "&WEB Update" opens the dialog with the hosts of the settings file and repaints the
    // view after it closes.
    void webUpdateCommand() {
        LoopbackHttpServer server(
            [](const std::string&) { return CannedReply::Page("AB <b>42.5</b>\n"); });
        QTemporaryDir folder;
        const QString config = folder.filePath(QStringLiteral("velmora.ini"));
        {
            QSettings file(config, QSettings::IniFormat);
            file.setValue(QStringLiteral("QuoteHosts/Yahoo"),
                          QString::fromStdString(server.Host()));
        }
        qputenv("VELMORA_CONFIG", config.toLocal8Bit());
        FrameFixture fixture;
        AddLot(fixture.doc, "AB", 10, 5).marketPrice = 10.0f;
        fixture.frame.show();
        QStringList opened;
        OnNextModal([&opened](QWidget* modal) {
            auto* dialog = qobject_cast<CQuoteUpdateDlg*>(modal);
            QVERIFY(dialog != nullptr);
            opened = dialog->Lines();
            ClickUpdate(*dialog);
            opened += dialog->Lines();
            dialog->findChild<QPushButton*>(QStringLiteral("closeButton"))->click();
        });

        fixture.frame.CommandAction(CMainFrame::kWebUpdate)->trigger();
        qunsetenv("VELMORA_CONFIG");

        QCOMPARE(opened, (QStringList{QStringLiteral("AB\t$10.000000"),
                                      QStringLiteral("AB\t$10.0000 \t$42.5000")}));
        QCOMPARE(fixture.doc.MarketPrice("AB"), 42.5f);
        QCOMPARE(fixture.frame.View().HoldingsList().GetItemText(0, 2), QStringLiteral("42.50"));
    }

    // Each field of a line starts at the tab stop of its heading: the stops are wider than
    // any heading and any price, and heading and lines start at the same left edge.
    void headingsStandOverTheirColumns() {
        AddLot(*m_doc, "AB", 10, 5).marketPrice = 12.5f;
        CQuoteUpdateDlg dialog(*m_doc, QuoteServer::kYahoo, AllAt("127.0.0.1:1"));
        dialog.show();
        const auto* list = dialog.findChild<QListWidget*>(QStringLiteral("quoteList"));
        const auto* heading = dialog.findChild<CTabbedHeading*>(QStringLiteral("quoteHeading"));
        const QFontMetrics metrics(list->font());
        const qreal stop = QuoteTabDistance(metrics);
        for (const QString& field :
             {QStringLiteral("Old Mktvalue"), QStringLiteral("Current MktValue"),
              QStringLiteral("$1234567.0000 "), QStringLiteral("$1234567.000000")}) {
            QVERIFY2(metrics.horizontalAdvance(field) < stop, qPrintable(field));
        }
        const int headingLeft = heading->mapTo(&dialog, QPoint(heading->TextLeft(), 0)).x();
        const int listLeft = list->mapTo(&dialog, QPoint(heading->TextLeft(), 0)).x();
        QCOMPARE(headingLeft, listLeft);
        QVERIFY(list->viewport()->mapTo(&dialog, QPoint(0, 0)).x() + 3 == listLeft);
    }

    // A chain of defined sources: the first fails, the second prices what it can, and the
    // grant's entry is priced by its underlying symbol; every price reaches the history,
    // and "Fetch History" adds the second source's daily closes for the selected symbol.
    void definedSourcesFallBackAndKeepHistory() {
        m_settings->ungroupOptions = true;
        AddLot(*m_doc, "AB", 10, 5).marketPrice = 10.0f;
        AddGrant(*m_doc, "XY", 100, 1).marketPrice = 4.0f;
        AddLot(*m_doc, "ZZ", 10, 5).marketPrice = 2.0f;
        LoopbackHttpServer failing([](const std::string&) { return CannedReply::Page("", 500); });
        LoopbackHttpServer working([](const std::string& target) {
            if (target.starts_with("/history")) {
                return CannedReply::Page(
                    "Date,Close\n2024-06-03,11.0\n2024-06-04,N/D\n2024-06-04,11.5\n");
            }
            return CannedReply::Page("Symbol,Close\nAB,12.0\nXY,5.0\nZZ,N/D\n");
        });
        QuoteSource first;
        first.name = "First";
        first.url = "http://" + failing.Host() + "/q/{symbol}";
        first.fields.price = "/price";
        QuoteSource second;
        second.name = "Second";
        second.url = "http://" + working.Host() + "/q?s={symbols}";
        second.batchSize = 10;
        second.format = SourceFormat::kCsv;
        second.fields.symbol = "Symbol";
        second.fields.price = "Close";
        second.history = {.url = "http://" + working.Host() + "/history?s={symbol}&from={from}",
                          .format = SourceFormat::kCsv,
                          .date = "Date",
                          .close = "Close"};
        PriceHistoryKeeper history;
        CQuoteUpdateDlg dialog(*m_doc, {first, second}, AllAt("127.0.0.1:1"), nullptr);
        dialog.SetPriceHistory(&history);
        MessageBoxRecorder boxes;

        ClickUpdate(dialog);

        QCOMPARE(dialog.Lines(),
                 (QStringList{QStringLiteral("AB\t$10.0000 \t$12.0000"),
                              QStringLiteral("XY\t$4.0000 \t$5.0000"),
                              QStringLiteral("ZZ\t$2.0000 \tNo Data (First: 127.0.0.1:%1 answered "
                                             "with HTTP status 500; Second: the price at column "
                                             "Close is \"N/D\", which is no number)")
                                  .arg(QString::fromStdString(failing.Host()).section(':', 1))}));
        QVERIFY(boxes.messages.isEmpty());
        QCOMPARE(m_doc->MarketPrice("XY-O"), 5.0f);
        const PriceDay today = PriceDayAt(Clock::Now());
        QCOMPARE(history.History().CloseOn("AB", today), std::optional<float>(12.0f));
        QCOMPARE(history.History().CloseOn("XY", today), std::optional<float>(5.0f));
        QVERIFY(!history.History().CloseOn("ZZ", today));

        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("quoteList"));
        list->setCurrentRow(0);
        list->item(0)->setSelected(true);
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("historyButton")),
                          Qt::LeftButton);

        QCOMPARE(dialog.Lines(),
                 (QStringList{QStringLiteral(
                     "AB\tHistory: 2 closes from 2024-06-03 to 2024-06-04 (Second)")}));
        QCOMPARE(history.History().CloseOn("AB", today - 1), std::optional<float>(11.5f));
        QCOMPARE(history.History().CloseOn("AB", today - 2), std::optional<float>(11.0f));
        QVERIFY(working.Targets().back().starts_with("/history?s=AB&from=0"));
    }

private:
    std::unique_ptr<Settings> m_settings;
    std::unique_ptr<CKx7Doc> m_doc;
};

static const GuiTestRegistration<QuoteUpdateDlgTest> registration("QuoteUpdateDlg_test");

#include "QuoteUpdateDlg_test.moc"

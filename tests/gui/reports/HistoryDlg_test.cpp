#include "desktop/reports/HistoryDlg.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QTest>

#include "ReportDialogSupport.h"
#include "core/model/Kx7Doc.h"
#include "core/reports/HistoryReport.h"
#include "core/settings/Settings.h"
#include "support/GuiTestRegistry.h"

namespace {

constexpr std::int64_t kDay = 86400;

// One transaction in each time frame, and one older than ten years.
struct Fixture {
    Fixture() {
        const std::int64_t now = ReportTestNow();
        for (const int daysAgo : {4000, 500, 300, 150, 60, 20}) {
            doc.Purchase({.symbol = "XYZ",
                          .companyName = "Xyz Corp",
                          .shares = 100,
                          .price = 10.0f + static_cast<float>(daysAgo) / 100,
                          .date = now - daysAgo * kDay,
                          .commission = 0,
                          .purchaseType = "",
                          .comment = ""});
        }
        doc.Sell({.symbol = "XYZ",
                  .shares = 150,
                  .price = 25,
                  .date = now - 3 * kDay,
                  .commission = 5,
                  .method = SaleMethod::kFifo,
                  .comment = ""});
    }
    Settings settings;
    CKx7Doc doc{settings};
};

}  // namespace

class HistoryDlgTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Clock::SetFixed(ReportTestNow()); }
    void cleanupTestCase() { Clock::UseSystemTime(); }

    void opensOnTheLastWeekWithNoTimeFrameChosen() {
        Fixture f;
        CHistoryDlg dialog(f.doc);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("History Report"));
        QCOMPARE(Child<QComboBox>(dialog, "timeFrameBox").currentIndex(), -1);
        QCOMPARE(Items(Child<QComboBox>(dialog, "timeFrameBox")),
                 (QStringList{"1 Week", "1 Month", "3 Months", "6 Months", "1 Year", "2 Years",
                              "Show All"}));
        QCOMPARE(dialog.Days(), std::optional<int>(7));
        QCOMPARE(ReportBoxText(dialog), AsShown(BuildHistoryReport(f.doc, 7)));
        QVERIFY(ReportBoxText(dialog).contains(QStringLiteral("Sale ")));
    }

    void theReportTextCanBeCopied() {
        Fixture f;
        CHistoryDlg dialog(f.doc);
        dialog.show();
        ChooseItem(Child<QComboBox>(dialog, "timeFrameBox"), "Show All");
        auto& report = Child<ReportTextView>(dialog, "report");
        report.setFocus();
        QTest::keyClick(&report, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&report, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), AsShown(BuildHistoryReport(f.doc, {})));
        // Typing changes nothing.
        QTest::keyClicks(&report, "x");
        QCOMPARE(ShownText(report), AsShown(BuildHistoryReport(f.doc, {})));
    }

    void eachTimeFrameShowsItsDays_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("days");  // 0: every transaction
        QTest::addColumn<int>("lines");
        QTest::newRow("1 Week") << "1 Week" << 7 << 1;
        QTest::newRow("1 Month") << "1 Month" << 31 << 2;
        QTest::newRow("3 Months") << "3 Months" << 93 << 3;
        QTest::newRow("6 Months") << "6 Months" << 183 << 4;
        QTest::newRow("1 Year") << "1 Year" << 365 << 5;
        QTest::newRow("2 Years") << "2 Years" << 730 << 6;
        // Everything, also the purchase of eleven years ago.
        QTest::newRow("Show All") << "Show All" << 0 << 7;
    }

    void eachTimeFrameShowsItsDays() {
        QFETCH(QString, item);
        QFETCH(int, days);
        QFETCH(int, lines);
        Fixture f;
        CHistoryDlg dialog(f.doc);
        ChooseItem(Child<QComboBox>(dialog, "timeFrameBox"), item);
        const std::optional<int> expectedDays = days == 0 ? std::nullopt : std::optional(days);
        QCOMPARE(dialog.Days(), expectedDays);
        const QString shown = ReportBoxText(dialog);
        QCOMPARE(shown, AsShown(BuildHistoryReport(f.doc, expectedDays)));
        // The report ends with an empty line.
        QCOMPARE(shown.count(QLatin1Char('\n')), lines + 1);
    }
};

static const GuiTestRegistration<HistoryDlgTest> registration("HistoryDlg_test");

#include "HistoryDlg_test.moc"

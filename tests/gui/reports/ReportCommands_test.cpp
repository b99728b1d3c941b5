// The Reports menu of the main window and the holdings click that opens the summary.
#include <QAction>
#include <QComboBox>
#include <QTest>

#include "ReportDialogSupport.h"
#include "core/model/DemoPortfolio.h"
#include "desktop/controls/XListCtrl.h"
#include "desktop/mainwindow/Kx7View.h"
#include "desktop/mainwindow/MainFrm.h"
#include "desktop/reports/AvailableDlg.h"
#include "desktop/reports/DetailsDlg.h"
#include "desktop/reports/GainsDlg.h"
#include "desktop/reports/HistoryDlg.h"
#include "desktop/reports/OverviewDlg.h"
#include "desktop/reports/SummaryDlg.h"
#include "desktop/reports/TaxDlg.h"
#include "support/FrameFixture.h"
#include "support/GuiTestRegistry.h"

namespace {

struct OpenedDialog {
    QString className;
    QString title;
    QStringList symbolItems;  // the symbol box or filter box, where the dialog has one
    QString symbol;           // the symbol chosen in it
    bool closed = false;
};

// Notes what the next modal dialog is and closes it with Escape, as a person would.
void CloseNextDialogWithEscape(OpenedDialog& opened) {
    OnNextModal([&opened](QWidget* modal) {
        opened.className = QString::fromLatin1(modal->metaObject()->className());
        opened.title = modal->windowTitle();
        for (const char* name : {"symbolBox", "filterBox"}) {
            if (auto* box = modal->findChild<QComboBox*>(QString::fromLatin1(name))) {
                opened.symbolItems = Items(*box);
                opened.symbol = box->currentText();
            }
        }
        QTest::keyClick(modal, Qt::Key_Escape);
        opened.closed = !modal->isVisible();
    });
}

}  // namespace

class ReportCommandsTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Clock::SetFixed(ReportTestNow()); }
    void cleanupTestCase() { Clock::UseSystemTime(); }

    void eachReportCommandOpensItsDialog_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("symbolItems");
        using F = CMainFrame;
        const QStringList all{"ACME", "ACME-O", "BLUE", "CRNR", "DLTA"};
        QTest::newRow("overview") << int(F::kReportOverview) << "COverviewDlg"
                                  << "Overview" << QStringList{};
        QTest::newRow("summary") << int(F::kReportSummary) << "CSummaryDlg"
                                 << "Summary" << all;
        QTest::newRow("taxes") << int(F::kReportTaxes) << "CTaxDlg"
                               << "Tax Report" << QStringList{};
        QTest::newRow("gains") << int(F::kReportGains) << "CGainsDlg"
                               << "Gains and Losses" << QStringList{};
        QTest::newRow("available") << int(F::kReportAvailable) << "CAvailableDlg"
                                   << "Available" << (QStringList{"Show All"} + all);
        QTest::newRow("detailed") << int(F::kReportDetailed) << "CDetailsDlg"
                                  << "Detailed Information" << QStringList{};
        QTest::newRow("history") << int(F::kReportHistory) << "CHistoryDlg"
                                 << "History Report" << QStringList{};
    }

    void eachReportCommandOpensItsDialog() {
        QFETCH(int, id);
        QFETCH(QString, className);
        QFETCH(QString, title);
        QFETCH(QStringList, symbolItems);
        FrameFixture f;
        BuildDemoPortfolio(f.doc);
        f.doc.SetModified(false);
        QAction* action = f.frame.CommandAction(id);
        QVERIFY(action->isEnabled());
        OpenedDialog opened;
        CloseNextDialogWithEscape(opened);
        action->trigger();
        QCOMPARE(opened.className, className);
        QCOMPARE(opened.title, title);
        QCOMPARE(opened.symbolItems, symbolItems);
        QVERIFY(opened.closed);
        // Reports only read the portfolio.
        QVERIFY(!f.doc.IsModified());
    }

    void availableOffersOnlySymbolsStillHeld() {
        FrameFixture f;
        f.doc.Purchase({.symbol = "OLD",
                        .companyName = "Old Co",
                        .shares = 10,
                        .price = 5,
                        .date = LocalTimeOf(2020, 1, 2, 10),
                        .commission = 0,
                        .purchaseType = "",
                        .comment = ""});
        f.doc.Purchase({.symbol = "NEW",
                        .companyName = "New Co",
                        .shares = 10,
                        .price = 5,
                        .date = LocalTimeOf(2020, 1, 2, 10),
                        .commission = 0,
                        .purchaseType = "",
                        .comment = ""});
        f.doc.Sell({.symbol = "OLD",
                    .shares = 10,
                    .price = 6,
                    .date = LocalTimeOf(2021, 1, 2, 10),
                    .commission = 0,
                    .method = SaleMethod::kFifo,
                    .comment = ""});
        OpenedDialog opened;
        CloseNextDialogWithEscape(opened);
        f.frame.CommandAction(CMainFrame::kReportAvailable)->trigger();
        QCOMPARE(opened.symbolItems, (QStringList{"Show All", "NEW"}));
        // The summary offers every symbol that has a lot.
        CloseNextDialogWithEscape(opened);
        f.frame.CommandAction(CMainFrame::kReportSummary)->trigger();
        QCOMPARE(opened.symbolItems, (QStringList{"NEW", "OLD"}));
        QCOMPARE(opened.symbol, QStringLiteral("NEW"));
    }

    void holdingsClickOpensTheSummaryOfItsSymbol() {
        FrameFixture f;
        BuildDemoPortfolio(f.doc);
        f.settings.pieGrouping = PieGrouping::kBySymbol;
        f.frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.frame));
        f.frame.Repaint();
        CXListCtrl& list = f.frame.View().HoldingsList();
        const int rows = list.RowCount();
        QVERIFY(rows > 2);
        // CRNR is up more than its percent-up alert, so its row reads " CRNR+".
        int crnr = -1;
        for (int row = 0; row < rows; ++row) {
            if (list.GetItemText(row, 0) == QStringLiteral(" CRNR+")) {
                crnr = row;
            }
        }
        QVERIFY(crnr >= 0);

        OpenedDialog opened;
        CloseNextDialogWithEscape(opened);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualRect(list.model()->index(crnr, 1)).center());
        QCOMPARE(opened.className, QStringLiteral("CSummaryDlg"));
        QCOMPARE(opened.symbol, QStringLiteral("CRNR"));
        // The view has drawn its lists again.
        QCOMPARE(list.RowCount(), rows);

        // Below the last row nothing opens: a dialog would still be open when the
        // click returns, and this looks for one.
        bool dialogOpened = false;
        QTimer::singleShot(0, [&dialogOpened] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                dialogOpened = true;
                modal->close();
            }
        });
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          QPoint(10, list.viewport()->height() - 3));
        QTest::qWait(20);
        QVERIFY(!dialogOpened);
    }
};

static const GuiTestRegistration<ReportCommandsTest> registration("ReportCommands_test");

#include "ReportCommands_test.moc"

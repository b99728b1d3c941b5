// The available, overview and detailed-information reports.
#include <QComboBox>
#include <QTest>

#include "ReportDialogSupport.h"
#include "core/model/DemoPortfolio.h"
#include "core/model/Kx7Doc.h"
#include "core/reports/AvailableReport.h"
#include "core/reports/DetailsReport.h"
#include "core/reports/OverviewReport.h"
#include "core/settings/Settings.h"
#include "desktop/reports/AvailableDlg.h"
#include "desktop/reports/DetailsDlg.h"
#include "desktop/reports/DetailsSubDlg.h"
#include "desktop/reports/OverviewDlg.h"
#include "support/FrameFixture.h"
#include "support/GuiTestRegistry.h"

class TextReportDlgsTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Clock::SetFixed(ReportTestNow()); }
    void cleanupTestCase() { Clock::UseSystemTime(); }

    void availableOpensOnEveryLot() {
        DemoFixture f;
        CAvailableDlg dialog(f.doc, f.doc.SymbolNames(SymbolFilter::kHeldLots));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Available"));
        QCOMPARE(ReportBoxText(dialog), AsShown(BuildAvailableReport(f.doc)));
        QCOMPARE(Items(Child<QComboBox>(dialog, "filterBox")),
                 (QStringList{"Show All", "ACME", "ACME-O", "BLUE", "CRNR", "DLTA"}));
    }

    void availableFilterPicksTheLots_data() {
        QTest::addColumn<QString>("filter");
        QTest::newRow("options") << "ACME-O";
        QTest::newRow("ordinary lots") << "ACME";
        QTest::newRow("other symbol") << "CRNR";
    }

    void availableFilterPicksTheLots() {
        QFETCH(QString, filter);
        DemoFixture f;
        CAvailableDlg dialog(f.doc, f.doc.SymbolNames(SymbolFilter::kHeldLots));
        auto& box = Child<QComboBox>(dialog, "filterBox");
        ChooseItem(box, filter);
        const QString shown = ReportBoxText(dialog);
        QCOMPARE(shown, AsShown(BuildAvailableReportForSymbol(f.doc, filter.toStdString())));
        QVERIFY(shown.startsWith(filter));
        ChooseItem(box, "Show All");
        QCOMPARE(ReportBoxText(dialog), AsShown(BuildAvailableReport(f.doc)));
    }

    void overviewShowsEverySymbolInByteOrder() {
        DemoFixture f;
        std::vector<std::string> symbols = f.doc.SymbolNames();
        std::vector<std::string> shuffled(symbols.rbegin(), symbols.rend());
        shuffled.push_back("acme");  // lower case sorts after every upper-case symbol
        COverviewDlg dialog(f.doc, shuffled);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Overview"));
        symbols.push_back("acme");
        QCOMPARE(ReportBoxText(dialog), AsShown(BuildOverviewOfSymbols(f.doc, symbols)));
        // One separator per symbol, also after the unknown one.
        QCOMPARE(ReportBoxText(dialog).count(QStringLiteral("=====\n")),
                 static_cast<qsizetype>(symbols.size()));
    }

    void detailsListsEveryPurchase() {
        DemoFixture f;
        CDetailsDlg dialog(f.doc);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Detailed Information"));
        const auto& list = Child<ReportTextView>(dialog, "list");
        QCOMPARE(ShownText(list), AsShown(BuildDetailsList(f.doc)));
        QCOMPARE(list.LineCount(), static_cast<int>(f.doc.Purchases().size()));
    }

    void doubleClickOpensThePurchaseDetails_data() {
        QTest::addColumn<int>("row");
        QTest::newRow("first lot, with sales") << 0;
        QTest::newRow("lot without sales") << 7;
        QTest::newRow("grant") << 8;
    }

    void doubleClickOpensThePurchaseDetails() {
        QFETCH(int, row);
        DemoFixture f;
        CDetailsDlg dialog(f.doc);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto& list = Child<ReportTextView>(dialog, "list");
        QString title;
        QString text;
        OnNextModal([&title, &text](QWidget* modal) {
            title = modal->windowTitle();
            text = ReportBoxText(*modal);
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        const QPoint at = list.LineRect(row).center();
        // The first click of the pair selects the line, the second makes it a double click.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(title, QStringLiteral("Details"));
        QCOMPARE(text, AsShown(*BuildPurchaseDetails(f.doc, static_cast<std::size_t>(row))));
    }

    void detailsOfAPositionWithoutALineOpenNothing() {
        Settings settings;
        CKx7Doc doc(settings);
        CDetailsDlg dialog(doc);
        QCOMPARE(Child<ReportTextView>(dialog, "list").LineCount(), 0);
        dialog.ShowDetails(0);  // would block in a dialog if it opened one
        dialog.ShowDetails(-1);
    }
};

static const GuiTestRegistration<TextReportDlgsTest> registration("TextReportDlgs_test");

#include "TextReportDlgs_test.moc"

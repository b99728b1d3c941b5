// Pictures of every report dialog on the demo portfolio, to look at.
#include <QComboBox>
#include <QTest>
#include <functional>
#include <memory>

#include "ReportDialogSupport.h"
#include "core/model/DemoPortfolio.h"
#include "core/model/Kx7Doc.h"
#include "core/reports/DetailsReport.h"
#include "core/settings/Settings.h"
#include "desktop/reports/AvailableDlg.h"
#include "desktop/reports/DetailsDlg.h"
#include "desktop/reports/DetailsSubDlg.h"
#include "desktop/reports/GainsDlg.h"
#include "desktop/reports/HistoryDlg.h"
#include "desktop/reports/OverviewDlg.h"
#include "desktop/reports/SummaryDlg.h"
#include "desktop/reports/TaxDlg.h"
#include "support/FrameFixture.h"
#include "support/GuiTestRegistry.h"

namespace {

using MakeDialog = std::function<std::unique_ptr<QDialog>(CKx7Doc&)>;

template <typename Dialog, typename... Args>
MakeDialog Make(Args... args) {
    return [=](CKx7Doc& doc) { return std::make_unique<Dialog>(doc, args...); };
}

// Chooses `item` in the box named `box` once the dialog is made.
MakeDialog Choosing(MakeDialog make, const char* box, const char* item) {
    return [=](CKx7Doc& doc) {
        std::unique_ptr<QDialog> dialog = make(doc);
        ChooseItem(Child<QComboBox>(*dialog, box), QString::fromLatin1(item));
        return dialog;
    };
}

}  // namespace

Q_DECLARE_METATYPE(MakeDialog)

class ReportScreensTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Clock::SetFixed(ReportTestNow()); }
    void cleanupTestCase() { Clock::UseSystemTime(); }

    void screenshots_data() {
        QTest::addColumn<MakeDialog>("make");
        QTest::newRow("report-summary") << MakeDialog([](CKx7Doc& doc) {
            return std::make_unique<CSummaryDlg>(doc, doc.SymbolNames(), QStringLiteral("CRNR"));
        });
        QTest::newRow("report-summary-dividends") << MakeDialog([](CKx7Doc& doc) {
            return std::make_unique<CSummaryDlg>(doc, doc.SymbolNames(), QStringLiteral("BLUE"));
        });
        QTest::newRow("report-tax") << Choosing(Make<CTaxDlg>(), "yearBox", "Show All");
        QTest::newRow("report-tax-opened") << Make<CTaxDlg>();
        QTest::newRow("report-gains") << Choosing(Make<CGainsDlg>(), "viewBox", "Combination");
        QTest::newRow("report-history")
            << Choosing(Make<CHistoryDlg>(), "timeFrameBox", "Show All");
        QTest::newRow("report-available") << MakeDialog([](CKx7Doc& doc) {
            return std::make_unique<CAvailableDlg>(doc, doc.SymbolNames(SymbolFilter::kHeldLots));
        });
        QTest::newRow("report-overview") << MakeDialog(
            [](CKx7Doc& doc) { return std::make_unique<COverviewDlg>(doc, doc.SymbolNames()); });
        QTest::newRow("report-details") << Make<CDetailsDlg>();
        QTest::newRow("report-details-sub") << MakeDialog([](CKx7Doc& doc) {
            return std::make_unique<CDetailsSubDlg>(*BuildPurchaseDetails(doc, 5));
        });
    }

    void screenshots() {
        QFETCH(MakeDialog, make);
        DemoFixture f;
        const std::unique_ptr<QDialog> dialog = make(f.doc);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        const QString file = ScreenshotFolder() + QLatin1Char('/') +
                             QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".png");
        QVERIFY(dialog->grab().save(file));
    }
};

static const GuiTestRegistration<ReportScreensTest> registration("ReportScreens_test");

#include "ReportScreens_test.moc"

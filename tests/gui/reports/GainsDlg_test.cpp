#include "desktop/reports/GainsDlg.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QTest>

#include "ReportDialogSupport.h"
#include "core/model/DemoPortfolio.h"
#include "core/model/Kx7Doc.h"
#include "core/reports/GainsReport.h"
#include "core/settings/Settings.h"
#include "support/GuiTestRegistry.h"

namespace {

// The report's lines with the gain and the percent swapped into the list's column order.
std::vector<QStringList> InListOrder(const std::string& report) {
    std::vector<QStringList> rows = ExpectedRows(report);
    for (QStringList& row : rows) {
        row.swapItemsAt(4, 5);
    }
    return rows;
}

}  // namespace

class GainsDlgTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Clock::SetFixed(ReportTestNow()); }
    void cleanupTestCase() { Clock::UseSystemTime(); }

    void opensWithNoViewAndAnEmptyList() {
        DemoFixture f;
        CGainsDlg dialog(f.doc);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Gains and Losses"));
        QCOMPARE(Items(Child<QComboBox>(dialog, "viewBox")),
                 (QStringList{"Realized", "Potential", "Combination"}));
        QCOMPARE(Child<QComboBox>(dialog, "viewBox").currentIndex(), -1);
        QCOMPARE(Child<CXListCtrl>(dialog, "list").RowCount(), 0);
        QCOMPARE(Child<QLabel>(dialog, "total").text(), QStringLiteral("0.0000"));
        const auto& list = Child<CXListCtrl>(dialog, "list");
        const QStringList headers{"Symbol",    "Purchase Cost", "Sale Value",
                                  "Dividends", "Gain (%)",      "Gain ($)"};
        for (int column = 0; column < list.ColumnCount(); ++column) {
            QCOMPARE(list.model()->headerData(column, Qt::Horizontal).toString(), headers[column]);
        }
    }

    void eachViewShowsItsRowsAndTotal_data() {
        QTest::addColumn<QString>("view");
        QTest::newRow("realized") << "Realized";
        QTest::newRow("potential") << "Potential";
        QTest::newRow("combination") << "Combination";
    }

    void eachViewShowsItsRowsAndTotal() {
        QFETCH(QString, view);
        DemoFixture f;
        CGainsDlg dialog(f.doc);
        ChooseItem(Child<QComboBox>(dialog, "viewBox"), view);
        const GainsReport expected = BuildGainsReport(f.doc, view.toStdString());
        QVERIFY(!expected.text.empty());
        QCOMPARE(ShownRows(Child<CXListCtrl>(dialog, "list")), InListOrder(expected.text));
        QCOMPARE(Child<QLabel>(dialog, "total").text(),
                 QString::asprintf("%.4f", static_cast<double>(expected.total)));
        QCOMPARE(dialog.TotalGain(), expected.total);
    }

    void anEmptyPortfolioHasNoRows() {
        Settings settings;
        CKx7Doc doc(settings);
        CGainsDlg dialog(doc);
        ChooseItem(Child<QComboBox>(dialog, "viewBox"), "Combination");
        QCOMPARE(Child<CXListCtrl>(dialog, "list").RowCount(), 0);
        QCOMPARE(Child<QLabel>(dialog, "total").text(), QStringLiteral("0.0000"));
    }

    void theUsersSortSurvivesAnotherView() {
        DemoFixture f;
        CGainsDlg dialog(f.doc);
        dialog.show();
        ChooseItem(Child<QComboBox>(dialog, "viewBox"), "Realized");
        auto& list = Child<CXListCtrl>(dialog, "list");
        ClickHeader(list, 0);
        ClickHeader(list, 0);  // descending
        ChooseItem(Child<QComboBox>(dialog, "viewBox"), "Combination");
        std::vector<QStringList> expected = InListOrder(BuildCombinedGains(f.doc).text);
        std::sort(expected.begin(), expected.end(),
                  [](const QStringList& a, const QStringList& b) { return a[0] > b[0]; });
        QVERIFY(expected.size() > 1);
        QCOMPARE(ShownRows(list), expected);
    }
};

static const GuiTestRegistration<GainsDlgTest> registration("GainsDlg_test");

#include "GainsDlg_test.moc"

#include "desktop/reports/SummaryDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

#include "ReportDialogSupport.h"
#include "core/model/DemoPortfolio.h"
#include "core/model/Kx7Doc.h"
#include "core/reports/SummaryReport.h"
#include "core/settings/Settings.h"
#include "desktop/controls/XHeaderCtrl.h"
#include "support/GuiTestRegistry.h"

namespace {

std::vector<QStringList> Report(const CKx7Doc& doc, const char* symbol, bool sortByDate,
                                bool sellBalance, bool groupSales) {
    return ExpectedRows(BuildSummaryReport(doc, symbol, sortByDate, sellBalance, groupSales));
}

}  // namespace

class SummaryDlgTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Clock::SetFixed(ReportTestNow()); }
    void cleanupTestCase() { Clock::UseSystemTime(); }

    void opensOnTheFirstSymbolSortedByDateWithSalesGrouped() {
        DemoFixture f;
        CSummaryDlg dialog(f.doc, f.doc.SymbolNames());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Summary"));
        QCOMPARE(Items(Child<QComboBox>(dialog, "symbolBox")),
                 (QStringList{"ACME", "ACME-O", "BLUE", "CRNR", "DLTA"}));
        QCOMPARE(Child<QComboBox>(dialog, "symbolBox").currentText(), QStringLiteral("ACME"));
        QVERIFY(Child<QRadioButton>(dialog, "sortByDate").isChecked());
        QVERIFY(!Child<QRadioButton>(dialog, "groupByPurchase").isChecked());
        QVERIFY(Child<QCheckBox>(dialog, "groupSales").isChecked());
        QVERIFY(Child<QCheckBox>(dialog, "groupSales").isEnabled());
        QVERIFY(!Child<QCheckBox>(dialog, "sellBalance").isChecked());
        QVERIFY(!Child<QCheckBox>(dialog, "sellBalance").isEnabled());
        QCOMPARE(Child<QLabel>(dialog, "marketPrice").text(), QStringLiteral("38.40"));

        const auto& list = Child<CXListCtrl>(dialog, "list");
        QCOMPARE(ShownRows(list), Report(f.doc, "ACME", true, false, true));
        QCOMPARE(list.ColumnCount(), 7);
        const QStringList headers{"Transaction", "Date",   "Shares", "Mkt Price",
                                  "Shares Left", "% Gain", "$ Gain"};
        for (int column = 0; column < list.ColumnCount(); ++column) {
            QCOMPARE(list.model()->headerData(column, Qt::Horizontal).toString(), headers[column]);
        }
    }

    void rowsAreColouredByTheirKind_data() {
        QTest::addColumn<QString>("symbol");
        QTest::newRow("purchases and sales") << "CRNR";
        QTest::newRow("dividends") << "BLUE";
    }

    void rowsAreColouredByTheirKind() {
        QFETCH(QString, symbol);
        DemoFixture f;
        CSummaryDlg dialog(f.doc, f.doc.SymbolNames(), symbol);
        const auto& list = Child<CXListCtrl>(dialog, "list");
        QVERIFY(list.RowCount() > 1);
        for (int row = 0; row < list.RowCount(); ++row) {
            const QString kind = list.GetItemText(row, 0);
            const QColor expected = kind == "Sale"       ? CSummaryDlg::kSaleColour
                                    : kind == "Dividend" ? CSummaryDlg::kDividendColour
                                                         : CSummaryDlg::kPurchaseColour;
            for (int column = 0; column < list.ColumnCount(); ++column) {
                QCOMPARE(list.Cell(row, column)->backColour, expected);
                QCOMPARE(list.Cell(row, column)->textColour, QColor(Qt::black));
            }
        }
    }

    // Each case: the buttons clicked in turn, then what the list must show and which
    // boxes are enabled.
    void optionsRebuildTheRows_data() {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<bool>("sortByDate");
        QTest::addColumn<bool>("sellBalance");
        QTest::addColumn<bool>("groupSales");
        QTest::newRow("group by purchase")
            << QStringList{"groupByPurchase"} << false << false << true;
        QTest::newRow("sell balance")
            << QStringList{"groupByPurchase", "sellBalance"} << false << true << true;
        QTest::newRow("lots of a sale apart")
            << QStringList{"groupSales"} << true << false << false;
        // The balance flag outlives its disabled box.
        QTest::newRow("balance kept in date order")
            << QStringList{"groupByPurchase", "sellBalance", "sortByDate"} << true << true << true;
        QTest::newRow("radio clicked twice stays on")
            << QStringList{"groupByPurchase", "groupByPurchase"} << false << false << true;
    }

    void optionsRebuildTheRows() {
        QFETCH(QStringList, clicks);
        QFETCH(bool, sortByDate);
        QFETCH(bool, sellBalance);
        QFETCH(bool, groupSales);
        DemoFixture f;
        CSummaryDlg dialog(f.doc, f.doc.SymbolNames(), "CRNR");
        dialog.show();
        for (const QString& name : clicks) {
            ClickButton(dialog, qPrintable(name));
        }
        QCOMPARE(ShownRows(Child<CXListCtrl>(dialog, "list")),
                 Report(f.doc, "CRNR", sortByDate, sellBalance, groupSales));
        QCOMPARE(Child<QRadioButton>(dialog, "sortByDate").isChecked(), sortByDate);
        QCOMPARE(Child<QRadioButton>(dialog, "groupByPurchase").isChecked(), !sortByDate);
        QCOMPARE(Child<QCheckBox>(dialog, "groupSales").isEnabled(), sortByDate);
        QCOMPARE(Child<QCheckBox>(dialog, "sellBalance").isEnabled(), !sortByDate);
    }

    void theRowsDifferBetweenTheOptions() {
        // Guards the table above: on this portfolio each option changes what is shown.
        DemoFixture f;
        const auto base = Report(f.doc, "CRNR", true, false, true);
        QVERIFY(base != Report(f.doc, "CRNR", false, false, true));
        QVERIFY(Report(f.doc, "CRNR", false, false, true) !=
                Report(f.doc, "CRNR", false, true, true));
        QVERIFY(base != Report(f.doc, "CRNR", true, false, false));
        QVERIFY(base != Report(f.doc, "CRNR", true, true, true));
    }

    void choosingASymbolShowsIt() {
        DemoFixture f;
        CSummaryDlg dialog(f.doc, f.doc.SymbolNames());
        ChooseItem(Child<QComboBox>(dialog, "symbolBox"), "ACME-O");
        QCOMPARE(dialog.SelectedSymbol(), QStringLiteral("ACME-O"));
        QCOMPARE(ShownRows(Child<CXListCtrl>(dialog, "list")),
                 Report(f.doc, "ACME-O", true, false, true));
        QCOMPARE(Child<QLabel>(dialog, "marketPrice").text(), QStringLiteral("38.40"));
        ChooseItem(Child<QComboBox>(dialog, "symbolBox"), "DLTA");
        QCOMPARE(Child<QLabel>(dialog, "marketPrice").text(), QStringLiteral("35.10"));
    }

    void aGivenSymbolIsSelected() {
        DemoFixture f;
        CSummaryDlg dialog(f.doc, f.doc.SymbolNames(), "BLUE");
        QCOMPARE(Child<QComboBox>(dialog, "symbolBox").currentText(), QStringLiteral("BLUE"));
        QCOMPARE(ShownRows(Child<CXListCtrl>(dialog, "list")),
                 Report(f.doc, "BLUE", true, false, true));
    }

    void anEmptyPortfolioShowsNothing() {
        Settings settings;
        CKx7Doc doc(settings);
        CSummaryDlg dialog(doc, doc.SymbolNames());
        QCOMPARE(Child<QComboBox>(dialog, "symbolBox").count(), 0);
        QCOMPARE(Child<CXListCtrl>(dialog, "list").RowCount(), 0);
        QCOMPARE(Child<QLabel>(dialog, "marketPrice").text(), QStringLiteral("0.00"));
        ClickButton(dialog, "groupByPurchase");
        QCOMPARE(Child<CXListCtrl>(dialog, "list").RowCount(), 0);
    }

    void aHeaderClickSortsUntilTheNextRefresh() {
        DemoFixture f;
        CSummaryDlg dialog(f.doc, f.doc.SymbolNames(), "CRNR");
        dialog.show();
        auto& list = Child<CXListCtrl>(dialog, "list");
        ClickHeader(list, 4);  // "Shares Left", ascending
        ClickHeader(list, 4);  // descending
        QStringList left;
        for (int row = 0; row < list.RowCount(); ++row) {
            left << list.GetItemText(row, 4);
        }
        for (int row = 1; row < left.size(); ++row) {
            QVERIFY(left[row - 1].toDouble() >= left[row].toDouble());
        }
        // A refresh lists the rows in report order again; the header keeps its mark.
        ClickButton(dialog, "groupSales");
        QCOMPARE(ShownRows(list), Report(f.doc, "CRNR", true, false, false));
        QCOMPARE(list.Header().SortColumn(), 4);
        QCOMPARE(list.Header().SortDirection(), int(CXListCtrl::kDescending));
    }
};

static const GuiTestRegistration<SummaryDlgTest> registration("SummaryDlg_test");

#include "SummaryDlg_test.moc"

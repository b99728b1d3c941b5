#include "desktop/mainwindow/Kx7View.h"

#include <QSignalSpy>
#include <QTest>

#include "core/figures/UpdateWorkerSwitch.h"
#include "core/figures/ViewGeometry.h"
#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"
#include "desktop/controls/XListCtrl.h"
#include "desktop/forms/Beep.h"
#include "support/GuiTestRegistry.h"

namespace {

CPurchase& AddLot(CKx7Doc& doc, const char* symbol, float shares, float price, float market) {
    CPurchase& lot = doc.AppendPurchase(
        std::make_unique<CPurchase>(symbol, "Co", shares, price, 0, 0.0f, "Direct Purchase", ""));
    lot.marketPrice = market;
    return lot;
}

struct ViewFixture {
    ViewFixture() : view(doc, settings, worker) {
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }

    QStringList HoldingSymbols() {
        QStringList symbols;
        for (int row = 0; row < view.HoldingsList().RowCount(); ++row) {
            symbols << view.HoldingsList().GetItemText(row, 0);
        }
        return symbols;
    }

    Settings settings;
    CKx7Doc doc{settings};
    NoUpdateWorker worker;
    CKx7View view;
};

const QPoint kLink(view_layout::kAlertLink.left + 20, view_layout::kAlertLink.top + 10);
const QPoint kOffLink(100, 200);

}  // namespace

class Kx7ViewTest final : public QObject {
    Q_OBJECT

private slots:
    void crossedLowMarkAndPercentDownGiveTwoRedRows() {
        ViewFixture f;
        AddLot(f.doc, "XYZ", 10, 10, 8);
        AddLot(f.doc, "HIGH", 10, 10, 12);
        f.doc.SetAlert("XYZ", {.lowMark = 9.0, .percentDown = 10.0});
        f.doc.SetAlert("HIGH", {.highMark = 12.0});
        f.view.Repaint();

        CXListCtrl& alerts = f.view.AlertList();
        QCOMPARE(alerts.RowCount(), 2);
        QCOMPARE(alerts.GetItemText(0, 0), QStringLiteral(" XYZ"));
        QCOMPARE(alerts.GetItemText(0, 1), QStringLiteral("9.00"));
        QCOMPARE(alerts.GetItemText(0, 2), QStringLiteral("8.00"));
        QCOMPARE(alerts.GetItemText(1, 1), QStringLiteral("20.00%"));
        QCOMPARE(alerts.GetItemText(1, 2), QStringLiteral("10.00%"));
        for (int row = 0; row < 2; ++row) {
            QCOMPARE(alerts.Cell(row, 1)->backColour, QColor(255, 80, 80));
        }
        // The price equal to the high mark fires nothing: HIGH has no mark.
        QCOMPARE(f.HoldingSymbols(), (QStringList{" HIGH", " XYZ-"}));
        QVERIFY(f.view.HoldingsList().Cell(1, 0)->bold);
        QVERIFY(!f.view.HoldingsList().Cell(0, 0)->bold);
    }

    void holdingsOrder_data() {
        QTest::addColumn<int>("grouping");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("Symbol") << int(PieGrouping::kBySymbol)
                                << QStringList{" AAA", " BBB", " CCC"};
        QTest::newRow("Value") << int(PieGrouping::kByValue) << QStringList{" CCC", " AAA", " BBB"};
        QTest::newRow("Percent") << int(PieGrouping::kByPercent)
                                 << QStringList{" CCC", " AAA", " BBB"};
    }

    void holdingsOrder() {
        QFETCH(int, grouping);
        QFETCH(QStringList, expected);
        ViewFixture f;
        f.settings.pieGrouping = static_cast<PieGrouping>(grouping);
        AddLot(f.doc, "BBB", 1, 1, 10);
        AddLot(f.doc, "CCC", 1, 1, 30);
        AddLot(f.doc, "AAA", 1, 1, 20);
        f.view.Repaint();
        QCOMPARE(f.HoldingSymbols(), expected);
        // Row colours follow the order, as the pie's slices do.
        QCOMPARE(f.view.HoldingsList().Cell(0, 0)->backColour, QColor(80, 255, 80));
    }

    void editLinkOpensTheEditorOnlyWhenReleasedOnIt() {
        ViewFixture f;
        QSignalSpy editor(&f.view, &CKx7View::AlertEditorRequested);
        QTest::mousePress(&f.view, Qt::LeftButton, {}, kLink);
        QVERIFY(f.view.LinkPressed());
        QTest::mouseMove(&f.view, kOffLink);
        QTest::mouseRelease(&f.view, Qt::LeftButton, {}, kOffLink);
        QCOMPARE(editor.count(), 0);
        QVERIFY(!f.view.LinkPressed());

        QTest::mouseClick(&f.view, Qt::LeftButton, {}, kLink);
        QCOMPARE(editor.count(), 1);
    }

    void holdingsClickNamesTheSymbolWithoutItsMark() {
        ViewFixture f;
        AddLot(f.doc, "GE", 10, 100, 160);
        f.doc.SetAlert("GE", {.highMark = 150.0});
        f.view.Repaint();
        QSignalSpy summary(&f.view, &CKx7View::SymbolSummaryRequested);
        CXListCtrl& list = f.view.HoldingsList();
        QCOMPARE(list.GetItemText(0, 0), QStringLiteral(" GE+"));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualRect(list.model()->index(0, 1)).center());
        QCOMPARE(summary.count(), 1);
        QCOMPARE(summary.at(0).at(0).toString(), QStringLiteral("GE"));

        // Below the last row: nothing.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(20, 180));
        QCOMPARE(summary.count(), 1);
        // The list is refilled after the summary closes.
        QCOMPARE(list.RowCount(), 1);
    }

    void newPortfolioEmptiesTheLists() {
        ViewFixture f;
        AddLot(f.doc, "XYZ", 10, 10, 8);
        f.view.Repaint();
        QCOMPARE(f.view.HoldingsList().RowCount(), 1);
        f.doc.NewDocument();
        f.view.OnInitialUpdate();
        f.view.Repaint();
        QCOMPARE(f.view.HoldingsList().RowCount(), 0);
        QCOMPARE(f.view.AlertList().RowCount(), 0);
    }

    // The view follows the document's announcements: an operation, a price and an alert
    // show without anyone asking the view to repaint.
    void operationsShowWithoutARepaint() {
        ViewFixture f;
        f.doc.Purchase({.symbol = "XYZ",
                        .companyName = "XYZ Corp",
                        .shares = 10,
                        .price = 10.0f,
                        .date = 0,
                        .commission = 0.0f,
                        .purchaseType = "Direct Purchase",
                        .comment = ""});
        QCOMPARE(f.HoldingSymbols(), QStringList{QStringLiteral(" XYZ")});
        f.doc.SetMarketPrice("XYZ", 12.5f);
        QCOMPARE(f.view.HoldingsList().GetItemText(0, 2), QStringLiteral("12.50"));
        f.doc.SetAlert("XYZ", {.highMark = 12.0});
        QCOMPARE(f.view.AlertList().RowCount(), 1);
        QCOMPARE(f.HoldingSymbols(), QStringList{QStringLiteral(" XYZ+")});
    }

    // Painting reads: an unchanged portfolio painted again and again keeps its revision,
    // its flag and its alert states, and nothing beeps.
    void paintingChangesNothing() {
        ViewFixture f;
        AddLot(f.doc, "XYZ", 10, 10, 8);
        f.doc.SetAlert("XYZ", {.lowMark = 9.0});
        f.doc.SetModified(false);
        f.view.Repaint();
        int beeps = 0;
        const BeepRecorder previous = SetBeepRecorder([&beeps](int, int) { ++beeps; });
        const std::uint64_t revision = f.doc.Revision();
        const std::int32_t state = f.doc.AlertState("XYZ");

        for (int i = 0; i < 3; ++i) {
            f.view.repaint();
            f.view.grab();
        }

        SetBeepRecorder(previous);
        QCOMPARE(f.doc.Revision(), revision);
        QVERIFY(!f.doc.IsModified());
        QCOMPARE(f.doc.AlertState("XYZ"), state);
        QCOMPARE(beeps, 0);
    }
};

static const GuiTestRegistration<Kx7ViewTest> registration("Kx7View_test");

#include "Kx7View_test.moc"

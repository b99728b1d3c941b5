#include "desktop/controls/XListCtrl.h"

#include <QHeaderView>
#include <QTest>

#include "desktop/controls/XHeaderCtrl.h"
#include "desktop/controls/XListCompare.h"
#include "support/GuiTestRegistry.h"

namespace {

QStringList Column(const CXListCtrl& list, int column) {
    QStringList texts;
    for (int row = 0; row < list.RowCount(); ++row) {
        texts << list.GetItemText(row, column);
    }
    return texts;
}

void ClickHeader(CXListCtrl& list, int column) {
    QHeaderView* header = list.horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

int DarkPixels(const QImage& image, const QRect& area) {
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            dark += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
        }
    }
    return dark;
}

}  // namespace

class XListCtrlTest final : public QObject {
    Q_OBJECT

private slots:
    void headerClicksCycleAscendingDescendingUnsorted_data() {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("ascending");
        QTest::newRow("money") << QStringList{"12.5000", "-3.2500", "100.0000", "9.0000"}
                               << QStringList{"-3.2500", "9.0000", "12.5000", "100.0000"};
        QTest::newRow("dates") << QStringList{"05/17/2024", "12/01/2023", "01/02/2024"}
                               << QStringList{"12/01/2023", "01/02/2024", "05/17/2024"};
        QTest::newRow("symbols") << QStringList{"MSFT", "AAPL", "IBM"}
                                 << QStringList{"AAPL", "IBM", "MSFT"};
        QTest::newRow("leading number")
            << QStringList{"12a", "3", "100"} << QStringList{"3", "12a", "100"};
    }

    void headerClicksCycleAscendingDescendingUnsorted() {
        QFETCH(QStringList, texts);
        QFETCH(QStringList, ascending);
        CXListCtrl list;
        list.resize(300, 200);
        list.InsertColumn(0, QStringLiteral("Key"), Qt::AlignLeft, 120);
        list.InsertColumn(1, QStringLiteral("Order"), Qt::AlignRight, 80);
        for (int i = 0; i < texts.size(); ++i) {
            const int row = list.InsertItem(i, texts[i]);
            QVERIFY(list.SetItemText(row, 1, QString::number(i)));
        }
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));

        ClickHeader(list, 0);
        QCOMPARE(Column(list, 0), ascending);
        QCOMPARE(list.Header().SortDirection(), CXListCtrl::kAscending);
        ClickHeader(list, 0);
        QStringList descending = ascending;
        std::reverse(descending.begin(), descending.end());
        QCOMPARE(Column(list, 0), descending);
        ClickHeader(list, 0);
        QCOMPARE(Column(list, 0), texts);
        QCOMPARE(list.SortDirection(), CXListCtrl::kUnsorted);
        // The column stays owner-drawn once it has been the sort column.
        QVERIFY(list.Header().IsOwnerDrawn(0));
        QVERIFY(!list.Header().IsOwnerDrawn(1));
        // Another column starts again at ascending.
        ClickHeader(list, 1);
        QCOMPARE(list.SortColumn(), 1);
        QCOMPARE(list.SortDirection(), CXListCtrl::kAscending);
    }

    void repeatSortKeepsTheSortAfterARefill() {
        CXListCtrl list;
        list.InsertColumn(0, QStringLiteral("Symbol"), Qt::AlignLeft, 100);
        list.SortByColumn(0, CXListCtrl::kDescending);
        for (const char* symbol : {"BB", "CC", "AA"}) {
            list.InsertItem(list.RowCount(), QString::fromLatin1(symbol));
        }
        list.RepeatSort();
        QCOMPARE(Column(list, 0), (QStringList{"CC", "BB", "AA"}));
    }

    void comparisons_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("expected");
        QTest::newRow("numbers ascending") << "9.5"
                                           << "10" << 0 << -1;
        QTest::newRow("numbers descending") << "9.5"
                                            << "10" << 1 << 1;
        QTest::newRow("number before text") << "5"
                                            << "abc" << 0 << -1;
        QTest::newRow("12a by its number") << "12a"
                                           << "13" << 0 << -1;
        QTest::newRow("dates by year first") << "12/31/2023"
                                             << "01/01/2024" << 0 << -1;
        QTest::newRow("equal dates") << "01/02/2024"
                                     << "01/02/2024" << 0 << 0;
        QTest::newRow("text") << "bb"
                              << "aa" << 0 << 1;
        // A one-character text counts as a number: no digits read as 0.
        QTest::newRow("one character") << "b"
                                       << "a" << 0 << 0;
    }

    void comparisons() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, direction);
        QFETCH(int, expected);
        QCOMPARE(CompareCellTexts(a, b, direction), expected);
    }

    void lookingLikeNumbersAndDates() {
        QVERIFY(IsNumericLooking(QString()));
        QVERIFY(IsNumericLooking(QStringLiteral("x")));
        QVERIFY(IsNumericLooking(QStringLiteral("-3.25%")));
        QVERIFY(!IsNumericLooking(QStringLiteral("A1")));
        QVERIFY(IsDateLooking(QStringLiteral("01/02/2024")));
        QVERIFY(!IsDateLooking(QStringLiteral("01-02-2024")));
        QVERIFY(!IsDateLooking(QStringLiteral("1/2/2024")));
    }

    void emptyListShowsItsMessageUntilARowArrives() {
        CXListCtrl list;
        list.resize(300, 120);
        list.InsertColumn(0, QStringLiteral("Symbol"), Qt::AlignLeft, 290);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        const int headerHeight = list.horizontalHeader()->height();
        const QRect band(0, headerHeight + 10, 300, list.fontMetrics().height());
        QVERIFY(DarkPixels(list.grab().toImage(), band) > 20);

        list.InsertItem(0, QString());
        QCOMPARE(DarkPixels(list.grab().toImage(), band.adjusted(0, 0, 0, 0)), 0);
    }

    void cellsKeepTheirColoursAndBoldFlag() {
        CXListCtrl list;
        list.resize(300, 120);
        list.InsertColumn(0, QStringLiteral("Symbol"), Qt::AlignLeft, 100);
        list.InsertColumn(1, QStringLiteral("Value"), Qt::AlignRight, 100);
        const int row = list.InsertItem(0, QStringLiteral("XYZ"));
        QVERIFY(list.SetItemText(row, 1, QStringLiteral("1.00"), Qt::black, QColor(255, 80, 80)));
        QVERIFY(list.SetCellBold(row, 0, true));
        QVERIFY(!list.SetItemText(row, 2, QStringLiteral("no such column")));
        QVERIFY(!list.SetItemText(1, 0, QStringLiteral("no such row")));
        QCOMPARE(list.InsertItem(-1, QStringLiteral("x")), -1);
        // -1 colours: the control's own.
        QVERIFY(list.SetItemText(row, 0, QStringLiteral("XYZ"), QColor(), QColor()));
        QCOMPARE(list.Cell(row, 0)->backColour, list.palette().color(QPalette::Base));
        QVERIFY(list.Cell(row, 0)->bold);

        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.clearSelection();
        const QImage image = list.grab().toImage();
        const QRect cell = list.visualRect(list.model()->index(row, 1));
        const QPoint inside =
            cell.topLeft() + QPoint(4, 3) + QPoint(0, list.horizontalHeader()->height());
        QCOMPARE(QColor(image.pixel(inside)), QColor(255, 80, 80));
        QVERIFY(list.grab().save(QStringLiteral(QT_TESTCASE_BUILDDIR "/xlistctrl.png")));
    }

    void userDataBelongsToTheRow() {
        CXListCtrl list;
        list.InsertColumn(0, QStringLiteral("Symbol"), Qt::AlignLeft, 100);
        int value = 7;
        list.InsertItem(0, QStringLiteral("A"));
        QVERIFY(list.SetItemUserData(0, &value));
        QCOMPARE(list.GetItemUserData(0), static_cast<void*>(&value));
        QCOMPARE(list.GetItemUserData(1), nullptr);
        QVERIFY(list.DeleteItem(0));
        QCOMPARE(list.RowCount(), 0);
    }
};

static const GuiTestRegistration<XListCtrlTest> registration("XListCtrl_test");

#include "XListCtrl_test.moc"

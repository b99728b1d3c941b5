#include "desktop/forms/EditDlg.h"

#include <QMainWindow>
#include <QStatusBar>

#include "../../core/support/TestClock.h"
#include "core/model/Dividend.h"
#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"
#include "forms/FormTestSupport.h"
#include "support/GuiTestRegistry.h"

using namespace formtest;

namespace {

// XYZ: a lot of 100 with a sale of 40; ABC: a lot of 50; a cash dividend of each.
void Fill(CKx7Doc& doc) {
    doc.Purchase({.symbol = "XYZ",
                  .companyName = "Xyz Corp",
                  .shares = 100.0f,
                  .price = 10.0f,
                  .date = At(2001, 3, 1),
                  .commission = 0.0f,
                  .purchaseType = "Direct Purchase",
                  .comment = ""});
    doc.Sell({.symbol = "XYZ",
              .shares = 40.0f,
              .price = 12.5f,
              .date = At(2002, 4, 2),
              .commission = 5.0f,
              .method = SaleMethod::kFifo,
              .comment = ""});
    doc.Purchase({.symbol = "ABC",
                  .companyName = "Abc Inc",
                  .shares = 50.0f,
                  .price = 20.0f,
                  .date = At(2003, 5, 3),
                  .commission = 0.0f,
                  .purchaseType = "Direct Purchase",
                  .comment = ""});
    doc.RecordDividend({.symbol = "XYZ",
                        .kind = DividendKind::kCash,
                        .amount = 2.5f,
                        .date = At(2004, 6, 4),
                        .comment = ""});
    doc.RecordDividend({.symbol = "ABC",
                        .kind = DividendKind::kCash,
                        .amount = 1.0f,
                        .date = At(2005, 7, 5),
                        .comment = ""});
    doc.SetModified(false);
}

CXListCtrl* Records(const QWidget* form) {
    return form->findChild<CXListCtrl*>(QStringLiteral("records"));
}

QStringList Column(const QWidget* form, int column) {
    return ColumnTexts(Records(form), column);
}

void SelectRow(const QWidget* form, int row) {
    ClickRow(Records(form), row);
}

}  // namespace

class EditDlgTest final : public QObject {
    Q_OBJECT

private slots:
    void init() { m_clock = std::make_unique<ScopedClock>(At(2006, 5, 17, 14)); }
    void cleanup() { m_clock.reset(); }

    void listsEveryRecordInItsColour() {
        Settings settings;
        CKx7Doc doc(settings);
        Fill(doc);
        CEditDlg form(doc, nullptr);
        form.show();
        QCOMPARE(Column(&form, 1),
                 (QStringList{"Purchase", "Sale", "Purchase", "Dividend", "Dividend"}));
        QCOMPARE(Column(&form, 4),
                 (QStringList{"100.0000 ", "40.0000 ", "50.0000 ", "Cash", "Cash"}));
        QCOMPARE(Records(&form)->Cell(1, 0)->backColour, QColor(0xF9, 0x8E, 0xA7));
        auto* filter = form.findChild<QComboBox*>(QStringLiteral("filter"));
        QCOMPARE(filter->itemText(0), QStringLiteral("All"));
        SaveShot(&form, QStringLiteral("EditRecord"));

        Choose(filter, QStringLiteral("ABC"));
        QCOMPARE(Column(&form, 1), (QStringList{"Purchase", "Dividend"}));
        QCOMPARE(Column(&form, 0), (QStringList{"ABC", "ABC"}));
    }

    void deletingAPurchaseAsksFirst_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("rowsLeft");
        QTest::addColumn<bool>("modified");
        QTest::newRow("YES") << "YES" << 3 << true;
        QTest::newRow("NO") << "NO" << 5 << false;
    }

    void deletingAPurchaseAsksFirst() {
        QFETCH(QString, answer);
        QFETCH(int, rowsLeft);
        QFETCH(bool, modified);
        Settings settings;
        CKx7Doc doc(settings);
        Fill(doc);
        CEditDlg form(doc, nullptr);
        form.show();
        SelectRow(&form, 0);
        QString asked;
        WhenModal([&](QWidget* confirm) {
            const QList<QLabel*> labels = confirm->findChildren<QLabel*>();
            asked = labels.value(0)->text();
            SaveShot(confirm, QStringLiteral("RemoveIt"));
            Click(confirm, answer);
        });
        Click(&form, QStringLiteral("Delete"));
        QCOMPARE(asked,
                 QStringLiteral("This will remove any sales associated with this purchase."));
        QCOMPARE(Records(&form)->RowCount(), rowsLeft);
        QCOMPARE(doc.IsModified(), modified);
        QCOMPARE(doc.Purchases().size(), modified ? 1u : 2u);
    }

    void deletingASaleGivesItsSharesBack() {
        Settings settings;
        CKx7Doc doc(settings);
        Fill(doc);
        CEditDlg form(doc, nullptr);
        form.show();
        QCOMPARE(doc.Purchases()[0]->availableShares, 60.0f);
        SelectRow(&form, 1);
        Click(&form, QStringLiteral("Delete"));
        QCOMPARE(doc.Purchases()[0]->availableShares, 100.0f);
        QVERIFY(doc.Purchases()[0]->sales.empty());
        QCOMPARE(Column(&form, 1), (QStringList{"Purchase", "Purchase", "Dividend", "Dividend"}));
        QVERIFY(doc.IsModified());
    }

    void deletingOneOfALotsSalesLeavesTheOtherReachable() {
        Settings settings;
        CKx7Doc doc(settings);
        Fill(doc);
        doc.Sell({.symbol = "XYZ",
                  .shares = 10.0f,
                  .price = 15.0f,
                  .date = At(2003, 1, 2),
                  .commission = 0.0f,
                  .method = SaleMethod::kFifo,
                  .comment = ""});
        CEditDlg form(doc, nullptr);
        form.show();
        // Each pass deletes the first sale row left, the second time the one that moved up
        // in its lot's list.
        for (const float held : {90.0f, 100.0f}) {
            const int saleRow = static_cast<int>(Column(&form, 1).indexOf(QStringLiteral("Sale")));
            QVERIFY(saleRow >= 0);
            SelectRow(&form, saleRow);
            Click(&form, QStringLiteral("Delete"));
            QCOMPARE(doc.Purchases()[0]->availableShares, held);
        }
        QVERIFY(doc.Purchases()[0]->sales.empty());
        QVERIFY(!Column(&form, 1).contains(QStringLiteral("Sale")));
    }

    // The status bar names what went and that Undo brings it back, which it does.
    void aRemovalIsNamedAndUndone() {
        Settings settings;
        CKx7Doc doc(settings);
        Fill(doc);
        QMainWindow frame;
        frame.show();
        CEditDlg form(doc, &frame);
        form.show();
        const int dividendRow =
            static_cast<int>(Column(&form, 1).indexOf(QStringLiteral("Dividend")));
        const QString date = Column(&form, 2).at(dividendRow);
        const QString symbol = Column(&form, 0).at(dividendRow);
        SelectRow(&form, dividendRow);
        Click(&form, QStringLiteral("Delete"));
        QCOMPARE(doc.Dividends().size(), 1u);
        QCOMPARE(frame.statusBar()->currentMessage(),
                 QStringLiteral("Removed the dividend of %1 dated %2. Undo brings it back.")
                     .arg(symbol, date));
        doc.Undo();
        QCOMPARE(doc.Dividends().size(), 2u);
        QVERIFY(!doc.IsModified());
    }

    void editingADividendToShares() {
        Settings settings;
        CKx7Doc doc(settings);
        Fill(doc);
        CEditDlg form(doc, nullptr);
        form.show();
        SelectRow(&form, 3);
        WhenModal([](QWidget* dividendForm) {
            Type(FieldOf<QLineEdit>(dividendForm, QStringLiteral("Dividend Value")),
                 QStringLiteral("0"));
            Click(dividendForm, QStringLiteral("Shares"));
            Type(FieldOf<QLineEdit>(dividendForm, QStringLiteral("Number of shares")),
                 QStringLiteral("5"));
            Click(dividendForm, QStringLiteral("OK"));
        });
        Click(&form, QStringLiteral("Edit"));
        QCOMPARE(Records(&form)->GetItemText(3, 3), QStringLiteral("Shares"));
        QCOMPARE(Records(&form)->GetItemText(3, 4), QStringLiteral("5.00 "));
        QCOMPARE(doc.Dividends()[0]->dividendKind, DividendKind::kShares);
        QCOMPARE(doc.Dividends()[0]->amount, 5.0f);
        QVERIFY(doc.IsModified());
    }

    void editingASaleRecomputesItsLot() {
        Settings settings;
        CKx7Doc doc(settings);
        Fill(doc);
        CEditDlg form(doc, nullptr);
        form.show();
        SelectRow(&form, 1);
        WhenModal([](QWidget* saleForm) {
            Type(FieldOf<QLineEdit>(saleForm, QStringLiteral("Number of shares")),
                 QStringLiteral("25"));
            Click(saleForm, QStringLiteral("OK"));
        });
        Click(&form, QStringLiteral("Edit"));
        QCOMPARE(Records(&form)->GetItemText(1, 4), QStringLiteral("25.0000 "));
        QCOMPARE(doc.Purchases()[0]->availableShares, 75.0f);
    }

    void editingAPurchaseCancelled() {
        Settings settings;
        CKx7Doc doc(settings);
        Fill(doc);
        CEditDlg form(doc, nullptr);
        form.show();
        SelectRow(&form, 0);
        WhenModal([](QWidget* purchaseForm) {
            Type(FieldOf<QLineEdit>(purchaseForm, QStringLiteral("Number of shares")),
                 QStringLiteral("7"));
            Click(purchaseForm, QStringLiteral("Cancel"));
        });
        Click(&form, QStringLiteral("Edit"));
        QCOMPARE(doc.Purchases()[0]->shares, 100.0f);
        QVERIFY(!doc.IsModified());
    }

    void nothingSelectedDoesNothing() {
        Settings settings;
        CKx7Doc doc(settings);
        Fill(doc);
        CEditDlg form(doc, nullptr);
        form.show();
        Click(&form, QStringLiteral("Delete"));
        Click(&form, QStringLiteral("Edit"));
        QCOMPARE(Records(&form)->RowCount(), 5);
        QVERIFY(!doc.IsModified());
    }

private:
    std::unique_ptr<ScopedClock> m_clock;
};

static const GuiTestRegistration<EditDlgTest> registration("EditDlg_test");

#include "EditDlg_test.moc"

// The stock split, symbol change and alert forms.

#include "../../core/support/TestClock.h"
#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"
#include "desktop/forms/EditAlertDlg.h"
#include "desktop/forms/StockSplitDlg.h"
#include "desktop/forms/SymbolChangeDlg.h"
#include "forms/FormTestSupport.h"
#include "support/GuiTestRegistry.h"

using namespace formtest;

namespace {

void Hold(CKx7Doc& doc) {
    doc.Purchase({.symbol = "XYZ",
                  .companyName = "Xyz Corp",
                  .shares = 100.0f,
                  .price = 10.0f,
                  .date = At(2001, 3, 1),
                  .commission = 0.0f,
                  .purchaseType = "Direct Purchase",
                  .comment = ""});
    doc.Purchase({.symbol = "ABC",
                  .companyName = "Abc Inc",
                  .shares = 50.0f,
                  .price = 20.0f,
                  .date = At(2003, 5, 3),
                  .commission = 0.0f,
                  .purchaseType = "Direct Purchase",
                  .comment = ""});
    doc.SetMarketPrice("XYZ", 12.5f);
    doc.SetModified(false);
}

CXListCtrl* Alerts(const QWidget* form) {
    return form->findChild<CXListCtrl*>(QStringLiteral("alerts"));
}

}  // namespace

class MaintenanceFormsTest final : public QObject {
    Q_OBJECT

private slots:
    void init() { m_clock = std::make_unique<ScopedClock>(At(2006, 5, 17, 14)); }
    void cleanup() { m_clock.reset(); }

    void splitStartsAtTwoForOne() {
        CStockSplitDlg form({"ABC", "XYZ"}, true, nullptr);
        form.show();
        QCOMPARE(form.NewShares(), 2);
        QCOMPARE(form.OldShares(), 1);
        auto* symbolBox = FieldOf<QComboBox>(&form, QStringLiteral("Symbol"));
        QCOMPARE(symbolBox->count(), 2);
        auto* newBox = form.findChild<QComboBox*>(QStringLiteral("newShares"));
        QCOMPARE(newBox->count(), 10);
        QCOMPARE(newBox->itemText(9), QStringLiteral("10"));
        SaveShot(&form, QStringLiteral("StockSplit"));
    }

    void threeForTwo() {
        CStockSplitDlg form({"ABC", "XYZ"}, true, nullptr);
        form.show();
        Choose(FieldOf<QComboBox>(&form, QStringLiteral("Symbol")), QStringLiteral("XYZ"));
        Choose(form.findChild<QComboBox*>(QStringLiteral("newShares")), QStringLiteral("3"));
        Choose(form.findChild<QComboBox*>(QStringLiteral("oldShares")), QStringLiteral("2"));
        Click(&form, QStringLiteral("OK"));
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(form.Symbol(), std::string("XYZ"));
        QCOMPARE(form.NewShares(), 3);
        QCOMPARE(form.OldShares(), 2);
        QCOMPARE(form.Date(), At(2006, 5, 17, 14));
    }

    void symbolChangeRules_data() {
        QTest::addColumn<QString>("oldSymbol");
        QTest::addColumn<QString>("newSymbol");  // typed
        QTest::addColumn<QString>("newCompany");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("complete") << "XYZ"
                                  << "XYZN"
                                  << "Xyz New" << true;
        QTest::newRow("no old symbol") << ""
                                       << "XYZN"
                                       << "Xyz New" << false;
        QTest::newRow("no new symbol") << "XYZ"
                                       << ""
                                       << "Xyz New" << false;
        QTest::newRow("no new company") << "XYZ"
                                        << "XYZN"
                                        << "" << false;
    }

    void symbolChangeRules() {
        QFETCH(QString, oldSymbol);
        QFETCH(QString, newSymbol);
        QFETCH(QString, newCompany);
        QFETCH(bool, accepted);
        Settings settings;
        CKx7Doc doc(settings);
        Hold(doc);
        BeepLog log;
        CSymbolChangeDlg form(doc, nullptr);
        form.show();
        if (!oldSymbol.isEmpty()) {
            Choose(FieldOf<QComboBox>(&form, QStringLiteral("Old Symbol")), oldSymbol);
            QCOMPARE(FieldOf<QLineEdit>(&form, QStringLiteral("Old Company Name"))->text(),
                     QStringLiteral("Xyz Corp"));
        }
        QTest::keyClicks(FieldOf<QComboBox>(&form, QStringLiteral("New Symbol"))->lineEdit(),
                         newSymbol);
        Type(FieldOf<QLineEdit>(&form, QStringLiteral("New Company Name")), newCompany);
        Click(&form, QStringLiteral("OK"));
        QCOMPARE(form.result() == QDialog::Accepted, accepted);
        QCOMPARE(log.beeps, Beeps(accepted ? 0 : 1, kRefused));
        if (accepted) {
            QCOMPARE(QString::fromStdString(form.OldSymbol()), oldSymbol);
            QCOMPARE(QString::fromStdString(form.NewSymbol()), newSymbol);
            QCOMPARE(QString::fromStdString(form.NewCompanyName()), newCompany);
            SaveShot(&form, QStringLiteral("SymbolChange"));
        }
    }

    void aListedNewSymbolBringsItsCompany() {
        Settings settings;
        CKx7Doc doc(settings);
        Hold(doc);
        CSymbolChangeDlg form(doc, nullptr);
        form.show();
        auto* newBox = FieldOf<QComboBox>(&form, QStringLiteral("New Symbol"));
        QCOMPARE(newBox->itemText(0), QStringLiteral(" "));
        Choose(newBox, QStringLiteral("ABC"));
        QCOMPARE(FieldOf<QLineEdit>(&form, QStringLiteral("New Company Name"))->text(),
                 QStringLiteral("Abc Inc"));
    }

    void alertRowsShowTheThresholdsSet() {
        Settings settings;
        CKx7Doc doc(settings);
        Hold(doc);
        doc.SetAlert("ABC", {15.0, -1.0, -1.0, 20.0});
        CEditAlertDlg form(doc, nullptr);
        form.show();
        CXListCtrl* list = Alerts(&form);
        QCOMPARE(list->RowCount(), 2);
        QCOMPARE(list->GetItemText(0, 0), QStringLiteral(" ABC"));
        QCOMPARE(list->GetItemText(0, 1), QStringLiteral("15.00"));
        QCOMPARE(list->GetItemText(0, 2), QString());
        QCOMPARE(list->GetItemText(0, 4), QStringLiteral("20.00"));
        QCOMPARE(list->GetItemText(1, 5), QStringLiteral("12.50"));
        ClickRow(list, 0);
        QCOMPARE(FieldOf<QLineEdit>(&form, QStringLiteral("Low Mark"))->text(),
                 QStringLiteral("15.00"));
        SaveShot(&form, QStringLiteral("EditAlert"));
    }

    void setWithOnlyPercentDown() {
        Settings settings;
        CKx7Doc doc(settings);
        Hold(doc);
        CEditAlertDlg form(doc, nullptr);
        form.show();
        CXListCtrl* list = Alerts(&form);
        ClickRow(list, 1);
        QCOMPARE(FieldOf<QLineEdit>(&form, QStringLiteral("Symbol"))->text(),
                 QStringLiteral("XYZ"));
        Type(FieldOf<QLineEdit>(&form, QStringLiteral("% Down")), QStringLiteral("10"));
        // Text that is no number is refused by name, not stored as "no threshold".
        for (const QString& bad : {QStringLiteral("n/a"), QStringLiteral("-2")}) {
            Type(FieldOf<QLineEdit>(&form, QStringLiteral("High Mark")), bad);
            QString shown;
            AnswerMessage(shown);
            Click(&form, QStringLiteral("Set"));
            QCOMPARE(shown,
                     QStringLiteral("High Mark must be a number of 0 or more, or empty for none."));
            QCOMPARE(doc.AlertOf("XYZ"), AlertThresholds{});
            QCOMPARE(list->GetItemText(1, 2), QString());
        }
        QVERIFY(!doc.IsModified());
        Type(FieldOf<QLineEdit>(&form, QStringLiteral("High Mark")), QString());
        Click(&form, QStringLiteral("Set"));
        QCOMPARE(doc.AlertOf("XYZ"), (AlertThresholds{-1.0, -1.0, 10.0, -1.0}));
        QCOMPARE(list->GetItemText(1, 3), QStringLiteral("10"));

        Click(&form, QStringLiteral("Clear"));
        QCOMPARE(doc.AlertOf("XYZ"), AlertThresholds{});
        QCOMPARE(list->GetItemText(1, 3), QString());
        QCOMPARE(FieldOf<QLineEdit>(&form, QStringLiteral("% Down"))->text(), QString());
        QVERIFY(doc.IsModified());
    }

private:
    std::unique_ptr<ScopedClock> m_clock;
};

static const GuiTestRegistration<MaintenanceFormsTest> registration("MaintenanceForms_test");

#include "MaintenanceForms_test.moc"

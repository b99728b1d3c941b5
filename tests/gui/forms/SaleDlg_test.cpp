#include "desktop/forms/SaleDlg.h"

#include <QListWidget>

#include "../../core/support/TestClock.h"
#include "core/model/CustomLotChooser.h"
#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"
#include "desktop/forms/SaleCustomDlg.h"
#include "forms/FormTestSupport.h"
#include "support/GuiTestRegistry.h"

using namespace formtest;

namespace {

// Two lots of XYZ, 100 at 10 and 50 at 12, and one of ABC.
void Hold(CKx7Doc& doc) {
    doc.Purchase({.symbol = "XYZ",
                  .companyName = "Xyz Corp",
                  .shares = 100.0f,
                  .price = 10.0f,
                  .date = At(2001, 3, 1),
                  .commission = 0.0f,
                  .purchaseType = "Direct Purchase",
                  .comment = ""});
    doc.Purchase({.symbol = "XYZ",
                  .companyName = "Xyz Corp",
                  .shares = 50.0f,
                  .price = 12.0f,
                  .date = At(2002, 6, 15),
                  .commission = 0.0f,
                  .purchaseType = "Direct Purchase",
                  .comment = ""});
    doc.Purchase({.symbol = "ABC",
                  .companyName = "Abc Inc",
                  .shares = 10.0f,
                  .price = 20.0f,
                  .date = At(2002, 4, 2),
                  .commission = 0.0f,
                  .purchaseType = "Direct Purchase",
                  .comment = ""});
}

CustomSaleRequest XyzRequest(float shares) {
    CustomSaleRequest request;
    request.heading = "Selling 120.0000 shares of Xyz Corp";
    request.lots = {{.date = At(2001, 3, 1), .available = 100.0f, .price = 10.0f},
                    {.date = At(2002, 6, 15), .available = 50.0f, .price = 12.0f}};
    request.ofText = "of 120.0000";
    request.sharesToSell = shares;
    return request;
}

QListWidget* Lots(const QWidget* form) {
    return form->findChild<QListWidget*>(QStringLiteral("lots"));
}

QLineEdit* Entry(const QWidget* form) {
    return form->findChild<QLineEdit*>(QStringLiteral("entry"));
}

QString Remaining(const QWidget* form) {
    return form->findChild<QLabel*>(QStringLiteral("remaining"))->text();
}

}  // namespace

class SaleDlgTest final : public QObject {
    Q_OBJECT

private slots:
    void init() { m_clock = std::make_unique<ScopedClock>(At(2006, 5, 17, 14)); }
    void cleanup() { m_clock.reset(); }

    void okChecksTheSharesAvailable_data() {
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<QString>("shares");
        QTest::addColumn<QString>("price");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("exactly the shares available") << "XYZ"
                                                      << "150"
                                                      << "11" << true;
        QTest::newRow("0.0001 more") << "XYZ"
                                     << "150.0001"
                                     << "11" << false;
        QTest::newRow("no symbol") << ""
                                   << "10"
                                   << "11" << false;
        QTest::newRow("no shares") << "XYZ"
                                   << "0"
                                   << "11" << false;
        QTest::newRow("no price") << "XYZ"
                                  << "10"
                                  << "0" << false;
    }

    void okChecksTheSharesAvailable() {
        QFETCH(QString, symbol);
        QFETCH(QString, shares);
        QFETCH(QString, price);
        QFETCH(bool, accepted);
        Settings settings;
        CKx7Doc doc(settings);
        Hold(doc);
        BeepLog log;
        CSaleDlg form(doc, nullptr);
        form.show();
        auto* symbolBox = FieldOf<QComboBox>(&form, QStringLiteral("Symbol"));
        QCOMPARE(symbolBox->count(), 2);
        QCOMPARE(symbolBox->itemText(0), QStringLiteral("ABC"));
        if (!symbol.isEmpty()) {
            Choose(symbolBox, symbol);
            QCOMPARE(FieldOf<QLineEdit>(&form, QStringLiteral("Company Name"))->text(),
                     QStringLiteral("Xyz Corp"));
            QCOMPARE(FieldOf<QLineEdit>(&form, QStringLiteral("Shares Available"))->text(),
                     QStringLiteral("150.0000"));
        }
        Type(FieldOf<QLineEdit>(&form, QStringLiteral("Sale Price")), price);
        Type(FieldOf<QLineEdit>(&form, QStringLiteral("Number of shares")), shares);
        Click(&form, QStringLiteral("LIFO"));
        Click(&form, QStringLiteral("OK"));
        QCOMPARE(form.result() == QDialog::Accepted, accepted);
        QCOMPARE(log.beeps, Beeps(accepted ? 0 : 1, kRefused));
        if (accepted) {
            QCOMPARE(form.Method(), SaleMethod::kLifo);
            QCOMPARE(form.Shares(), 150.0f);
            QCOMPARE(form.Date(), At(2006, 5, 17, 14));
        } else if (symbol.isEmpty()) {
            SaveShot(&form, QStringLiteral("Sale"));
        }
    }

    void onlyOneMethodIsChecked() {
        Settings settings;
        CKx7Doc doc(settings);
        CSaleDlg form(doc, nullptr);
        form.show();
        QVERIFY(ButtonOf(&form, QStringLiteral("FIFO"))->isChecked());
        Click(&form, QStringLiteral("Custom"));
        QVERIFY(!ButtonOf(&form, QStringLiteral("FIFO"))->isChecked());
        QVERIFY(!ButtonOf(&form, QStringLiteral("LIFO"))->isChecked());
    }

    void editingASaleShowsItsLotsSharesBack() {
        Settings settings;
        CKx7Doc doc(settings);
        Hold(doc);
        doc.Sell({.symbol = "XYZ",
                  .shares = 30.0f,
                  .price = 15.0f,
                  .date = At(2005, 1, 4, 10),
                  .commission = 9.95f,
                  .method = SaleMethod::kFifo,
                  .comment = "part"});
        const CSale& sale = doc.Purchases()[0]->sales[0];
        CSaleDlg form(doc, sale, "XYZ", "Xyz Corp", nullptr);
        form.show();
        auto* symbolBox = FieldOf<QComboBox>(&form, QStringLiteral("Symbol"));
        QVERIFY(!symbolBox->isEnabled());
        QCOMPARE(symbolBox->currentText(), QStringLiteral("XYZ"));
        QCOMPARE(FieldOf<QLineEdit>(&form, QStringLiteral("Shares Available"))->text(),
                 QStringLiteral("100.0000"));
        QCOMPARE(FieldOf<QLineEdit>(&form, QStringLiteral("Commission"))->text(),
                 QStringLiteral("9.95"));
        Type(FieldOf<QLineEdit>(&form, QStringLiteral("Number of shares")), QStringLiteral("100"));
        Click(&form, QStringLiteral("OK"));
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(form.Date(), At(2005, 1, 4, 10));
    }

    void customCommitAndSellAvailable() {
        BeepLog log;
        CSaleCustomDlg form(XyzRequest(120.0f), nullptr);
        form.show();
        QCOMPARE(Lots(&form)->count(), 2);
        QCOMPARE(Entry(&form)->text(), QStringLiteral("0"));
        QCOMPARE(Remaining(&form), QString());

        // Above the lot's shares: the short beep, nothing changes.
        Lots(&form)->setCurrentRow(1);
        Type(Entry(&form), QStringLiteral("60"));
        Click(&form, QStringLiteral("Commit"));
        QCOMPARE(log.beeps, Beeps(1, kAmountRefused));
        QCOMPARE(Lots(&form)->item(1)->text(),
                 QStringLiteral("06/15/2002     50.0000       12.0000"));

        Lots(&form)->setCurrentRow(0);
        Type(Entry(&form), QStringLiteral("80"));
        Click(&form, QStringLiteral("Commit"));
        QCOMPARE(Lots(&form)->item(0)->text(),
                 QStringLiteral("03/01/2001    100.0000       10.0000       80.0000"));
        QCOMPARE(Entry(&form)->text(), QStringLiteral("80"));
        QCOMPARE(Remaining(&form), QStringLiteral("40.0000"));

        // More in the lot than is left: it gets what is left.
        Lots(&form)->setCurrentRow(1);
        Click(&form, QStringLiteral("  Sell\nAvailable"));
        QCOMPARE(Entry(&form)->text(), QStringLiteral("40"));
        QCOMPARE(Remaining(&form), QStringLiteral("0.0000"));
        SaveShot(&form, QStringLiteral("SaleCustom"));

        Click(&form, QStringLiteral("Sell"));
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(form.Amounts(), (std::vector<float>{80.0f, 40.0f}));
        QCOMPARE(log.beeps.size(), 1u);
    }

    void customSellRefusals_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("remaining");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("half a share left") << "100"
                                           << "19.5"
                                           << "0.5000" << false;
        QTest::newRow("filled exactly") << "100"
                                        << "20"
                                        << "0.0000" << true;
        QTest::newRow("a negative amount raises what is left") << "0"
                                                               << "-2"
                                                               << "122.0000" << false;
    }

    void customSellRefusals() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, remaining);
        QFETCH(bool, accepted);
        BeepLog log;
        CSaleCustomDlg form(XyzRequest(120.0f), nullptr);
        form.show();
        Lots(&form)->setCurrentRow(0);
        Type(Entry(&form), first);
        Click(&form, QStringLiteral("Commit"));
        Lots(&form)->setCurrentRow(1);
        Type(Entry(&form), second);
        Click(&form, QStringLiteral("Commit"));
        QCOMPARE(Remaining(&form), remaining);
        Click(&form, QStringLiteral("Sell"));
        QCOMPARE(form.result() == QDialog::Accepted, accepted);
        QCOMPARE(log.beeps, Beeps(accepted ? 0 : 1, kRefused));
        QCOMPARE(Entry(&form)->text(), QStringLiteral("0"));
    }

    void customSellRefusesWhileALotHasANegativeAmount() {
        BeepLog log;
        CSaleCustomDlg form(XyzRequest(10.0f), nullptr);
        form.show();
        Lots(&form)->setCurrentRow(1);
        Type(Entry(&form), QStringLiteral("-2"));
        Click(&form, QStringLiteral("Commit"));
        Lots(&form)->setCurrentRow(0);
        Type(Entry(&form), QStringLiteral("12"));
        Click(&form, QStringLiteral("Commit"));
        QCOMPARE(Remaining(&form), QStringLiteral("0.0000"));
        Click(&form, QStringLiteral("Sell"));
        QVERIFY(form.isVisible());
        QCOMPARE(log.beeps, Beeps(1, kRefused));
    }

private:
    std::unique_ptr<ScopedClock> m_clock;
};

static const GuiTestRegistration<SaleDlgTest> registration("SaleDlg_test");

#include "SaleDlg_test.moc"

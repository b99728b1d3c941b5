#include "desktop/forms/DividendDlg.h"

#include <QCheckBox>
#include <QRadioButton>

#include "../../core/support/TestClock.h"
#include "core/model/Dividend.h"
#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"
#include "desktop/forms/ExpireOptionsDlg.h"
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
                  .shares = 10.0f,
                  .price = 20.0f,
                  .date = At(2002, 4, 2),
                  .commission = 0.0f,
                  .purchaseType = "Direct Purchase",
                  .comment = ""});
    doc.ReceiveGrant({.symbol = "XYZ",
                      .companyName = "Xyz Corp",
                      .shares = 400.0f,
                      .strikePrice = 5.0f,
                      .date = At(2000, 1, 3),
                      .optionType = "ISO",
                      .vestingSchedule = 0,
                      .grantId = "G1",
                      .comment = ""});
}

}  // namespace

class DividendDlgTest final : public QObject {
    Q_OBJECT

private slots:
    void init() { m_clock = std::make_unique<ScopedClock>(At(2006, 5, 17, 14)); }
    void cleanup() { m_clock.reset(); }

    void bothNumbersAreReadBack_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("shares");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("value 2.5 and shares 10") << "2.5"
                                                 << "10" << true;
        QTest::newRow("value 0 and shares 3") << "0"
                                              << "3" << true;
        QTest::newRow("both 0") << "0"
                                << "0" << false;
    }

    void bothNumbersAreReadBack() {
        QFETCH(QString, value);
        QFETCH(QString, shares);
        QFETCH(bool, accepted);
        Settings settings;
        CKx7Doc doc(settings);
        Hold(doc);
        BeepLog log;
        CDividendDlg form(doc, nullptr, nullptr);
        form.show();
        auto* symbolBox = FieldOf<QComboBox>(&form, QStringLiteral("Symbol"));
        QCOMPARE(symbolBox->count(), 3);
        Choose(symbolBox, QStringLiteral("XYZ"));
        QCOMPARE(FieldOf<QLineEdit>(&form, QStringLiteral("Company Name"))->text(), QString());
        auto* valueEdit = FieldOf<QLineEdit>(&form, QStringLiteral("Dividend Value"));
        auto* sharesEdit = FieldOf<QLineEdit>(&form, QStringLiteral("Number of shares"));
        QVERIFY(valueEdit->isEnabled());
        QVERIFY(!sharesEdit->isEnabled());
        Type(valueEdit, value);
        Click(&form, QStringLiteral("Shares"));
        QVERIFY(!valueEdit->isEnabled());
        Type(sharesEdit, shares);
        Click(&form, QStringLiteral("Cash"));  // the buttons do not decide the kind
        Click(&form, QStringLiteral("OK"));
        QCOMPARE(form.result() == QDialog::Accepted, accepted);
        QCOMPARE(log.beeps, Beeps(accepted ? 0 : 1, kRefused));
        if (accepted) {
            QCOMPARE(form.Symbol(), std::string("XYZ"));
            QCOMPARE(form.Value(), value.toFloat());
            QCOMPARE(form.Shares(), shares.toFloat());
        } else {
            SaveShot(&form, QStringLiteral("Dividend"));
        }
    }

    void noSymbolIsRefused() {
        Settings settings;
        CKx7Doc doc(settings);
        Hold(doc);
        BeepLog log;
        CDividendDlg form(doc, nullptr, nullptr);
        form.show();
        Type(FieldOf<QLineEdit>(&form, QStringLiteral("Dividend Value")), QStringLiteral("1"));
        Click(&form, QStringLiteral("OK"));
        QVERIFY(form.isVisible());
        QCOMPARE(log.beeps, Beeps(1, kRefused));
    }

    void editingAShareDividend() {
        Settings settings;
        CKx7Doc doc(settings);
        const CDividend& dividend = doc.RecordDividend({.symbol = "XYZ",
                                                        .kind = DividendKind::kShares,
                                                        .amount = 4.0f,
                                                        .date = At(2004, 6, 4, 9),
                                                        .comment = "stock"});
        CDividendDlg form(doc, &dividend, nullptr);
        form.show();
        auto* symbolBox = FieldOf<QComboBox>(&form, QStringLiteral("Symbol"));
        QVERIFY(!symbolBox->isEnabled());
        QCOMPARE(symbolBox->currentText(), QStringLiteral("XYZ"));
        QVERIFY(ButtonOf(&form, QStringLiteral("Shares"))->isChecked());
        QCOMPARE(FieldOf<QLineEdit>(&form, QStringLiteral("Number of shares"))->text(),
                 QStringLiteral("4"));
        QCOMPARE(FieldOf<QLineEdit>(&form, QStringLiteral("Dividend Value"))->text(),
                 QStringLiteral("0"));
        SaveShot(&form, QStringLiteral("DividendEdit"));
        Click(&form, QStringLiteral("OK"));
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(form.Symbol(), std::string("XYZ"));
        QCOMPARE(form.Date(), At(2004, 6, 4, 9));
    }

    void expiryNeedsTheBoxAndASymbol_data() {
        QTest::addColumn<bool>("chooseSymbol");
        QTest::addColumn<bool>("sellAll");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("symbol, box checked") << true << true << true;
        QTest::newRow("symbol, box cleared") << true << false << false;
        QTest::newRow("no symbol") << false << true << false;
    }

    void expiryNeedsTheBoxAndASymbol() {
        QFETCH(bool, chooseSymbol);
        QFETCH(bool, sellAll);
        QFETCH(bool, accepted);
        Settings settings;
        CKx7Doc doc(settings);
        Hold(doc);
        BeepLog log;
        CExpireOptionsDlg form(doc, nullptr);
        form.show();
        auto* symbolBox = FieldOf<QComboBox>(&form, QStringLiteral("Symbol"));
        QCOMPARE(symbolBox->count(), 1);  // grants only
        if (chooseSymbol) {
            Choose(symbolBox, QStringLiteral("XYZ-O"));
            QCOMPARE(FieldOf<QLineEdit>(&form, QStringLiteral("Company Name"))->text(),
                     QStringLiteral("Xyz Corp"));
            QCOMPARE(FieldOf<QLineEdit>(&form, QStringLiteral("Shares Available"))->text(),
                     QStringLiteral("400.0000"));
        }
        QVERIFY(!FieldOf<QLineEdit>(&form, QStringLiteral("Number of shares"))->isEnabled());
        QVERIFY(ButtonOf(&form, QStringLiteral("Sell All Remaining"))->isChecked());
        if (!sellAll) {
            Click(&form, QStringLiteral("Sell All Remaining"));
            QVERIFY(!ButtonOf(&form, QStringLiteral("Sell All Remaining"))->isChecked());
        }
        SaveShot(&form, QStringLiteral("ExpireOptions"));
        Click(&form, QStringLiteral("OK"));
        QCOMPARE(form.result() == QDialog::Accepted, accepted);
        QCOMPARE(log.beeps, Beeps(accepted ? 0 : 1, kRefused));
        if (accepted) {
            QCOMPARE(form.Symbol(), std::string("XYZ-O"));
            QVERIFY(form.SellAllRemaining());
        }
    }

private:
    std::unique_ptr<ScopedClock> m_clock;
};

static const GuiTestRegistration<DividendDlgTest> registration("DividendDlg_test");

#include "DividendDlg_test.moc"

#include "desktop/forms/PurchaseDlg.h"

#include <QPlainTextEdit>

#include "../../core/support/TestClock.h"
#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"
#include "desktop/forms/FormDatePicker.h"
#include "desktop/forms/OptionDefDlg.h"
#include "desktop/forms/RecGrantDlg.h"
#include "forms/FormTestSupport.h"
#include "support/GuiTestRegistry.h"

using namespace formtest;

namespace {

const std::vector<std::string> kHeld = {"ABC", "XYZ"};

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
                  .date = At(2002, 4, 2),
                  .commission = 0.0f,
                  .purchaseType = "Direct Purchase",
                  .comment = ""});
}

}  // namespace

class PurchaseDlgTest final : public QObject {
    Q_OBJECT

private slots:
    void init() { m_clock = std::make_unique<ScopedClock>(At(2006, 5, 17, 14)); }
    void cleanup() { m_clock.reset(); }

    void okFollowsTheRules_data() {
        QTest::addColumn<QString>("symbol");  // chosen from the list, or typed when new
        QTest::addColumn<QString>("company");
        QTest::addColumn<QString>("shares");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("accepted");

        QTest::newRow("typed Dividend Reinvest at price 0") << "XYZ"
                                                            << ""
                                                            << "10"
                                                            << "0"
                                                            << "Dividend Reinvest" << true;
        QTest::newRow("listed Dividend Reinvestment at price 0")
            << "XYZ"
            << ""
            << "10"
            << "0"
            << "Dividend Reinvestment" << false;
        QTest::newRow("a direct purchase") << "XYZ"
                                           << ""
                                           << "10"
                                           << "12.5"
                                           << "Direct Purchase" << true;
        QTest::newRow("a new symbol with its company") << "NEWCO"
                                                       << "New Co"
                                                       << "5"
                                                       << "3"
                                                       << "Other" << true;
        QTest::newRow("a new symbol without a company") << "NEWCO"
                                                        << ""
                                                        << "5"
                                                        << "3"
                                                        << "Other" << false;
        QTest::newRow("no symbol") << ""
                                   << "New Co"
                                   << "5"
                                   << "3"
                                   << "Other" << false;
        QTest::newRow("no shares") << "XYZ"
                                   << ""
                                   << "0"
                                   << "3"
                                   << "Other" << false;
    }

    void okFollowsTheRules() {
        QFETCH(QString, symbol);
        QFETCH(QString, company);
        QFETCH(QString, shares);
        QFETCH(QString, price);
        QFETCH(QString, type);
        QFETCH(bool, accepted);

        Settings settings;
        CKx7Doc doc(settings);
        Hold(doc);
        BeepLog log;
        CPurchaseDlg form(doc, kHeld, nullptr, nullptr);
        form.show();
        auto* symbolBox = FieldOf<QComboBox>(&form, QStringLiteral("Symbol"));
        QVERIFY(symbolBox != nullptr);
        if (symbolBox->findText(symbol) >= 0) {
            Choose(symbolBox, symbol);
        } else {
            QTest::keyClicks(symbolBox->lineEdit(), symbol);
            Type(FieldOf<QLineEdit>(&form, QStringLiteral("Company Name")), company);
        }
        Type(FieldOf<QLineEdit>(&form, QStringLiteral("Number of shares")), shares);
        Type(FieldOf<QLineEdit>(&form, QStringLiteral("Purchase Price")), price);
        QTest::keyClicks(FieldOf<QComboBox>(&form, QStringLiteral("Purchase Type"))->lineEdit(),
                         type);
        QTest::keyClick(FieldOf<QLineEdit>(&form, QStringLiteral("Commission")), Qt::Key_Return);

        QCOMPARE(form.result() == QDialog::Accepted, accepted);
        QCOMPARE(form.isVisible(), !accepted);
        QCOMPARE(log.beeps.size(), accepted ? 0u : 1u);
        if (!accepted) {
            QCOMPARE(log.beeps.front(), kRefused);
            // Everything entered stays.
            QCOMPARE(FieldOf<QLineEdit>(&form, QStringLiteral("Number of shares"))->text(), shares);
            return;
        }
        QCOMPARE(QString::fromStdString(form.Symbol()), symbol);
        QCOMPARE(QString::fromStdString(form.PurchaseType()), type);
        QCOMPARE(form.Shares(), shares.toFloat());
        QCOMPARE(form.Price(), price.toFloat());
        QCOMPARE(form.Date(), At(2006, 5, 17, 14));
        if (symbol == QStringLiteral("XYZ")) {
            QCOMPARE(form.CompanyName(), std::string("Xyz Corp"));
        }
    }

    void theBlankEntryEmptiesTheCompany() {
        Settings settings;
        CKx7Doc doc(settings);
        Hold(doc);
        CPurchaseDlg form(doc, kHeld, nullptr, nullptr);
        form.show();
        auto* symbolBox = FieldOf<QComboBox>(&form, QStringLiteral("Symbol"));
        QCOMPARE(symbolBox->itemText(0), QStringLiteral(" "));
        QCOMPARE(symbolBox->count(), 3);
        Choose(symbolBox, QStringLiteral("XYZ"));
        auto* company = FieldOf<QLineEdit>(&form, QStringLiteral("Company Name"));
        QCOMPARE(company->text(), QStringLiteral("Xyz Corp"));
        Choose(symbolBox, QStringLiteral(" "));
        QCOMPARE(symbolBox->currentIndex(), -1);
        QCOMPARE(symbolBox->currentText(), QString());
        QCOMPARE(company->text(), QString());
    }

    void aNonNumberIsReportedAndKeepsTheFormOpen() {
        Settings settings;
        CKx7Doc doc(settings);
        BeepLog log;
        CPurchaseDlg form(doc, {}, nullptr, nullptr);
        form.show();
        Type(FieldOf<QLineEdit>(&form, QStringLiteral("Purchase Price")), QStringLiteral("1e39"));
        QString message;
        AnswerMessage(message);
        Click(&form, QStringLiteral("OK"));
        QCOMPARE(message, QStringLiteral("Please enter a number."));
        QVERIFY(form.isVisible());
        QVERIFY(log.beeps.empty());
    }

    void editingShowsTheLotWithSymbolAndCompanyGreyed() {
        Settings settings;
        CKx7Doc doc(settings);
        CPurchase& lot = doc.Purchase({.symbol = "XYZ",
                                       .companyName = "Xyz Corp",
                                       .shares = 100.0f,
                                       .price = 10.25f,
                                       .date = At(2001, 3, 1, 9),
                                       .commission = 7.0f,
                                       .purchaseType = "Option",
                                       .comment = "first lot"});
        CPurchaseDlg form(doc, {"XYZ"}, &lot, nullptr);
        form.show();
        auto* symbolBox = FieldOf<QComboBox>(&form, QStringLiteral("Symbol"));
        QCOMPARE(symbolBox->count(), 1);
        QCOMPARE(symbolBox->currentText(), QStringLiteral("XYZ"));
        QVERIFY(!symbolBox->isEnabled());
        QVERIFY(!FieldOf<QLineEdit>(&form, QStringLiteral("Company Name"))->isEnabled());
        QCOMPARE(FieldOf<QLineEdit>(&form, QStringLiteral("Purchase Price"))->text(),
                 QStringLiteral("10.25"));
        QCOMPARE(FieldOf<QLineEdit>(&form, QStringLiteral("Commission"))->text(),
                 QStringLiteral("7"));
        SaveShot(&form, QStringLiteral("PurchaseEdit"));
        Click(&form, QStringLiteral("OK"));
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(form.Date(), At(2001, 3, 1, 9));  // the record's time of day is kept
        QCOMPARE(form.Comment(), std::string("first lot"));
    }

    void theDatePickerCarriesTheOpeningTime() {
        Settings settings;
        CKx7Doc doc(settings);
        CPurchaseDlg form(doc, {}, nullptr, nullptr);
        form.show();
        auto* picker = FieldOf<FormDatePicker>(&form, QStringLiteral("Date"));
        QVERIFY(picker != nullptr);
        QCOMPARE(picker->displayFormat(), QStringLiteral("MM/dd/yyyy"));
        picker->setDate(QDate(2006, 1, 3));
        QCOMPARE(picker->Time(), At(2006, 1, 3, 14));
        SaveShot(&form, QStringLiteral("Purchase"));
    }

    void grantOkFollowsTheRules_data() {
        QTest::addColumn<int>("schedule");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("strike");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("complete") << 3 << "ISO"
                                  << "12.5" << true;
        QTest::newRow("no schedule") << -1 << "ISO"
                                     << "12.5" << false;
        QTest::newRow("no type") << 3 << ""
                                 << "12.5" << false;
        QTest::newRow("no strike") << 3 << "NQ"
                                   << "0" << false;
    }

    void grantOkFollowsTheRules() {
        QFETCH(int, schedule);
        QFETCH(QString, type);
        QFETCH(QString, strike);
        QFETCH(bool, accepted);
        Settings settings;
        CKx7Doc doc(settings);
        Hold(doc);
        BeepLog log;
        CRecGrantDlg form(doc, kHeld, nullptr);
        form.show();
        Choose(FieldOf<QComboBox>(&form, QStringLiteral("Symbol")), QStringLiteral("XYZ"));
        QCOMPARE(FieldOf<QLineEdit>(&form, QStringLiteral("Company Name"))->text(),
                 QStringLiteral("Xyz Corp"));
        Type(FieldOf<QLineEdit>(&form, QStringLiteral("Number of shares")), QStringLiteral("1000"));
        Type(FieldOf<QLineEdit>(&form, QStringLiteral("Strike Price")), strike);
        auto* scheduleBox = FieldOf<QComboBox>(&form, QStringLiteral("Vesting Schedule"));
        QCOMPARE(scheduleBox->currentIndex(), -1);
        QCOMPARE(scheduleBox->count(), 18);
        if (schedule >= 0) {
            Choose(scheduleBox, scheduleBox->itemText(schedule));
        }
        if (!type.isEmpty()) {
            Choose(FieldOf<QComboBox>(&form, QStringLiteral("Purchase Type")), type);
        }
        Type(FieldOf<QLineEdit>(&form, QStringLiteral("Grant ID")), QStringLiteral("G-7"));
        Click(&form, QStringLiteral("OK"));
        QCOMPARE(form.result() == QDialog::Accepted, accepted);
        QCOMPARE(log.beeps, Beeps(accepted ? 0 : 1, kRefused));
        if (accepted) {
            QCOMPARE(form.VestingSchedule(), schedule);
            QCOMPARE(QString::fromStdString(form.OptionType()), type);
            QCOMPARE(form.GrantId(), std::string("G-7"));
            QCOMPARE(form.Shares(), 1000.0f);
        } else {
            SaveShot(&form, QStringLiteral("RecGrant"));
        }
    }

    void definitionsOpenFromTheGrantForm() {
        Settings settings;
        CKx7Doc doc(settings);
        CRecGrantDlg form(doc, {}, nullptr);
        form.show();
        QString title;
        WhenModal([&title](QWidget* window) {
            title = window->windowTitle();
            SaveShot(window, QStringLiteral("OptionDef"));
            Click(window, QStringLiteral("OK"));
        });
        Click(&form, QStringLiteral("Definitions"));
        QCOMPARE(title, QStringLiteral("Option Definitions"));
        const QString schedules = COptionDefDlg::ScheduleText();
        QVERIFY(schedules.startsWith(QStringLiteral("1YA - 100% vest on 1st Anniversary.\r\n")));
        QVERIFY(schedules.contains(QStringLiteral("on 4th.\r\n\r\n1YM")));
        QVERIFY(schedules.endsWith(QStringLiteral("for information.")));
        QVERIFY(COptionDefDlg::TypeText().endsWith(
            QStringLiteral("KCR    - Key Contributor (Replacement)\r\n")));
    }

private:
    std::unique_ptr<ScopedClock> m_clock;
};

static const GuiTestRegistration<PurchaseDlgTest> registration("PurchaseDlg_test");

#include "PurchaseDlg_test.moc"

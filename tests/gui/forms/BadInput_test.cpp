// Values no record can hold are refused with a message naming the field and its range, and
// the portfolio stays as it was.

#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QStatusBar>
#include <QTest>
#include <vector>

#include "../../core/support/TestClock.h"
#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/settings/Settings.h"
#include "desktop/forms/FormDatePicker.h"
#include "desktop/mainwindow/FormCommands.h"
#include "forms/FormTestSupport.h"
#include "support/GuiTestRegistry.h"

using namespace formtest;

namespace {

using Command = bool (*)(QWidget*, CKx7Doc&);

void FillPurchase(QWidget* form) {
    Choose(FieldOf<QComboBox>(form, QStringLiteral("Symbol")), QStringLiteral("XYZ"));
    Type(FieldOf<QLineEdit>(form, QStringLiteral("Number of shares")), QStringLiteral("10"));
    Type(FieldOf<QLineEdit>(form, QStringLiteral("Purchase Price")), QStringLiteral("12"));
    Choose(FieldOf<QComboBox>(form, QStringLiteral("Purchase Type")),
           QStringLiteral("Direct Purchase"));
}

void FillSale(QWidget* form) {
    Choose(FieldOf<QComboBox>(form, QStringLiteral("Symbol")), QStringLiteral("XYZ"));
    Type(FieldOf<QLineEdit>(form, QStringLiteral("Sale Price")), QStringLiteral("12"));
    Type(FieldOf<QLineEdit>(form, QStringLiteral("Number of shares")), QStringLiteral("10"));
}

void FillDividend(QWidget* form) {
    Choose(FieldOf<QComboBox>(form, QStringLiteral("Symbol")), QStringLiteral("XYZ"));
    Type(FieldOf<QLineEdit>(form, QStringLiteral("Dividend Value")), QStringLiteral("5"));
}

}  // namespace

Q_DECLARE_METATYPE(Command)

class BadInputTest final : public QObject {
    Q_OBJECT

private slots:
    void init() { m_clock = std::make_unique<ScopedClock>(At(2006, 5, 17, 14)); }
    void cleanup() { m_clock.reset(); }

    void refusedWithTheFieldAndItsRange_data() {
        QTest::addColumn<Command>("command");
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        const QString top = QStringLiteral(" must be between 0 and 1000000000.");
        const auto row = [&](const char* name, Command command, int form, const char* label,
                             const char* value) {
            QTest::newRow(name) << command << form << QString::fromLatin1(label)
                                << QString::fromLatin1(value) << QString::fromLatin1(label) + top;
        };
        row("purchase of -10 shares", &FormCommands::PurchaseStock, kPurchase, "Number of shares",
            "-10");
        row("purchase of 2e9 shares", &FormCommands::PurchaseStock, kPurchase, "Number of shares",
            "2000000000");
        row("purchase price -0.01", &FormCommands::PurchaseStock, kPurchase, "Purchase Price",
            "-0.01");
        row("purchase commission -1", &FormCommands::PurchaseStock, kPurchase, "Commission", "-1");
        row("sale price -3", &FormCommands::SellStock, kSale, "Sale Price", "-3");
        row("sale of -1 shares", &FormCommands::SellStock, kSale, "Number of shares", "-1");
        row("sale commission -2", &FormCommands::SellStock, kSale, "Commission", "-2");
        row("dividend of -4", &FormCommands::RecordDividend, kDividend, "Dividend Value", "-4");
    }

    void refusedWithTheFieldAndItsRange() {
        QFETCH(Command, command);
        QFETCH(int, form);
        QFETCH(QString, label);
        QFETCH(QString, value);
        QFETCH(QString, message);
        const Settings settings;
        CKx7Doc doc(settings);
        Hold(doc);
        const std::vector<std::uint8_t> before = StoreKx7(doc);

        QString shown;
        WhenModal([&](QWidget* window) {
            Fill(form, window);
            Type(FieldOf<QLineEdit>(window, label), value);
            AnswerMessage(shown);
            Click(window, QStringLiteral("OK"));
            // The form stays open with the value as typed; Cancel leaves it.
            QCOMPARE(FieldOf<QLineEdit>(window, label)->text(), value);
            Click(window, QStringLiteral("Cancel"));
        });
        QVERIFY(command(nullptr, doc));
        QCOMPARE(shown, message);
        QCOMPARE(StoreKx7(doc), before);
        QVERIFY(!doc.IsModified());
    }

    // The file holds dates from 1970 to early 2106; a later one is refused, not cut short.
    void aDateBeyondWhatTheFileHoldsIsRefused() {
        const Settings settings;
        CKx7Doc doc(settings);
        Hold(doc);
        const std::vector<std::uint8_t> before = StoreKx7(doc);
        QString shown;
        WhenModal([&](QWidget* window) {
            FillPurchase(window);
            window->findChild<FormDatePicker*>()->setDate(QDate(2200, 10, 12));
            AnswerMessage(shown);
            Click(window, QStringLiteral("OK"));
            Click(window, QStringLiteral("Cancel"));
        });
        QVERIFY(FormCommands::PurchaseStock(nullptr, doc));
        QCOMPARE(shown, QStringLiteral("Date must be between 01/02/1970 and 02/06/2106."));
        QCOMPARE(StoreKx7(doc), before);
    }

    // Where a refusal is only the beep, the main window's status bar says why.
    void aBeepSaysWhyInTheStatusBar() {
        const Settings settings;
        CKx7Doc doc(settings);
        Hold(doc);
        QMainWindow frame;
        frame.show();
        BeepLog log;
        WhenModal([](QWidget* window) {
            FillSale(window);
            Type(FieldOf<QLineEdit>(window, QStringLiteral("Number of shares")),
                 QStringLiteral("150"));
            Click(window, QStringLiteral("OK"));
            Click(window, QStringLiteral("Cancel"));
        });
        QVERIFY(FormCommands::SellStock(&frame, doc));
        QCOMPARE(log.beeps, Beeps(1, kRefused));
        QCOMPARE(frame.statusBar()->currentMessage(),
                 QStringLiteral("Only 100 shares are available to sell."));
        QVERIFY(doc.Purchases()[0]->sales.empty());
    }

private:
    enum Form { kPurchase, kSale, kDividend };

    static void Fill(int form, QWidget* window) {
        switch (form) {
            case kPurchase:
                FillPurchase(window);
                break;
            case kSale:
                FillSale(window);
                break;
            default:
                FillDividend(window);
                break;
        }
    }

    static void Hold(CKx7Doc& doc) {
        doc.Purchase({.symbol = "XYZ",
                      .companyName = "Xyz Corp",
                      .shares = 100.0f,
                      .price = 10.0f,
                      .date = At(2001, 3, 1),
                      .commission = 0.0f,
                      .purchaseType = "Direct Purchase",
                      .comment = ""});
        doc.SetModified(false);
    }

    std::unique_ptr<ScopedClock> m_clock;
};

static const GuiTestRegistration<BadInputTest> registration("BadInput_test");

#include "BadInput_test.moc"

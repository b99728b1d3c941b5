#include "desktop/mainwindow/ValueDlg.h"

#include <QListWidget>

#include "../../core/support/TestClock.h"
#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"
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
    doc.SetMarketPrice("XYZ", 12.0f);
    doc.SetMarketPrice("ABC", 24.0f);
    doc.SetModified(false);
}

QListWidget* Rows(const QWidget* form) {
    return form->findChild<QListWidget*>(QStringLiteral("rows"));
}

QLineEdit* Entry(const QWidget* form) {
    return FieldOf<QLineEdit>(form, QStringLiteral("Enter Market Value"));
}

QString Total(const QWidget* form) {
    return form->findChild<QLabel*>(QStringLiteral("total"))->text();
}

}  // namespace

class ValueDlgTest final : public QObject {
    Q_OBJECT

private slots:
    void init() { m_clock = std::make_unique<ScopedClock>(At(2006, 5, 17, 14)); }
    void cleanup() { m_clock.reset(); }

    void rowsAreAlignedAndSorted() {
        Settings settings;
        CKx7Doc doc(settings);
        Hold(doc);
        CValueDlg form(doc, nullptr);
        form.show();
        QCOMPARE(Rows(&form)->count(), 2);
        QCOMPARE(Rows(&form)->item(0)->text(), QStringLiteral("ABC       50.0000    24.0000"));
        QCOMPARE(Rows(&form)->item(1)->text(), QStringLiteral("XYZ      100.0000    12.0000"));
        QCOMPARE(Entry(&form)->text(), QStringLiteral("0"));
        QCOMPARE(Total(&form), QStringLiteral("0"));
        Rows(&form)->setCurrentRow(1);
        QCOMPARE(Entry(&form)->text(), QStringLiteral("12"));
    }

    void committingTwelveAndAHalf() {
        Settings settings;
        CKx7Doc doc(settings);
        Hold(doc);
        CValueDlg form(doc, nullptr);
        form.show();
        Rows(&form)->setCurrentRow(1);
        Type(Entry(&form), QStringLiteral("12.5"));
        Click(&form, QStringLiteral("Commit"));
        QCOMPARE(Rows(&form)->item(1)->text(), QStringLiteral("XYZ      100.0000       12.5"));
        QCOMPARE(doc.MarketPrice("XYZ"), 12.5f);
        QCOMPARE(Entry(&form)->text(), QString());
        QVERIFY(doc.IsModified());
    }

    void aCommitThatIsNoNumberStoresNothing() {
        Settings settings;
        CKx7Doc doc(settings);
        Hold(doc);
        BeepLog log;
        CValueDlg form(doc, nullptr);
        form.show();
        Rows(&form)->setCurrentRow(1);
        Type(Entry(&form), QStringLiteral("twelve"));
        Click(&form, QStringLiteral("Commit"));
        QCOMPARE(log.beeps, Beeps(1, kRefused));
        QCOMPARE(doc.MarketPrice("XYZ"), 12.0f);
        QVERIFY(!doc.IsModified());
        QCOMPARE(Rows(&form)->item(1)->text(), QStringLiteral("XYZ      100.0000    12.0000"));
    }

    // A price no market gives is refused by name, not stored to value a holding below 0.
    void aNegativePriceIsRefused() {
        Settings settings;
        CKx7Doc doc(settings);
        Hold(doc);
        CValueDlg form(doc, nullptr);
        form.show();
        Rows(&form)->setCurrentRow(1);
        Type(Entry(&form), QStringLiteral("-5"));
        QString shown;
        AnswerMessage(shown);
        Click(&form, QStringLiteral("Commit"));
        QCOMPARE(shown, QStringLiteral("The price must be between 0 and 1000000000."));
        QCOMPARE(doc.MarketPrice("XYZ"), 12.0f);
        QVERIFY(!doc.IsModified());
        QCOMPARE(Entry(&form)->text(), QStringLiteral("-5"));
    }

    void calculatingTwiceGivesTheSameRows() {
        Settings settings;
        CKx7Doc doc(settings);
        Hold(doc);
        CValueDlg form(doc, nullptr);
        form.show();
        Click(&form, QStringLiteral("Calculate"));
        const QString abc = Rows(&form)->item(0)->text();
        QCOMPARE(abc, QStringLiteral("ABC       50.0000    24.0000    1200.0000  50.0000"));
        QCOMPARE(Total(&form), QStringLiteral("2400.0000"));
        Click(&form, QStringLiteral("Calculate"));
        QCOMPARE(Rows(&form)->item(0)->text(), abc);
        QCOMPARE(Total(&form), QStringLiteral("2400.0000"));
        SaveShot(&form, QStringLiteral("Value"));
    }

    void anEmptyPortfolio() {
        Settings settings;
        CKx7Doc doc(settings);
        CValueDlg form(doc, nullptr);
        form.show();
        Click(&form, QStringLiteral("Commit"));
        Click(&form, QStringLiteral("Calculate"));
        QCOMPARE(Rows(&form)->count(), 0);
        QCOMPARE(Total(&form), QStringLiteral("0.0000"));
        QVERIFY(!doc.IsModified());
    }

    void enterChecksTheEntry_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("not a number") << "abc"
                                      << "Please enter a number.";
        QTest::newRow("above 3000") << "3000.5"
                                    << "Please enter a number between 0 and 3000.";
        QTest::newRow("below 0") << "-1"
                                 << "Please enter a number between 0 and 3000.";
        QTest::newRow("in range closes") << "25"
                                         << "";
    }

    void enterChecksTheEntry() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        Settings settings;
        CKx7Doc doc(settings);
        Hold(doc);
        CValueDlg form(doc, nullptr);
        form.show();
        Rows(&form)->setCurrentRow(1);
        Type(Entry(&form), typed);
        QString shown;
        if (!message.isEmpty()) {
            AnswerMessage(shown);
        }
        QTest::keyClick(Entry(&form), Qt::Key_Return);
        QCOMPARE(shown, message);
        QCOMPARE(form.isVisible(), !message.isEmpty());
        QVERIFY(!doc.IsModified());  // Enter never commits
    }

private:
    std::unique_ptr<ScopedClock> m_clock;
};

static const GuiTestRegistration<ValueDlgTest> registration("ValueDlg_test");

#include "ValueDlg_test.moc"

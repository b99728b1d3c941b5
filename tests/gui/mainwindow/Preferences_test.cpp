#include "desktop/mainwindow/Preferences.h"

#include <QCheckBox>
#include <QTabWidget>
#include <QToolButton>

#include "core/settings/Settings.h"
#include "desktop/mainwindow/PortfolioDlg.h"
#include "forms/FormTestSupport.h"
#include "support/GuiTestRegistry.h"

using namespace formtest;

namespace {

void Spin(const QWidget* form, int clicks) {
    auto* arrow = form->findChild<QToolButton*>(clicks > 0 ? QStringLiteral("countUp")
                                                           : QStringLiteral("countDown"));
    for (int i = 0; i < std::abs(clicks); ++i) {
        QTest::mouseClick(arrow, Qt::LeftButton);
    }
}

QLineEdit* Count(const QWidget* form) {
    return FieldOf<QLineEdit>(form, QStringLiteral("Pie Chart shows:"));
}

}  // namespace

class PreferencesTest final : public QObject {
    Q_OBJECT

private slots:
    void spinStaysWithinFiveToThirty_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QString>("shown");
        QTest::newRow("up past 30") << 29 << 3 << "30";
        QTest::newRow("down past 5") << 6 << -4 << "5";
        QTest::newRow("one up") << 20 << 1 << "21";
    }

    void spinStaysWithinFiveToThirty() {
        QFETCH(int, start);
        QFETCH(int, clicks);
        QFETCH(QString, shown);
        Settings settings;
        settings.pieRecordCount = start;
        CPreferencesDlg form(settings, nullptr);
        form.show();
        Spin(&form, clicks);
        QCOMPARE(Count(&form)->text(), shown);
    }

    void spinMovesTheStoredCountAndResetsUnsavedFields() {
        Settings settings;
        settings.pieRecordCount = 20;
        settings.ungroupOptions = false;
        CPreferencesDlg form(settings, nullptr);
        form.show();
        Type(Count(&form), QStringLiteral("12"));
        Click(&form, QStringLiteral("Ungroup Options and Stock"));
        Spin(&form, 1);
        QCOMPARE(Count(&form)->text(), QStringLiteral("21"));
        QVERIFY(!ButtonOf(&form, QStringLiteral("Ungroup Options and Stock"))->isChecked());
    }

    void enableSwitchesTheRefreshList() {
        Settings settings;
        settings.autoUpdate = true;
        settings.updateInterval = 4;
        CPreferencesDlg form(settings, nullptr);
        form.show();
        auto* refresh = FieldOf<QComboBox>(&form, QStringLiteral("Refresh Time:"));
        QVERIFY(refresh->isEnabled());
        QCOMPARE(refresh->currentText(), QStringLiteral("30 Minutes"));
        QVERIFY(!FieldOf<QComboBox>(&form, QStringLiteral("Quote Server:"))->isEnabled());
        QCOMPARE(FieldOf<QComboBox>(&form, QStringLiteral("Quote Server:"))->currentText(),
                 QStringLiteral("Yahoo!"));
        Click(&form, QStringLiteral("Enable"));
        QVERIFY(!refresh->isEnabled());
        SaveShot(&form, QStringLiteral("Preferences"));
        Click(&form, QStringLiteral("OK"));
        QCOMPARE(form.result(), int(QDialog::Accepted));
        Settings back = settings;
        form.CopyTo(back);
        QVERIFY(!back.autoUpdate);
        QCOMPARE(back.updateInterval, 4);
    }

    void okCopiesTheSevenValues() {
        Settings settings;
        CPreferencesDlg form(settings, nullptr);
        form.show();
        Type(Count(&form), QStringLiteral("8"));
        Choose(FieldOf<QComboBox>(&form, QStringLiteral("Show by:")), QStringLiteral("Symbol"));
        Click(&form, QStringLiteral("Day/Month/Year"));
        Click(&form, QStringLiteral("Ungroup Options and Stock"));
        Click(&form, QStringLiteral("Enable"));
        Choose(FieldOf<QComboBox>(&form, QStringLiteral("Refresh Time:")),
               QStringLiteral("1 Minute"));
        Click(&form, QStringLiteral("OK"));
        QCOMPARE(form.result(), int(QDialog::Accepted));
        Settings back;
        form.CopyTo(back);
        QCOMPARE(back.pieRecordCount, 8);
        QCOMPARE(back.pieGrouping, PieGrouping::kBySymbol);
        QVERIFY(!back.dateMonthFirst);
        QCOMPARE(back.ungroupOptions, !settings.ungroupOptions);
        QVERIFY(back.autoUpdate);
        QCOMPARE(back.updateInterval, 0);
        QCOMPARE(back.quoteSource, QuoteServer::kYahoo);
    }

    void aBadCountKeepsTheDialogOpen_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("too many") << "31"
                                  << "Please enter an integer between 5 and 30.";
        QTest::newRow("too few") << "4"
                                 << "Please enter an integer between 5 and 30.";
        QTest::newRow("not an integer") << "7.5"
                                        << "Please enter an integer.";
    }

    void aBadCountKeepsTheDialogOpen() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        Settings settings;
        CPreferencesDlg form(settings, nullptr);
        form.show();
        Type(Count(&form), typed);
        QString shown;
        AnswerMessage(shown);
        Click(&form, QStringLiteral("OK"));
        QCOMPARE(shown, message);
        QVERIFY(form.isVisible());
    }

    // The existing settings on "General", the sources on "Quote Sources"; OK hands the
    // sources and the chain on as they came. A settings file without a chain keeps none,
    // so the server chosen at start-up still decides.
    void okKeepsTheQuoteSources_data() {
        QTest::addColumn<QStringList>("chain");
        QTest::newRow("no chain") << QStringList{};
        QTest::newRow("a chain") << QStringList{QStringLiteral("Stooq (CSV)"),
                                                QStringLiteral("Mine")};
    }

    void okKeepsTheQuoteSources() {
        QFETCH(QStringList, chain);
        Settings settings;
        QuoteSource mine;
        mine.name = "Mine";
        mine.url = "https://example.com/q?s={symbol}";
        mine.fields.price = "/price";
        settings.quoteSources = {mine};
        for (const QString& name : chain) {
            settings.quoteChain.push_back(name.toStdString());
        }
        CPreferencesDlg form(settings, nullptr);
        form.show();
        const auto* tabs = form.findChild<QTabWidget*>();
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->tabText(0), QStringLiteral("General"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("Quote Sources"));
        QCOMPARE(tabs->currentIndex(), 0);
        Click(&form, QStringLiteral("OK"));
        QCOMPARE(form.result(), int(QDialog::Accepted));
        Settings back;
        back.quoteChain = {"Yahoo!"};
        form.CopyTo(back);
        QCOMPARE(back.quoteSources, settings.quoteSources);
        QCOMPARE(back.quoteChain, settings.quoteChain);
    }

    void portfolioInformation() {
        CPortfolioDlg form("Owner", "Growth\nand income", nullptr);
        form.show();
        QCOMPARE(form.windowTitle(), QStringLiteral("Potfolio Overview"));
        QCOMPARE(FieldOf<QLineEdit>(&form, QStringLiteral("Portfolio Owner"))->text(),
                 QStringLiteral("Owner"));
        SaveShot(&form, QStringLiteral("PortfolioInformation"));
        Type(FieldOf<QLineEdit>(&form, QStringLiteral("Portfolio Owner")), QString());
        Click(&form, QStringLiteral("OK"));
        QCOMPARE(form.Owner(), std::string());
        QCOMPARE(form.Objective(), std::string("Growth\nand income"));
    }
};

static const GuiTestRegistration<PreferencesTest> registration("Preferences_test");

#include "Preferences_test.moc"

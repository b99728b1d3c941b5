#include "desktop/quotes/QuoteSourcesPage.h"

#include <QElapsedTimer>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <chrono>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/model/Clock.h"
#include "core/model/LocalTime.h"
#include "core/settings/Settings.h"
#include "core/support/LoopbackHttpServer.h"
#include "core/support/NoProxy.h"
#include "desktop/mainwindow/Preferences.h"
#include "desktop/quotes/QuoteSourceDlg.h"
#include "forms/FormTestSupport.h"
#include "quotes/MessageBoxRecorder.h"
#include "support/FrameFixture.h"
#include "support/GuiTestRegistry.h"

using namespace formtest;
using namespace std::chrono_literals;

namespace {

// A user's definition that asks the loopback server for one symbol at a time.
QuoteSource Fixture(const std::string& host, SourceFormat format, const std::string& price) {
    QuoteSource source;
    source.name = "Fixture";
    source.url = "http://" + host + "/q?s={symbol}";
    source.format = format;
    source.fields = {.symbol = format == SourceFormat::kCsv ? "Symbol" : "",
                     .price = price,
                     .time = "",
                     .change = "",
                     .previousClose = "",
                     .currency = ""};
    return source;
}

QuoteSource Named(const std::string& name) {
    QuoteSource source = Fixture("example.com", SourceFormat::kJson, "/price");
    source.name = name;
    return source;
}

QListWidget* SourceList(const QWidget* form) {
    return form->findChild<QListWidget*>(QStringLiteral("sourceList"));
}

QListWidget* ChainList(const QWidget* form) {
    return form->findChild<QListWidget*>(QStringLiteral("chainList"));
}

QStringList Rows(const QListWidget* list) {
    QStringList rows;
    for (int row = 0; row < list->count(); ++row) {
        rows << list->item(row)->text();
    }
    return rows;
}

// Clicks the row that shows `name` (with or without its kind), as a person picks it.
void Pick(QListWidget* list, const QString& name) {
    for (int row = 0; row < list->count(); ++row) {
        const QString text = list->item(row)->text();
        if (text == name || text.startsWith(name + QStringLiteral("  "))) {
            list->scrollToItem(list->item(row));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(row)).center());
            QCOMPARE(list->currentRow(), row);
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no row ") + name));
}

QPlainTextEdit* Output(const QWidget* form) {
    return form->findChild<QPlainTextEdit*>(QStringLiteral("testOutput"));
}

QPushButton* TestButton(const QWidget* form) {
    return form->findChild<QPushButton*>(QStringLiteral("testButton"));
}

void RunTest(QWidget* form, const QString& symbol) {
    Type(form->findChild<QLineEdit*>(QStringLiteral("testSymbol")), symbol);
    QTest::mouseClick(TestButton(form), Qt::LeftButton);
}

// The preferences opened on the page of the quote sources.
void ShowSourcesTab(CPreferencesDlg& form) {
    form.show();
    auto* tabs = form.findChild<QTabWidget*>();
    tabs->setCurrentWidget(&form.SourcesPage());
}

// Fills the fields of an open source editor by their labels.
void FillEditor(QWidget* editor, const QString& name, const QString& url, const QString& price) {
    Type(FieldOf<QLineEdit>(editor, QStringLiteral("Name:")), name);
    Type(FieldOf<QLineEdit>(editor, QStringLiteral("Address:")), url);
    Type(FieldOf<QLineEdit>(editor, QStringLiteral("Price:")), price);
}

}  // namespace

class QuoteSourcesPageTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        ClearProxyEnvironment();
        Clock::SetFixed(LocalTimeOf(2024, 6, 5, 11, 15));
    }
    void cleanupTestCase() { Clock::UseSystemTime(); }

    // Every source in the order of the list with its kind, the chain in use, and what the
    // buttons allow for each kind.
    void listsEverySourceAndItsKind() {
        Settings settings;
        settings.quoteSources = {Named("My feed")};
        settings.quoteSource = QuoteServer::kNasdaq;
        CQuoteSourcesPage page(settings, nullptr);
        page.show();

        QCOMPARE(
            Rows(SourceList(&page)),
            (QStringList{QStringLiteral("American Stock Exchange  (built in)"),
                         QStringLiteral("Yahoo!  (built in)"), QStringLiteral("NASDAQ  (built in)"),
                         QStringLiteral("Yahoo Finance chart (JSON)  (ready-made)"),
                         QStringLiteral("Stooq (CSV)  (ready-made)"),
                         QStringLiteral("Finnhub (JSON, needs a key)  (ready-made)"),
                         QStringLiteral("My feed  (yours)")}));
        QCOMPARE(Rows(ChainList(&page)), QStringList{QStringLiteral("NASDAQ")});
        QCOMPARE(page.findChild<QLineEdit*>(QStringLiteral("testSymbol"))->text(),
                 QStringLiteral("AAPL"));

        struct Expected {
            QString name;
            bool copy, edit, remove, use;
        };
        for (const Expected& row :
             {Expected{QStringLiteral("NASDAQ"), false, false, false, false},
              Expected{QStringLiteral("Yahoo!"), false, false, false, true},
              Expected{QStringLiteral("Stooq (CSV)"), true, true, false, true},
              Expected{QStringLiteral("My feed"), true, true, true, true}}) {
            Pick(SourceList(&page), row.name);
            QCOMPARE(ButtonOf(&page, QStringLiteral("Copy..."))->isEnabled(), row.copy);
            QCOMPARE(ButtonOf(&page, QStringLiteral("Edit..."))->isEnabled(), row.edit);
            QCOMPARE(ButtonOf(&page, QStringLiteral("Remove"))->isEnabled(), row.remove);
            QCOMPARE(ButtonOf(&page, QStringLiteral("Use"))->isEnabled(), row.use);
            QVERIFY(TestButton(&page)->isEnabled());
        }
    }

    // The Test button asks the selected source for the typed symbol and shows the report:
    // the address, the answer as it came, and the price or the rule that found none. A
    // host that is down is a line of the report, not a message box.
    void testShowsWhatTheSourceAnswered_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("serverUp");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("json") << static_cast<int>(SourceFormat::kJson) << "/price"
                              << R"({"price": 12.34})" << true
                              << QStringList{R"({"price": 12.34})", "Price of XYZ: 12.3400"};
        QTest::newRow("csv") << static_cast<int>(SourceFormat::kCsv) << "Close"
                             << "Symbol,Close\nXYZ,12.34\n"
                             << true
                             << QStringList{"Symbol,Close\nXYZ,12.34", "Price of XYZ: 12.3400"};
        QTest::newRow("wrong pointer")
            << static_cast<int>(SourceFormat::kJson) << "/last"
            << R"({"price": 12.34})" << true
            << QStringList{R"({"price": 12.34})", "No price for XYZ: /last is not in the answer"};
        QTest::newRow("host down") << static_cast<int>(SourceFormat::kJson) << "/price" << QString()
                                   << false << QStringList{"No answer: could not reach 127.0.0.1:"};
    }

    void testShowsWhatTheSourceAnswered() {
        QFETCH(int, format);
        QFETCH(QString, price);
        QFETCH(QString, page);
        QFETCH(bool, serverUp);
        QFETCH(QStringList, shown);
        LoopbackHttpServer server(
            [&page](const std::string&) { return CannedReply::Page(page.toStdString()); });
        const std::string host =
            serverUp ? server.Host()
                     : "127.0.0.1:" + std::to_string(LoopbackHttpServer::ClosedPort());
        Settings settings;
        settings.quoteSources = {
            Fixture(host, static_cast<SourceFormat>(format), price.toStdString())};
        CQuoteSourcesPage sources(settings, nullptr);
        sources.show();
        MessageBoxRecorder boxes;
        Pick(SourceList(&sources), QStringLiteral("Fixture"));

        RunTest(&sources, QStringLiteral("XYZ"));

        const QString output = Output(&sources)->toPlainText();
        QVERIFY2(
            output.startsWith(
                QStringLiteral("Address: http://%1/q?s=XYZ\n").arg(QString::fromStdString(host))),
            qPrintable(output));
        for (const QString& part : shown) {
            QVERIFY2(output.contains(part), qPrintable(output));
        }
        QCOMPARE(server.Targets(),
                 serverUp ? std::vector<std::string>{"/q?s=XYZ"} : std::vector<std::string>{});
        QVERIFY(boxes.messages.isEmpty());
        QVERIFY(!sources.Testing());
        QCOMPARE(TestButton(&sources)->text(), QStringLiteral("&Test"));
        if (QTest::currentDataTag() == QByteArray("json")) {
            SaveShot(&sources, QStringLiteral("QuoteSourcesPage"));
        }
    }

    // Enter in the symbol field runs the test; it does not close the preferences.
    void enterInTheSymbolRunsTheTest() {
        LoopbackHttpServer server(
            [](const std::string&) { return CannedReply::Page(R"({"price": 7})"); });
        Settings settings;
        settings.quoteSources = {Fixture(server.Host(), SourceFormat::kJson, "/price")};
        CPreferencesDlg form(settings, nullptr);
        ShowSourcesTab(form);
        Pick(SourceList(&form), QStringLiteral("Fixture"));
        auto* symbol = form.findChild<QLineEdit*>(QStringLiteral("testSymbol"));
        Type(symbol, QStringLiteral("ABC"));
        QTest::keyClick(symbol, Qt::Key_Return);
        QVERIFY(form.isVisible());
        QVERIFY(Output(&form)->toPlainText().contains(QStringLiteral("Price of ABC: 7.0000")));
        SaveShot(&form, QStringLiteral("PreferencesQuoteSources"));
    }

    // While a test waits the window goes on working and Test becomes Stop; Stop, or the
    // preferences closing, ends the test at once.
    void aWaitingTestStops_data() {
        QTest::addColumn<bool>("closeDialog");
        QTest::newRow("Stop") << false;
        QTest::newRow("dialog closed") << true;
    }

    void aWaitingTestStops() {
        QFETCH(bool, closeDialog);
        LoopbackHttpServer server([](const std::string&) {
            CannedReply silent;
            silent.kind = CannedReply::Kind::kStall;
            return silent;
        });
        Settings settings;
        settings.quoteSources = {Fixture(server.Host(), SourceFormat::kJson, "/price")};
        CPreferencesDlg form(settings, nullptr);
        FetchLimits limits;
        limits.transferTimeout = 60s;
        form.SourcesPage().SetFetchLimits(limits);
        ShowSourcesTab(form);
        Pick(SourceList(&form), QStringLiteral("Fixture"));
        QString during;
        QString buttonDuring;
        bool testing = false;
        QElapsedTimer sinceStop;
        QTimer::singleShot(400, &form, [&] {
            during = Output(&form)->toPlainText();
            buttonDuring = Plain(TestButton(&form)->text());
            testing = form.SourcesPage().Testing();
            sinceStop.start();
            if (closeDialog) {
                QTest::keyClick(&form, Qt::Key_Escape);
            } else {
                QTest::mouseClick(TestButton(&form), Qt::LeftButton);
            }
        });

        RunTest(&form, QStringLiteral("XYZ"));

        QVERIFY(sinceStop.isValid());
        QVERIFY2(sinceStop.elapsed() < 1000, qPrintable(QString::number(sinceStop.elapsed())));
        QCOMPARE(during, QStringLiteral("Testing Fixture..."));
        QCOMPARE(buttonDuring, QStringLiteral("Stop"));
        QVERIFY(testing);
        QVERIFY(!form.SourcesPage().Testing());
        QCOMPARE(form.isVisible(), !closeDialog);
        QVERIFY(Output(&form)->toPlainText().endsWith(
            QStringLiteral("Stopped before the answer came.")));
        QCOMPARE(Plain(TestButton(&form)->text()), QStringLiteral("Test"));
    }

    // A new definition made in the editor joins the list, joins the chain with Use, and
    // OK hands both on to the settings.
    void newSourceJoinsTheListAndTheChain() {
        Settings settings;
        CPreferencesDlg form(settings, nullptr);
        ShowSourcesTab(form);
        bool shot = false;
        OnNextModal([&shot](QWidget* modal) {
            auto* editor = qobject_cast<CQuoteSourceDlg*>(modal);
            QVERIFY(editor != nullptr);
            QCOMPARE(editor->windowTitle(), QStringLiteral("Quote Source"));
            FillEditor(editor, QStringLiteral("Broker"),
                       QStringLiteral("https://broker.example/q?s={symbols}"),
                       QStringLiteral("Last"));
            Choose(FieldOf<QComboBox>(editor, QStringLiteral("Answer format:")),
                   QStringLiteral("CSV"));
            Type(FieldOf<QLineEdit>(editor, QStringLiteral("Symbol:")), QStringLiteral("Sym"));
            Type(FieldOf<QLineEdit>(editor, QStringLiteral("Separator:")), QStringLiteral("+"));
            FieldOf<QPlainTextEdit>(editor, QStringLiteral("Overrides:"))
                ->setPlainText(QStringLiteral("BRK-B=BRK.B\n\n"));
            FieldOf<QPlainTextEdit>(editor, QStringLiteral("Headers:"))
                ->setPlainText(QStringLiteral("X-Api-Key:  k1:2"));
            SaveShot(editor, QStringLiteral("QuoteSourceDlg"));
            shot = true;
            Click(editor, QStringLiteral("OK"));
        });
        Click(&form, QStringLiteral("New..."));
        QVERIFY(shot);
        QCOMPARE(Rows(SourceList(&form)).last(), QStringLiteral("Broker  (yours)"));
        QCOMPARE(SourceList(&form)->currentItem()->text(), QStringLiteral("Broker  (yours)"));

        Click(&form, QStringLiteral("Use"));
        QCOMPARE(Rows(ChainList(&form)),
                 (QStringList{QStringLiteral("Yahoo!"), QStringLiteral("Broker")}));
        QVERIFY(!ButtonOf(&form, QStringLiteral("Use"))->isEnabled());
        Click(&form, QStringLiteral("OK"));
        QCOMPARE(form.result(), int(QDialog::Accepted));

        Settings back;
        form.CopyTo(back);
        QCOMPARE(back.quoteChain, (std::vector<std::string>{"Yahoo!", "Broker"}));
        QCOMPARE(back.quoteSources.size(), std::size_t{1});
        const QuoteSource& made = back.quoteSources.front();
        QCOMPARE(made.name, std::string("Broker"));
        QCOMPARE(made.url, std::string("https://broker.example/q?s={symbols}"));
        QCOMPARE(made.format, SourceFormat::kCsv);
        QCOMPARE(made.fields.symbol, std::string("Sym"));
        QCOMPARE(made.fields.price, std::string("Last"));
        QCOMPARE(made.separator, std::string("+"));
        QCOMPARE(made.overrides, (std::map<std::string, std::string>{{"BRK-B", "BRK.B"}}));
        QCOMPARE(made.headers,
                 (std::vector<std::pair<std::string, std::string>>{{"X-Api-Key", "k1:2"}}));
        QCOMPARE(made.origin, SourceOrigin::kUser);
    }

    // A definition that cannot be used is refused with the reason, the editor stays open on
    // the field concerned, and Cancel then adds nothing.
    void aBadDefinitionIsRefused_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("overrides");
        QTest::addColumn<QString>("headers");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("field");
        const QString url = QStringLiteral("http://example.com/q?s={symbol}");
        QTest::newRow("no {symbol}")
            << "Mine"
            << "http://example.com/q" << QString() << QString()
            << "The address needs {symbol} (one symbol a request) or {symbols} (several)."
            << "Address:";
        QTest::newRow("name taken") << "Stooq (CSV)" << url << QString() << QString()
                                    << "A source named \"Stooq (CSV)\" exists already."
                                    << "Name:";
        QTest::newRow("no name") << "  " << url << QString() << QString()
                                 << "The source needs a name."
                                 << "Name:";
        QTest::newRow("override without =")
            << "Mine" << url << "BRK-B=BRK.B\nBRKB" << QString()
            << "The override \"BRKB\" is no line HELD=THEIRS, such as BRK-B=BRK.B."
            << "Overrides:";
        QTest::newRow("override without theirs")
            << "Mine" << url << "BRK-B=" << QString()
            << "The override \"BRK-B=\" is no line HELD=THEIRS, such as BRK-B=BRK.B."
            << "Overrides:";
        QTest::newRow("header without colon")
            << "Mine" << url << QString() << "X-Key value"
            << "The header \"X-Key value\" is no line \"Name: value\"."
            << "Headers:";
    }

    void aBadDefinitionIsRefused() {
        QFETCH(QString, name);
        QFETCH(QString, url);
        QFETCH(QString, overrides);
        QFETCH(QString, headers);
        QFETCH(QString, message);
        QFETCH(QString, field);
        Settings settings;
        CQuoteSourcesPage page(settings, nullptr);
        page.show();
        const QStringList before = Rows(SourceList(&page));
        QString shown;
        bool stayedOpen = false;
        QString focused;
        OnNextModal([&](QWidget* editor) {
            FillEditor(editor, name, url, QStringLiteral("/price"));
            FieldOf<QPlainTextEdit>(editor, QStringLiteral("Overrides:"))->setPlainText(overrides);
            FieldOf<QPlainTextEdit>(editor, QStringLiteral("Headers:"))->setPlainText(headers);
            AnswerMessage(shown);
            Click(editor, QStringLiteral("OK"));
            stayedOpen = editor->isVisible();
            QWidget* expected = FieldOf<QWidget>(editor, field);
            focused = editor->focusWidget() == expected ? field : QStringLiteral("elsewhere");
            Click(editor, QStringLiteral("Cancel"));
        });
        Click(&page, QStringLiteral("New..."));
        QCOMPARE(shown, message);
        QVERIFY(stayedOpen);
        QCOMPARE(focused, field);
        QCOMPARE(Rows(SourceList(&page)), before);
        QVERIFY(page.UserSources().empty());
    }

    // The editor shows the rows the chosen answer format reads, and no others.
    void answerRowsFollowTheFormat_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("hidden");
        const QString header = QStringLiteral("First line names the columns");
        const QString results = QStringLiteral("Results array:");
        const QString pattern = QStringLiteral("Pattern:");
        const QString symbol = QStringLiteral("Symbol:");
        QTest::newRow("CSV") << "CSV" << QStringList{header, symbol}
                             << QStringList{results, pattern};
        QTest::newRow("JSON") << "JSON" << QStringList{results, symbol}
                              << QStringList{header, pattern};
        QTest::newRow("Pattern") << "Pattern" << QStringList{pattern}
                                 << QStringList{header, results, symbol};
    }

    void answerRowsFollowTheFormat() {
        QFETCH(QString, format);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, hidden);
        CQuoteSourceDlg editor(Named("A"), {}, false, nullptr);
        editor.show();
        Choose(FieldOf<QComboBox>(&editor, QStringLiteral("Answer format:")), format);
        const auto row = [&editor](const QString& text) -> QWidget* {
            if (auto* field = FieldOf<QWidget>(&editor, text)) {
                return field;
            }
            for (QAbstractButton* button : editor.findChildren<QAbstractButton*>()) {
                if (button->text() == text) {
                    return button;
                }
            }
            return nullptr;
        };
        for (const QString& text : shown) {
            QVERIFY2(row(text) != nullptr && row(text)->isVisible(), qPrintable(text));
        }
        for (const QString& text : hidden) {
            QVERIFY2(row(text) != nullptr && !row(text)->isVisible(), qPrintable(text));
        }
        QVERIFY(FieldOf<QWidget>(&editor, QStringLiteral("Price:"))->isVisible());
    }

    // Up and Down set the order CopyTo gives; Don't Use and Remove take a source out of
    // the chain, Remove after asking.
    void chainOrderAndRemoval() {
        Settings settings;
        settings.quoteSources = {Named("A"), Named("B")};
        settings.quoteChain = {"A", "Yahoo!", "B"};
        CPreferencesDlg form(settings, nullptr);
        ShowSourcesTab(form);
        QCOMPARE(Rows(ChainList(&form)),
                 (QStringList{QStringLiteral("A"), QStringLiteral("Yahoo!"), QStringLiteral("B")}));

        Pick(ChainList(&form), QStringLiteral("B"));
        QVERIFY(!ButtonOf(&form, QStringLiteral("Down"))->isEnabled());
        Click(&form, QStringLiteral("Up"));
        Click(&form, QStringLiteral("Up"));
        QVERIFY(!ButtonOf(&form, QStringLiteral("Up"))->isEnabled());
        QCOMPARE(form.SourcesPage().Chain(), (std::vector<std::string>{"B", "A", "Yahoo!"}));
        Click(&form, QStringLiteral("Down"));
        QCOMPARE(form.SourcesPage().Chain(), (std::vector<std::string>{"A", "B", "Yahoo!"}));
        QCOMPARE(ChainList(&form)->currentItem()->text(), QStringLiteral("B"));

        Pick(ChainList(&form), QStringLiteral("Yahoo!"));
        Click(&form, QStringLiteral("Don't Use"));
        QCOMPARE(form.SourcesPage().Chain(), (std::vector<std::string>{"A", "B"}));

        // No, then Yes.
        Pick(SourceList(&form), QStringLiteral("A"));
        QString question;
        AnswerMessageBox(QMessageBox::No, &question);
        Click(&form, QStringLiteral("Remove"));
        QCOMPARE(question, QStringLiteral("Remove the source \"A\"? It is no longer asked for "
                                          "prices either."));
        QCOMPARE(form.SourcesPage().UserSources().size(), std::size_t{2});
        AnswerMessageBox(QMessageBox::Yes);
        Click(&form, QStringLiteral("Remove"));
        QCOMPARE(Rows(SourceList(&form)).last(), QStringLiteral("B  (yours)"));
        QCOMPARE(SourceList(&form)->currentItem()->text(), QStringLiteral("B  (yours)"));
        QCOMPARE(Rows(ChainList(&form)), QStringList{QStringLiteral("B")});

        Click(&form, QStringLiteral("OK"));
        QCOMPARE(form.result(), int(QDialog::Accepted));
        Settings back;
        form.CopyTo(back);
        QCOMPARE(back.quoteChain, std::vector<std::string>{"B"});
        QCOMPARE(back.quoteSources, std::vector<QuoteSource>{Named("B")});
    }

    // OK refuses a chain that asks no source, on the page where it is mended.
    void aChainWithoutSourcesIsRefused_data() {
        QTest::addColumn<QStringList>("chain");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("emptied") << QStringList{QStringLiteral("Yahoo!")} << QStringList{};
        QTest::newRow("names of no source")
            << QStringList{QStringLiteral("Gone")}
            << QStringList{QStringLiteral("Gone  (no such source)")};
    }

    void aChainWithoutSourcesIsRefused() {
        QFETCH(QStringList, chain);
        QFETCH(QStringList, shown);
        Settings settings;
        for (const QString& name : chain) {
            settings.quoteChain.push_back(name.toStdString());
        }
        CPreferencesDlg form(settings, nullptr);
        ShowSourcesTab(form);
        if (shown.isEmpty()) {
            Pick(ChainList(&form), chain.front());
            Click(&form, QStringLiteral("Don't Use"));
        }
        QCOMPARE(Rows(ChainList(&form)), shown);
        form.findChild<QTabWidget*>()->setCurrentIndex(0);
        QString message;
        AnswerMessage(message);
        Click(&form, QStringLiteral("OK"));
        QCOMPARE(message, QStringLiteral("No source is asked for prices. Select a source in the "
                                         "list of Quote Sources and press Use."));
        QVERIFY(form.isVisible());
        QCOMPARE(form.findChild<QTabWidget*>()->currentWidget(), &form.SourcesPage());
    }

    // Edit renames a user's source in the chain too; a ready-made one opens read-only;
    // Copy makes a user's definition of any source that has one.
    void editAndCopy() {
        Settings settings;
        settings.quoteSources = {Named("A")};
        settings.quoteChain = {"Stooq (CSV)", "A"};
        CQuoteSourcesPage page(settings, nullptr);
        page.show();

        Pick(SourceList(&page), QStringLiteral("A"));
        OnNextModal([](QWidget* editor) {
            Type(FieldOf<QLineEdit>(editor, QStringLiteral("Name:")), QStringLiteral("A2"));
            Click(editor, QStringLiteral("OK"));
        });
        QTest::mouseDClick(
            SourceList(&page)->viewport(), Qt::LeftButton, {},
            SourceList(&page)->visualItemRect(SourceList(&page)->currentItem()).center());
        QCOMPARE(page.Chain(), (std::vector<std::string>{"Stooq (CSV)", "A2"}));
        QCOMPARE(page.UserSources().front().name, std::string("A2"));
        QCOMPARE(SourceList(&page)->currentItem()->text(), QStringLiteral("A2  (yours)"));

        Pick(SourceList(&page), QStringLiteral("Stooq (CSV)"));
        QString note;
        bool okEnabled = true;
        bool nameReadOnly = false;
        OnNextModal([&](QWidget* editor) {
            note = editor->findChild<QLabel*>(QStringLiteral("readOnlyNote"))->text();
            okEnabled = ButtonOf(editor, QStringLiteral("OK"))->isEnabled();
            nameReadOnly = FieldOf<QLineEdit>(editor, QStringLiteral("Name:"))->isReadOnly();
            Click(editor, QStringLiteral("Cancel"));
        });
        Click(&page, QStringLiteral("Edit..."));
        QCOMPARE(note, QStringLiteral(
                           "Ready-made definitions cannot be changed; copy one to change it."));
        QVERIFY(!okEnabled);
        QVERIFY(nameReadOnly);

        for (const QString& expected :
             {QStringLiteral("Copy of Stooq (CSV)"), QStringLiteral("Copy of Stooq (CSV) (2)")}) {
            Pick(SourceList(&page), QStringLiteral("Stooq (CSV)"));
            QString offered;
            OnNextModal([&offered](QWidget* editor) {
                offered = FieldOf<QLineEdit>(editor, QStringLiteral("Name:"))->text();
                Click(editor, QStringLiteral("OK"));
            });
            Click(&page, QStringLiteral("Copy..."));
            QCOMPARE(offered, expected);
        }
        QCOMPARE(page.UserSources().size(), std::size_t{3});
        QuoteSource copied = page.UserSources()[1];
        QCOMPARE(copied.origin, SourceOrigin::kUser);
        copied.name = "Stooq (CSV)";
        copied.origin = SourceOrigin::kReadyMade;
        QCOMPARE(copied, *FindQuoteSource(ReadyMadeQuoteSources(), "Stooq (CSV)"));
        QCOMPARE(page.Chain(), (std::vector<std::string>{"Stooq (CSV)", "A2"}));
    }
};

static const GuiTestRegistration<QuoteSourcesPageTest> registration("QuoteSourcesPage_test");

#include "QuoteSourcesPage_test.moc"

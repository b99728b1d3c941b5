#include "desktop/mainwindow/MainFrm.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPdfWriter>
#include <QStatusBar>
#include <QTest>

#include "core/model/Clock.h"
#include "core/model/LocalTime.h"
#include "desktop/controls/XListCtrl.h"
#include "desktop/mainwindow/Kx7View.h"
#include "support/DemoPortfolio.h"
#include "support/FrameFixture.h"
#include "support/GuiTestRegistry.h"

namespace {

// The item's text as the menu shows it: the text, a tab and the first shortcut.
QString MenuText(const QAction& action) {
    const QKeySequence shortcut = action.shortcut();
    return shortcut.isEmpty() ? action.text()
                              : action.text() + QLatin1Char('\t') + shortcut.toString();
}

void ChooseFile(const QString& path) {
    OnNextModal([path](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->nameFilters(), QStringList{QStringLiteral("Kx7 Files (*.kx7)")});
        AcceptFile(*dialog, path);
    });
}

}  // namespace

class MainFrmTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Clock::SetFixed(LocalTimeOf(2024, 6, 3, 15, 30)); }
    void cleanupTestCase() { Clock::UseSystemTime(); }

    void menuTree_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("checked");
        const auto row = [](int id, const char* menu, const char* text, bool enabled,
                            bool checked = false) {
            QTest::newRow(text) << id << QString::fromLatin1(menu) << QString::fromLatin1(text)
                                << enabled << checked;
        };
        using F = CMainFrame;
        row(F::kFileNew, "&File", "&New\tCtrl+N", true);
        row(F::kFileOpen, "&File", "&Open...\tCtrl+O", true);
        row(F::kFileSave, "&File", "&Save\tCtrl+S", true);
        row(F::kFileSaveAs, "&File", "Save &As...", true);
        row(F::kFilePrint, "&File", "&Print...\tCtrl+P", true);
        row(F::kFilePrintPreview, "&File", "Print Pre&view", true);
        row(F::kFilePrintSetup, "&File", "P&rint Setup...", true);
        row(F::kFileMruFirst, "&File", "Recent File", false);
        row(F::kAppExit, "&File", "E&xit", true);
        row(F::kEditUndo, "&Edit", "&Undo\tCtrl+Z", false);
        // The platform's own Redo key comes first.
        const QByteArray redo = "&Redo\t" + QKeySequence::keyBindings(QKeySequence::Redo)
                                                .value(0)
                                                .toString(QKeySequence::NativeText)
                                                .toLatin1();
        row(F::kEditRedo, "&Edit", redo.constData(), false);
        row(F::kEditCut, "&Edit", "Cu&t\tCtrl+X", false);
        row(F::kEditCopy, "&Edit", "&Copy\tCtrl+C", false);
        row(F::kEditPaste, "&Edit", "&Paste\tCtrl+V", false);
        row(F::kEditAlerts, "&Edit", "Edit &Alerts...", true);
        row(F::kStockSplit, "&Edit", "&Stock Split", true);
        row(F::kSymbolChange, "&Edit", "S&ymbol/Name Change", true);
        row(F::kGroupSales, "&Edit", "&Group Sales", false);
        row(F::kPortfolioInformation, "&Edit", "Portfolio &Information", true);
        row(F::kEditDatabase, "&Edit", "&Edit Database", true);
        row(F::kEditStockSplits, "&Edit", "E&dit Stock Splits", false);
        row(F::kEditPreferences, "&Edit", "Edit Preferences...", true);
        row(F::kPurchaseStock, "&Transaction", "&Purchase Stock", true);
        row(F::kReceiveGrant, "&Transaction", "Receive &Grant", true);
        row(F::kPurchaseGrantOptions, "&Transaction", "Purchase Grant &Options", false);
        row(F::kSellStock, "&Transaction", "&Sell Stock", true);
        row(F::kSellGrantOptions, "&Transaction", "S&ell Grant Options", false);
        row(F::kRecordDividend, "&Transaction", "&Record Dividend", true);
        row(F::kExpireOptions, "&Transaction", "E&xpire Unvested Options", true);
        row(F::kReportOverview, "&Reports", "&Overview", true);
        row(F::kReportSummary, "&Reports", "&Summary", true);
        row(F::kReportTaxes, "&Reports", "&Taxes", true);
        row(F::kReportGains, "&Reports", "&Gains", true);
        row(F::kReportAvailable, "&Reports", "&Available", true);
        row(F::kReportDetailed, "&Reports", "&Detailed Info", true);
        row(F::kReportHistory, "&Reports", "&History", true);
        row(F::kShowValue, "&Reports", "Show Value", true, true);
        row(F::kShowChart, "&Reports", "Sh&ow Chart", true, true);
        row(F::kManualUpdate, "&Price Update", "&Manual Update", true);
        row(F::kWebUpdate, "&Price Update", "&WEB Update", true);
        row(F::kAppAbout, "&Help", "&About Velmora...", true);
    }

    void menuTree() {
        QFETCH(int, id);
        QFETCH(QString, menu);
        QFETCH(QString, text);
        QFETCH(bool, enabled);
        QFETCH(bool, checked);
        FrameFixture f;
        QAction* action = f.frame.CommandAction(id);
        QVERIFY(action != nullptr);
        QCOMPARE(MenuText(*action), text);
        QCOMPARE(action->isEnabled(), enabled);
        QCOMPARE(action->isChecked(), checked);
        QCOMPARE(action->isCheckable(), checked);
        const auto* owner = qobject_cast<QMenu*>(action->parent());
        QVERIFY(owner != nullptr);
        QCOMPARE(owner->title(), menu);
    }

    void menuBarHasFiveMenusAndHelp() {
        FrameFixture f;
        QStringList titles;
        for (QAction* action : f.frame.menuBar()->actions()) {
            titles << action->text();
        }
        QCOMPARE(titles, (QStringList{"&File", "&Edit", "&Transaction", "&Reports", "&Price Update",
                                      "&Help"}));
        // The second shortcuts of the editing commands.
        QCOMPARE(f.frame.CommandAction(CMainFrame::kEditUndo)->shortcuts().value(1),
                 QKeySequence(QStringLiteral("Alt+Backspace")));
        QCOMPARE(f.frame.CommandAction(CMainFrame::kEditPaste)->shortcuts().value(1),
                 QKeySequence(QStringLiteral("Shift+Ins")));
    }

    void startsAtItsSizeWithTheStatusPanes() {
        FrameFixture f;
        f.frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.frame));
        QCOMPARE(f.frame.size(), QSize(580, 502));
        QCOMPARE(f.frame.windowTitle(), QStringLiteral("Untitled[*] - Velmora"));
        QCOMPARE(f.frame.ReadyText(), QStringLiteral("Ready"));
        QCOMPARE(f.frame.OwnerPaneText(), QString());
        QCOMPARE(f.frame.RecordsPaneText(), QStringLiteral("Records: 0"));

        f.doc.SetPortfolioInformation("Jane Doe", "Retirement");
        f.doc.AddToRecordCount(3);
        f.frame.Repaint();
        QCOMPARE(f.frame.OwnerPaneText(), QStringLiteral("Portfolio: Jane Doe"));
        QCOMPARE(f.frame.RecordsPaneText(), QStringLiteral("Records: 3"));
        f.doc.SetModified(false);
    }

    void titleFollowsOpenSaveAsAndNew() {
        FrameFixture f;
        f.frame.show();
        const QString path = f.WriteFile(QStringLiteral("retire.kx7"), "Jane");
        ChooseFile(path);
        f.frame.CommandAction(CMainFrame::kFileOpen)->trigger();
        QCOMPARE(f.frame.windowTitle(), QStringLiteral("retire.kx7[*] - Velmora"));
        QCOMPARE(f.doc.OwnerName(), std::string("Jane"));

        ChooseFile(f.PathOf(QStringLiteral("copy")));
        f.frame.CommandAction(CMainFrame::kFileSaveAs)->trigger();
        QCOMPARE(f.frame.windowTitle(), QStringLiteral("copy.kx7[*] - Velmora"));
        QVERIFY(QFile::exists(f.PathOf(QStringLiteral("copy.kx7"))));

        f.frame.CommandAction(CMainFrame::kFileNew)->trigger();
        QCOMPARE(f.frame.windowTitle(), QStringLiteral("Untitled[*] - Velmora"));
    }

    void savePromptCancelKeepsTheWindowOpen() {
        FrameFixture f;
        f.frame.show();
        f.doc.SetModified();
        QString prompt;
        AnswerMessageBox(QMessageBox::Cancel, &prompt);
        QVERIFY(!f.frame.close());
        QCOMPARE(prompt, QStringLiteral("Save changes to Untitled?"));
        QVERIFY(f.frame.isVisible());

        // "No" lets New go on without saving.
        AnswerMessageBox(QMessageBox::No);
        QVERIFY(f.frame.NewPortfolio());
        QVERIFY(!f.doc.IsModified());
    }

    void savePromptYesSavesFirst() {
        FrameFixture f;
        f.frame.show();
        const QString path = f.WriteFile(QStringLiteral("kept.kx7"), "Old");
        QVERIFY(f.frame.OpenPortfolio(path));
        f.doc.SetPortfolioInformation("New", "");
        QString prompt;
        AnswerMessageBox(QMessageBox::Yes, &prompt);
        QVERIFY(f.frame.close());
        QCOMPARE(prompt,
                 QStringLiteral("Save changes to %1?").arg(QFileInfo(path).absoluteFilePath()));
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("New"));
    }

    void failedSaveKeepsThePortfolioModified() {
        FrameFixture f;
        f.frame.show();
        f.doc.SetModified();
        QDir(f.folder.path()).mkdir(QStringLiteral("readonly"));
        QString message;
        AnswerMessageBox(QMessageBox::Ok, &message);
        QVERIFY(!f.frame.SavePortfolio(f.PathOf(QStringLiteral("readonly/a.kx7"))));
        QVERIFY(message.startsWith(QStringLiteral("The file could not be written")));
        QVERIFY(f.doc.IsModified());
        QCOMPARE(f.frame.windowTitle(), QStringLiteral("Untitled[*] - Velmora"));
    }

    void failedOpenShowsItsMessageAndLeavesAnEmptyPortfolio() {
        FrameFixture f;
        f.frame.show();
        const QString path = f.WriteFile(QStringLiteral("damaged.kx7"));
        QString message;
        AnswerMessageBox(QMessageBox::Ok, &message);
        QVERIFY(!f.frame.OpenPortfolio(path));
        QVERIFY(message.startsWith(QStringLiteral("The file could not be read")));
        QCOMPARE(f.frame.windowTitle(), QStringLiteral("Untitled[*] - Velmora"));
        QVERIFY(f.recentFiles.IsEmpty());
    }

    void partlyReadFileOpensWithAWarning() {
        FrameFixture f;
        f.frame.show();
        QString message;
        AnswerMessageBox(QMessageBox::Ok, &message);
        QVERIFY(f.frame.OpenPortfolio(f.WriteFile(QStringLiteral("partial.kx7"))));
        QVERIFY(message.startsWith(QStringLiteral("Part of the file could not be read.")));
        QVERIFY(message.contains(QStringLiteral("stays as it is")));
        QCOMPARE(f.frame.windowTitle(), QStringLiteral("partial.kx7[*] - Velmora"));
        QVERIFY(f.frame.IsReadOnly());
        QVERIFY(f.doc.IsIncomplete());
    }

    void recentFilesAppearUnderFileAndOpen() {
        FrameFixture f;
        f.frame.show();
        QVERIFY(!f.frame.CommandAction(CMainFrame::kFileMruFirst)->isEnabled());
        for (const char* name : {"a.kx7", "b.kx7", "c.kx7", "d.kx7", "e.kx7"}) {
            QVERIFY(f.frame.OpenPortfolio(f.WriteFile(QString::fromLatin1(name))));
        }
        QCOMPARE(f.recentFiles.Entries().size(), 4);
        QAction* first = f.frame.CommandAction(CMainFrame::kFileMruFirst);
        QVERIFY(first->isEnabled());
        QCOMPARE(first->text(), QStringLiteral("&1 ") + f.PathOf(QStringLiteral("e.kx7")));
        QAction* fourth = f.frame.CommandAction(CMainFrame::kFileMruFirst + 3);
        QCOMPARE(fourth->text(), QStringLiteral("&4 ") + f.PathOf(QStringLiteral("b.kx7")));
        fourth->trigger();
        QCOMPARE(f.frame.windowTitle(), QStringLiteral("b.kx7[*] - Velmora"));
        QCOMPARE(f.recentFiles.Entries().first(), f.PathOf(QStringLiteral("b.kx7")));
    }

    void showChartTwiceReturnsToChecked() {
        FrameFixture f;
        f.frame.show();
        QAction* chart = f.frame.CommandAction(CMainFrame::kShowChart);
        chart->trigger();
        QVERIFY(!chart->isChecked());
        QVERIFY(!f.settings.chartShown);
        chart->trigger();
        QVERIFY(chart->isChecked());
        QVERIFY(f.settings.chartShown);
        QAction* value = f.frame.CommandAction(CMainFrame::kShowValue);
        value->trigger();
        QVERIFY(!f.settings.valueShown);
    }

    void droppedPortfolioFileOpens() {
        FrameFixture f;
        f.frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.frame));
        const QString path = f.WriteFile(QStringLiteral("dropped.KX7"));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(f.WriteFile(QStringLiteral("notes.txt"))),
                      QUrl::fromLocalFile(path)});
        const QPoint at(100, 100);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&f.frame, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&f.frame, &drop);
        QCOMPARE(f.frame.windowTitle(), QStringLiteral("dropped.KX7[*] - Velmora"));

        QMimeData text;
        text.setUrls({QUrl::fromLocalFile(f.PathOf(QStringLiteral("notes.txt")))});
        QDragEnterEvent refused(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        refused.setAccepted(false);
        QApplication::sendEvent(&f.frame, &refused);
        QVERIFY(!refused.isAccepted());
    }

    void printsTheDemoPortfolioIntoAPdf() {
        FrameFixture f;
        FillDemoPortfolio(f.doc);
        f.frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.frame));
        const QString pdf = f.PathOf(QStringLiteral("view.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        f.frame.PrintTo(printer);
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                     bytes.count("/Type /Page "),
                 1);
        QFile::copy(pdf, ScreenshotFolder() + QStringLiteral("/demo-print.pdf"));
    }

    void screenshots_data() {
        QTest::addColumn<bool>("demo");
        QTest::addColumn<int>("grouping");
        QTest::addColumn<bool>("ungroup");
        QTest::addColumn<int>("slices");
        QTest::newRow("empty") << false << int(PieGrouping::kByPercent) << true << 20;
        QTest::newRow("demo-by-value") << true << int(PieGrouping::kByValue) << false << 5;
        QTest::newRow("demo-ungrouped-options")
            << true << int(PieGrouping::kBySymbol) << true << 20;
    }

    void screenshots() {
        QFETCH(bool, demo);
        QFETCH(int, grouping);
        QFETCH(bool, ungroup);
        QFETCH(int, slices);
        FrameFixture f;
        f.settings.pieGrouping = static_cast<PieGrouping>(grouping);
        f.settings.ungroupOptions = ungroup;
        f.settings.pieRecordCount = slices;
        if (demo) {
            FillDemoPortfolio(f.doc);
            f.doc.SetPortfolioInformation("Jane Doe", "");
            f.doc.SetModified(false);
        }
        f.frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.frame));
        f.frame.Repaint();
        const int held = static_cast<int>(f.doc.SymbolNames(SymbolFilter::kHeldLots).size());
        QCOMPARE(f.frame.View().HoldingsList().RowCount(), held);
        const QString file = ScreenshotFolder() + QLatin1Char('/') +
                             QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".png");
        QVERIFY(f.frame.grab().save(file));
    }
};

static const GuiTestRegistration<MainFrmTest> registration("MainFrm_test");

#include "MainFrm_test.moc"

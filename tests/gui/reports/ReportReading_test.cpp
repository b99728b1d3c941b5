// Reading a text report on the screen: selecting and copying its lines, finding a line,
// printing it and saving it, in each of the dialogs that show one.
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPageSize>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <memory>

#include "ReportDialogSupport.h"
#include "core/reports/AvailableReport.h"
#include "core/reports/DetailsReport.h"
#include "core/reports/HistoryReport.h"
#include "core/reports/OverviewReport.h"
#include "core/reports/TaxReport.h"
#include "desktop/controls/FindBar.h"
#include "desktop/reports/AvailableDlg.h"
#include "desktop/reports/DetailsDlg.h"
#include "desktop/reports/HistoryDlg.h"
#include "desktop/reports/OverviewDlg.h"
#include "desktop/reports/ReportPrinting.h"
#include "desktop/reports/TaxDlg.h"
#include "support/FrameFixture.h"
#include "support/GuiTestRegistry.h"

namespace {

// A text report's dialog as the user has it once the report is on the screen, and the
// text its builder writes for the same choices.
struct OpenReport {
    std::unique_ptr<QDialog> dialog;
    const char* viewName = "report";
    std::string expected;
    int headingLines = 1;
};

OpenReport Open(const QString& kind, CKx7Doc& doc) {
    OpenReport open;
    if (kind == "taxes") {
        open.dialog = std::make_unique<CTaxDlg>(doc);
        ChooseItem(Child<QComboBox>(*open.dialog, "yearBox"), "Show All");
        open.expected = BuildTaxReport(doc, "Show All", true, true, false);
        open.headingLines = 2;
    } else if (kind == "history") {
        open.dialog = std::make_unique<CHistoryDlg>(doc);
        ChooseItem(Child<QComboBox>(*open.dialog, "timeFrameBox"), "Show All");
        open.expected = BuildHistoryReport(doc, std::nullopt);
    } else if (kind == "available") {
        open.dialog =
            std::make_unique<CAvailableDlg>(doc, doc.SymbolNames(SymbolFilter::kHeldLots));
        open.expected = BuildAvailableReport(doc);
    } else if (kind == "overview") {
        open.dialog = std::make_unique<COverviewDlg>(doc, doc.SymbolNames());
        open.expected = BuildOverviewOfSymbols(doc, doc.SymbolNames());
    } else {
        open.dialog = std::make_unique<CDetailsDlg>(doc);
        open.viewName = "list";
        open.expected = BuildDetailsList(doc);
    }
    return open;
}

QStringList LinesOf(const std::string& text) {
    QStringList lines = QString::fromStdString(text).split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

int FirstLineWith(const QStringList& lines, const QString& needle, int after) {
    for (int tried = 1; tried <= lines.size(); ++tried) {
        const int line = static_cast<int>((after + tried) % lines.size());
        if (lines[line].contains(needle, Qt::CaseInsensitive)) {
            return line;
        }
    }
    return -1;
}

int PdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QString pdf = QString::fromLatin1(file.readAll());
    return static_cast<int>(pdf.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

void AddKinds() {
    QTest::addColumn<QString>("kind");
    for (const char* kind : {"taxes", "history", "available", "overview", "details"}) {
        QTest::newRow(kind) << QString::fromLatin1(kind);
    }
}

}  // namespace

class ReportReadingTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Clock::SetFixed(ReportTestNow()); }
    void cleanupTestCase() { Clock::UseSystemTime(); }

    void selectedLinesCopyAsTheReportWroteThem_data() { AddKinds(); }
    void selectedLinesCopyAsTheReportWroteThem() {
        QFETCH(QString, kind);
        DemoFixture f;
        OpenReport open = Open(kind, f.doc);
        open.dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(open.dialog.get()));
        auto& view = Child<ReportTextView>(*open.dialog, open.viewName);
        const QStringList lines = LinesOf(open.expected);
        QVERIFY(lines.size() >= 5);

        // A click on the second line, a Shift-click on the fourth, one more with Shift+Down.
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.LineRect(1).center());
        QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          view.LineRect(3).center());
        QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), lines.mid(1, 4).join('\n') + '\n');

        QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), AsShown(open.expected));
    }

    void findMovesToTheLineThatHoldsTheText_data() { AddKinds(); }
    void findMovesToTheLineThatHoldsTheText() {
        QFETCH(QString, kind);
        DemoFixture f;
        OpenReport open = Open(kind, f.doc);
        open.dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(open.dialog.get()));
        auto& view = Child<ReportTextView>(*open.dialog, open.viewName);
        view.setFocus();
        const QStringList lines = LinesOf(open.expected);
        // Text from the last line with any, typed in lower case: found whatever its case.
        const auto last = std::find_if(lines.rbegin(), lines.rend(), [](const QString& line) {
            return !line.trimmed().isEmpty();
        });
        const QString needle = last->trimmed().left(4);
        const int first = FirstLineWith(lines, needle, -1);
        const int second = FirstLineWith(lines, needle, first);

        QTest::keyClick(&view, Qt::Key_F, Qt::ControlModifier);
        auto& findText = Child<QLineEdit>(*open.dialog, "findText");
        QVERIFY(findText.isVisible());
        QVERIFY(findText.hasFocus());
        QTest::keyClicks(&findText, needle.toLower());
        QTest::keyClick(&findText, Qt::Key_Return);
        QCOMPARE(view.SelectionStart(), first);
        QCOMPARE(view.SelectionEnd(), first);
        QTest::keyClick(&view, Qt::Key_F3);
        QCOMPARE(view.SelectionStart(), second);
        QTest::keyClick(&findText, Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(view.SelectionStart(), first);
        ClickButton(*open.dialog, "findNext");
        QCOMPARE(view.SelectionStart(), second);
        QTest::keyClick(&findText, Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(view.SelectionStart(), first);
        QVERIFY(view.LineRect(first).bottom() <= view.viewport()->height());

        // Text on no line leaves the place as it was and says so.
        findText.setText(QStringLiteral("no such text anywhere"));
        QTest::keyClick(&findText, Qt::Key_Return);
        QCOMPARE(view.SelectionStart(), first);
        QVERIFY(Child<QWidget>(*open.dialog, "notFound").isVisibleTo(open.dialog.get()));
        QTest::keyClick(&findText, Qt::Key_Escape);
        QVERIFY(!findText.isVisible());
        QVERIFY(open.dialog->isVisible());
    }

    void printsEveryLineOnNumberedPages_data() { AddKinds(); }
    void printsEveryLineOnNumberedPages() {
        QFETCH(QString, kind);
        DemoFixture f;
        OpenReport open = Open(kind, f.doc);
        const QTemporaryDir folder;
        const QString pdf = folder.filePath(QStringLiteral("report.pdf"));
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        // A small page, so that even the demo portfolio's reports take several.
        printer.setPageSize(QPageSize(QSizeF(100, 50), QPageSize::Millimeter));
        const int lines = static_cast<int>(LinesOf(open.expected).size());
        const int perPage = LinesPerPage(printer, open.headingLines);
        const int expectedPages = (lines + perPage - 1) / perPage;
        QVERIFY(expectedPages > 1);

        auto& commands = Child<ReportPrintCommands>(*open.dialog, "reportPrinting");
        QCOMPARE(commands.PrintTo(printer), expectedPages);
        QCOMPARE(PdfPages(pdf), expectedPages);
    }

    void printPreviewShowsThePages() {
        DemoFixture f;
        OpenReport open = Open(QStringLiteral("history"), f.doc);
        int pages = 0;
        OnNextModal([&pages](QWidget* modal) {
            if (auto* preview = modal->findChild<QPrintPreviewWidget*>()) {
                pages = preview->pageCount();
            }
            modal->close();
        });
        ClickButton(*open.dialog, "printPreview");
        QVERIFY(pages >= 1);
    }

    void saveAsWritesTheReportText() {
        DemoFixture f;
        OpenReport open = Open(QStringLiteral("overview"), f.doc);
        const QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("overview.txt"));
        OnNextModal([&path](QWidget* modal) {
            if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                AcceptFile(*dialog, path);
            }
        });
        ClickButton(*open.dialog, "saveAs");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().toStdString(), open.expected);
    }
};

static const GuiTestRegistration<ReportReadingTest> registration("ReportReading_test");

#include "ReportReading_test.moc"

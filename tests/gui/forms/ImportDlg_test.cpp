#include "desktop/forms/ImportDlg.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>

#include "core/exchange/Exports.h"
#include "core/model/Clock.h"
#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"
#include "core/support/DocBuilder.h"
#include "support/FrameFixture.h"
#include "support/GuiTestRegistry.h"

namespace {

const QByteArray kBrokerFile =
    "\"Date\",\"Action\",\"Symbol\",\"Description\",\"Quantity\",\"Price\",\"Fees & "
    "Comm\",\"Amount\"\n"
    "\"01/03/2023\",\"Buy\",\"AB\",\"AB INC\",\"10\",\"$20.00\",\"\",\"-$200.00\"\n"
    "\"02/01/2023\",\"Buy\",\"CD\",\"CD CORP\",\"100\",\"$5.00\",\"$4.95\",\"-$504.95\"\n"
    "\"03/15/2023\",\"Sell\",\"CD\",\"CD CORP\",\"150\",\"$6.00\",\"\",\"$900.00\"\n"
    "\"04/02/2023\",\"Journal\",\"CD\",\"\",\"\",\"\",\"\",\"$1.00\"\n";

QString WriteText(const QString& path, const QByteArray& text) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text);
    return path;
}

QStringList Column(const QTableWidget& table, int column) {
    QStringList cells;
    for (int row = 0; row < table.rowCount(); ++row) {
        cells << table.item(row, column)->text();
    }
    return cells;
}

}  // namespace

class ImportDlgTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Clock::SetFixed(LocalTimeOf(2024, 6, 5, 12, 0)); }
    void cleanupTestCase() { Clock::UseSystemTime(); }

    // The preview lists every row with whether it is recorded and why not, and the totals;
    // nothing changes until the caller records the plan.
    void previewSaysWhatWillBeRecorded() {
        FrameFixture f;
        AddLot(f.doc, "AB", 10, 20, LocalTimeOf(2023, 1, 3));
        const QString path = WriteText(f.PathOf(QStringLiteral("broker.csv")), kBrokerFile);
        CImportDlg dialog(f.doc, path);
        dialog.findChild<QComboBox*>(QStringLiteral("mappingBox"))
            ->setCurrentText(QStringLiteral("Schwab transactions"));
        const auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("previewTable"));

        QCOMPARE(Column(*table, 3), (QStringList{"AB", "CD", "CD", ""}));
        QCOMPARE(
            Column(*table, 7),
            (QStringList{"No: the portfolio already has this record (same date, symbol, "
                         "shares and price)",
                         "Yes", "No: a sale of 150.0000 shares, but only 100.0000 are held then",
                         "No: line 5: the action \"Journal\" is unknown"}));
        QCOMPARE(
            dialog.findChild<QLabel*>(QStringLiteral("totals"))->text(),
            QStringLiteral("1 to record, 3 skipped. Bought 500.00, sold 0.00, dividends 0.00."));
        QVERIFY(dialog.findChild<QPushButton*>(QStringLiteral("importButton"))->isEnabled());
        QCOMPARE(f.doc.Purchases().size(), std::size_t{1});
    }

    // A file the mapping cannot read is refused whole, and Import stays off.
    void wrongFileCannotBeImported() {
        FrameFixture f;
        const QString path = WriteText(f.PathOf(QStringLiteral("other.csv")), "a,b\n1,2\n");
        CImportDlg dialog(f.doc, path);
        QVERIFY(dialog.findChild<QLabel*>(QStringLiteral("totals"))
                    ->text()
                    .startsWith(QStringLiteral("The file cannot be imported: no line names")));
        QVERIFY(!dialog.findChild<QPushButton*>(QStringLiteral("importButton"))->isEnabled());
    }

    // File > Import Transactions: the file is chosen, the preview confirmed, and the rows
    // are one step that Undo takes back.
    void importFromTheFileMenuIsOneUndoStep() {
        FrameFixture f;
        const QString path = WriteText(f.PathOf(QStringLiteral("broker.csv")), kBrokerFile);
        OnNextModal([path](QWidget* modal) {
            auto* chooser = qobject_cast<QFileDialog*>(modal);
            QVERIFY(chooser != nullptr);
            OnNextModal([](QWidget* preview) {
                auto* dialog = qobject_cast<CImportDlg*>(preview);
                QVERIFY(dialog != nullptr);
                dialog->findChild<QComboBox*>(QStringLiteral("mappingBox"))
                    ->setCurrentText(QStringLiteral("Schwab transactions"));
                dialog->findChild<QPushButton*>(QStringLiteral("importButton"))->click();
            });
            AcceptFile(*chooser, path);
        });

        f.frame.CommandAction(CMainFrame::kFileImport)->trigger();

        QCOMPARE(f.doc.Purchases().size(), std::size_t{2});
        QCOMPARE(f.frame.statusBar()->currentMessage(),
                 QStringLiteral("Imported 2 records. Undo takes them back."));
        QCOMPARE(f.doc.UndoLabel(), std::string("Import"));
        f.doc.Undo();
        QVERIFY(f.doc.Purchases().empty());
    }

    // File > Export Transactions writes what the core's export gives.
    void exportFromTheFileMenu() {
        FrameFixture f;
        AddLot(f.doc, "AB", 10, 20, LocalTimeOf(2023, 1, 3));
        const QString path = f.PathOf(QStringLiteral("out.csv"));
        OnNextModal([path](QWidget* modal) {
            auto* chooser = qobject_cast<QFileDialog*>(modal);
            QVERIFY(chooser != nullptr);
            AcceptFile(*chooser, path);
        });

        f.frame.CommandAction(CMainFrame::kFileExportTransactions)->trigger();

        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll().toStdString(), TransactionsCsv(f.doc));
    }
};

static const GuiTestRegistration<ImportDlgTest> registration("ImportDlg_test");

#include "ImportDlg_test.moc"

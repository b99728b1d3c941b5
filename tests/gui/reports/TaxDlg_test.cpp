#include "desktop/reports/TaxDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "ReportDialogSupport.h"
#include "core/model/DemoPortfolio.h"
#include "core/model/Kx7Doc.h"
#include "core/reports/TaxReport.h"
#include "core/settings/Settings.h"
#include "support/FrameFixture.h"
#include "support/GuiTestRegistry.h"

namespace {

// Names the file in the next file dialog, then runs `then` (for what opens after it).
void ChooseSaveFile(const QString& path, std::function<void()> then = {}) {
    OnNextModal([path, then](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog != nullptr);
        AcceptFile(*dialog, path);
        if (then) {
            then();
        }
    });
}

}  // namespace

class TaxDlgTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Clock::SetFixed(ReportTestNow()); }
    void cleanupTestCase() { Clock::UseSystemTime(); }

    void opensWithNoYearChosenAndAnEmptyReport() {
        DemoFixture f;
        CTaxDlg dialog(f.doc);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Tax Report"));
        QCOMPARE(Child<QComboBox>(dialog, "yearBox").currentIndex(), -1);
        QCOMPARE(ReportBoxText(dialog), QString());
        QVERIFY(Child<QCheckBox>(dialog, "groupSales").isChecked());
        QVERIFY(Child<QCheckBox>(dialog, "deductCommission").isChecked());
        QVERIFY(!Child<QCheckBox>(dialog, "csvFormat").isChecked());
        QVERIFY(!Child<QPushButton>(dialog, "saveAs").isEnabled());
        // A font whose columns line up.
        const auto& report = Child<ReportTextView>(dialog, "report");
        QCOMPARE(report.font(), QFontDatabase::systemFont(QFontDatabase::FixedFont));

        // An option clicked before a year is chosen shows nothing yet.
        ClickButton(dialog, "csvFormat");
        QCOMPARE(ReportBoxText(dialog), QString());
    }

    // The years run from the earliest sale to this year, or on to a later sale's year.
    void yearsRunFromTheFirstSale_data() {
        QTest::addColumn<QList<int>>("saleYears");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("no sales") << QList<int>{} << QStringList{"Show All", "2024"};
        QTest::newRow("demo years")
            << QList<int>{2021, 2019}
            << QStringList{"Show All", "2019", "2020", "2021", "2022", "2023", "2024"};
        QTest::newRow("sale dated next year")
            << QList<int>{2025} << QStringList{"Show All", "2024", "2025"};
    }

    void yearsRunFromTheFirstSale() {
        QFETCH(QList<int>, saleYears);
        QFETCH(QStringList, items);
        Settings settings;
        CKx7Doc doc(settings);
        doc.Purchase({.symbol = "XYZ",
                      .companyName = "Xyz Corp",
                      .shares = 1000,
                      .price = 10,
                      .date = LocalTimeOf(2010, 1, 4, 10),
                      .commission = 0,
                      .purchaseType = "",
                      .comment = ""});
        for (const int year : saleYears) {
            doc.Sell({.symbol = "XYZ",
                      .shares = 10,
                      .price = 12,
                      .date = LocalTimeOf(year, 7, 1, 10),
                      .commission = 0,
                      .method = SaleMethod::kFifo,
                      .comment = ""});
        }
        CTaxDlg dialog(doc);
        QCOMPARE(Items(Child<QComboBox>(dialog, "yearBox")), items);
    }

    void aChosenYearShowsItsReport_data() {
        QTest::addColumn<QString>("year");
        QTest::newRow("show all") << "Show All";
        QTest::newRow("2022") << "2022";
        QTest::newRow("year without sales") << "2020";
    }

    void aChosenYearShowsItsReport() {
        QFETCH(QString, year);
        DemoFixture f;
        CTaxDlg dialog(f.doc);
        ChooseItem(Child<QComboBox>(dialog, "yearBox"), year);
        const std::string expected = BuildTaxReport(f.doc, year.toStdString(), true, true, false);
        QCOMPARE(ReportBoxText(dialog), AsShown(expected));
        QCOMPARE(dialog.ReportText(), expected);
        QVERIFY(Child<QPushButton>(dialog, "saveAs").isEnabled());
    }

    void eachOptionRebuildsTheReport_data() {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<bool>("groupSales");
        QTest::addColumn<bool>("deductCommission");
        QTest::addColumn<bool>("csv");
        QTest::newRow("lots apart") << QStringList{"groupSales"} << false << true << false;
        QTest::newRow("no commission") << QStringList{"deductCommission"} << true << false << false;
        QTest::newRow("csv") << QStringList{"csvFormat"} << true << true << true;
        QTest::newRow("all three")
            << QStringList{"groupSales", "deductCommission", "csvFormat"} << false << false << true;
        QTest::newRow("csv on and off")
            << QStringList{"csvFormat", "csvFormat"} << true << true << false;
    }

    void eachOptionRebuildsTheReport() {
        QFETCH(QStringList, clicks);
        QFETCH(bool, groupSales);
        QFETCH(bool, deductCommission);
        QFETCH(bool, csv);
        DemoFixture f;
        CTaxDlg dialog(f.doc);
        dialog.show();
        ChooseItem(Child<QComboBox>(dialog, "yearBox"), "Show All");
        const QString before = ReportBoxText(dialog);
        for (const QString& name : clicks) {
            ClickButton(dialog, qPrintable(name));
        }
        const std::string expected =
            BuildTaxReport(f.doc, "Show All", groupSales, deductCommission, csv);
        QCOMPARE(ReportBoxText(dialog), AsShown(expected));
        QCOMPARE(before != ReportBoxText(dialog), clicks.size() != 2 || clicks[0] != clicks[1]);
    }

    void saveAsWritesTheCsvText() {
        DemoFixture f;
        QTemporaryDir folder;
        CTaxDlg dialog(f.doc);
        dialog.show();
        ChooseItem(Child<QComboBox>(dialog, "yearBox"), "Show All");
        ClickButton(dialog, "csvFormat");
        ChooseSaveFile(folder.filePath("taxes"));
        ClickButton(dialog, "saveAs");
        QFile file(folder.filePath("taxes.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        // The file keeps the report's own CR LF line ends.
        QCOMPARE(file.readAll().toStdString(), BuildTaxReport(f.doc, "Show All", true, true, true));
    }

    void exportCsvWritesSpreadsheetRowsOfTheChosenSales() {
        DemoFixture f;
        QTemporaryDir folder;
        CTaxDlg dialog(f.doc);
        dialog.show();
        QVERIFY(!Child<QPushButton>(dialog, "exportCsv").isEnabled());
        ChooseItem(Child<QComboBox>(dialog, "yearBox"), "Show All");
        ClickButton(dialog, "groupSales");  // ungrouped, with the text layout on screen
        ChooseSaveFile(folder.filePath("gains"));
        ClickButton(dialog, "exportCsv");
        QFile file(folder.filePath("gains.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const std::string written = file.readAll().toStdString();
        QCOMPARE(written, BuildTaxCsvExport(f.doc, "Show All", false, true));
        QVERIFY(QString::fromStdString(written).startsWith(QStringLiteral("Sale Date,Shares,")));
        // The report on the screen stays as it was.
        QCOMPARE(ReportBoxText(dialog),
                 AsShown(BuildTaxReport(f.doc, "Show All", false, true, false)));
    }

    void aFileThatCannotBeWrittenIsReported() {
        DemoFixture f;
        QTemporaryDir folder;
        CTaxDlg dialog(f.doc);
        dialog.show();
        ChooseItem(Child<QComboBox>(dialog, "yearBox"), "2019");
        const QString path = folder.filePath("missing-folder/taxes.txt");
        QString message;
        ChooseSaveFile(path, [&message] { AnswerMessageBox(QMessageBox::Ok, &message); });
        ClickButton(dialog, "saveAs");
        QCOMPARE(message, QStringLiteral("The file could not be written: %1").arg(path));
        QVERIFY(!QFile::exists(path));
    }
};

static const GuiTestRegistration<TaxDlgTest> registration("TaxDlg_test");

#include "TaxDlg_test.moc"

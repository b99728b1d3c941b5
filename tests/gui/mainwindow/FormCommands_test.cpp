#include "desktop/mainwindow/FormCommands.h"

#include <QAction>
#include <QCheckBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTemporaryDir>
#include <functional>

#include "../../core/support/TestClock.h"
#include "core/figures/UpdateWorkerSwitch.h"
#include "core/model/Dividend.h"
#include "core/model/DocumentStorage.h"
#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/settings/Settings.h"
#include "desktop/app/RecentFileList.h"
#include "desktop/mainwindow/MainFrm.h"
#include "forms/FormTestSupport.h"
#include "support/GuiTestRegistry.h"

using namespace formtest;

namespace {

// Carries out a command of the main frame: through the command functions, or through the
// frame's own menu item, as a person would.
using RunCommand = std::function<bool(int command)>;

RunCommand DirectCommands(CKx7Doc& doc) {
    return [&doc](int command) {
        switch (command) {
            case CMainFrame::kPurchaseStock:
                return FormCommands::PurchaseStock(nullptr, doc);
            case CMainFrame::kSellStock:
                return FormCommands::SellStock(nullptr, doc);
            case CMainFrame::kRecordDividend:
                return FormCommands::RecordDividend(nullptr, doc);
            case CMainFrame::kStockSplit:
                return FormCommands::StockSplit(nullptr, doc);
            case CMainFrame::kSymbolChange:
                return FormCommands::SymbolChange(nullptr, doc);
            case CMainFrame::kEditDatabase:
                return FormCommands::EditDatabase(nullptr, doc);
            case CMainFrame::kPortfolioInformation:
                return FormCommands::PortfolioInformation(nullptr, doc);
            default:
                return false;
        }
    };
}

RunCommand FrameCommands(CMainFrame& frame) {
    return [&frame](int command) {
        QAction* action = frame.CommandAction(command);
        if (action == nullptr || !action->isEnabled()) {
            return false;
        }
        action->trigger();
        return true;
    };
}

void Buy(const RunCommand& run, const QString& symbol, const QString& company,
         const QString& shares, const QString& price) {
    WhenModal([=](QWidget* form) {
        auto* symbolBox = FieldOf<QComboBox>(form, QStringLiteral("Symbol"));
        if (symbolBox->findText(symbol) >= 0) {
            Choose(symbolBox, symbol);
        } else {
            QTest::keyClicks(symbolBox->lineEdit(), symbol);
            Type(FieldOf<QLineEdit>(form, QStringLiteral("Company Name")), company);
        }
        Type(FieldOf<QLineEdit>(form, QStringLiteral("Number of shares")), shares);
        Type(FieldOf<QLineEdit>(form, QStringLiteral("Purchase Price")), price);
        Choose(FieldOf<QComboBox>(form, QStringLiteral("Purchase Type")),
               QStringLiteral("Direct Purchase"));
        Type(FieldOf<QLineEdit>(form, QStringLiteral("Commission")), QStringLiteral("9.95"));
        Click(form, QStringLiteral("OK"));
    });
    QVERIFY(run(CMainFrame::kPurchaseStock));
}

// Fills the sale form; `custom` answers the lot-by-lot form that follows.
void Sell(const RunCommand& run, const QString& shares, const QString& price, const QString& method,
          std::function<void(QWidget*)> custom = {}) {
    WhenModal([=](QWidget* form) {
        Choose(FieldOf<QComboBox>(form, QStringLiteral("Symbol")), QStringLiteral("XYZ"));
        Type(FieldOf<QLineEdit>(form, QStringLiteral("Sale Price")), price);
        Type(FieldOf<QLineEdit>(form, QStringLiteral("Number of shares")), shares);
        Click(form, method);
        if (custom) {
            WhenModal(custom);
        }
        Click(form, QStringLiteral("OK"));
    });
    QVERIFY(run(CMainFrame::kSellStock));
}

// Everything a portfolio holds that the forms can change, one line per record.
QStringList Describe(const CKx7Doc& doc) {
    QStringList lines;
    for (const auto& lot : doc.Purchases()) {
        lines << QStringLiteral("lot %1 %2 %3@%4 held %5 comm %6 %7")
                     .arg(QString::fromStdString(lot->symbol),
                          QString::fromStdString(lot->companyName))
                     .arg(lot->shares)
                     .arg(lot->price)
                     .arg(lot->availableShares)
                     .arg(lot->commission)
                     .arg(lot->date);
        for (const auto& sale : lot->sales) {
            lines << QStringLiteral("  sale #%1 %2@%3 comm %4 %5")
                         .arg(sale.saleNumber)
                         .arg(sale.shares)
                         .arg(sale.price)
                         .arg(sale.commission)
                         .arg(sale.date);
        }
    }
    for (const auto& dividend : doc.Dividends()) {
        lines << QStringLiteral("dividend %1 kind %2 %3 %4")
                     .arg(QString::fromStdString(dividend->symbol))
                     .arg(static_cast<int>(dividend->dividendKind))
                     .arg(dividend->amount)
                     .arg(dividend->date);
    }
    for (const SplitEntry& split : doc.Splits()) {
        lines << QStringLiteral("split %1 %2 for %3")
                     .arg(QString::fromStdString(split.symbol))
                     .arg(split.newShares)
                     .arg(split.oldShares);
    }
    lines << QStringLiteral("owner %1").arg(QString::fromStdString(doc.OwnerName()));
    return lines;
}

}  // namespace

class FormCommandsTest final : public QObject {
    Q_OBJECT

private slots:
    void init() { m_clock = std::make_unique<ScopedClock>(At(2006, 5, 17, 14)); }
    void cleanup() { m_clock.reset(); }

    void aPortfolioEnteredThroughTheFormsSurvivesSaveAndReopen() {
        Settings settings;
        settings.ungroupOptions = false;
        CKx7Doc doc(settings);
        EnterAndReopen(doc, DirectCommands(doc));
    }

    void theSameThroughTheMainFrameMenus() {
        Settings settings;
        settings.ungroupOptions = false;
        CKx7Doc doc(settings);
        Kx7FileStorage storage;
        CRecentFileList recentFiles;
        NoUpdateWorker worker;
        CMainFrame frame(doc, settings, storage, recentFiles, worker);
        frame.show();
        EnterAndReopen(doc, FrameCommands(frame));
        QCOMPARE(frame.RecordsPaneText(), QStringLiteral("Records: %1").arg(doc.RecordCount()));
    }

    // A purchase made through the form goes with Ctrl+Z and comes back with Ctrl+Shift+Z;
    // back at the saved state, the title has no mark of changes.
    void aPurchaseUndoneAndRedoneWithTheKeys() {
        Settings settings;
        CKx7Doc doc(settings);
        Kx7FileStorage storage;
        CRecentFileList recentFiles;
        NoUpdateWorker worker;
        CMainFrame frame(doc, settings, storage, recentFiles, worker);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QVERIFY(!frame.CommandAction(CMainFrame::kEditUndo)->isEnabled());

        Buy(FrameCommands(frame), QStringLiteral("XYZ"), QStringLiteral("Xyz Corp"),
            QStringLiteral("100"), QStringLiteral("10"));
        QCOMPARE(doc.Purchases().size(), 1u);
        QVERIFY(frame.isWindowModified());
        QAction* undo = frame.CommandAction(CMainFrame::kEditUndo);
        QVERIFY(undo->isEnabled());
        QCOMPARE(undo->text(), QStringLiteral("&Undo Purchase of XYZ"));

        // Menu keys reach an active window only.
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QTest::keySequence(&frame, QKeySequence::Undo);
        QVERIFY(doc.Purchases().empty());
        QVERIFY(!doc.IsModified());
        QVERIFY(!frame.isWindowModified());
        QCOMPARE(frame.RecordsPaneText(), QStringLiteral("Records: 0"));
        QCOMPARE(frame.statusBar()->currentMessage(), QStringLiteral("Undone: Purchase of XYZ"));
        QCOMPARE(frame.CommandAction(CMainFrame::kEditRedo)->text(),
                 QStringLiteral("&Redo Purchase of XYZ"));

        QTest::keySequence(&frame, QKeySequence::Redo);
        QCOMPARE(doc.Purchases().size(), 1u);
        QCOMPARE(doc.Purchases()[0]->symbol, std::string("XYZ"));
        QVERIFY(frame.isWindowModified());
        QVERIFY(!frame.CommandAction(CMainFrame::kEditRedo)->isEnabled());
    }

private:
    static void EnterAndReopen(CKx7Doc& doc, const RunCommand& run) {
        const Settings& settings = doc.AppSettings();

        Buy(run, QStringLiteral("XYZ"), QStringLiteral("Xyz Corp"), QStringLiteral("100"),
            QStringLiteral("10"));
        Buy(run, QStringLiteral("XYZ"), QString(), QStringLiteral("50"), QStringLiteral("12"));
        QCOMPARE(doc.Purchases().size(), 2u);
        QCOMPARE(doc.Purchases()[1]->companyName, std::string("Xyz Corp"));

        Sell(run, QStringLiteral("30"), QStringLiteral("15"), QStringLiteral("FIFO"));
        QCOMPARE(doc.Purchases()[0]->availableShares, 70.0f);

        Sell(run, QStringLiteral("40"), QStringLiteral("16"), QStringLiteral("Custom"),
             [](QWidget* custom) {
                 auto* lots = custom->findChild<QListWidget*>(QStringLiteral("lots"));
                 lots->setCurrentRow(1);
                 Click(custom, QStringLiteral("  Sell\nAvailable"));
                 Click(custom, QStringLiteral("Sell"));
             });
        QCOMPARE(doc.Purchases()[0]->availableShares, 70.0f);
        QCOMPARE(doc.Purchases()[1]->availableShares, 10.0f);
        QCOMPARE(doc.NextSaleNumber(), 2);

        WhenModal([](QWidget* form) {
            Choose(FieldOf<QComboBox>(form, QStringLiteral("Symbol")), QStringLiteral("XYZ"));
            Type(FieldOf<QLineEdit>(form, QStringLiteral("Dividend Value")), QStringLiteral("2.5"));
            Click(form, QStringLiteral("OK"));
        });
        QVERIFY(run(CMainFrame::kRecordDividend));
        QCOMPARE(doc.Dividends().size(), 1u);
        QCOMPARE(doc.Dividends()[0]->dividendKind, DividendKind::kCash);

        WhenModal([](QWidget* form) {
            Choose(FieldOf<QComboBox>(form, QStringLiteral("Symbol")), QStringLiteral("XYZ"));
            Click(form, QStringLiteral("OK"));  // 2 for 1
        });
        QVERIFY(run(CMainFrame::kStockSplit));
        QCOMPARE(doc.Purchases()[0]->availableShares, 140.0f);
        QCOMPARE(doc.Purchases()[0]->price, 5.0f);

        WhenModal([](QWidget* form) {
            Choose(FieldOf<QComboBox>(form, QStringLiteral("Old Symbol")), QStringLiteral("XYZ"));
            QTest::keyClicks(FieldOf<QComboBox>(form, QStringLiteral("New Symbol"))->lineEdit(),
                             QStringLiteral("XYZN"));
            Type(FieldOf<QLineEdit>(form, QStringLiteral("New Company Name")),
                 QStringLiteral("Xyz New"));
            Click(form, QStringLiteral("OK"));
        });
        QVERIFY(run(CMainFrame::kSymbolChange));
        QCOMPARE(doc.Purchases()[1]->symbol, std::string("XYZN"));

        // The record editor: the first lot's commission changed, the FIFO sale deleted.
        WhenModal([](QWidget* editor) {
            auto* records = editor->findChild<CXListCtrl*>(QStringLiteral("records"));
            ClickRow(records, 0);
            WhenModal([](QWidget* purchase) {
                Type(FieldOf<QLineEdit>(purchase, QStringLiteral("Commission")),
                     QStringLiteral("4.5"));
                Click(purchase, QStringLiteral("OK"));
            });
            Click(editor, QStringLiteral("Edit"));
            ClickRow(records, 1);
            Click(editor, QStringLiteral("Delete"));
            Click(editor, QStringLiteral("Close"));
        });
        QVERIFY(run(CMainFrame::kEditDatabase));
        QCOMPARE(doc.Purchases()[0]->commission, 4.5f);
        QVERIFY(doc.Purchases()[0]->sales.empty());
        QCOMPARE(doc.Purchases()[0]->availableShares, 200.0f);

        WhenModal([](QWidget* form) {
            Type(FieldOf<QLineEdit>(form, QStringLiteral("Portfolio Owner")),
                 QStringLiteral("R. Holder"));
            Click(form, QStringLiteral("OK"));
        });
        QVERIFY(run(CMainFrame::kPortfolioInformation));
        QCOMPARE(doc.OwnerName(), std::string("R. Holder"));

        const QTemporaryDir folder;
        const std::string path = folder.filePath(QStringLiteral("entered.kx7")).toStdString();
        QCOMPARE(SaveKx7File(doc, path), std::string());
        CKx7Doc reopened(settings);
        QVERIFY(OpenKx7File(reopened, path).Ok());
        QCOMPARE(Describe(reopened), Describe(doc));
        QCOMPARE(Describe(doc).size(), 6);  // two lots, the custom sale, dividend, split, owner
    }

private slots:
    void cancelledFormsChangeNothing() {
        Settings settings;
        CKx7Doc doc(settings);
        doc.ReceiveGrant({.symbol = "XYZ",
                          .companyName = "Xyz Corp",
                          .shares = 400.0f,
                          .strikePrice = 5.0f,
                          .date = At(2000, 1, 3),
                          .optionType = "ISO",
                          .vestingSchedule = 0,
                          .grantId = "G1",
                          .comment = ""});
        doc.SetModified(false);
        const auto cancel = [](QWidget* form) { Click(form, QStringLiteral("Cancel")); };
        WhenModal(cancel);
        QVERIFY(FormCommands::PurchaseStock(nullptr, doc));  // redraws after any close
        WhenModal(cancel);
        QVERIFY(!FormCommands::ExpireOptions(nullptr, doc));
        WhenModal(cancel);
        QVERIFY(!FormCommands::StockSplit(nullptr, doc));
        WhenModal(cancel);
        QVERIFY(!FormCommands::SymbolChange(nullptr, doc));
        WhenModal(cancel);
        QVERIFY(!FormCommands::EditPreferences(nullptr, settings));
        QVERIFY(!doc.IsModified());
        QCOMPARE(doc.RecordCount(), 1);
    }

    void grantThenExpiry() {
        Settings settings;
        CKx7Doc doc(settings);
        WhenModal([](QWidget* form) {
            QTest::keyClicks(FieldOf<QComboBox>(form, QStringLiteral("Symbol"))->lineEdit(),
                             QStringLiteral("XYZ"));
            Type(FieldOf<QLineEdit>(form, QStringLiteral("Company Name")),
                 QStringLiteral("Xyz Corp"));
            Type(FieldOf<QLineEdit>(form, QStringLiteral("Number of shares")),
                 QStringLiteral("400"));
            Type(FieldOf<QLineEdit>(form, QStringLiteral("Strike Price")), QStringLiteral("5"));
            Choose(FieldOf<QComboBox>(form, QStringLiteral("Vesting Schedule")),
                   QStringLiteral("4YA"));
            Choose(FieldOf<QComboBox>(form, QStringLiteral("Purchase Type")), QStringLiteral("NQ"));
            Click(form, QStringLiteral("OK"));
        });
        QVERIFY(FormCommands::ReceiveGrant(nullptr, doc));
        QCOMPARE(doc.Purchases().size(), 1u);
        QCOMPARE(doc.Purchases()[0]->vestingSchedule, 3);
        QCOMPARE(doc.Purchases()[0]->purchaseType, std::string("NQ"));

        WhenModal([](QWidget* form) {
            Choose(FieldOf<QComboBox>(form, QStringLiteral("Symbol")), QStringLiteral("XYZ-O"));
            Click(form, QStringLiteral("OK"));
        });
        QVERIFY(FormCommands::ExpireOptions(nullptr, doc));
        QCOMPARE(doc.Purchases()[0]->sales.size(), 1u);
        QCOMPARE(doc.Purchases()[0]->sales[0].price, -1.0f);
        QCOMPARE(doc.Purchases()[0]->sales[0].shares, 400.0f);
    }

private:
    std::unique_ptr<ScopedClock> m_clock;
};

static const GuiTestRegistration<FormCommandsTest> registration("FormCommands_test");

#include "FormCommands_test.moc"

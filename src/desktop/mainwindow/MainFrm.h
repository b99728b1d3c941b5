#pragma once

#include <QMainWindow>
#include <QMessageBox>
#include <QPrinter>
#include <memory>
#include <string>
#include <vector>

#include "core/model/DocumentStorage.h"
#include "core/model/PortfolioLock.h"
#include "core/quotes/HostPacer.h"
#include "core/quotes/PriceHistoryKeeper.h"
#include "core/quotes/QuoteParsers.h"

class CKx7Doc;
class CKx7View;
class CRecentFileList;
class QAction;
class QLabel;
class QMenu;
class UpdateWorkerControl;
struct Settings;

// The main window: menus, status bar and the commands that reach the document. Every
// command that may change the portfolio repaints the view before it returns.
class CMainFrame final : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CMainFrame)

public:
    // Command ids, as the menus and the status prompts know them.
    enum Command : int {
        kFileNew = 57600,
        kFileOpen = 57601,
        kFileSave = 57603,
        kFileSaveAs = 57604,
        kFilePrintSetup = 57606,
        kFilePrint = 57607,
        kFilePrintPreview = 57609,
        kFileMruFirst = 57616,
        kAppExit = 57665,
        kAppAbout = 57664,
        kEditUndo = 57643,
        kEditRedo = 57644,
        kEditCut = 57635,
        kEditCopy = 57634,
        kEditPaste = 57637,
        kEditAlerts = 32798,
        kStockSplit = 32784,
        kSymbolChange = 32786,
        kGroupSales = 32787,
        kPortfolioInformation = 32794,
        kEditDatabase = 32783,
        kEditStockSplits = 32795,
        kEditPreferences = 32796,
        kPurchaseStock = 32771,
        kReceiveGrant = 32772,
        kPurchaseGrantOptions = 32773,
        kSellStock = 32774,
        kSellGrantOptions = 32775,
        kRecordDividend = 32788,
        kExpireOptions = 32797,
        kReportOverview = 32792,
        kReportSummary = 32776,
        kReportTaxes = 32777,
        kReportGains = 32778,
        kReportAvailable = 32779,
        kReportDetailed = 32780,
        kReportHistory = 32793,
        kShowValue = 32807,
        kShowChart = 32799,
        kManualUpdate = 32790,
        kWebUpdate = 32791,
        kFileImport = 32810,
        kFileExportTransactions = 32811,
        kFileExportHoldings = 32812,
        kFileExportGains = 32813,
    };

    CMainFrame(CKx7Doc& document, Settings& settings, DocumentStorage& storage,
               CRecentFileList& recentFiles, UpdateWorkerControl& worker,
               QWidget* parent = nullptr);
    ~CMainFrame() override;

    // "<document title> - Velmora", with the mark of unsaved changes.
    void UpdateTitle();
    // Status bar panes 1 and 2 from the document.
    void UpdateStatusPanes();
    // The Undo and Redo items name their steps; the title marks unsaved changes.
    void UpdateUndoCommands();
    // Invalidates the window and redraws it at once, so the view re-reads the document.
    void Repaint();

    // File New after the save prompt; false when the user cancelled.
    bool NewPortfolio();
    // Opens the file after the save prompt; false when cancelled or the file failed.
    bool OpenPortfolio(const QString& path);
    // Saves under the path (asks for one when empty); false when not saved.
    bool SavePortfolio(const QString& path);
    // Asks "Save changes to %1?" when the portfolio is modified; false for Cancel or a
    // failed save.
    bool SaveModified();
    // Opens a recovery copy as the unsaved state of `originalPath` (empty: a new
    // portfolio); the result is modified.
    StorageOutcome RestoreRecoveryCopy(const QString& copyPath, const QString& originalPath);
    // Another running program had the file open when it was opened here, or it was read
    // only in part: saving it asks for another name, and the file stays as it is.
    bool IsReadOnly() const { return m_readOnly; }

    // Prints to the printer without a dialog.
    void PrintTo(QPrinter& printer);

    // The open portfolio's daily prices, and the pause each quote host asks for, which the
    // automatic update shares.
    PriceHistoryKeeper& Prices() { return m_prices; }
    HostPacer& Pacer() { return m_pacer; }
    // Prices the automatic update stored go into the history as well.
    void KeepPrices(const std::vector<QuoteResult>& results);
    // The line of an automatic update that stored nothing; it stays until the next.
    void ShowUpdateStatus(const QString& text);

    QAction* CommandAction(int id) const;
    CKx7View& View() { return *m_view; }
    QPrinter& Printer() { return m_printer; }
    QString ReadyText() const;
    QString OwnerPaneText() const;
    QString RecordsPaneText() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct MenuItem;

    void BuildMenus();
    void AddMenu(const QString& title, const std::vector<MenuItem>& items);
    void RebuildRecentFiles();
    QString AskFileName(bool forSave);
    void AfterDocumentChanged();

    // File
    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileImport();
    void OnFileExportTransactions();
    void OnFileExportHoldings();
    void OnFileExportGains();
    // Asks where a CSV export goes and writes it there; says so when it cannot.
    void SaveExport(const QString& title, const std::string& text);
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnFilePrintSetup();
    void OnOpenRecentFile(int index);
    void OnAppExit();
    // Edit
    void OnEditAlerts();
    void OnStockSplit();
    void OnSymbolChange();
    void OnPortfolioInformation();
    void OnEditDatabase();
    void OnEditPreferences();
    void OnEditUndo();
    void OnEditRedo();
    // Transaction
    void OnPurchaseStock();
    void OnReceiveGrant();
    void OnSellStock();
    void OnRecordDividend();
    void OnExpireOptions();
    // Reports
    void OnReportOverview();
    void OnReportSummary();
    void OnReportTaxes();
    void OnReportGains();
    void OnReportAvailable();
    void OnReportDetailed();
    void OnReportHistory();
    void OnShowValue();
    void OnShowChart();
    // Price Update
    void OnManualUpdate();
    void OnWebUpdate();
    // Help
    void OnAppAbout();
    // The first problem of the price history beside the portfolio, in the status bar.
    void SayPriceHistoryProblems(const std::vector<std::string>& problems);
    // A click on a holdings row.
    void OnSymbolSummary(const QString& symbol);

    CKx7Doc& m_document;
    Settings& m_settings;
    DocumentStorage& m_storage;
    CRecentFileList& m_recentFiles;
    CKx7View* m_view;
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentPlaceholder = nullptr;
    QAction* m_exitAction = nullptr;
    std::vector<QAction*> m_recentActions;
    QLabel* m_readyPane;
    QLabel* m_ownerPane;
    QLabel* m_recordsPane;
    QLabel* m_capsPane;
    QLabel* m_numPane;
    QPrinter m_printer;
    PortfolioLock m_lock;
    HostPacer m_pacer;
    PriceHistoryKeeper m_prices;
    bool m_readOnly = false;
    FileStamp m_fileStamp;  // the open file as it was read or last saved

private:
    enum class OutsideChangeChoice { kSaveAs, kOverwrite, kReload, kCancel };

    // The lock of the file at `path`: the one held already when it is the open file.
    PortfolioLock LockFor(const std::string& path);
    // Asks whether to take over a lock its owner left behind: Yes, No or Cancel.
    QMessageBox::StandardButton AskTakeOver(const QString& path, const PortfolioLock& lock,
                                            const QString& whatNoDoes);
    // The open file was changed by another program since it was read or saved here.
    OutsideChangeChoice AskAboutOutsideChange(const QString& path);
};

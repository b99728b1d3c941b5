#include "desktop/mainwindow/MainFrm.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include "core/exchange/Exports.h"
#include "core/exchange/ImportPlan.h"
#include "core/model/Clock.h"
#include "core/model/DocumentStorage.h"
#include "core/model/FileBytes.h"
#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"
#include "core/model/OptionSuffix.h"
#include "core/quotes/QuoteSource.h"
#include "core/quotes/SourceChain.h"
#include "core/settings/Settings.h"
#include "core/settings/Version.h"
#include "desktop/app/AboutDlg.h"
#include "desktop/app/DocumentSignals.h"
#include "desktop/app/RecentFileList.h"
#include "desktop/app/SettingsFile.h"
#include "desktop/forms/ImportDlg.h"
#include "desktop/mainwindow/FormCommands.h"
#include "desktop/mainwindow/Kx7View.h"
#include "desktop/quotes/QuoteUpdateDlg.h"
#include "desktop/reports/AvailableDlg.h"
#include "desktop/reports/DetailsDlg.h"
#include "desktop/reports/GainsDlg.h"
#include "desktop/reports/HistoryDlg.h"
#include "desktop/reports/OverviewDlg.h"
#include "desktop/reports/SummaryDlg.h"
#include "desktop/reports/TaxDlg.h"

namespace {

const QString kFilter = QStringLiteral("Kx7 Files (*.kx7)");
constexpr int kLockRenewalMs = 60 * 60 * 1000;
// How long a note in the status bar stays.
constexpr int kStatusMessageMs = 8000;

QString ProductName() {
    return QString::fromLatin1(kProductName);
}

QString HeldByText(const QString& path, const PortfolioLock& lock) {
    return QStringLiteral("\"%1\" is open in Velmora on %2 (process %3).")
        .arg(path, QString::fromStdString(lock.OwnerHost()))
        .arg(lock.OwnerPid());
}

std::string AbsolutePath(const QString& path) {
    return QFileInfo(path).absoluteFilePath().toStdString();
}

QString StaleText(const QString& path, const PortfolioLock& lock) {
    return QStringLiteral("\"%1\" is marked as open in Velmora on %2 by process %3, which %4.")
        .arg(path, QString::fromStdString(lock.OwnerHost()))
        .arg(lock.OwnerPid())
        .arg(QString::fromStdString(lock.StaleReason()));
}

QString KeptAsItIsText(const QString& path) {
    return QStringLiteral(
               "The portfolio is open read-only: Save asks for a new name, and \"%1\" "
               "stays as it is.")
        .arg(path);
}

bool IsPortfolioFile(const QUrl& url) {
    return url.isLocalFile() &&
           url.toLocalFile().endsWith(QStringLiteral(".kx7"), Qt::CaseInsensitive);
}

// The pane width its reserving text would take: the label and spaces, `length` in all.
int PaneWidth(const QLabel& pane, const QString& label, int length) {
    return pane.fontMetrics().horizontalAdvance(label.leftJustified(length)) + 8;
}

}  // namespace

struct CMainFrame::MenuItem {
    QString text;  // empty: a separator
    QList<QKeySequence> shortcuts;
    int id = 0;
    void (CMainFrame::*handler)() = nullptr;
    bool checkable = false;
};

CMainFrame::CMainFrame(CKx7Doc& document, Settings& settings, DocumentStorage& storage,
                       CRecentFileList& recentFiles, UpdateWorkerControl& worker, QWidget* parent)
    : QMainWindow(parent),
      m_document(document),
      m_settings(settings),
      m_storage(storage),
      m_recentFiles(recentFiles),
      m_view(new CKx7View(document, settings, worker, this)),
      m_readyPane(new QLabel(QStringLiteral("Ready"), this)),
      m_ownerPane(new QLabel(this)),
      m_recordsPane(new QLabel(this)),
      m_capsPane(new QLabel(this)),
      m_numPane(new QLabel(this)) {
    setCentralWidget(m_view);
    BuildMenus();

    m_readyPane->setMinimumWidth(200);
    m_ownerPane->setFrameShape(QFrame::NoFrame);
    m_ownerPane->setMinimumWidth(PaneWidth(*m_ownerPane, QStringLiteral("Portfolio:"), 49));
    for (QLabel* pane : {m_recordsPane, m_capsPane, m_numPane}) {
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    m_recordsPane->setMinimumWidth(PaneWidth(*m_recordsPane, QStringLiteral("Records:"), 20));
    // The lock states cannot be read portably; the panes keep their place.
    m_capsPane->setMinimumWidth(PaneWidth(*m_capsPane, QStringLiteral("CAP"), 3));
    m_numPane->setMinimumWidth(PaneWidth(*m_numPane, QStringLiteral("NUM"), 3));
    statusBar()->addWidget(m_readyPane);
    statusBar()->addPermanentWidget(m_ownerPane);
    statusBar()->addPermanentWidget(m_recordsPane);
    statusBar()->addPermanentWidget(m_capsPane);
    statusBar()->addPermanentWidget(m_numPane);
    statusBar()->setSizeGripEnabled(false);

    // The panes follow every change, whoever makes it: a form, a dialog or the worker.
    connect(new DocumentSignals(m_document, this), &DocumentSignals::DocumentChanged, this, [this] {
        UpdateStatusPanes();
        UpdateUndoCommands();
    });
    // Another host judges the lock by its age: a portfolio kept open for days stays locked.
    auto* lockTimer = new QTimer(this);
    connect(lockTimer, &QTimer::timeout, this, [this] { m_lock.Renew(); });
    lockTimer->start(kLockRenewalMs);

    connect(m_view, &CKx7View::AlertEditorRequested, this, &CMainFrame::OnEditAlerts);
    connect(m_view, &CKx7View::SymbolSummaryRequested, this, &CMainFrame::OnSymbolSummary);

    setAcceptDrops(true);
    resize(580, 502);
    UpdateTitle();
    UpdateStatusPanes();
    UpdateUndoCommands();
}

CMainFrame::~CMainFrame() = default;

// Commands without a handler in this table (the clipboard and undo items, Group Sales, Edit
// Stock Splits and the grant-option purchase and sale) do nothing, so their items show
// disabled.
void CMainFrame::BuildMenus() {
    using F = CMainFrame;
    const auto keys = [](std::initializer_list<QKeySequence> list) {
        return QList<QKeySequence>(list);
    };
    AddMenu(
        QStringLiteral("&File"),
        {{QStringLiteral("&New"), keys({QKeySequence(QStringLiteral("Ctrl+N"))}), kFileNew,
          &F::OnFileNew},
         {QStringLiteral("&Open..."), keys({QKeySequence(QStringLiteral("Ctrl+O"))}), kFileOpen,
          &F::OnFileOpen},
         {QStringLiteral("&Save"), keys({QKeySequence(QStringLiteral("Ctrl+S"))}), kFileSave,
          &F::OnFileSave},
         {QStringLiteral("Save &As..."), {}, kFileSaveAs, &F::OnFileSaveAs},
         {},
         {QStringLiteral("&Import Transactions..."), {}, kFileImport, &F::OnFileImport},
         {QStringLiteral("Export &Transactions..."),
          {},
          kFileExportTransactions,
          &F::OnFileExportTransactions},
         {QStringLiteral("Export &Holdings..."), {}, kFileExportHoldings, &F::OnFileExportHoldings},
         {QStringLiteral("Export Realized &Gains..."), {}, kFileExportGains, &F::OnFileExportGains},
         {},
         {QStringLiteral("&Print..."), keys({QKeySequence(QStringLiteral("Ctrl+P"))}), kFilePrint,
          &F::OnFilePrint},
         {QStringLiteral("Print Pre&view"), {}, kFilePrintPreview, &F::OnFilePrintPreview},
         {QStringLiteral("P&rint Setup..."), {}, kFilePrintSetup, &F::OnFilePrintSetup},
         {},
         {QStringLiteral("Recent File"), {}, kFileMruFirst, nullptr},
         {},
         {QStringLiteral("E&xit"), {}, kAppExit, &F::OnAppExit}});
    AddMenu(
        QStringLiteral("&Edit"),
        {{QStringLiteral("&Undo"),
          QKeySequence::keyBindings(QKeySequence::Undo) +
              keys({QKeySequence(QStringLiteral("Alt+Backspace"))}),
          kEditUndo, &F::OnEditUndo},
         {QStringLiteral("&Redo"), QKeySequence::keyBindings(QKeySequence::Redo), kEditRedo,
          &F::OnEditRedo},
         {},
         {QStringLiteral("Cu&t"),
          keys({QKeySequence(QStringLiteral("Ctrl+X")), QKeySequence(QStringLiteral("Shift+Del"))}),
          kEditCut, nullptr},
         {QStringLiteral("&Copy"),
          keys({QKeySequence(QStringLiteral("Ctrl+C")), QKeySequence(QStringLiteral("Ctrl+Ins"))}),
          kEditCopy, nullptr},
         {QStringLiteral("&Paste"),
          keys({QKeySequence(QStringLiteral("Ctrl+V")), QKeySequence(QStringLiteral("Shift+Ins"))}),
          kEditPaste, nullptr},
         {},
         {QStringLiteral("Edit &Alerts..."), {}, kEditAlerts, &F::OnEditAlerts},
         {QStringLiteral("&Stock Split"), {}, kStockSplit, &F::OnStockSplit},
         {QStringLiteral("S&ymbol/Name Change"), {}, kSymbolChange, &F::OnSymbolChange},
         {QStringLiteral("&Group Sales"), {}, kGroupSales, nullptr},
         {},
         {QStringLiteral("Portfolio &Information"),
          {},
          kPortfolioInformation,
          &F::OnPortfolioInformation},
         {QStringLiteral("&Edit Database"), {}, kEditDatabase, &F::OnEditDatabase},
         {QStringLiteral("E&dit Stock Splits"), {}, kEditStockSplits, nullptr},
         {QStringLiteral("Edit Preferences..."), {}, kEditPreferences, &F::OnEditPreferences}});
    AddMenu(
        QStringLiteral("&Transaction"),
        {{QStringLiteral("&Purchase Stock"), {}, kPurchaseStock, &F::OnPurchaseStock},
         {QStringLiteral("Receive &Grant"), {}, kReceiveGrant, &F::OnReceiveGrant},
         {QStringLiteral("Purchase Grant &Options"), {}, kPurchaseGrantOptions, nullptr},
         {},
         {QStringLiteral("&Sell Stock"), {}, kSellStock, &F::OnSellStock},
         {QStringLiteral("S&ell Grant Options"), {}, kSellGrantOptions, nullptr},
         {},
         {QStringLiteral("&Record Dividend"), {}, kRecordDividend, &F::OnRecordDividend},
         {QStringLiteral("E&xpire Unvested Options"), {}, kExpireOptions, &F::OnExpireOptions}});
    AddMenu(QStringLiteral("&Reports"),
            {{QStringLiteral("&Overview"), {}, kReportOverview, &F::OnReportOverview},
             {QStringLiteral("&Summary"), {}, kReportSummary, &F::OnReportSummary},
             {QStringLiteral("&Taxes"), {}, kReportTaxes, &F::OnReportTaxes},
             {QStringLiteral("&Gains"), {}, kReportGains, &F::OnReportGains},
             {QStringLiteral("&Available"), {}, kReportAvailable, &F::OnReportAvailable},
             {QStringLiteral("&Detailed Info"), {}, kReportDetailed, &F::OnReportDetailed},
             {QStringLiteral("&History"), {}, kReportHistory, &F::OnReportHistory},
             {},
             {QStringLiteral("Show Value"), {}, kShowValue, &F::OnShowValue, true},
             {QStringLiteral("Sh&ow Chart"), {}, kShowChart, &F::OnShowChart, true}});
    AddMenu(QStringLiteral("&Price Update"),
            {{QStringLiteral("&Manual Update"), {}, kManualUpdate, &F::OnManualUpdate},
             {QStringLiteral("&WEB Update"), {}, kWebUpdate, &F::OnWebUpdate}});
    AddMenu(QStringLiteral("&Help"),
            {{QStringLiteral("&About Velmora..."), {}, kAppAbout, &F::OnAppAbout}});

    m_fileMenu = menuBar()->actions().first()->menu();
    m_recentPlaceholder = CommandAction(kFileMruFirst);
    m_exitAction = CommandAction(kAppExit);
    RebuildRecentFiles();
}

void CMainFrame::AddMenu(const QString& title, const std::vector<MenuItem>& items) {
    QMenu* menu = menuBar()->addMenu(title);
    for (const MenuItem& item : items) {
        if (item.text.isEmpty()) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(item.text);
        action->setData(item.id);
        action->setShortcuts(item.shortcuts);
        action->setCheckable(item.checkable);
        action->setChecked(item.checkable);
        // An item without a handler is shown disabled.
        action->setEnabled(item.handler != nullptr);
        if (item.handler != nullptr) {
            connect(action, &QAction::triggered, this, item.handler);
        }
    }
}

QAction* CMainFrame::CommandAction(int id) const {
    for (QAction* menuAction : menuBar()->actions()) {
        for (QAction* action : menuAction->menu()->actions()) {
            if (!action->isSeparator() && action->data().toInt() == id) {
                return action;
            }
        }
    }
    return nullptr;
}

void CMainFrame::RebuildRecentFiles() {
    for (QAction* action : m_recentActions) {
        m_fileMenu->removeAction(action);
        action->deleteLater();
    }
    m_recentActions.clear();
    const QStringList& entries = m_recentFiles.Entries();
    m_recentPlaceholder->setVisible(entries.isEmpty());
    for (int i = 0; i < entries.size(); ++i) {
        auto* action = new QAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(entries[i])), this);
        action->setData(kFileMruFirst + i);
        action->setStatusTip(QStringLiteral("Open this document"));
        connect(action, &QAction::triggered, this, [this, i] { OnOpenRecentFile(i); });
        m_fileMenu->insertAction(m_recentPlaceholder, action);
        m_recentActions.push_back(action);
    }
}

void CMainFrame::UpdateTitle() {
    // "[*]" shows as the desktop's mark of unsaved changes, and as nothing without them.
    setWindowTitle(QString::fromStdString(m_document.Title()) + QStringLiteral("[*] - ") +
                   ProductName());
    setWindowModified(m_document.IsModified());
}

void CMainFrame::UpdateUndoCommands() {
    const auto name = [](const QString& command, const std::string& label) {
        return label.empty() ? command : command + QLatin1Char(' ') + QString::fromStdString(label);
    };
    QAction* undo = CommandAction(kEditUndo);
    undo->setText(name(QStringLiteral("&Undo"), m_document.UndoLabel()));
    undo->setEnabled(m_document.CanUndo());
    QAction* redo = CommandAction(kEditRedo);
    redo->setText(name(QStringLiteral("&Redo"), m_document.RedoLabel()));
    redo->setEnabled(m_document.CanRedo());
    setWindowModified(m_document.IsModified());
}

QString CMainFrame::ReadyText() const {
    return m_readyPane->text();
}

QString CMainFrame::OwnerPaneText() const {
    return m_ownerPane->text();
}

QString CMainFrame::RecordsPaneText() const {
    return m_recordsPane->text();
}

void CMainFrame::UpdateStatusPanes() {
    const QString owner = QString::fromStdString(m_document.OwnerName());
    m_ownerPane->setText(owner.isEmpty() ? QString() : QStringLiteral("Portfolio: ") + owner);
    m_recordsPane->setText(QStringLiteral("Records: %1").arg(m_document.RecordCount()));
}

void CMainFrame::Repaint() {
    UpdateStatusPanes();
    m_view->Repaint();
}

void CMainFrame::AfterDocumentChanged() {
    m_view->OnInitialUpdate();
    UpdateTitle();
    RebuildRecentFiles();
    Repaint();
}

bool CMainFrame::SaveModified() {
    if (!m_document.IsModified()) {
        return true;
    }
    const QString name = m_document.PathName().empty()
                             ? QString::fromStdString(m_document.Title())
                             : QString::fromStdString(m_document.PathName());
    const auto answer = QMessageBox::question(
        this, ProductName(), QStringLiteral("Save changes to %1?").arg(name),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Cancel) {
        return false;
    }
    if (answer == QMessageBox::No) {
        return true;
    }
    return SavePortfolio(QString::fromStdString(m_document.PathName()));
}

PortfolioLock CMainFrame::LockFor(const std::string& path) {
    // By the lock's own path, so that another name of the open file finds it too.
    if (m_lock.IsHeld() && PortfolioLock::LockPathFor(path) == m_lock.LockPath()) {
        return std::move(m_lock);
    }
    return PortfolioLock(path);
}

bool CMainFrame::NewPortfolio() {
    if (!SaveModified()) {
        return false;
    }
    m_lock.Release();
    m_readOnly = false;
    m_document.NewDocument();
    m_prices.Clear();
    AfterDocumentChanged();
    return true;
}

bool CMainFrame::OpenPortfolio(const QString& path) {
    if (!SaveModified()) {
        return false;
    }
    // One writer per file: another running program's file opens read-only or not at all.
    PortfolioLock lock = LockFor(AbsolutePath(path));
    bool leftBehind = false;  // a lock its owner left, not taken over: read-only
    if (lock.GetState() == PortfolioLock::State::kStale) {
        const auto answer = AskTakeOver(path, lock, QStringLiteral("No opens it read-only."));
        if (answer == QMessageBox::Cancel) {
            return false;
        }
        if (answer == QMessageBox::Yes) {
            lock.TakeOver();
        } else {
            lock.Release();
            leftBehind = true;
        }
    }
    const bool readOnly = lock.GetState() == PortfolioLock::State::kHeldByOther || leftBehind;
    if (lock.GetState() == PortfolioLock::State::kHeldByOther) {
        const auto answer = QMessageBox::warning(
            this, ProductName(),
            HeldByText(path, lock) + QStringLiteral("\n\nOpen it read-only? Changes can then "
                                                    "be saved only under another name."),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            return false;
        }
    }
    m_lock.Release();
    m_lock = std::move(lock);
    m_readOnly = readOnly;
    m_document.ClearContents();
    const StorageOutcome outcome = m_storage.Load(m_document, path.toStdString());
    if (!outcome.Ok()) {
        // What was read is no portfolio to keep; the user is left with an empty one.
        m_lock.Release();
        m_readOnly = false;
        m_document.NewDocument();
        m_recentFiles.Remove(path);
        AfterDocumentChanged();
        QMessageBox::warning(this, ProductName(), QString::fromStdString(outcome.error));
        return false;
    }
    m_document.SetPathName(QFileInfo(path).absoluteFilePath().toStdString());
    m_document.SetModified(false);
    m_document.SetLastUpdateTime(0);
    m_fileStamp = outcome.stamp;
    m_recentFiles.Add(path);
    SayPriceHistoryProblems(m_prices.Open(m_document.PathName()));
    if (!outcome.warning.empty()) {
        // Saved back, the file would lose what could not be read.
        m_document.SetIncomplete(true);
        m_readOnly = true;
    }
    AfterDocumentChanged();
    if (!outcome.warning.empty()) {
        QMessageBox::warning(this, ProductName(),
                             QString::fromStdString(outcome.warning) + QStringLiteral("\n\n") +
                                 KeptAsItIsText(QString::fromStdString(m_document.PathName())));
    }
    return true;
}

StorageOutcome CMainFrame::RestoreRecoveryCopy(const QString& copyPath,
                                               const QString& originalPath) {
    m_lock.Release();
    m_readOnly = false;
    m_document.ClearContents();
    StorageOutcome outcome = m_storage.Load(m_document, copyPath.toStdString());
    if (!outcome.Ok()) {
        m_document.NewDocument();
        AfterDocumentChanged();
        return outcome;
    }
    m_fileStamp = {};
    if (!originalPath.isEmpty()) {
        m_lock = PortfolioLock(AbsolutePath(originalPath));
        // The copy's own program left the lock when it ended; a lock of another host may
        // still be meant.
        if (m_lock.GetState() == PortfolioLock::State::kStale &&
            m_lock.GetStaleness() != PortfolioLock::Staleness::kForeignExpired) {
            m_lock.TakeOver();
        }
        m_readOnly = m_lock.GetState() == PortfolioLock::State::kHeldByOther ||
                     m_lock.GetState() == PortfolioLock::State::kStale;
        // The changes were made to the file as it is now, as far as anyone can tell.
        m_fileStamp = ReadFileStamp(AbsolutePath(originalPath));
    }
    m_document.SetPathName(originalPath.isEmpty() ? std::string() : AbsolutePath(originalPath));
    if (originalPath.isEmpty()) {
        m_prices.Clear();
    } else {
        SayPriceHistoryProblems(m_prices.Open(m_document.PathName()));
    }
    m_document.SetModified(true);
    m_document.SetLastUpdateTime(0);
    AfterDocumentChanged();
    return outcome;
}

bool CMainFrame::SavePortfolio(const QString& path) {
    const std::string original = m_document.PathName();
    const auto isOriginal = [&original](const QString& file) {
        return !original.empty() && SameFile(AbsolutePath(file), original);
    };
    QString target = path;
    // A file another program has open, or one read only in part, is not written over: it
    // takes another name.
    if (m_readOnly && !target.isEmpty() && isOriginal(target)) {
        target.clear();
    }
    if (target.isEmpty()) {
        target = AskFileName(true);
        if (target.isEmpty()) {
            return false;
        }
    }
    if (m_readOnly && isOriginal(target)) {
        QMessageBox::warning(this, ProductName(),
                             KeptAsItIsText(QString::fromStdString(original)) +
                                 QStringLiteral(" Save the portfolio under another name."));
        return false;
    }
    if (isOriginal(target) && !FileUnchanged(original, m_fileStamp)) {
        switch (AskAboutOutsideChange(target)) {
            case OutsideChangeChoice::kSaveAs:
                return SavePortfolio({});
            case OutsideChangeChoice::kReload:
                m_document.SetModified(false);
                OpenPortfolio(QString::fromStdString(original));
                return false;
            case OutsideChangeChoice::kCancel:
                return false;
            case OutsideChangeChoice::kOverwrite:
                break;
        }
    }
    PortfolioLock lock = LockFor(AbsolutePath(target));
    const auto keepOwnLock = [&] {
        if (lock.IsHeld() && isOriginal(target)) {
            m_lock = std::move(lock);
        }
    };
    if (lock.GetState() == PortfolioLock::State::kStale &&
        (AskTakeOver(target, lock, QStringLiteral("No saves nothing.")) != QMessageBox::Yes ||
         !lock.TakeOver())) {
        return false;
    }
    if (lock.GetState() == PortfolioLock::State::kHeldByOther) {
        QMessageBox::warning(
            this, ProductName(),
            HeldByText(target, lock) + QStringLiteral(" Save the portfolio under another name."));
        return false;
    }
    const StorageOutcome outcome = m_storage.Save(m_document, target.toStdString());
    if (!outcome.Ok()) {
        keepOwnLock();
        QMessageBox::warning(this, ProductName(), QString::fromStdString(outcome.error));
        return false;
    }
    m_lock.Release();
    m_lock = std::move(lock);
    m_readOnly = false;
    m_fileStamp = outcome.stamp;
    m_document.SetIncomplete(false);
    m_document.SetPathName(QFileInfo(target).absoluteFilePath().toStdString());
    m_document.SetModified(false);
    m_document.SetLastUpdateTime(0);
    m_recentFiles.Add(target);
    SayPriceHistoryProblems({m_prices.SavedAs(m_document.PathName())});
    UpdateTitle();
    RebuildRecentFiles();
    Repaint();
    return true;
}

QMessageBox::StandardButton CMainFrame::AskTakeOver(const QString& path, const PortfolioLock& lock,
                                                    const QString& whatNoDoes) {
    return QMessageBox::warning(
        this, ProductName(),
        StaleText(path, lock) +
            QStringLiteral("\n\nTake the file over? Do so only if no other Velmora has it "
                           "open. ") +
            whatNoDoes,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No);
}

CMainFrame::OutsideChangeChoice CMainFrame::AskAboutOutsideChange(const QString& path) {
    QMessageBox box(QMessageBox::Warning, ProductName(),
                    QStringLiteral("\"%1\" was changed by another program after Velmora read "
                                   "it. Saving over it would lose that program's changes.")
                        .arg(path),
                    QMessageBox::NoButton, this);
    QPushButton* saveAs = box.addButton(QStringLiteral("Save &As..."), QMessageBox::AcceptRole);
    QPushButton* overwrite =
        box.addButton(QStringLiteral("&Overwrite"), QMessageBox::DestructiveRole);
    QPushButton* reload = box.addButton(QStringLiteral("&Reload"), QMessageBox::ResetRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(saveAs);
    box.setInformativeText(
        QStringLiteral("Save As keeps both; Reload drops the changes made here."));
    box.exec();
    if (box.clickedButton() == saveAs) {
        return OutsideChangeChoice::kSaveAs;
    }
    if (box.clickedButton() == overwrite) {
        return OutsideChangeChoice::kOverwrite;
    }
    if (box.clickedButton() == reload) {
        return OutsideChangeChoice::kReload;
    }
    return OutsideChangeChoice::kCancel;
}

QString CMainFrame::AskFileName(bool forSave) {
    QFileDialog dialog(this, forSave ? QStringLiteral("Save As") : QStringLiteral("Open"));
    dialog.setNameFilter(kFilter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (forSave) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(QStringLiteral("kx7"));
        if (!m_document.PathName().empty()) {
            // A portfolio read only in part is offered a new name beside its file.
            dialog.selectFile(QString::fromStdString(
                m_document.IsIncomplete() ? UnusedSiblingPath(m_document.PathName(), "recovered")
                                          : m_document.PathName()));
        }
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().first();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!SaveModified()) {
        event->ignore();
        return;
    }
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), IsPortfolioFile)) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (IsPortfolioFile(url)) {
            event->acceptProposedAction();
            activateWindow();
            OpenPortfolio(url.toLocalFile());
            return;
        }
    }
}

void CMainFrame::PrintTo(QPrinter& printer) {
    m_view->Print(printer, QString::fromStdString(m_document.Title()));
}

// --- File ----------------------------------------------------------------------------

void CMainFrame::OnFileNew() {
    NewPortfolio();
}

void CMainFrame::OnFileOpen() {
    const QString path = AskFileName(false);
    if (!path.isEmpty()) {
        OpenPortfolio(path);
    }
}

void CMainFrame::OnFileSave() {
    SavePortfolio(QString::fromStdString(m_document.PathName()));
}

void CMainFrame::OnFileSaveAs() {
    SavePortfolio({});
}

void CMainFrame::OnFileImport() {
    QFileDialog chooser(this, QStringLiteral("Import Transactions"));
    chooser.setNameFilters(
        {QStringLiteral("Transactions (*.csv *.qif)"), QStringLiteral("All Files (*)")});
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    chooser.setFileMode(QFileDialog::ExistingFile);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) {
        return;
    }
    CImportDlg preview(m_document, chooser.selectedFiles().first(), this);
    if (preview.exec() != QDialog::Accepted) {
        return;
    }
    const int made = ApplyImport(m_document, preview.Plan(), preview.Matching());
    statusBar()->showMessage(QStringLiteral("Imported %1 records. Undo takes them back.").arg(made),
                             kStatusMessageMs);
}

void CMainFrame::SaveExport(const QString& title, const std::string& text) {
    QFileDialog chooser(this, title);
    chooser.setNameFilter(QStringLiteral("CSV Files (*.csv)"));
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setDefaultSuffix(QStringLiteral("csv"));
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) {
        return;
    }
    const std::string error = WriteFileSafely(
        chooser.selectedFiles().first().toStdString(),
        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), Backup::kNone);
    if (!error.empty()) {
        QMessageBox::warning(this, ProductName(), QString::fromStdString(error));
    }
}

void CMainFrame::OnFileExportTransactions() {
    SaveExport(QStringLiteral("Export Transactions"), TransactionsCsv(m_document));
}

void CMainFrame::OnFileExportHoldings() {
    // Today's holdings, at the portfolio's prices.
    SaveExport(QStringLiteral("Export Holdings"),
               HoldingsCsv(m_document, Clock::Now(),
                           [this](std::string_view symbol) -> std::optional<float> {
                               const float price = m_document.MarketPrice(symbol);
                               return price > 0.0f ? std::optional<float>(price) : std::nullopt;
                           }));
}

void CMainFrame::OnFileExportGains() {
    bool chosen = false;
    const int year = QInputDialog::getInt(this, QStringLiteral("Export Realized Gains"),
                                          QStringLiteral("Tax year:"),
                                          ToLocalDate(Clock::Now()).year, 1970, 2106, 1, &chosen);
    if (chosen) {
        SaveExport(QStringLiteral("Export Realized Gains"), RealizedGainsCsv(m_document, year));
    }
}

void CMainFrame::OnFilePrint() {
    QPrintDialog dialog(&m_printer, this);
    if (dialog.exec() == QDialog::Accepted) {
        PrintTo(m_printer);
    }
}

void CMainFrame::OnFilePrintPreview() {
    QPrintPreviewDialog preview(&m_printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { PrintTo(*printer); });
    preview.exec();
}

void CMainFrame::OnFilePrintSetup() {
    QPageSetupDialog dialog(&m_printer, this);
    dialog.exec();
}

void CMainFrame::OnOpenRecentFile(int index) {
    const QStringList& entries = m_recentFiles.Entries();
    if (index < 0 || index >= entries.size()) {
        return;
    }
    OpenPortfolio(entries[index]);
}

void CMainFrame::OnAppExit() {
    close();
}

// --- Commands that open the forms: the view and the status bar follow the document's
// announcements, so none of them repaints.

void CMainFrame::OnEditAlerts() {
    FormCommands::EditAlerts(this, m_document);
}

void CMainFrame::OnStockSplit() {
    FormCommands::StockSplit(this, m_document);
}

void CMainFrame::OnSymbolChange() {
    FormCommands::SymbolChange(this, m_document);
}

void CMainFrame::OnPortfolioInformation() {
    FormCommands::PortfolioInformation(this, m_document);
}

void CMainFrame::OnEditDatabase() {
    FormCommands::EditDatabase(this, m_document);
}

void CMainFrame::OnEditUndo() {
    if (!m_document.CanUndo()) {
        return;
    }
    const QString label = QString::fromStdString(m_document.UndoLabel());
    m_document.Undo();
    statusBar()->showMessage(QStringLiteral("Undone: ") + label, kStatusMessageMs);
}

void CMainFrame::OnEditRedo() {
    if (!m_document.CanRedo()) {
        return;
    }
    const QString label = QString::fromStdString(m_document.RedoLabel());
    m_document.Redo();
    statusBar()->showMessage(QStringLiteral("Redone: ") + label, kStatusMessageMs);
}

void CMainFrame::OnEditPreferences() {
    if (FormCommands::EditPreferences(this, m_settings)) {
        Repaint();
    }
}

void CMainFrame::OnPurchaseStock() {
    FormCommands::PurchaseStock(this, m_document);
}

void CMainFrame::OnReceiveGrant() {
    FormCommands::ReceiveGrant(this, m_document);
}

void CMainFrame::OnSellStock() {
    FormCommands::SellStock(this, m_document);
}

void CMainFrame::OnRecordDividend() {
    FormCommands::RecordDividend(this, m_document);
}

void CMainFrame::OnExpireOptions() {
    FormCommands::ExpireOptions(this, m_document);
}

// --- Reports: they only read the portfolio, so none repaints -------------------------

void CMainFrame::OnReportOverview() {
    COverviewDlg dialog(m_document, m_document.SymbolNames(), this);
    dialog.exec();
}

void CMainFrame::OnReportSummary() {
    OnSymbolSummary({});
}

void CMainFrame::OnReportTaxes() {
    CTaxDlg dialog(m_document, this);
    dialog.exec();
}

void CMainFrame::OnReportGains() {
    CGainsDlg dialog(m_document, this);
    dialog.exec();
}

void CMainFrame::OnReportAvailable() {
    CAvailableDlg dialog(m_document, m_document.SymbolNames(SymbolFilter::kHeldLots), this);
    dialog.exec();
}

void CMainFrame::OnReportDetailed() {
    CDetailsDlg dialog(m_document, this);
    dialog.exec();
}

void CMainFrame::OnReportHistory() {
    CHistoryDlg dialog(m_document, this);
    dialog.exec();
}

// The view redraws itself once the summary of its clicked row has closed.
void CMainFrame::OnSymbolSummary(const QString& symbol) {
    CSummaryDlg dialog(m_document, m_document.SymbolNames(), symbol, this);
    dialog.exec();
}

void CMainFrame::OnManualUpdate() {
    // Each price typed in is kept in the history as well, as the close so far of today.
    const std::vector<ChainSymbol> before = ChainSymbols(m_document);
    FormCommands::ManualUpdate(this, m_document);
    std::vector<QuoteResult> typed;
    for (const ChainSymbol& symbol : before) {
        const float now = m_document.MarketPrice(symbol.held);
        if (now != symbol.last) {
            typed.push_back({.symbol = StripOptionSuffix(symbol.held),
                             .outcome = QuoteOutcome::kFound,
                             .fullQuote = false,
                             .price = now,
                             .direction = 0,
                             .change = 0.0f,
                             .extra = 0.0f,
                             .reason = {}});
        }
    }
    KeepPrices(typed);
}

void CMainFrame::OnWebUpdate() {
    // The hosts are read afresh, so a changed "QuoteHosts" section counts at once.
    CQuoteUpdateDlg dialog(m_document, ChosenQuoteSources(m_settings),
                           LoadQuoteHosts(SettingsFilePath()), &m_pacer, this);
    dialog.SetPriceHistory(&m_prices);
    dialog.exec();
}

void CMainFrame::KeepPrices(const std::vector<QuoteResult>& results) {
    SayPriceHistoryProblems({m_prices.Record(results, Clock::Now())});
}

void CMainFrame::ShowUpdateStatus(const QString& text) {
    statusBar()->showMessage(text);
}

void CMainFrame::SayPriceHistoryProblems(const std::vector<std::string>& problems) {
    for (const std::string& problem : problems) {
        if (!problem.empty()) {
            statusBar()->showMessage(
                QStringLiteral("Price history: ") + QString::fromStdString(problem),
                kStatusMessageMs);
            return;
        }
    }
}

// --- Reports: the two display toggles ----------------------------------------------

void CMainFrame::OnShowValue() {
    // The menu's check mark is the source of truth; the setting follows it.
    m_settings.valueShown = CommandAction(kShowValue)->isChecked();
    Repaint();
}

void CMainFrame::OnShowChart() {
    m_settings.chartShown = CommandAction(kShowChart)->isChecked();
    Repaint();
}

void CMainFrame::OnAppAbout() {
    CAboutDlg about(this);
    about.exec();
}

#include "desktop/app/Kx7App.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QSettings>
#include <cstdio>

#include "core/figures/UpdateWorkerSwitch.h"
#include "core/model/DocumentStorage.h"
#include "core/model/Kx7Doc.h"
#include "core/settings/Version.h"
#include "desktop/app/InstanceChannel.h"
#include "desktop/app/RecoveryGuard.h"
#include "desktop/app/SettingsFile.h"
#include "desktop/mainwindow/MainFrm.h"
#include "desktop/quotes/UpdateWorker.h"

// The worker learns what it serves when it first starts, from the first paint on: by
// then the document and the main window exist.
CKx7App::CKx7App()
    : CKx7App(std::make_unique<Kx7FileStorage>(), std::make_unique<CUpdateWorker>([this] {
                  CUpdateWorker::Target target{*m_document, m_settings,
                                               LoadQuoteHosts(m_settingsPath),
                                               [this] { m_mainFrame->Repaint(); }};
                  target.pricesStored = [this](const std::vector<QuoteResult>& results) {
                      m_mainFrame->KeepPrices(results);
                  };
                  target.status = [this](const std::string& text) {
                      m_mainFrame->ShowUpdateStatus(QString::fromStdString(text));
                  };
                  target.pacer = &m_mainFrame->Pacer();
                  return target;
              })) {}

CKx7App::CKx7App(std::unique_ptr<DocumentStorage> storage,
                 std::unique_ptr<UpdateWorkerControl> worker)
    : m_storage(std::move(storage)), m_worker(std::move(worker)) {}

CKx7App::~CKx7App() = default;

CKx7App::CommandLine CKx7App::ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Keeps a stock portfolio."));
    const QCommandLineOption print(QStringList{QStringLiteral("p"), QStringLiteral("print")},
                                   QStringLiteral("Print FILE to the default printer and end."));
    parser.addOption(print);
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("The portfolio (.kx7) to open."));
    CommandLine line;
    if (!parser.parse(arguments)) {
        line.error = parser.errorText();
        return line;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        line.error = QStringLiteral("Only one portfolio can be opened at a time.");
        return line;
    }
    line.file = files.value(0);
    line.print = parser.isSet(print);
    if (line.print && line.file.isEmpty()) {
        line.error = QStringLiteral("--print needs the portfolio to print.");
    }
    return line;
}

std::optional<CKx7App::Answer> CKx7App::AnswerWithoutWindow(const QStringList& arguments) {
    const QString version = QString::fromLatin1(kProductName) + QLatin1Char(' ') +
                            QString::fromStdString(VersionText()) + QLatin1Char('\n');
    for (const QString& argument : arguments.mid(1)) {
        if (argument == QLatin1String("--")) {
            break;
        }
        if (argument == QLatin1String("--version") || argument == QLatin1String("-v")) {
            return Answer{version, 0};
        }
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            return Answer{QStringLiteral("Usage: velmora [OPTION] [FILE]\n"
                                         "Keeps a stock portfolio; opens FILE (.kx7) when given.\n"
                                         "\n"
                                         "  -p, --print FILE  print the portfolio and end\n"
                                         "  -h, --help        show this text and end\n"
                                         "  -v, --version     show the version and end\n"
                                         "\n"
                                         "A file given while Velmora is running opens in the "
                                         "running program.\n"),
                          0};
        }
    }
    return std::nullopt;
}

bool CKx7App::InitInstance(const QStringList& arguments) {
    const CommandLine line = ParseCommandLine(arguments);
    if (!line.error.isEmpty()) {
        // Said where it was typed: a message box would wait for a click no one expects.
        std::fprintf(stderr, "velmora: %s\n", qPrintable(line.error));
        return false;
    }

    const QString channelName = CInstanceChannel::DefaultName(SettingsFilePath());
    if (!line.print && !line.file.isEmpty() &&
        CInstanceChannel::SendToRunning(channelName, line.file)) {
        m_handedOff = true;
        return true;
    }

    m_settingsPath = SettingsFilePath();
    if (const std::string refusal = SettingsFileRefusal(m_settingsPath); !refusal.empty()) {
        QMessageBox::warning(nullptr, QString::fromLatin1(kProductName),
                             QString::fromStdString(refusal) +
                                 QStringLiteral("\n\nVelmora starts with the default settings "
                                                "and leaves the file as it is."));
    }
    m_recentFiles.Load(m_settingsPath);
    std::vector<std::string> sourceProblems;
    m_settings = LoadSettingsFile(m_settingsPath, &sourceProblems);
    if (!sourceProblems.empty()) {
        QString text = QStringLiteral("Some quote sources could not be read and are left out:\n");
        for (const std::string& problem : sourceProblems) {
            text += QStringLiteral("\n") + QString::fromStdString(problem);
        }
        QMessageBox::warning(nullptr, QString::fromLatin1(kProductName), text);
    }
    m_document = std::make_unique<CKx7Doc>(m_settings);
    m_document->NewDocument();
    m_mainFrame =
        std::make_unique<CMainFrame>(*m_document, m_settings, *m_storage, m_recentFiles, *m_worker);

    if (line.print) {
        m_printOnly = true;
        m_printExitCode = m_mainFrame->OpenPortfolio(line.file) ? PrintFile() : 1;
        return true;
    }

    m_recovery = std::make_unique<CRecoveryGuard>(
        *m_document, RecoveryStore(CRecoveryGuard::DefaultFolder().toStdString()));
    // A recovered portfolio is what the user asked for; the file named on the command line
    // can be opened after it is saved. A file that cannot be opened has given its message;
    // the user then gets an empty portfolio rather than no program.
    if (!OfferRecovery() && !line.file.isEmpty()) {
        m_mainFrame->OpenPortfolio(line.file);
    }
    RestoreWindowPlacement();
    m_mainFrame->show();

    m_channel = std::make_unique<CInstanceChannel>();
    QObject::connect(m_channel.get(), &CInstanceChannel::OpenRequested, m_mainFrame.get(),
                     [this](const QString& path) {
                         m_mainFrame->OpenPortfolio(path);
                         m_mainFrame->raise();
                         m_mainFrame->activateWindow();
                     });
    if (!m_channel->Listen(channelName)) {
        m_channel.reset();  // the program works on; only the hand-off is missing
    }
    return true;
}

bool CKx7App::OfferRecovery() {
    for (const RecoveryStore::Orphan& orphan : m_recovery->Store().FindOrphans()) {
        const QString original = QString::fromStdString(orphan.originalPath);
        const QString name = original.isEmpty() ? QStringLiteral("Untitled") : original;
        const auto answer = QMessageBox::question(
            nullptr, QString::fromLatin1(kProductName),
            QStringLiteral("Velmora ended without saving. Recover the unsaved changes of "
                           "\"%1\"?")
                .arg(name),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        if (answer != QMessageBox::Yes) {
            RecoveryStore::Discard(orphan);
            continue;
        }
        const QString copy = QString::fromStdString(orphan.copyPath);
        const StorageOutcome outcome = m_mainFrame->RestoreRecoveryCopy(copy, original);
        if (!outcome.Ok()) {
            const std::string kept = RecoveryStore::SetAside(orphan);
            QMessageBox::warning(
                nullptr, QString::fromLatin1(kProductName),
                QStringLiteral("The unsaved changes of \"%1\" could not be read: %2\n\nThe "
                               "recovery copy was kept as \"%3\".")
                    .arg(name, QString::fromStdString(outcome.error),
                         QString::fromStdString(kept.empty() ? orphan.copyPath : kept)));
            continue;
        }
        // The old copy goes only once this program's own copy holds the changes.
        if (m_recovery->Flush()) {
            RecoveryStore::Discard(orphan);
        }
        return true;
    }
    return false;
}

// The window's size and place are kept beside the settings, in a section of their own.
void CKx7App::RestoreWindowPlacement() {
    if (!SettingsFileRefusal(m_settingsPath).empty()) {
        return;
    }
    const QSettings file(m_settingsPath, QSettings::IniFormat);
    const QByteArray geometry =
        QByteArray::fromBase64(file.value(QStringLiteral("Window/Geometry")).toByteArray());
    if (geometry.isEmpty() || !m_mainFrame->restoreGeometry(geometry)) {
        return;
    }
    // A window saved on a screen that is gone comes back on the primary screen.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen != nullptr &&
        QGuiApplication::screenAt(m_mainFrame->geometry().center()) == nullptr) {
        m_mainFrame->move(screen->availableGeometry().topLeft());
    }
}

void CKx7App::SaveWindowPlacement() const {
    if (!SettingsFileRefusal(m_settingsPath).empty()) {
        return;
    }
    QSettings file(m_settingsPath, QSettings::IniFormat);
    file.setValue(QStringLiteral("Window/Geometry"),
                  QString::fromLatin1(m_mainFrame->saveGeometry().toBase64()));
}

int CKx7App::PrintFile() {
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (printerInfo.isNull()) {
        QMessageBox::warning(nullptr, QString::fromLatin1(kProductName),
                             QStringLiteral("No printer is available."));
        return 1;
    }
    QPrinter printer(printerInfo, QPrinter::HighResolution);
    m_mainFrame->PrintTo(printer);
    return 0;
}

int CKx7App::ExitInstance(int exitCode) {
    if (m_handedOff) {
        return exitCode;
    }
    SaveSettingsFile(m_settingsPath, m_settings);
    if (m_mainFrame != nullptr && !m_printOnly) {
        SaveWindowPlacement();
    }
    if (m_recovery != nullptr) {
        m_recovery->Finish();
    }
    m_recentFiles.Save(m_settingsPath);
    return exitCode;
}

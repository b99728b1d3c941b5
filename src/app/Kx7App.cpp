#include "app/Kx7App.h"

#include <QCommandLineParser>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <cstdio>

#include "app/SettingsFile.h"
#include "app/Version.h"
#include "mainwindow/DocumentStorage.h"
#include "mainwindow/MainFrm.h"
#include "mainwindow/UpdateWorkerSwitch.h"
#include "model/Kx7Doc.h"

CKx7App::CKx7App()
    : CKx7App(std::make_unique<UnavailableStorage>(), std::make_unique<NoUpdateWorker>()) {}

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

bool CKx7App::InitInstance(const QStringList& arguments) {
    const CommandLine line = ParseCommandLine(arguments);
    if (!line.error.isEmpty()) {
        // Said where it was typed: a message box would wait for a click no one expects.
        std::fprintf(stderr, "velmora: %s\n", qPrintable(line.error));
        return false;
    }

    m_settingsPath = SettingsFilePath();
    m_recentFiles.Load(m_settingsPath);
    m_settings = LoadSettingsFile(m_settingsPath);
    m_document = std::make_unique<CKx7Doc>(m_settings);
    m_document->NewDocument();
    m_mainFrame =
        std::make_unique<CMainFrame>(*m_document, m_settings, *m_storage, m_recentFiles, *m_worker);

    // A file that cannot be opened has given its message; the user then gets an empty
    // portfolio rather than no program.
    const bool opened = !line.file.isEmpty() && m_mainFrame->OpenPortfolio(line.file);
    if (line.print) {
        m_printOnly = true;
        m_printExitCode = opened ? PrintFile() : 1;
        return true;
    }
    m_mainFrame->show();
    return true;
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
    SaveSettingsFile(m_settingsPath, m_settings);
    m_recentFiles.Save(m_settingsPath);
    return exitCode;
}

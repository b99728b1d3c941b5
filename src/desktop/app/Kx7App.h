#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "core/settings/Settings.h"
#include "desktop/app/RecentFileList.h"

class CInstanceChannel;
class CKx7Doc;
class CRecoveryGuard;
class CMainFrame;
class DocumentStorage;
class UpdateWorkerControl;

// Start-up and shut-down: reads the settings, makes the document and the main window,
// carries out the command line, and writes the settings back at exit.
class CKx7App final {
public:
    // What the command line asks for.
    struct CommandLine {
        QString file;        // empty: a new portfolio
        bool print = false;  // print the file and end
        QString error;       // not empty: the command line was not understood
    };

    CKx7App();
    // The file code and the update worker, when the program has them; the defaults
    // stand in otherwise.
    CKx7App(std::unique_ptr<DocumentStorage> storage, std::unique_ptr<UpdateWorkerControl> worker);
    ~CKx7App();
    CKx7App(const CKx7App&) = delete;
    CKx7App& operator=(const CKx7App&) = delete;

    static CommandLine ParseCommandLine(const QStringList& arguments);

    // "--help" and "--version" are answered before any window system is needed: the text
    // to print and the exit code, or nothing when the program should start.
    struct Answer {
        QString text;
        int exitCode = 0;
    };
    static std::optional<Answer> AnswerWithoutWindow(const QStringList& arguments);

    // False when the program cannot start. With --print, true means the program should
    // end at once with PrintExitCode().
    bool InitInstance(const QStringList& arguments);
    // Writes the settings and the recent files; returns the exit code.
    int ExitInstance(int exitCode);

    // The file was handed to the program already running; this one ends at once and
    // writes nothing.
    bool HandedOff() const { return m_handedOff; }
    bool PrintOnly() const { return m_printOnly; }
    int PrintExitCode() const { return m_printExitCode; }

    Settings& AppSettings() { return m_settings; }
    CKx7Doc& Document() { return *m_document; }
    CMainFrame& MainFrame() { return *m_mainFrame; }
    CRecentFileList& RecentFiles() { return m_recentFiles; }
    const QString& SettingsPath() const { return m_settingsPath; }

private:
    int PrintFile();
    // Offers the copies that programs ended without saving left behind; true when one
    // was opened.
    bool OfferRecovery();
    void RestoreWindowPlacement();
    void SaveWindowPlacement() const;

    Settings m_settings;
    QString m_settingsPath;
    CRecentFileList m_recentFiles;
    std::unique_ptr<DocumentStorage> m_storage;
    std::unique_ptr<UpdateWorkerControl> m_worker;
    std::unique_ptr<CKx7Doc> m_document;
    std::unique_ptr<CMainFrame> m_mainFrame;
    std::unique_ptr<CInstanceChannel> m_channel;
    std::unique_ptr<CRecoveryGuard> m_recovery;
    bool m_handedOff = false;
    bool m_printOnly = false;
    int m_printExitCode = 0;
};

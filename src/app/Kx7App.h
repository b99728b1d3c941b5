#pragma once

#include <QStringList>
#include <memory>

#include "app/Settings.h"

class CKx7Doc;
class CMainFrame;

// Start-up and shut-down: reads the settings, makes the document and the main window,
// carries out the command line, and writes the settings back at exit.
class CKx7App final {
public:
    CKx7App();
    ~CKx7App();
    CKx7App(const CKx7App&) = delete;
    CKx7App& operator=(const CKx7App&) = delete;

    // False when the program cannot start.
    bool InitInstance(const QStringList& arguments);
    // Writes the settings; returns the exit code.
    int ExitInstance(int exitCode);

    Settings& AppSettings() { return m_settings; }
    CKx7Doc& Document() { return *m_document; }
    CMainFrame& MainFrame() { return *m_mainFrame; }

private:
    Settings m_settings;
    QString m_settingsPath;
    std::unique_ptr<CKx7Doc> m_document;
    std::unique_ptr<CMainFrame> m_mainFrame;
};

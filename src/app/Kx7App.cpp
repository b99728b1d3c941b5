#include "app/Kx7App.h"

#include "app/SettingsFile.h"
#include "mainwindow/MainFrm.h"
#include "model/Kx7Doc.h"

CKx7App::CKx7App() = default;

CKx7App::~CKx7App() = default;

bool CKx7App::InitInstance(const QStringList& /*arguments*/) {
    m_settingsPath = SettingsFilePath();
    m_settings = LoadSettingsFile(m_settingsPath);
    m_document = std::make_unique<CKx7Doc>(m_settings);
    m_document->NewDocument();
    m_mainFrame = std::make_unique<CMainFrame>(*m_document);
    m_mainFrame->show();
    return true;
}

int CKx7App::ExitInstance(int exitCode) {
    SaveSettingsFile(m_settingsPath, m_settings);
    return exitCode;
}

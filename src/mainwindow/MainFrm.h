#pragma once

#include <QMainWindow>

class CKx7Doc;

// The main window: menus, status bar and the commands that reach the document.
class CMainFrame final : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CMainFrame)

public:
    explicit CMainFrame(CKx7Doc& document, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // "<document title> - Velmora".
    void UpdateTitle();

private:
    CKx7Doc& m_document;
};

#include "mainwindow/MainFrm.h"

#include "app/Version.h"
#include "model/Kx7Doc.h"

CMainFrame::CMainFrame(CKx7Doc& document, QWidget* parent)
    : QMainWindow(parent), m_document(document) {
    resize(800, 600);
    UpdateTitle();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::UpdateTitle() {
    setWindowTitle(QString::fromStdString(m_document.Title()) + QStringLiteral(" - ") +
                   QString::fromLatin1(kProductName));
}

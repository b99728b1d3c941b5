#include "desktop/reports/DetailsSubDlg.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "desktop/controls/ReportTextView.h"
#include "desktop/reports/ReportUi.h"

CDetailsSubDlg::CDetailsSubDlg(const std::string& text, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Details"));
    ReportTextView* report = MakeReportBox(this);
    report->SetText(text);
    // The sale table's ruler, so every line of the table is in sight.
    report->setMinimumWidth(report->WidthFor(68));

    QDialogButtonBox* buttons = MakeCloseButton(*this, QStringLiteral("Close"));
    AddTextReportCommands(*this, *buttons, windowTitle(), {}, *report);
    auto* layout = new QVBoxLayout(this);
    AddReportWithFind(*layout, *report);
    layout->addWidget(buttons);
    resize(DialogUnits(*this, 298, 234));
}

CDetailsSubDlg::~CDetailsSubDlg() = default;

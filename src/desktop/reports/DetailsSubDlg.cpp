#include "desktop/reports/DetailsSubDlg.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "desktop/reports/ReportUi.h"

CDetailsSubDlg::CDetailsSubDlg(const std::string& text, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Details"));
    QPlainTextEdit* report = MakeReportBox(this, true);
    ShowReportText(*report, text);
    // The sale table's ruler, so no line of the table wraps.
    report->setMinimumWidth(ReportBoxWidth(*report, 68));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(report, 1);
    layout->addWidget(MakeCloseButton(*this, QStringLiteral("Close")));
    resize(DialogUnits(*this, 298, 234));
}

CDetailsSubDlg::~CDetailsSubDlg() = default;

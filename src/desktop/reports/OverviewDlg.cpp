#include "desktop/reports/OverviewDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "core/model/Kx7Doc.h"
#include "core/reports/OverviewReport.h"
#include "desktop/controls/ReportTextView.h"
#include "desktop/reports/ReportUi.h"

COverviewDlg::COverviewDlg(const CKx7Doc& document, std::vector<std::string> symbols,
                           QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Overview"));
    // Byte order, upper case before lower, whatever order the list came in.
    std::sort(symbols.begin(), symbols.end());
    ReportTextView* report = MakeReportBox(this);
    report->SetText(BuildOverviewOfSymbols(document, symbols));
    report->setMinimumWidth(report->WidthFor(static_cast<int>(kOverviewSeparator.size())));

    const QString heading = QStringLiteral("Company/Date       Shares        Price    Available");
    QDialogButtonBox* buttons = MakeCloseButton(*this, QStringLiteral("Close"));
    AddTextReportCommands(*this, *buttons, windowTitle(), {heading}, *report);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeColumnHeading(heading, this));
    AddReportWithFind(*layout, *report);
    layout->addWidget(buttons);
    resize(DialogUnits(*this, 315, 241));
}

COverviewDlg::~COverviewDlg() = default;

#include "desktop/reports/OverviewDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "core/model/Kx7Doc.h"
#include "core/reports/OverviewReport.h"
#include "desktop/reports/ReportUi.h"

COverviewDlg::COverviewDlg(const CKx7Doc& document, std::vector<std::string> symbols,
                           QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Overview"));
    // Byte order, upper case before lower, whatever order the list came in.
    std::sort(symbols.begin(), symbols.end());
    QPlainTextEdit* report = MakeReportBox(this, true);
    ShowReportTextOnce(*report, BuildOverviewOfSymbols(document, symbols));
    report->setMinimumWidth(ReportBoxWidth(*report, static_cast<int>(kOverviewSeparator.size())));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeColumnHeading(
        QStringLiteral("Company/Date       Shares        Price    Available"), this));
    layout->addWidget(report, 1);
    layout->addWidget(MakeCloseButton(*this, QStringLiteral("Close")));
    resize(DialogUnits(*this, 315, 241));
}

COverviewDlg::~COverviewDlg() = default;

#include "desktop/reports/DetailsDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "core/model/Kx7Doc.h"
#include "core/reports/DetailsReport.h"
#include "desktop/controls/ReportTextView.h"
#include "desktop/reports/DetailsSubDlg.h"
#include "desktop/reports/ReportUi.h"

CDetailsDlg::CDetailsDlg(const CKx7Doc& document, QWidget* parent)
    : QDialog(parent), m_document(document), m_list(MakeReportBox(this)) {
    setWindowTitle(QStringLiteral("Detailed Information"));
    m_list->setObjectName(QStringLiteral("list"));
    m_list->SetText(BuildDetailsList(document));

    const QString heading =
        QStringLiteral("Symbol                  Date       P.Price      # Shares");
    QDialogButtonBox* buttons = MakeCloseButton(*this, QStringLiteral("Close"));
    AddTextReportCommands(*this, *buttons, windowTitle(), {heading}, *m_list);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Show Detailed Information"), this));
    layout->addWidget(MakeColumnHeading(heading, this));
    AddReportWithFind(*layout, *m_list);
    layout->addWidget(new QLabel(QStringLiteral("Double Click on a record to see details."), this));
    layout->addWidget(buttons);
    resize(DialogUnits(*this, 307, 237));

    connect(m_list, &ReportTextView::LineActivated, this, &CDetailsDlg::ShowDetails);
}

CDetailsDlg::~CDetailsDlg() = default;

void CDetailsDlg::ShowDetails(int position) {
    if (position < 0 || position >= m_list->LineCount()) {
        return;
    }
    const std::optional<std::string> details =
        BuildPurchaseDetails(m_document, static_cast<std::size_t>(position));
    if (!details) {
        return;
    }
    CDetailsSubDlg dialog(*details, this);
    dialog.exec();
}

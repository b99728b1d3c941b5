#include "desktop/reports/AvailableDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "core/model/Kx7Doc.h"
#include "core/reports/AvailableReport.h"
#include "desktop/app/DocumentSignals.h"
#include "desktop/controls/ReportTextView.h"
#include "desktop/reports/ReportUi.h"

CAvailableDlg::CAvailableDlg(CKx7Doc& document, const std::vector<std::string>& symbols,
                             QWidget* parent)
    : QDialog(parent),
      m_document(document),
      m_filterBox(new QComboBox(this)),
      m_report(MakeReportBox(this)) {
    setWindowTitle(QStringLiteral("Available"));
    m_filterBox->setObjectName(QStringLiteral("filterBox"));
    m_filterBox->addItem(QStringLiteral("Show All"));
    for (const std::string& symbol : symbols) {
        m_filterBox->addItem(QString::fromStdString(symbol));
    }
    m_filterBox->setCurrentIndex(-1);
    m_filterBox->setMinimumContentsLength(10);
    m_report->SetText(BuildAvailableReport(m_document));

    auto* filter = new QHBoxLayout;
    filter->addWidget(new QLabel(QStringLiteral("Filter: \nSelect a symbol"), this));
    filter->addWidget(m_filterBox);
    filter->addStretch();

    const QString heading = QStringLiteral("Company   Date    Purchase Price   Shares Left");
    QDialogButtonBox* buttons = MakeCloseButton(*this, QStringLiteral("Close"));
    AddTextReportCommands(*this, *buttons, windowTitle(), {heading}, *m_report);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filter);
    layout->addWidget(MakeColumnHeading(heading, this));
    AddReportWithFind(*layout, *m_report);
    layout->addWidget(buttons);
    resize(DialogUnits(*this, 277, 242));

    connect(m_filterBox, &QComboBox::currentIndexChanged, this, &CAvailableDlg::OnFilterChanged);
    // Records added while the report is open show at once.
    connect(new DocumentSignals(m_document, this), &DocumentSignals::DocumentChanged, this,
            [this] { OnFilterChanged(m_filterBox->currentIndex()); });
}

CAvailableDlg::~CAvailableDlg() = default;

void CAvailableDlg::OnFilterChanged(int index) {
    if (index < 0) {
        return;
    }
    if (index == 0) {
        m_report->SetText(BuildAvailableReport(m_document));
        return;
    }
    m_report->SetText(
        BuildAvailableReportForSymbol(m_document, m_filterBox->itemText(index).toStdString()));
}

#include "desktop/reports/TaxDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/model/Kx7Doc.h"
#include "core/reports/TaxReport.h"
#include "desktop/app/DocumentSignals.h"
#include "desktop/controls/ReportTextView.h"
#include "desktop/reports/ReportUi.h"
#include "desktop/reports/TaxYears.h"

CTaxDlg::CTaxDlg(const CKx7Doc& document, QWidget* parent)
    : QDialog(parent),
      m_document(document),
      m_yearBox(new QComboBox(this)),
      m_groupSalesBox(new QCheckBox(QStringLiteral("Group Sales"), this)),
      m_deductCommissionBox(new QCheckBox(QStringLiteral("Deduct Commission"), this)),
      m_csvBox(new QCheckBox(QStringLiteral("CSV Format"), this)),
      m_report(MakeReportBox(this)),
      m_saveAs(new QPushButton(QStringLiteral("Save As..."), this)),
      m_exportCsv(new QPushButton(QStringLiteral("Export CSV..."), this)) {
    setWindowTitle(QStringLiteral("Tax Report"));
    m_yearBox->setObjectName(QStringLiteral("yearBox"));
    m_groupSalesBox->setObjectName(QStringLiteral("groupSales"));
    m_deductCommissionBox->setObjectName(QStringLiteral("deductCommission"));
    m_csvBox->setObjectName(QStringLiteral("csvFormat"));
    m_saveAs->setObjectName(QStringLiteral("saveAs"));
    m_exportCsv->setObjectName(QStringLiteral("exportCsv"));

    for (const std::string& item : TaxYearItems(document)) {
        m_yearBox->addItem(QString::fromStdString(item));
    }
    m_yearBox->setCurrentIndex(-1);
    m_yearBox->setMinimumContentsLength(8);
    m_groupSalesBox->setChecked(m_groupSales);
    m_deductCommissionBox->setChecked(m_deductCommission);
    m_csvBox->setChecked(m_csv);
    m_saveAs->setEnabled(false);
    m_saveAs->setAutoDefault(false);
    m_exportCsv->setEnabled(false);
    m_exportCsv->setAutoDefault(false);

    QLabel* title = MakeTitle(QStringLiteral("Tax Reporting Information"), this);

    auto* year = new QHBoxLayout;
    year->addWidget(new QLabel(QStringLiteral("Select Year:"), this));
    year->addWidget(m_yearBox);
    year->addStretch();
    auto* choices = new QVBoxLayout;
    choices->addWidget(title);
    choices->addLayout(year);
    auto* options = new QVBoxLayout;
    options->addWidget(m_groupSalesBox);
    options->addWidget(m_deductCommissionBox);
    options->addWidget(m_csvBox);
    auto* top = new QHBoxLayout;
    top->addLayout(choices, 1);
    top->addLayout(options);

    const QString saleHeading = QStringLiteral("Sale Date  # Shares   Company Name");
    const QString purchaseHeading =
        QStringLiteral("Purchase Date         Purchase Cost    Sale Value   Gain/Loss");
    QDialogButtonBox* buttons = MakeCloseButton(*this, QStringLiteral("OK"));
    AddTextReportCommands(*this, *buttons, title->text(), {saleHeading, purchaseHeading}, *m_report,
                          false);
    buttons->addButton(m_saveAs, QDialogButtonBox::ActionRole);
    buttons->addButton(m_exportCsv, QDialogButtonBox::ActionRole);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(MakeColumnHeading(saleHeading, this));
    layout->addWidget(MakeColumnHeading(purchaseHeading, this));
    layout->setSpacing(4);
    AddReportWithFind(*layout, *m_report);
    layout->addWidget(buttons);
    resize(DialogUnits(*this, 362, 250));

    connect(m_yearBox, &QComboBox::currentIndexChanged, this, &CTaxDlg::Rebuild);
    for (QCheckBox* box : {m_groupSalesBox, m_deductCommissionBox, m_csvBox}) {
        connect(box, &QCheckBox::clicked, this, &CTaxDlg::OnOptionClicked);
    }
    connect(m_saveAs, &QPushButton::clicked, this, &CTaxDlg::OnSaveAs);
    connect(m_exportCsv, &QPushButton::clicked, this, &CTaxDlg::OnExportCsv);
    // Records added while the report is open show at once.
    connect(new DocumentSignals(m_document, this), &DocumentSignals::DocumentChanged, this,
            &CTaxDlg::Rebuild);
}

CTaxDlg::~CTaxDlg() = default;

void CTaxDlg::OnOptionClicked() {
    m_groupSales = m_groupSalesBox->isChecked();
    m_deductCommission = m_deductCommissionBox->isChecked();
    m_csv = m_csvBox->isChecked();
    Rebuild();
}

void CTaxDlg::Rebuild() {
    if (m_yearBox->currentIndex() < 0) {
        return;
    }
    m_report->SetText(BuildTaxReport(m_document, m_yearBox->currentText().toStdString(),
                                     m_groupSales, m_deductCommission, m_csv));
    m_textIsCsv = m_csv;
    m_saveAs->setEnabled(true);
    m_exportCsv->setEnabled(true);
}

void CTaxDlg::OnSaveAs() {
    if (m_textIsCsv) {
        SaveTextAs(this, m_report->Text(), QStringLiteral("csv"),
                   QStringLiteral("CSV Files (*.csv)"));
        return;
    }
    SaveTextAs(this, m_report->Text(), QStringLiteral("txt"), QStringLiteral("Text Files (*.txt)"));
}

// The year and options chosen, as a spreadsheet or tax program reads them.
void CTaxDlg::OnExportCsv() {
    SaveTextAs(this,
               BuildTaxCsvExport(m_document, m_yearBox->currentText().toStdString(), m_groupSales,
                                 m_deductCommission),
               QStringLiteral("csv"), QStringLiteral("CSV Files (*.csv)"));
}

const std::string& CTaxDlg::ReportText() const {
    return m_report->Text();
}

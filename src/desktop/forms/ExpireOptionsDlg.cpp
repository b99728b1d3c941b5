#include "desktop/forms/ExpireOptionsDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "core/figures/FormNumbers.h"
#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"
#include "desktop/forms/Beep.h"
#include "desktop/forms/FormDatePicker.h"
#include "desktop/forms/FormFields.h"

CExpireOptionsDlg::CExpireOptionsDlg(CKx7Doc& doc, QWidget* parent) : QDialog(parent), m_doc(doc) {
    setWindowTitle(QStringLiteral("Expire Options"));

    const SymbolGroup symbolGroup = MakeSymbolGroup(true, this);
    m_symbolBox = symbolGroup.symbolBox;
    m_companyEdit = symbolGroup.companyEdit;
    m_availableEdit = symbolGroup.availableEdit;
    AddSortedItems(m_symbolBox, doc.SymbolNames(SymbolFilter::kGrants));
    m_symbolBox->setCurrentIndex(-1);

    m_datePicker = new FormDatePicker(doc.AppSettings().dateMonthFirst, this);
    auto* sharesEdit = new QLineEdit(this);
    sharesEdit->setEnabled(false);
    m_sellAllBox = new QCheckBox(QStringLiteral("Sell All Remaining"), this);
    m_sellAllBox->setChecked(true);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Expire From Date"), m_datePicker);
    fields->addRow(QStringLiteral("Number of shares"), sharesEdit);
    fields->addRow(QString(), m_sellAllBox);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(symbolGroup.group);
    layout->addLayout(fields);
    layout->addWidget(MakeCommentGroup(m_commentEdit, this));
    layout->addWidget(MakeOkCancel(this));
    SetTabOrder(
        {m_symbolBox, m_companyEdit, m_availableEdit, m_datePicker, m_sellAllBox, m_commentEdit});

    connect(m_symbolBox, &QComboBox::activated, this, &CExpireOptionsDlg::OnSymbolChosen);
}

CExpireOptionsDlg::~CExpireOptionsDlg() = default;

void CExpireOptionsDlg::OnSymbolChosen(int index) {
    if (index < 0) {
        return;
    }
    const std::string symbol = m_symbolBox->itemText(index).toStdString();
    std::string company;
    m_doc.CompanyName(symbol, company);
    m_companyEdit->setText(QString::fromStdString(company));
    m_availableEdit->setText(QString::fromStdString(
        FormatNumber("%.4f", static_cast<double>(m_doc.OptionSharesHeld(symbol)))));
}

void CExpireOptionsDlg::accept() {
    m_symbol = ComboText(m_symbolBox);
    const std::optional<std::int64_t> date = ReadDateField(this, m_datePicker);
    if (!date) {
        return;
    }
    m_date = *date;
    m_comment = CommentText(m_commentEdit);
    m_sellAll = m_sellAllBox->isChecked();
    if (m_symbolBox->currentIndex() < 0) {
        BeepBecause(this, QStringLiteral("Choose the symbol whose options expire."));
        return;
    }
    if (!m_sellAll) {
        BeepBecause(this, QStringLiteral("Tick the box to expire every option still held."));
        return;
    }
    QDialog::accept();
}

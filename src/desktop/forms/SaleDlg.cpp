#include "desktop/forms/SaleDlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/figures/FormNumbers.h"
#include "core/model/Kx7Doc.h"
#include "core/model/Sale.h"
#include "core/settings/Settings.h"
#include "desktop/forms/Beep.h"
#include "desktop/forms/FormDatePicker.h"
#include "desktop/forms/FormFields.h"

namespace {

QString Fixed4(float value) {
    return QString::fromStdString(FormatNumber("%.4f", static_cast<double>(value)));
}

}  // namespace

CSaleDlg::CSaleDlg(CKx7Doc& doc, QWidget* parent) : QDialog(parent), m_doc(doc) {
    Build();
    AddSortedItems(m_symbolBox, doc.SymbolNames(SymbolFilter::kHeldLots));
    m_symbolBox->setCurrentIndex(-1);
    for (QLineEdit* number : {m_availableEdit, m_priceEdit, m_sharesEdit, m_commissionEdit}) {
        SetNumberField(number, 0.0f);
    }
    connect(m_symbolBox, &QComboBox::currentIndexChanged, this, &CSaleDlg::OnSymbolChosen);
    connect(m_symbolBox, &QComboBox::activated, this, &CSaleDlg::OnSymbolChosen);
}

CSaleDlg::CSaleDlg(CKx7Doc& doc, const CSale& sale, const std::string& symbol,
                   const std::string& companyName, QWidget* parent)
    : QDialog(parent), m_doc(doc) {
    Build();
    m_symbolBox->addItem(QString::fromStdString(symbol));
    m_symbolBox->setCurrentIndex(0);
    m_symbolBox->setEnabled(false);
    m_companyEdit->setText(QString::fromStdString(companyName));
    m_companyEdit->setEnabled(false);
    const float lotHeld = sale.purchase != nullptr ? sale.purchase->availableShares : 0.0f;
    m_availableEdit->setText(Fixed4(lotHeld + sale.shares));
    m_datePicker->SetTime(sale.date);
    SetNumberField(m_priceEdit, sale.price);
    SetNumberField(m_sharesEdit, sale.shares);
    SetNumberField(m_commissionEdit, sale.commission);
    m_commentEdit->setPlainText(QString::fromStdString(sale.comment));
}

CSaleDlg::~CSaleDlg() = default;

void CSaleDlg::Build() {
    setWindowTitle(QStringLiteral("Sale"));

    const SymbolGroup symbolGroup = MakeSymbolGroup(true, this);
    m_symbolBox = symbolGroup.symbolBox;
    m_companyEdit = symbolGroup.companyEdit;
    m_availableEdit = symbolGroup.availableEdit;

    m_datePicker = new FormDatePicker(m_doc.AppSettings().dateMonthFirst, this);
    m_priceEdit = new QLineEdit(this);
    m_sharesEdit = new QLineEdit(this);
    m_commissionEdit = new QLineEdit(this);
    auto* saleFields = new QFormLayout;
    saleFields->addRow(QStringLiteral("Sale Date"), m_datePicker);
    saleFields->addRow(QStringLiteral("Sale Price"), m_priceEdit);
    saleFields->addRow(QStringLiteral("Number of shares"), m_sharesEdit);
    saleFields->addRow(QStringLiteral("Commission"), m_commissionEdit);

    auto* whichGroup = new QGroupBox(QStringLiteral("Sell Which"), this);
    m_fifo = new QRadioButton(QStringLiteral("FIFO"), whichGroup);
    m_lifo = new QRadioButton(QStringLiteral("LIFO"), whichGroup);
    m_custom = new QRadioButton(QStringLiteral("Custom"), whichGroup);
    auto* whichLayout = new QVBoxLayout(whichGroup);
    auto* methods = new QButtonGroup(this);
    for (QRadioButton* button : {m_fifo, m_lifo, m_custom}) {
        whichLayout->addWidget(button);
        methods->addButton(button);
    }
    m_fifo->setChecked(true);

    auto* middle = new QHBoxLayout;
    middle->addLayout(saleFields, 1);
    middle->addWidget(whichGroup);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(symbolGroup.group);
    layout->addLayout(middle);
    layout->addWidget(MakeCommentGroup(m_commentEdit, this));
    layout->addWidget(MakeOkCancel(this));
    SetTabOrder({m_symbolBox, m_companyEdit, m_availableEdit, m_datePicker, m_priceEdit,
                 m_sharesEdit, m_commissionEdit, m_fifo, m_lifo, m_custom, m_commentEdit});
}

void CSaleDlg::OnSymbolChosen(int index) {
    if (index < 0) {
        return;
    }
    const std::string symbol = m_symbolBox->itemText(index).toStdString();
    std::string company;
    m_doc.CompanyName(symbol, company);
    m_companyEdit->setText(QString::fromStdString(company));
    m_availableEdit->setText(Fixed4(m_doc.ExercisableShares(symbol)));
}

bool CSaleDlg::ReadBack() {
    const std::optional<std::int64_t> date =
        ReadDateField(this, m_datePicker, QStringLiteral("Sale Date"));
    if (!date) {
        return false;
    }
    // The check is against the count as shown, to four decimals.
    const std::optional<float> available = ReadNumberField(this, m_availableEdit);
    if (!available) {
        return false;
    }
    const std::optional<float> price =
        ReadNumberWithin(this, m_priceEdit, QStringLiteral("Sale Price"));
    if (!price) {
        return false;
    }
    const std::optional<float> shares =
        ReadNumberWithin(this, m_sharesEdit, QStringLiteral("Number of shares"));
    if (!shares) {
        return false;
    }
    const std::optional<float> commission =
        ReadNumberWithin(this, m_commissionEdit, QStringLiteral("Commission"));
    if (!commission) {
        return false;
    }
    m_available = *available;
    m_price = *price;
    m_shares = *shares;
    m_commission = *commission;
    m_symbol = ComboText(m_symbolBox);
    m_date = *date;
    m_comment = CommentText(m_commentEdit);
    m_method = m_custom->isChecked() ? SaleMethod::kCustom
               : m_lifo->isChecked() ? SaleMethod::kLifo
                                     : SaleMethod::kFifo;
    return true;
}

QString CSaleDlg::Refusal() const {
    if (m_symbol.empty()) {
        return QStringLiteral("Choose the symbol to sell.");
    }
    if (m_shares == 0.0f) {
        return QStringLiteral("Enter the number of shares sold.");
    }
    if (m_price == 0.0f) {
        return QStringLiteral("Enter the sale price.");
    }
    if (m_shares > m_available) {
        return QStringLiteral("Only %1 shares are available to sell.")
            .arg(QString::fromStdString(FormatFormNumber(m_available)));
    }
    return {};
}

void CSaleDlg::accept() {
    if (!ReadBack()) {
        return;
    }
    if (const QString refusal = Refusal(); !refusal.isEmpty()) {
        BeepBecause(this, refusal);
        return;
    }
    QDialog::accept();
}

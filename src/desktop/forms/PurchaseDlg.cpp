#include "desktop/forms/PurchaseDlg.h"

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

namespace {

// The one purchase type that may have no price: a type the person types in. The list
// entry "Dividend Reinvestment" is not it.
constexpr const char* kFreeOfPrice = "Dividend Reinvest";

const QStringList kPurchaseTypes{QStringLiteral("Direct Purchase"), QStringLiteral("Option"),
                                 QStringLiteral("Dividend Reinvestment"),
                                 QStringLiteral("Payroll Ded Investment"), QStringLiteral("Other")};

}  // namespace

CPurchaseDlg::CPurchaseDlg(const CKx7Doc& doc, const std::vector<std::string>& allSymbols,
                           const CPurchase* editing, QWidget* parent)
    : QDialog(parent), m_doc(doc) {
    setWindowTitle(QStringLiteral("Purchase"));

    m_symbolBox = new QComboBox(this);
    m_symbolBox->setEditable(true);
    m_symbolBox->setInsertPolicy(QComboBox::NoInsert);
    m_symbolBox->setCompleter(nullptr);  // a new symbol must not turn into a listed one
    m_companyEdit = new QLineEdit(this);
    m_datePicker = new FormDatePicker(doc.AppSettings().dateMonthFirst, this);
    m_sharesEdit = new QLineEdit(this);
    m_priceEdit = new QLineEdit(this);
    m_typeBox = new QComboBox(this);
    m_typeBox->setEditable(true);
    m_typeBox->setInsertPolicy(QComboBox::NoInsert);
    m_typeBox->setCompleter(nullptr);
    m_typeBox->addItems(kPurchaseTypes);
    m_commissionEdit = new QLineEdit(this);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Symbol"), m_symbolBox);
    fields->addRow(QStringLiteral("Company Name"), m_companyEdit);
    fields->addRow(QStringLiteral("Date"), m_datePicker);
    fields->addRow(QStringLiteral("Number of shares"), m_sharesEdit);
    fields->addRow(QStringLiteral("Purchase Price"), m_priceEdit);
    fields->addRow(QStringLiteral("Purchase Type"), m_typeBox);
    fields->addRow(QStringLiteral("Commission"), m_commissionEdit);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(MakeCommentGroup(m_commentEdit, this));
    layout->addWidget(MakeOkCancel(this));

    if (editing != nullptr) {
        m_symbolBox->addItem(QString::fromStdString(editing->symbol));
        m_symbolBox->setCurrentIndex(0);
        m_symbolBox->setEnabled(false);
        m_companyEdit->setText(QString::fromStdString(editing->companyName));
        m_companyEdit->setEnabled(false);
        m_datePicker->SetTime(editing->date);
        m_typeBox->setCurrentText(QString::fromStdString(editing->purchaseType));
        m_commentEdit->setPlainText(QString::fromStdString(editing->comment));
        SetNumberField(m_sharesEdit, editing->shares);
        SetNumberField(m_priceEdit, editing->price);
        SetNumberField(m_commissionEdit, editing->commission);
    } else {
        std::vector<std::string> symbols = allSymbols;
        symbols.emplace_back(" ");  // sorts first: the way to a new symbol
        AddSortedItems(m_symbolBox, std::move(symbols));
        m_symbolBox->setCurrentIndex(-1);
        m_typeBox->setCurrentIndex(-1);
        for (QLineEdit* number : {m_sharesEdit, m_priceEdit, m_commissionEdit}) {
            SetNumberField(number, 0.0f);
        }
        connect(m_symbolBox, &QComboBox::currentIndexChanged, this, &CPurchaseDlg::OnSymbolChosen);
        connect(m_symbolBox, &QComboBox::activated, this, &CPurchaseDlg::OnSymbolChosen);
    }
    SetTabOrder({m_symbolBox, m_companyEdit, m_datePicker, m_sharesEdit, m_priceEdit, m_typeBox,
                 m_commissionEdit, m_commentEdit});
}

CPurchaseDlg::~CPurchaseDlg() = default;

void CPurchaseDlg::OnSymbolChosen(int index) {
    ApplySymbolChoice(m_doc, m_symbolBox, index, m_companyEdit);
}

bool CPurchaseDlg::ReadBack() {
    const std::optional<std::int64_t> date =
        ReadDateField(this, m_datePicker, QStringLiteral("Date"));
    if (!date) {
        return false;
    }
    const std::optional<float> shares =
        ReadNumberWithin(this, m_sharesEdit, QStringLiteral("Number of shares"));
    if (!shares) {
        return false;
    }
    const std::optional<float> price =
        ReadNumberWithin(this, m_priceEdit, QStringLiteral("Purchase Price"));
    if (!price) {
        return false;
    }
    const std::optional<float> commission =
        ReadNumberWithin(this, m_commissionEdit, QStringLiteral("Commission"));
    if (!commission) {
        return false;
    }
    m_shares = *shares;
    m_price = *price;
    m_commission = *commission;
    m_symbol = ComboText(m_symbolBox);
    m_companyName = FieldText(m_companyEdit);
    m_date = *date;
    m_purchaseType = m_typeBox->currentText().toStdString();
    m_comment = CommentText(m_commentEdit);
    return true;
}

QString CPurchaseDlg::Refusal() const {
    if (m_symbol.empty()) {
        return QStringLiteral("Enter the symbol of the stock bought.");
    }
    if (m_companyName.empty()) {
        return QStringLiteral("Enter the company name.");
    }
    if (m_shares == 0.0f) {
        return QStringLiteral("Enter the number of shares bought.");
    }
    if (m_price == 0.0f && m_purchaseType != kFreeOfPrice) {
        return QStringLiteral("Enter the purchase price.");
    }
    return {};
}

void CPurchaseDlg::accept() {
    if (!ReadBack()) {
        return;
    }
    if (const QString refusal = Refusal(); !refusal.isEmpty()) {
        BeepBecause(this, refusal);
        return;
    }
    QDialog::accept();
}

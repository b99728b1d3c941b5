#include "desktop/forms/RecGrantDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/figures/FormNumbers.h"
#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"
#include "desktop/forms/Beep.h"
#include "desktop/forms/FormDatePicker.h"
#include "desktop/forms/FormFields.h"
#include "desktop/forms/OptionDefDlg.h"

namespace {

const QStringList kOptionTypes{QStringLiteral("ISO"),    QStringLiteral("NQ"),
                               QStringLiteral("KCO"),    QStringLiteral("KCR"),
                               QStringLiteral("NQ/SAR"), QStringLiteral("Other")};

}  // namespace

CRecGrantDlg::CRecGrantDlg(const CKx7Doc& doc, const std::vector<std::string>& allSymbols,
                           QWidget* parent)
    : QDialog(parent), m_doc(doc) {
    setWindowTitle(QStringLiteral("Receive Option Grant"));

    m_symbolBox = new QComboBox(this);
    m_symbolBox->setEditable(true);
    m_symbolBox->setInsertPolicy(QComboBox::NoInsert);
    m_symbolBox->setCompleter(nullptr);
    std::vector<std::string> symbols = allSymbols;
    symbols.emplace_back(" ");
    AddSortedItems(m_symbolBox, std::move(symbols));
    m_symbolBox->setCurrentIndex(-1);
    m_companyEdit = new QLineEdit(this);
    m_datePicker = new FormDatePicker(doc.AppSettings().dateMonthFirst, this);
    m_sharesEdit = new QLineEdit(this);
    m_strikeEdit = new QLineEdit(this);
    SetNumberField(m_sharesEdit, 0.0f);
    SetNumberField(m_strikeEdit, 0.0f);
    m_scheduleBox = new QComboBox(this);
    for (const std::string_view name : kVestingScheduleNames) {
        m_scheduleBox->addItem(QString::fromLatin1(name.data(), static_cast<int>(name.size())));
    }
    m_scheduleBox->setCurrentIndex(-1);
    m_grantIdEdit = new QLineEdit(this);
    m_typeBox = new QComboBox(this);
    m_typeBox->addItems(kOptionTypes);
    m_typeBox->setCurrentIndex(-1);
    auto* definitions = new QPushButton(QStringLiteral("Definitions"), this);
    definitions->setAutoDefault(false);

    auto* scheduleRow = new QHBoxLayout;
    scheduleRow->addWidget(m_scheduleBox, 1);
    scheduleRow->addWidget(definitions);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Symbol"), m_symbolBox);
    fields->addRow(QStringLiteral("Company Name"), m_companyEdit);
    fields->addRow(QStringLiteral("Date"), m_datePicker);
    fields->addRow(QStringLiteral("Number of shares"), m_sharesEdit);
    fields->addRow(QStringLiteral("Strike Price"), m_strikeEdit);
    fields->addRow(LabelFor(QStringLiteral("Vesting Schedule"), m_scheduleBox, this), scheduleRow);
    fields->addRow(QStringLiteral("Grant ID"), m_grantIdEdit);
    fields->addRow(QStringLiteral("Purchase Type"), m_typeBox);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(MakeCommentGroup(m_commentEdit, this));
    layout->addWidget(MakeOkCancel(this));
    SetTabOrder({m_symbolBox, m_companyEdit, m_datePicker, m_sharesEdit, m_strikeEdit,
                 m_scheduleBox, definitions, m_grantIdEdit, m_typeBox, m_commentEdit});

    // Only a choice made from the list counts, not a selection moved on the way.
    connect(m_symbolBox, &QComboBox::activated, this, &CRecGrantDlg::OnSymbolChosen);
    connect(definitions, &QPushButton::clicked, this, &CRecGrantDlg::ShowDefinitions);
}

CRecGrantDlg::~CRecGrantDlg() = default;

void CRecGrantDlg::OnSymbolChosen(int index) {
    ApplySymbolChoice(m_doc, m_symbolBox, index, m_companyEdit);
}

void CRecGrantDlg::ShowDefinitions() {
    COptionDefDlg definitions(this);
    definitions.exec();
}

bool CRecGrantDlg::ReadBack() {
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
    const std::optional<float> strike =
        ReadNumberWithin(this, m_strikeEdit, QStringLiteral("Strike Price"));
    if (!strike) {
        return false;
    }
    m_shares = *shares;
    m_strikePrice = *strike;
    m_symbol = ComboText(m_symbolBox);
    m_companyName = FieldText(m_companyEdit);
    m_date = *date;
    m_vestingSchedule = m_scheduleBox->currentIndex();
    m_grantId = FieldText(m_grantIdEdit);
    m_optionType = m_typeBox->currentText().toStdString();
    m_comment = CommentText(m_commentEdit);
    return true;
}

QString CRecGrantDlg::Refusal() const {
    if (m_symbol.empty()) {
        return QStringLiteral("Enter the symbol of the grant.");
    }
    if (m_companyName.empty()) {
        return QStringLiteral("Enter the company name.");
    }
    if (m_shares == 0.0f) {
        return QStringLiteral("Enter the number of shares granted.");
    }
    if (m_strikePrice == 0.0f) {
        return QStringLiteral("Enter the strike price.");
    }
    if (m_vestingSchedule == -1) {
        return QStringLiteral("Choose a vesting schedule.");
    }
    if (m_optionType.empty()) {
        return QStringLiteral("Choose the type of the options.");
    }
    return {};
}

void CRecGrantDlg::accept() {
    if (!ReadBack()) {
        return;
    }
    if (const QString refusal = Refusal(); !refusal.isEmpty()) {
        BeepBecause(this, refusal);
        return;
    }
    QDialog::accept();
}

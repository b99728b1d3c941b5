#include "desktop/forms/DividendDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/figures/FormNumbers.h"
#include "core/model/Dividend.h"
#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"
#include "desktop/forms/Beep.h"
#include "desktop/forms/FormDatePicker.h"
#include "desktop/forms/FormFields.h"

namespace {

// The 38 x 48 picture beside the two kinds: a stack of coins beside a share certificate.
QPixmap DividendPicture() {
    QPixmap picture(38, 48);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0, 96, 0));
    painter.setBrush(QColor(190, 230, 190));
    painter.drawRect(QRectF(8.5, 1.5, 27, 20));
    painter.drawLine(QPointF(13, 8), QPointF(31, 8));
    painter.drawLine(QPointF(13, 13), QPointF(27, 13));
    painter.setPen(QColor(128, 96, 0));
    painter.setBrush(QColor(240, 200, 60));
    for (int coin = 0; coin < 4; ++coin) {
        painter.drawEllipse(QRectF(3.5, 38.5 - coin * 5, 22, 8));
    }
    return picture;
}

}  // namespace

CDividendDlg::CDividendDlg(const CKx7Doc& doc, const CDividend* editing, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Dividend"));

    const SymbolGroup symbolGroup = MakeSymbolGroup(false, this);
    m_symbolBox = symbolGroup.symbolBox;
    m_companyEdit = symbolGroup.companyEdit;

    m_datePicker = new FormDatePicker(doc.AppSettings().dateMonthFirst, this);
    auto* dateFields = new QFormLayout;
    dateFields->addRow(QStringLiteral("Dividend Date"), m_datePicker);

    auto* picture = new QLabel(this);
    picture->setPixmap(DividendPicture());
    m_cash = new QRadioButton(QStringLiteral("Cash"), this);
    m_valueEdit = new QLineEdit(this);
    m_sharesButton = new QRadioButton(QStringLiteral("Shares"), this);
    m_sharesEdit = new QLineEdit(this);
    auto* kinds = new QGridLayout;
    kinds->addWidget(picture, 0, 0, 2, 1);
    kinds->addWidget(m_cash, 0, 1);
    kinds->addWidget(LabelFor(QStringLiteral("Dividend Value"), m_valueEdit, this), 0, 2);
    kinds->addWidget(m_valueEdit, 0, 3);
    kinds->addWidget(m_sharesButton, 1, 1);
    kinds->addWidget(LabelFor(QStringLiteral("Number of shares"), m_sharesEdit, this), 1, 2);
    kinds->addWidget(m_sharesEdit, 1, 3);
    kinds->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(symbolGroup.group);
    layout->addLayout(dateFields);
    layout->addLayout(kinds);
    layout->addWidget(MakeCommentGroup(m_commentEdit, this));
    layout->addWidget(MakeOkCancel(this));
    SetTabOrder({m_symbolBox, m_companyEdit, m_datePicker, m_cash, m_valueEdit, m_sharesButton,
                 m_sharesEdit, m_commentEdit});

    float value = 0.0f;
    float shares = 0.0f;
    bool cash = true;
    if (editing != nullptr) {
        m_symbols = {editing->symbol};
        m_symbolBox->addItem(QString::fromStdString(editing->symbol));
        m_symbolBox->setCurrentIndex(0);
        m_symbolBox->setEnabled(false);
        m_companyEdit->setEnabled(false);
        m_datePicker->SetTime(editing->date);
        m_commentEdit->setPlainText(QString::fromStdString(editing->comment));
        cash = editing->IsCash();
        (cash ? value : shares) = editing->amount;
    } else {
        m_symbols = doc.SymbolNames(SymbolFilter::kHeldLots);
        AddItems(m_symbolBox, m_symbols);
        m_symbolBox->setCurrentIndex(-1);
    }
    SetNumberField(m_valueEdit, value);
    SetNumberField(m_sharesEdit, shares);
    ShowKind(cash);

    connect(m_cash, &QRadioButton::clicked, this, [this] { ShowKind(true); });
    connect(m_sharesButton, &QRadioButton::clicked, this, [this] { ShowKind(false); });
}

CDividendDlg::~CDividendDlg() = default;

std::string CDividendDlg::Symbol() const {
    if (m_symbolIndex < 0 || m_symbolIndex >= static_cast<int>(m_symbols.size())) {
        return {};
    }
    return m_symbols[static_cast<std::size_t>(m_symbolIndex)];
}

void CDividendDlg::ShowKind(bool cash) {
    m_cash->setChecked(cash);
    m_sharesButton->setChecked(!cash);
    m_valueEdit->setEnabled(cash);
    m_sharesEdit->setEnabled(!cash);
}

bool CDividendDlg::ReadBack() {
    const std::optional<std::int64_t> date =
        ReadDateField(this, m_datePicker, QStringLiteral("Dividend Date"));
    if (!date) {
        return false;
    }
    const std::optional<float> value =
        ReadNumberWithin(this, m_valueEdit, QStringLiteral("Dividend Value"));
    if (!value) {
        return false;
    }
    const std::optional<float> shares =
        ReadNumberWithin(this, m_sharesEdit, QStringLiteral("Number of shares"));
    if (!shares) {
        return false;
    }
    m_value = *value;
    m_shares = *shares;
    m_symbolIndex = m_symbolBox->currentIndex();
    m_date = *date;
    m_comment = CommentText(m_commentEdit);
    return true;
}

void CDividendDlg::accept() {
    if (!ReadBack()) {
        return;
    }
    if (m_symbolIndex < 0) {
        BeepBecause(this, QStringLiteral("Choose the symbol that paid the dividend."));
        return;
    }
    if (m_value == 0.0f && m_shares == 0.0f) {
        BeepBecause(this, QStringLiteral("Enter the dividend's value or its number of shares."));
        return;
    }
    QDialog::accept();
}

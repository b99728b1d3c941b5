#include "desktop/forms/SaleCustomDlg.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/figures/FormNumbers.h"
#include "core/model/CustomLotChooser.h"
#include "desktop/forms/Beep.h"
#include "desktop/forms/FormFields.h"

CSaleCustomDlg::CSaleCustomDlg(const CustomSaleRequest& request, QWidget* parent)
    : QDialog(parent), m_table(request) {
    setWindowTitle(QStringLiteral("Sale Custom"));
    // The columns of the list line up with the header by their character counts.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);

    auto* title = new QLabel(QString::fromStdString(request.heading), this);
    auto* header =
        new QLabel(QStringLiteral("Date         Available       P.Price   Shares Sold"), this);
    header->setFont(fixed);
    header->setIndent(4);  // over the list's frame and item margin
    m_lotList = new QListWidget(this);
    m_lotList->setObjectName(QStringLiteral("lots"));
    m_lotList->setFont(fixed);
    for (int i = 0; i < m_table.Count(); ++i) {
        m_lotList->addItem(QString::fromStdString(m_table.Line(i)));
    }
    const QFontMetrics metrics(fixed);
    m_lotList->setMinimumWidth(metrics.horizontalAdvance(QString(52, QLatin1Char('0'))) + 24);
    m_lotList->setMinimumHeight(metrics.lineSpacing() * 8);

    auto* entryGroup = new QGroupBox(QStringLiteral("Enter Shares"), this);
    m_entry = new QLineEdit(QStringLiteral("0"), entryGroup);
    m_entry->setObjectName(QStringLiteral("entry"));
    auto* commit = new QPushButton(QStringLiteral("Commit"), entryGroup);
    auto* sellAvailable = new QPushButton(QStringLiteral("  Sell\nAvailable"), entryGroup);
    sellAvailable->setAccessibleName(QStringLiteral("  Sell Available"));
    for (QPushButton* button : {commit, sellAvailable}) {
        button->setAutoDefault(false);
    }
    m_remaining = new QLabel(entryGroup);
    m_remaining->setObjectName(QStringLiteral("remaining"));
    m_remaining->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("000000.0000")));
    auto* entryLayout = new QGridLayout(entryGroup);
    entryLayout->addWidget(m_entry, 0, 0, 1, 2);
    entryLayout->addWidget(commit, 1, 0, 1, 2);
    entryLayout->addWidget(sellAvailable, 2, 0, 1, 2);
    entryLayout->addWidget(new QLabel(QStringLiteral("Remaning"), entryGroup), 3, 0);
    entryLayout->addWidget(m_remaining, 3, 1);
    entryLayout->addWidget(new QLabel(QString::fromStdString(request.ofText), entryGroup), 4, 1);
    entryLayout->setRowStretch(5, 1);

    auto* buttons = MakeOkCancel(this, QStringLiteral("Sell"));

    auto* lotColumn = new QVBoxLayout;
    lotColumn->addWidget(header);
    lotColumn->addWidget(m_lotList, 1);
    auto* middle = new QHBoxLayout;
    middle->addLayout(lotColumn, 1);
    middle->addWidget(entryGroup);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addLayout(middle, 1);
    layout->addWidget(buttons);
    SetTabOrder({m_lotList, m_entry, commit, sellAvailable});

    connect(commit, &QPushButton::clicked, this, &CSaleCustomDlg::OnCommit);
    connect(sellAvailable, &QPushButton::clicked, this, &CSaleCustomDlg::OnSellAvailable);
}

CSaleCustomDlg::~CSaleCustomDlg() = default;

void CSaleCustomDlg::OnCommit() {
    const int index = m_lotList->currentRow();
    if (index < 0 || index >= m_table.Count()) {
        return;
    }
    const std::string text = FieldText(m_entry);
    if (text.empty()) {
        return;
    }
    const std::optional<float> amount = ReadNumberField(this, m_entry);
    if (!amount) {
        return;
    }
    if (!m_table.Commit(index, *amount)) {
        BeepBecause(this,
                    QStringLiteral("That is more than the lot holds or than is left to sell."), 100,
                    100);
        return;
    }
    ShowLot(index);
}

void CSaleCustomDlg::OnSellAvailable() {
    const int index = m_lotList->currentRow();
    if (index < 0 || index >= m_table.Count()) {
        return;
    }
    m_table.SellAvailable(index);
    ShowLot(index);
}

void CSaleCustomDlg::ShowLot(int index) {
    m_lotList->item(index)->setText(QString::fromStdString(m_table.Line(index)));
    SetNumberField(m_entry, m_table.Amount(index));
    m_remaining->setText(QString::fromStdString(m_table.RemainingText()));
}

void CSaleCustomDlg::accept() {
    m_entry->setText(QStringLiteral("0"));
    if (!m_table.ReadyToSell()) {
        BeepBecause(this, QStringLiteral("Place every share of the sale on the lots first."));
        return;
    }
    QDialog::accept();
}

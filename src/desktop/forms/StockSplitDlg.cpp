#include "desktop/forms/StockSplitDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "core/figures/FormNumbers.h"
#include "core/model/Kx7Doc.h"
#include "desktop/forms/FormDatePicker.h"
#include "desktop/forms/FormFields.h"

namespace {

QComboBox* RatioBox(int start, QWidget* parent) {
    auto* box = new QComboBox(parent);
    for (int n = 1; n <= 10; ++n) {
        box->addItem(QString::number(n));
    }
    box->setCurrentIndex(start - 1);
    return box;
}

}  // namespace

CStockSplitDlg::CStockSplitDlg(const std::vector<std::string>& heldSymbols, bool monthFirst,
                               QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Stock Split"));

    m_symbolBox = new QComboBox(this);
    AddSortedItems(m_symbolBox, heldSymbols);
    m_symbolBox->setCurrentIndex(-1);
    m_datePicker = new FormDatePicker(monthFirst, this);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Symbol"), m_symbolBox);
    fields->addRow(QStringLiteral("Date"), m_datePicker);

    auto* ratioGroup = new QGroupBox(QStringLiteral("Split Ratio"), this);
    m_newBox = RatioBox(2, ratioGroup);
    m_newBox->setObjectName(QStringLiteral("newShares"));
    m_oldBox = RatioBox(1, ratioGroup);
    m_oldBox->setObjectName(QStringLiteral("oldShares"));
    auto* ratio = new QHBoxLayout(ratioGroup);
    ratio->addWidget(m_newBox);
    ratio->addWidget(new QLabel(QStringLiteral("For"), ratioGroup));
    ratio->addWidget(m_oldBox);
    ratio->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("Select the Stock Symbol, and then the split ratio (i.e. 2 for 1)"), this));
    layout->addLayout(fields);
    layout->addWidget(ratioGroup);
    layout->addWidget(MakeOkCancel(this));
    SetTabOrder({m_symbolBox, m_datePicker, m_newBox, m_oldBox});
}

CStockSplitDlg::~CStockSplitDlg() = default;

std::string CStockSplitDlg::Symbol() const {
    return ComboText(m_symbolBox);
}

std::int32_t CStockSplitDlg::NewShares() const {
    return m_newBox->currentIndex() + 1;
}

std::int32_t CStockSplitDlg::OldShares() const {
    return m_oldBox->currentIndex() + 1;
}

std::int64_t CStockSplitDlg::Date() const {
    return m_datePicker->Time();
}

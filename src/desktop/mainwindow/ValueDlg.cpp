#include "desktop/mainwindow/ValueDlg.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/figures/FormNumbers.h"
#include "core/figures/ValueRows.h"
#include "core/model/Kx7Doc.h"
#include "desktop/forms/Beep.h"
#include "desktop/forms/FormFields.h"

namespace {

constexpr float kHighestPrice = 3000.0f;

bool CaselessLess(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

}  // namespace

CValueDlg::CValueDlg(CKx7Doc& doc, QWidget* parent) : QDialog(parent), m_doc(doc) {
    setWindowTitle(QStringLiteral("Value"));
    // The rows are aligned with spaces; only a fixed-pitch font keeps the columns.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    setFont(fixed);
    const QFontMetrics metrics(fixed);

    m_rowList = new QListWidget(this);
    m_rowList->setObjectName(QStringLiteral("rows"));
    m_rowList->setMinimumSize(metrics.horizontalAdvance(QString(50, QLatin1Char('0'))) + 32,
                              metrics.lineSpacing() * 12);
    m_entry = new QLineEdit(this);
    auto* commit = new QPushButton(QStringLiteral("Commit"), this);
    auto* calculate = new QPushButton(QStringLiteral("Calculate"), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    for (QPushButton* button : {commit, calculate, close}) {
        button->setAutoDefault(false);
    }
    m_total = new QLabel(QStringLiteral("0"), this);
    m_total->setObjectName(QStringLiteral("total"));
    auto* entryLabel = LabelFor(QStringLiteral("Enter Market Value"), m_entry, this);
    entryLabel->setAlignment(Qt::AlignCenter);

    auto* entryRow = new QHBoxLayout;
    entryRow->addWidget(entryLabel);
    entryRow->addWidget(m_entry, 1);
    entryRow->addWidget(commit);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(calculate);
    bottom->addWidget(new QLabel(QStringLiteral("Total Value:"), this));
    bottom->addWidget(m_total, 1);
    bottom->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Set Current Market Value"), this));
    layout->addWidget(
        new QLabel(QStringLiteral("Symbol     Shares   MktValue     Subtotal  Percent"), this));
    layout->addWidget(m_rowList, 1);
    layout->addLayout(entryRow);
    layout->addLayout(bottom);
    SetTabOrder({m_rowList, m_entry, commit, calculate, close});

    // Sorted once as they are put in; a committed or calculated row keeps its place.
    QStringList rows;
    for (const std::string& symbol : doc.SymbolNames(SymbolFilter::kHeldLots)) {
        rows.append(QString::fromStdString(
            ValueInitialRow(symbol, doc.ExercisableShares(symbol), doc.MarketPrice(symbol))));
    }
    std::stable_sort(rows.begin(), rows.end(), CaselessLess);
    m_rowList->addItems(rows);
    m_rowCount = static_cast<int>(rows.size());
    ShowEntryValue();

    connect(m_rowList, &QListWidget::currentRowChanged, this, &CValueDlg::OnRowChosen);
    connect(m_rowList, &QListWidget::itemDoubleClicked, this, &CValueDlg::OnRowChosen);
    connect(commit, &QPushButton::clicked, this, &CValueDlg::OnCommit);
    connect(calculate, &QPushButton::clicked, this, &CValueDlg::OnCalculate);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

CValueDlg::~CValueDlg() = default;

void CValueDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OnEnter();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CValueDlg::ShowEntryValue() {
    SetNumberField(m_entry, m_entryValue);
}

void CValueDlg::OnRowChosen() {
    const int index = m_rowList->currentRow();
    if (index < 0 || index >= m_rowCount) {
        return;
    }
    m_entryValue = ReadValueRow(m_rowList->item(index)->text().toStdString()).price;
    ShowEntryValue();
}

void CValueDlg::OnCommit() {
    const int index = m_rowList->currentRow();
    if (index < 0 || index >= m_rowCount) {
        return;
    }
    const ValueRowFields row = ReadValueRow(m_rowList->item(index)->text().toStdString());
    const std::string entry = FieldText(m_entry);
    if (entry.empty()) {
        return;
    }
    // Only an entry that begins with a number a float can hold becomes a price.
    const std::optional<float> price = LeadingFloat(entry);
    if (!price) {
        BeepBecause(this, QStringLiteral("Enter the price as a number."));
        return;
    }
    if (!(*price >= 0.0f && *price <= kLargestFigure)) {
        ShowFormMessage(this,
                        QStringLiteral("The price must be between 0 and %1.")
                            .arg(QString::number(static_cast<double>(kLargestFigure), 'f', 0)));
        m_entry->setFocus();
        return;
    }
    m_doc.SetMarketPrice(row.symbol, *price);
    m_rowList->item(index)->setText(
        QString::fromStdString(ValueCommittedRow(row.symbol, row.sharesText, entry)));
    m_entry->clear();
}

void CValueDlg::OnCalculate() {
    std::vector<float> values;
    float total = 0.0f;
    for (int i = 0; i < m_rowCount; ++i) {
        const ValueRowFields row = ReadValueRow(m_rowList->item(i)->text().toStdString());
        values.push_back(m_doc.SymbolValue(row.symbol));
        total += values.back();
    }
    for (int i = 0; i < m_rowCount; ++i) {
        QListWidgetItem* item = m_rowList->item(i);
        item->setText(QString::fromStdString(
            ValueCalculatedRow(item->text().toStdString(), values[static_cast<std::size_t>(i)],
                               PercentOfTotal(values[static_cast<std::size_t>(i)], total))));
    }
    m_total->setText(QString::fromStdString(FormatNumber("%.4f", static_cast<double>(total))));
    ShowEntryValue();
}

void CValueDlg::OnEnter() {
    const std::optional<float> value = ParseFormNumber(FieldText(m_entry));
    if (!value) {
        ShowFormMessage(this, QString::fromLatin1(kEnterNumber));
        m_entry->setFocus();
        return;
    }
    if (*value < 0.0f || *value > kHighestPrice) {
        ShowFormMessage(this, QStringLiteral("Please enter a number between 0 and 3000."));
        m_entry->setFocus();
        return;
    }
    m_entryValue = *value;
    accept();
}

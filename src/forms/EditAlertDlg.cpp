#include "forms/EditAlertDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "forms/FormFields.h"
#include "forms/FormNumbers.h"
#include "model/Kx7Doc.h"

namespace {

constexpr int kListWidth = 540;

QString Threshold(double value) {
    if (value == kAlertNotSet) {
        return {};
    }
    return QString::fromStdString(FormatNumber("%.2f", value));
}

double ReadThreshold(const QLineEdit* edit) {
    return LeadingNumber(FieldText(edit)).value_or(kAlertNotSet);
}

}  // namespace

CEditAlertDlg::CEditAlertDlg(CKx7Doc& doc, QWidget* parent) : QDialog(parent), m_doc(doc) {
    setWindowTitle(QStringLiteral("Edit Alert"));

    m_alertList = new QTreeWidget(this);
    m_alertList->setObjectName(QStringLiteral("alerts"));
    m_alertList->setRootIsDecorated(false);
    m_alertList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_alertList->setAllColumnsShowFocus(true);
    m_alertList->setHeaderLabels({QStringLiteral("Symbol"), QStringLiteral("Low Mark"),
                                  QStringLiteral("High Mark"), QStringLiteral("% Down"),
                                  QStringLiteral("% Up"), QStringLiteral("Mkt Price")});
    const std::array<int, 6> widths{kListWidth / 6,     kListWidth / 6,     kListWidth / 6,
                                    kListWidth / 6 - 9, kListWidth / 6 - 9, kListWidth / 6};
    const std::array<Qt::Alignment, 6> alignments{Qt::AlignLeft,    Qt::AlignRight,
                                                  Qt::AlignHCenter, Qt::AlignHCenter,
                                                  Qt::AlignHCenter, Qt::AlignHCenter};
    for (int column = 0; column < 6; ++column) {
        m_alertList->setColumnWidth(column, widths[column]);
        m_alertList->headerItem()->setTextAlignment(column, alignments[column] | Qt::AlignVCenter);
    }
    m_alertList->setMinimumWidth(kListWidth + 4);

    std::string held;
    doc.SymbolList(held, CKx7Doc::kHeldLots);
    for (const std::string& symbol : ListItems(held)) {
        const AlertThresholds alert = doc.AlertOf(symbol);
        auto* row = new QTreeWidgetItem(m_alertList);
        row->setText(0, QStringLiteral(" ") + QString::fromStdString(symbol));
        row->setText(1, Threshold(alert.lowMark));
        row->setText(2, Threshold(alert.highMark));
        row->setText(3, Threshold(alert.percentDown));
        row->setText(4, Threshold(alert.percentUp));
        row->setText(5, QString::fromStdString(
                            FormatNumber("%.2f", static_cast<double>(doc.MarketPrice(symbol)))));
        for (int column = 0; column < 6; ++column) {
            row->setTextAlignment(column, alignments[column] | Qt::AlignVCenter);
        }
    }

    auto* selected = new QGroupBox(QStringLiteral("Selected Alert"), this);
    m_symbolEdit = new QLineEdit(selected);
    m_symbolEdit->setReadOnly(true);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Symbol"), m_symbolEdit);
    const std::array<QString, 4> labels{QStringLiteral("Low Mark"), QStringLiteral("High Mark"),
                                        QStringLiteral("% Down"), QStringLiteral("% Up")};
    for (std::size_t i = 0; i < m_thresholdEdits.size(); ++i) {
        m_thresholdEdits[i] = new QLineEdit(selected);
        fields->addRow(labels[i], m_thresholdEdits[i]);
    }
    auto* set = new QPushButton(QStringLiteral("Set"), selected);
    auto* clear = new QPushButton(QStringLiteral("Clear"), selected);
    for (QPushButton* button : {set, clear}) {
        button->setAutoDefault(false);
    }
    auto* actions = new QHBoxLayout;
    actions->addStretch();
    actions->addWidget(set);
    actions->addWidget(clear);
    auto* selectedLayout = new QVBoxLayout(selected);
    selectedLayout->addLayout(fields);
    selectedLayout->addLayout(actions);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Set Your Alert thresholds"), this));
    layout->addWidget(m_alertList, 1);
    layout->addWidget(selected);
    layout->addWidget(buttons);

    connect(m_alertList, &QTreeWidget::itemClicked, this, &CEditAlertDlg::OnRowChosen);
    connect(m_alertList, &QTreeWidget::currentItemChanged, this, &CEditAlertDlg::OnRowChosen);
    connect(set, &QPushButton::clicked, this, &CEditAlertDlg::OnSet);
    connect(clear, &QPushButton::clicked, this, &CEditAlertDlg::OnClear);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

CEditAlertDlg::~CEditAlertDlg() = default;

void CEditAlertDlg::OnRowChosen() {
    const QTreeWidgetItem* row = m_alertList->currentItem();
    if (row == nullptr) {
        return;
    }
    m_symbolEdit->setText(row->text(0).mid(1));
    for (std::size_t i = 0; i < m_thresholdEdits.size(); ++i) {
        m_thresholdEdits[i]->setText(row->text(static_cast<int>(i) + 1));
    }
}

void CEditAlertDlg::OnSet() {
    QTreeWidgetItem* row = m_alertList->currentItem();
    if (row == nullptr) {
        return;
    }
    const AlertThresholds thresholds{
        ReadThreshold(m_thresholdEdits[0]), ReadThreshold(m_thresholdEdits[1]),
        ReadThreshold(m_thresholdEdits[2]), ReadThreshold(m_thresholdEdits[3])};
    m_doc.SetAlert(row->text(0).mid(1).toStdString(), thresholds);
    for (std::size_t i = 0; i < m_thresholdEdits.size(); ++i) {
        row->setText(static_cast<int>(i) + 1, m_thresholdEdits[i]->text());
    }
}

void CEditAlertDlg::OnClear() {
    QTreeWidgetItem* row = m_alertList->currentItem();
    if (row == nullptr) {
        return;
    }
    m_doc.RemoveAlert(row->text(0).mid(1).toStdString());
    for (std::size_t i = 0; i < m_thresholdEdits.size(); ++i) {
        m_thresholdEdits[i]->clear();
        row->setText(static_cast<int>(i) + 1, QString());
    }
}

#include "desktop/forms/EditAlertDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>
#include <optional>
#include <string>
#include <tuple>

#include "core/figures/FormNumbers.h"
#include "core/model/Kx7Doc.h"
#include "desktop/controls/XListCtrl.h"
#include "desktop/forms/FormFields.h"

namespace {

constexpr int kListWidth = 540;

const std::array<QString, 4> kThresholdNames{QStringLiteral("Low Mark"),
                                             QStringLiteral("High Mark"), QStringLiteral("% Down"),
                                             QStringLiteral("% Up")};

QString Threshold(double value) {
    if (value == kAlertNotSet) {
        return {};
    }
    return QString::fromStdString(FormatNumber("%.2f", value));
}

// An empty field is no threshold; anything else must be a number of 0 or more.
std::optional<double> ReadThreshold(const QLineEdit* edit) {
    const std::string text = FieldText(edit);
    if (text.find_first_not_of(" \t") == std::string::npos) {
        return kAlertNotSet;
    }
    const std::optional<double> value = LeadingNumber(text);
    if (!value || !(*value >= 0.0)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

CEditAlertDlg::CEditAlertDlg(CKx7Doc& doc, QWidget* parent) : QDialog(parent), m_doc(doc) {
    setWindowTitle(QStringLiteral("Edit Alert"));

    m_alertList = new CXListCtrl(this);
    m_alertList->setObjectName(QStringLiteral("alerts"));
    m_alertList->setShowGrid(true);
    const std::array<std::tuple<const char*, Qt::Alignment, int>, 6> columns{{
        {"Symbol", Qt::AlignLeft, kListWidth / 6},
        {"Low Mark", Qt::AlignRight, kListWidth / 6},
        {"High Mark", Qt::AlignHCenter, kListWidth / 6},
        {"% Down", Qt::AlignHCenter, kListWidth / 6 - 9},
        {"% Up", Qt::AlignHCenter, kListWidth / 6 - 9},
        {"Mkt Price", Qt::AlignHCenter, kListWidth / 6},
    }};
    for (int column = 0; column < 6; ++column) {
        const auto& [caption, alignment, width] = columns[column];
        m_alertList->InsertColumn(column, QString::fromLatin1(caption), alignment, width);
    }
    m_alertList->setMinimumSize(kListWidth + 4, 160);

    for (const std::string& symbol : doc.SymbolNames(SymbolFilter::kHeldLots)) {
        const AlertThresholds alert = doc.AlertOf(symbol);
        const int row = m_alertList->InsertItem(
            m_alertList->RowCount(), QStringLiteral(" ") + QString::fromStdString(symbol));
        m_alertList->SetItemText(row, 1, Threshold(alert.lowMark));
        m_alertList->SetItemText(row, 2, Threshold(alert.highMark));
        m_alertList->SetItemText(row, 3, Threshold(alert.percentDown));
        m_alertList->SetItemText(row, 4, Threshold(alert.percentUp));
        m_alertList->SetItemText(row, 5,
                                 QString::fromStdString(FormatNumber(
                                     "%.2f", static_cast<double>(doc.MarketPrice(symbol)))));
    }

    auto* selected = new QGroupBox(QStringLiteral("Selected Alert"), this);
    m_symbolEdit = new QLineEdit(selected);
    m_symbolEdit->setReadOnly(true);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Symbol"), m_symbolEdit);
    const std::array<QString, 4> labels{kThresholdNames[0], kThresholdNames[1], kThresholdNames[2],
                                        kThresholdNames[3]};
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

    connect(m_alertList, &CXListCtrl::RowClicked, this, &CEditAlertDlg::OnRowChosen);
    connect(set, &QPushButton::clicked, this, &CEditAlertDlg::OnSet);
    connect(clear, &QPushButton::clicked, this, &CEditAlertDlg::OnClear);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

CEditAlertDlg::~CEditAlertDlg() = default;

int CEditAlertDlg::SelectedRow() const {
    const QModelIndexList selected = m_alertList->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.front().row();
}

void CEditAlertDlg::OnRowChosen(int row) {
    if (row < 0 || row >= m_alertList->RowCount()) {
        return;
    }
    m_symbolEdit->setText(m_alertList->GetItemText(row, 0).mid(1));
    for (std::size_t i = 0; i < m_thresholdEdits.size(); ++i) {
        m_thresholdEdits[i]->setText(m_alertList->GetItemText(row, static_cast<int>(i) + 1));
    }
}

void CEditAlertDlg::OnSet() {
    const int row = SelectedRow();
    if (row < 0) {
        return;
    }
    std::array<double, 4> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::optional<double> value = ReadThreshold(m_thresholdEdits[i]);
        if (!value) {
            ShowFormMessage(this, QStringLiteral("%1 must be a number of 0 or more, or empty for "
                                                 "none.")
                                      .arg(kThresholdNames[i]));
            m_thresholdEdits[i]->setFocus();
            m_thresholdEdits[i]->selectAll();
            return;
        }
        values[i] = *value;
    }
    const AlertThresholds thresholds{values[0], values[1], values[2], values[3]};
    m_doc.SetAlert(m_alertList->GetItemText(row, 0).mid(1).toStdString(), thresholds);
    for (std::size_t i = 0; i < m_thresholdEdits.size(); ++i) {
        m_alertList->SetItemText(row, static_cast<int>(i) + 1, m_thresholdEdits[i]->text());
    }
}

void CEditAlertDlg::OnClear() {
    const int row = SelectedRow();
    if (row < 0) {
        return;
    }
    m_doc.RemoveAlert(m_alertList->GetItemText(row, 0).mid(1).toStdString());
    for (std::size_t i = 0; i < m_thresholdEdits.size(); ++i) {
        m_thresholdEdits[i]->clear();
        m_alertList->SetItemText(row, static_cast<int>(i) + 1, QString());
    }
}

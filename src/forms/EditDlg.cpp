#include "forms/EditDlg.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <array>
#include <memory>

#include "forms/DividendDlg.h"
#include "forms/FormFields.h"
#include "forms/FormNumbers.h"
#include "forms/PurchaseDlg.h"
#include "forms/RemoveItDlg.h"
#include "forms/SaleDlg.h"
#include "model/Kx7Doc.h"

namespace {

constexpr int kListWidth = 520;
constexpr int kRowIndexRole = Qt::UserRole;

}  // namespace

CEditDlg::CEditDlg(CKx7Doc& doc, QWidget* parent) : QDialog(parent), m_doc(doc) {
    setWindowTitle(QStringLiteral("Edit Record"));

    m_recordList = new QTreeWidget(this);
    m_recordList->setObjectName(QStringLiteral("records"));
    m_recordList->setRootIsDecorated(false);
    m_recordList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_recordList->setAllColumnsShowFocus(true);
    m_recordList->setHeaderLabels({QStringLiteral("Symbol"), QStringLiteral("Record"),
                                   QStringLiteral("Date"), QStringLiteral("Price"),
                                   QStringLiteral("Shares")});
    const int fifth = kListWidth * 20 / 100;
    const std::array<int, 5> widths{fifth - 4, fifth, fifth - 5, fifth - 5, fifth - 5};
    for (int column = 0; column < 5; ++column) {
        m_recordList->setColumnWidth(column, widths[column]);
        m_recordList->headerItem()->setTextAlignment(
            column, (column < 3 ? Qt::AlignHCenter : Qt::AlignRight) | Qt::AlignVCenter);
    }
    m_recordList->setMinimumSize(kListWidth + 4, 240);
    m_recordList->header()->setSectionsClickable(true);

    m_filterBox = new QComboBox(this);
    m_filterBox->setObjectName(QStringLiteral("filter"));
    m_filterBox->addItem(
        QString::fromLatin1(kAllRecords.data(), static_cast<int>(kAllRecords.size())));
    std::string all;
    doc.SymbolList(all);
    std::vector<std::string> symbols = ListItems(all);
    for (const std::string& symbol : symbols) {
        m_filterBox->addItem(QString::fromStdString(symbol));
    }
    m_filterBox->setCurrentIndex(0);

    auto* edit = new QPushButton(QStringLiteral("Edit"), this);
    auto* remove = new QPushButton(QStringLiteral("Delete"), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    for (QPushButton* button : {edit, remove, close}) {
        button->setAutoDefault(false);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(edit);
    buttons->addWidget(remove);
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Edit a selected record"), this));
    layout->addWidget(m_recordList, 1);
    layout->addWidget(new QLabel(QStringLiteral("Select a symbol from the following list"), this));
    layout->addWidget(m_filterBox);
    layout->addWidget(
        new QLabel(QStringLiteral("Select a record then choose a button below"), this));
    layout->addLayout(buttons);

    connect(m_filterBox, &QComboBox::activated, this, &CEditDlg::OnFilterChosen);
    connect(m_recordList->header(), &QHeaderView::sectionClicked, this, &CEditDlg::OnHeaderClicked);
    connect(edit, &QPushButton::clicked, this, &CEditDlg::OnEdit);
    connect(remove, &QPushButton::clicked, this, &CEditDlg::OnDelete);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    BuildList();
}

CEditDlg::~CEditDlg() = default;

void CEditDlg::BuildList() {
    m_recordList->clear();
    m_rows = BuildRecordRows(m_doc, m_filter);
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        auto* item = new QTreeWidgetItem(m_recordList);
        item->setData(0, kRowIndexRole, static_cast<qulonglong>(i));
        ShowRow(item, m_rows[i]);
    }
    if (m_sortColumn >= 0) {
        m_recordList->sortItems(m_sortColumn,
                                m_sortAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
    }
}

void CEditDlg::ShowRow(QTreeWidgetItem* item, const RecordRow& row) {
    const QColor background(row.background.red, row.background.green, row.background.blue);
    for (int column = 0; column < 5; ++column) {
        item->setText(column, QString::fromStdString(row.columns[column]));
        item->setTextAlignment(column,
                               (column < 3 ? Qt::AlignHCenter : Qt::AlignRight) | Qt::AlignVCenter);
        item->setBackground(column, background);
        item->setForeground(column, Qt::black);
    }
}

RecordRow* CEditDlg::SelectedRow(QTreeWidgetItem** item) {
    QTreeWidgetItem* current = m_recordList->currentItem();
    if (current == nullptr || !current->isSelected()) {
        return nullptr;
    }
    const auto index = current->data(0, kRowIndexRole).toULongLong();
    if (index >= m_rows.size()) {
        return nullptr;
    }
    *item = current;
    return &m_rows[index];
}

void CEditDlg::OnFilterChosen(int index) {
    if (index < 0) {
        return;
    }
    m_filter = m_filterBox->itemText(index).toStdString();
    BuildList();
}

void CEditDlg::OnHeaderClicked(int column) {
    m_sortAscending = column == m_sortColumn ? !m_sortAscending : true;
    m_sortColumn = column;
    m_recordList->header()->setSortIndicatorShown(true);
    m_recordList->header()->setSortIndicator(
        column, m_sortAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
    m_recordList->sortItems(column, m_sortAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void CEditDlg::OnEdit() {
    QTreeWidgetItem* item = nullptr;
    RecordRow* row = SelectedRow(&item);
    if (row == nullptr) {
        return;
    }
    switch (row->kind) {
        case RecordKind::Purchase:
            EditPurchase(*row);
            break;
        case RecordKind::Sale:
            EditSale(*row);
            break;
        case RecordKind::Dividend:
            EditDividend(*row);
            break;
    }
    ShowRow(item, *row);
}

void CEditDlg::EditPurchase(RecordRow& row) {
    CPurchase& purchase = *row.purchase;
    std::string all;
    m_doc.SymbolList(all);
    CPurchaseDlg form(m_doc, all, &purchase, this);
    if (form.exec() != QDialog::Accepted) {
        return;
    }
    purchase.shares = form.Shares();
    purchase.price = form.Price();
    purchase.date = form.Date();
    purchase.commission = form.Commission();
    purchase.purchaseType = form.PurchaseType();
    purchase.comment = form.Comment();
    purchase.RecomputeHeldShares();
    m_doc.SetModified();
    row = PurchaseRow(purchase);
}

void CEditDlg::EditSale(RecordRow& row) {
    CSale& sale = *row.sale;
    const std::string symbol = row.columns[0];
    std::string company;
    m_doc.CompanyName(symbol, company);
    CSaleDlg form(m_doc, sale, symbol, company, this);
    if (form.exec() != QDialog::Accepted) {
        return;
    }
    sale.comment = form.Comment();
    sale.commission = form.Commission();
    sale.date = form.Date();
    sale.price = form.Price();
    sale.shares = form.Shares();
    if (sale.purchase != nullptr) {
        sale.purchase->RecomputeHeldShares();
    }
    m_doc.SetModified();
    row = SaleRow(sale);
}

void CEditDlg::EditDividend(RecordRow& row) {
    CDividend& dividend = *row.dividend;
    CDividendDlg form(m_doc, &dividend, this);
    if (form.exec() != QDialog::Accepted) {
        return;
    }
    dividend.comment = form.Comment();
    dividend.date = form.Date();
    const bool cash = form.Value() != 0.0f;
    dividend.dividendKind = cash ? CDividend::kCash : CDividend::kShares;
    dividend.amount = cash ? form.Value() : form.Shares();
    m_doc.SetModified();
    row = DividendRow(dividend);
}

void CEditDlg::OnDelete() {
    QTreeWidgetItem* item = nullptr;
    RecordRow* row = SelectedRow(&item);
    if (row == nullptr) {
        return;
    }
    switch (row->kind) {
        case RecordKind::Purchase: {
            CRemoveItDlg confirm(this);
            if (confirm.exec() != QDialog::Accepted) {
                return;
            }
            RemovePurchase(m_doc, *row->purchase);
            BuildList();
            return;
        }
        case RecordKind::Sale:
            RemoveSale(m_doc, *row->sale);
            break;
        case RecordKind::Dividend:
            RemoveDividend(m_doc, *row->dividend);
            break;
    }
    // The row's record is gone; the row must not lead to it again.
    *row = RecordRow{};
    const std::unique_ptr<QTreeWidgetItem> gone(
        m_recordList->takeTopLevelItem(m_recordList->indexOfTopLevelItem(item)));
}

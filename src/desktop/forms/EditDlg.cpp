#include "desktop/forms/EditDlg.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

#include "core/figures/FormNumbers.h"
#include "core/model/Kx7Doc.h"
#include "desktop/controls/XListCtrl.h"
#include "desktop/forms/Beep.h"
#include "desktop/forms/DividendDlg.h"
#include "desktop/forms/FormFields.h"
#include "desktop/forms/PurchaseDlg.h"
#include "desktop/forms/RemoveItDlg.h"
#include "desktop/forms/SaleDlg.h"

namespace {

constexpr int kListWidth = 520;

}  // namespace

CEditDlg::CEditDlg(CKx7Doc& doc, QWidget* parent) : QDialog(parent), m_doc(doc) {
    setWindowTitle(QStringLiteral("Edit Record"));

    m_recordList = new CXListCtrl(this);
    m_recordList->setObjectName(QStringLiteral("records"));
    m_recordList->setShowGrid(true);
    const int fifth = kListWidth * 20 / 100;
    const std::array<std::pair<const char*, int>, 5> columns{{{"Symbol", fifth - 4},
                                                              {"Record", fifth},
                                                              {"Date", fifth - 5},
                                                              {"Price", fifth - 5},
                                                              {"Shares", fifth - 5}}};
    for (int column = 0; column < 5; ++column) {
        m_recordList->InsertColumn(column, QString::fromLatin1(columns[column].first),
                                   column < 3 ? Qt::AlignHCenter : Qt::AlignRight,
                                   columns[column].second);
    }
    m_recordList->setMinimumSize(kListWidth + 4, 240);

    m_filterBox = new QComboBox(this);
    m_filterBox->setObjectName(QStringLiteral("filter"));
    m_filterBox->addItem(
        QString::fromLatin1(kAllRecords.data(), static_cast<int>(kAllRecords.size())));
    AddItems(m_filterBox, doc.SymbolNames());
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
    connect(edit, &QPushButton::clicked, this, &CEditDlg::OnEdit);
    connect(remove, &QPushButton::clicked, this, &CEditDlg::OnDelete);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    BuildList();
}

CEditDlg::~CEditDlg() = default;

void CEditDlg::BuildList() {
    m_recordList->DeleteAllItems();
    m_rows = BuildRecordRows(m_doc, m_filter);
    for (RecordRow& row : m_rows) {
        const int listRow = m_recordList->InsertItem(m_recordList->RowCount(), QString());
        m_recordList->SetItemUserData(listRow, &row);
        ShowRow(listRow, row);
    }
    m_recordList->RepeatSort();
}

void CEditDlg::ShowRow(int listRow, const RecordRow& row) {
    const QColor background(row.background.red, row.background.green, row.background.blue);
    for (int column = 0; column < 5; ++column) {
        m_recordList->SetItemText(listRow, column, QString::fromStdString(row.columns[column]),
                                  Qt::black, background);
    }
}

int CEditDlg::SelectedListRow() const {
    const QModelIndexList selected = m_recordList->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        return -1;
    }
    const int listRow = selected.front().row();
    return listRow < m_recordList->RowCount() ? listRow : -1;
}

RecordRow* CEditDlg::RowAt(int listRow) const {
    return static_cast<RecordRow*>(m_recordList->GetItemUserData(listRow));
}

void CEditDlg::OnFilterChosen(int index) {
    if (index < 0) {
        return;
    }
    m_filter = m_filterBox->itemText(index).toStdString();
    BuildList();
}

void CEditDlg::OnEdit() {
    const int listRow = SelectedListRow();
    RecordRow* row = listRow >= 0 ? RowAt(listRow) : nullptr;
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
    ShowRow(listRow, *row);
}

void CEditDlg::EditPurchase(RecordRow& row) {
    CPurchase& purchase = *row.purchase;
    CPurchaseDlg form(m_doc, m_doc.SymbolNames(), &purchase, this);
    if (form.exec() != QDialog::Accepted) {
        return;
    }
    m_doc.EditPurchase(purchase, {.shares = form.Shares(),
                                  .price = form.Price(),
                                  .date = form.Date(),
                                  .commission = form.Commission(),
                                  .purchaseType = form.PurchaseType(),
                                  .comment = form.Comment()});
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
    m_doc.EditSale(sale, {.shares = form.Shares(),
                          .price = form.Price(),
                          .date = form.Date(),
                          .commission = form.Commission(),
                          .comment = form.Comment()});
    row = SaleRow(sale);
}

void CEditDlg::EditDividend(RecordRow& row) {
    CDividend& dividend = *row.dividend;
    CDividendDlg form(m_doc, &dividend, this);
    if (form.exec() != QDialog::Accepted) {
        return;
    }
    const bool cash = form.Value() != 0.0f;
    m_doc.EditDividend(dividend,
                       {.dividendKind = cash ? DividendKind::kCash : DividendKind::kShares,
                        .amount = cash ? form.Value() : form.Shares(),
                        .date = form.Date(),
                        .comment = form.Comment()});
    row = DividendRow(dividend);
}

void CEditDlg::OnDelete() {
    const int listRow = SelectedListRow();
    const RecordRow* row = listRow >= 0 ? RowAt(listRow) : nullptr;
    if (row == nullptr) {
        return;
    }
    // Named while the row still stands for its record.
    const QString removed =
        QStringLiteral("Removed the %1 of %2 dated %3. Undo brings it back.")
            .arg(QString::fromStdString(row->columns[1]).toLower(),
                 QString::fromStdString(row->columns[0]), QString::fromStdString(row->columns[2]));
    switch (row->kind) {
        case RecordKind::Purchase: {
            CRemoveItDlg confirm(this);
            if (confirm.exec() != QDialog::Accepted) {
                return;
            }
            m_doc.RemovePurchase(*row->purchase);
            BuildList();
            break;
        }
        case RecordKind::Sale:
            m_doc.RemoveSale(*row->sale);
            // The lot's later sales moved up in its list, so every row is taken afresh.
            BuildList();
            break;
        case RecordKind::Dividend:
            m_doc.RemoveDividend(*row->dividend);
            m_recordList->DeleteItem(listRow);
            break;
    }
    SayInStatusBar(this, removed);
}

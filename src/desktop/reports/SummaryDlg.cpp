#include "desktop/reports/SummaryDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/model/Kx7Doc.h"
#include "core/reports/SummaryReport.h"
#include "desktop/app/DocumentSignals.h"
#include "desktop/controls/XListCtrl.h"
#include "desktop/reports/ReportUi.h"

namespace {

QColor RowColour(const QString& kind) {
    if (kind == QStringLiteral("Sale")) {
        return CSummaryDlg::kSaleColour;
    }
    if (kind == QStringLiteral("Dividend")) {
        return CSummaryDlg::kDividendColour;
    }
    return CSummaryDlg::kPurchaseColour;
}

}  // namespace

CSummaryDlg::CSummaryDlg(const CKx7Doc& document, const std::vector<std::string>& symbols,
                         const QString& selectedSymbol, QWidget* parent)
    : QDialog(parent),
      m_document(document),
      m_selectedSymbol(selectedSymbol),
      m_list(new CXListCtrl(this)),
      m_symbolBox(new QComboBox(this)),
      m_sortByDateButton(new QRadioButton(QStringLiteral("Sort by Date"), this)),
      m_groupByPurchaseButton(new QRadioButton(QStringLiteral("Group by Purchase"), this)),
      m_groupSalesBox(new QCheckBox(QStringLiteral("Group Sales"), this)),
      m_sellBalanceBox(new QCheckBox(QStringLiteral("Sell Balance"), this)),
      m_marketPrice(new QLabel(QStringLiteral("0.00"), this)) {
    setWindowTitle(QStringLiteral("Summary"));
    m_list->setObjectName(QStringLiteral("list"));
    m_symbolBox->setObjectName(QStringLiteral("symbolBox"));
    m_sortByDateButton->setObjectName(QStringLiteral("sortByDate"));
    m_groupByPurchaseButton->setObjectName(QStringLiteral("groupByPurchase"));
    m_groupSalesBox->setObjectName(QStringLiteral("groupSales"));
    m_sellBalanceBox->setObjectName(QStringLiteral("sellBalance"));
    m_marketPrice->setObjectName(QStringLiteral("marketPrice"));

    // The two radios switch by hand, as each also sets the state of the check boxes.
    m_sortByDateButton->setAutoExclusive(false);
    m_groupByPurchaseButton->setAutoExclusive(false);
    m_sortByDateButton->setChecked(true);
    m_groupSalesBox->setChecked(true);
    m_sellBalanceBox->setEnabled(false);

    if (m_selectedSymbol.isEmpty() && !symbols.empty()) {
        m_selectedSymbol = QString::fromStdString(symbols.front());
    }
    for (const std::string& symbol : symbols) {
        m_symbolBox->addItem(QString::fromStdString(symbol));
    }
    m_symbolBox->setCurrentIndex(m_symbolBox->findText(m_selectedSymbol, Qt::MatchExactly));

    auto* style = new QGroupBox(QStringLiteral("Display Style"), this);
    auto* styleLayout = new QGridLayout(style);
    styleLayout->addWidget(m_sortByDateButton, 0, 0);
    styleLayout->addWidget(m_groupSalesBox, 0, 1);
    styleLayout->addWidget(m_groupByPurchaseButton, 1, 0);
    styleLayout->addWidget(m_sellBalanceBox, 1, 1);

    auto* choice = new QVBoxLayout;
    choice->addWidget(new QLabel(QStringLiteral("Summary information for a given company"), this));
    choice->addWidget(new QLabel(QStringLiteral("Select a symbol from the following list"), this));
    choice->addWidget(m_symbolBox);
    auto* price = new QHBoxLayout;
    price->addWidget(new QLabel(QStringLiteral("Market Price :"), this));
    price->addWidget(m_marketPrice);
    price->addStretch();
    choice->addLayout(price);
    choice->addStretch();

    auto* top = new QHBoxLayout;
    top->addLayout(choice, 1);
    top->addWidget(style);

    QDialogButtonBox* buttons = MakeCloseButton(*this, QStringLiteral("OK"));
    AddListReportCommands(*this, *buttons, windowTitle(), *m_list);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    resize(DialogUnits(*this, 394, 257));

    // The columns share the width the list gets in the dialog.
    const int column = ListWidthIn(*this) / 7;
    m_list->setMinimumWidth(column * 7);
    m_list->InsertColumn(0, QStringLiteral("Transaction"), Qt::AlignHCenter, column);
    m_list->InsertColumn(1, QStringLiteral("Date"), Qt::AlignHCenter, column);
    m_list->InsertColumn(2, QStringLiteral("Shares"), Qt::AlignRight, column);
    m_list->InsertColumn(3, QStringLiteral("Mkt Price"), Qt::AlignRight, column);
    m_list->InsertColumn(4, QStringLiteral("Shares Left"), Qt::AlignRight, column);
    m_list->InsertColumn(5, QStringLiteral("% Gain"), Qt::AlignRight, column - 9);
    m_list->InsertColumn(6, QStringLiteral("$ Gain"), Qt::AlignRight, column - 9);

    connect(m_symbolBox, &QComboBox::currentIndexChanged, this, &CSummaryDlg::OnSymbolChanged);
    connect(m_groupSalesBox, &QCheckBox::clicked, this, &CSummaryDlg::OnOptionClicked);
    connect(m_sellBalanceBox, &QCheckBox::clicked, this, &CSummaryDlg::OnOptionClicked);
    connect(m_sortByDateButton, &QRadioButton::clicked, this, [this] { OnDisplayStyle(true); });
    connect(m_groupByPurchaseButton, &QRadioButton::clicked, this,
            [this] { OnDisplayStyle(false); });
    // Prices fetched or records added while the report is open show at once.
    connect(new DocumentSignals(m_document, this), &DocumentSignals::DocumentChanged, this,
            &CSummaryDlg::Refresh);
    Refresh();
}

CSummaryDlg::~CSummaryDlg() = default;

void CSummaryDlg::OnSymbolChanged(int index) {
    if (index >= 0) {
        m_selectedSymbol = m_symbolBox->itemText(index);
    }
    Refresh();
}

void CSummaryDlg::OnOptionClicked() {
    m_groupSales = m_groupSalesBox->isChecked();
    m_sellBalance = m_sellBalanceBox->isChecked();
    OnSymbolChanged(m_symbolBox->currentIndex());
}

void CSummaryDlg::OnDisplayStyle(bool sortByDate) {
    m_sortByDate = sortByDate;
    m_sortByDateButton->setChecked(sortByDate);
    m_groupByPurchaseButton->setChecked(!sortByDate);
    m_groupSalesBox->setEnabled(sortByDate);
    m_sellBalanceBox->setEnabled(!sortByDate);
    OnSymbolChanged(m_symbolBox->currentIndex());
}

void CSummaryDlg::Refresh() {
    m_list->DeleteAllItems();
    if (m_selectedSymbol.isEmpty()) {
        return;
    }
    const std::string symbol = m_selectedSymbol.toStdString();
    const std::string text =
        BuildSummaryReport(m_document, symbol, m_sortByDate, m_sellBalance, m_groupSales);
    for (const QStringList& cells : TabSeparatedRows(text)) {
        const QColor back = RowColour(cells.front());
        const int row = m_list->InsertItem(m_list->RowCount(), cells.front());
        for (int column = 0; column < cells.size(); ++column) {
            m_list->SetItemText(row, column, cells[column], Qt::black, back);
        }
    }
    m_marketPrice->setText(
        QString::asprintf("%.2f", static_cast<double>(m_document.MarketPrice(symbol))));
}

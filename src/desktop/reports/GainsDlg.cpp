#include "desktop/reports/GainsDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <iterator>

#include "core/model/Kx7Doc.h"
#include "core/reports/GainsReport.h"
#include "desktop/app/DocumentSignals.h"
#include "desktop/controls/XListCtrl.h"
#include "desktop/reports/ReportUi.h"

namespace {

// Where each cell of a report line goes: the report writes the gain before the percent,
// the list shows "Gain (%)" before "Gain ($)".
constexpr int kColumnOfCell[] = {0, 1, 2, 3, 5, 4};

QString TotalText(float total) {
    return QString::asprintf("%.4f", static_cast<double>(total));
}

}  // namespace

CGainsDlg::CGainsDlg(CKx7Doc& document, QWidget* parent)
    : QDialog(parent),
      m_document(document),
      m_list(new CXListCtrl(this)),
      m_viewBox(new QComboBox(this)),
      m_total(new QLabel(TotalText(0), this)) {
    setWindowTitle(QStringLiteral("Gains and Losses"));
    m_list->setObjectName(QStringLiteral("list"));
    m_viewBox->setObjectName(QStringLiteral("viewBox"));
    m_total->setObjectName(QStringLiteral("total"));

    m_viewBox->addItems(
        {QStringLiteral("Realized"), QStringLiteral("Potential"), QStringLiteral("Combination")});
    m_viewBox->setCurrentIndex(-1);
    m_viewBox->setMinimumContentsLength(12);

    QLabel* title = MakeTitle(QStringLiteral("Overall Gains and Losses"), this);

    auto* view = new QHBoxLayout;
    view->addWidget(new QLabel(QStringLiteral("Select a view"), this));
    view->addWidget(m_viewBox);
    view->addStretch();
    view->addWidget(new QLabel(QStringLiteral("Total Gain:"), this));
    view->addWidget(m_total);

    QDialogButtonBox* buttons = MakeCloseButton(*this, QStringLiteral("OK"));
    AddListReportCommands(*this, *buttons, title->text(), *m_list);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addLayout(view);
    layout->addWidget(m_list, 1);
    layout->addWidget(new QLabel(
        QStringLiteral("Note: To set market price,  use the \"Price Update\" menu."), this));
    layout->addWidget(buttons);
    resize(DialogUnits(*this, 417, 229));

    // The columns share the width the list gets in the dialog.
    const int width = ListWidthIn(*this);
    m_list->setMinimumWidth(width);
    m_list->InsertColumn(0, QStringLiteral("Symbol"), Qt::AlignHCenter, width * 14 / 100);
    m_list->InsertColumn(1, QStringLiteral("Purchase Cost"), Qt::AlignRight, width * 17 / 100);
    m_list->InsertColumn(2, QStringLiteral("Sale Value"), Qt::AlignRight, width * 17 / 100);
    m_list->InsertColumn(3, QStringLiteral("Dividends"), Qt::AlignRight, width * 17 / 100 - 17);
    m_list->InsertColumn(4, QStringLiteral("Gain (%)"), Qt::AlignRight, width * 18 / 100);
    m_list->InsertColumn(5, QStringLiteral("Gain ($)"), Qt::AlignRight, width * 17 / 100);

    connect(m_viewBox, &QComboBox::currentIndexChanged, this, &CGainsDlg::OnViewChanged);
    // Prices fetched or records added while the report is open show at once.
    connect(new DocumentSignals(m_document, this), &DocumentSignals::DocumentChanged, this,
            [this] { OnViewChanged(m_viewBox->currentIndex()); });
}

CGainsDlg::~CGainsDlg() = default;

void CGainsDlg::OnViewChanged(int index) {
    if (index < 0) {
        return;
    }
    const GainsReport report =
        BuildGainsReport(m_document, m_viewBox->itemText(index).toStdString());
    m_totalGain = report.total;
    m_total->setText(TotalText(m_totalGain));
    m_list->DeleteAllItems();
    for (const QStringList& cells : TabSeparatedRows(report.text)) {
        const int row = m_list->InsertItem(m_list->RowCount(), cells.front());
        for (int cell = 1; cell < cells.size() && cell < std::ssize(kColumnOfCell); ++cell) {
            m_list->SetItemText(row, kColumnOfCell[cell], cells[cell]);
        }
    }
    m_list->RepeatSort();
}

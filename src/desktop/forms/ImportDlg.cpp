#include "desktop/forms/ImportDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/exchange/CsvImport.h"
#include "core/exchange/QifReader.h"
#include "core/model/FileBytes.h"
#include "core/model/Kx7Doc.h"
#include "core/reports/CsvText.h"

namespace {

// A transactions file larger than this is no one's history.
constexpr std::uint64_t kLargestImport = std::uint64_t{256} << 20;

QString ActionText(ImportAction action) {
    switch (action) {
        case ImportAction::kBuy:
            return QStringLiteral("Buy");
        case ImportAction::kGrant:
            return QStringLiteral("Grant");
        case ImportAction::kSell:
            return QStringLiteral("Sell");
        case ImportAction::kExpire:
            return QStringLiteral("Expire");
        case ImportAction::kCashDividend:
            return QStringLiteral("Dividend");
        case ImportAction::kShareDividend:
            return QStringLiteral("Share Dividend");
        case ImportAction::kReinvestDividend:
            return QStringLiteral("Reinvested Dividend");
        case ImportAction::kSplit:
            return QStringLiteral("Split");
        case ImportAction::kSymbolChange:
            return QStringLiteral("Symbol Change");
    }
    return {};
}

QString Figure(double value, int decimals) {
    return value == 0.0 ? QString() : QString::number(value, 'f', decimals);
}

}  // namespace

CImportDlg::CImportDlg(const CKx7Doc& document, const QString& path, QWidget* parent)
    : QDialog(parent),
      m_document(document),
      m_qif(path.endsWith(QStringLiteral(".qif"), Qt::CaseInsensitive)),
      m_mappingBox(new QComboBox(this)),
      m_dayFirstBox(new QCheckBox(QStringLiteral("Dates are day first (D/M/Y)"), this)),
      m_matchingBox(new QComboBox(this)),
      m_table(new QTableWidget(this)),
      m_totals(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Import Transactions"));
    const FileBytes bytes = ReadFileBytes(path.toStdString(), kLargestImport);
    m_error = bytes.error;
    m_text.assign(bytes.bytes.begin(), bytes.bytes.end());

    m_mappingBox->setObjectName(QStringLiteral("mappingBox"));
    for (const CsvMapping& mapping : ShippedCsvMappings()) {
        m_mappingBox->addItem(QString::fromStdString(mapping.name));
    }
    m_dayFirstBox->setObjectName(QStringLiteral("dayFirstBox"));
    m_matchingBox->setObjectName(QStringLiteral("matchingBox"));
    m_matchingBox->addItems({QStringLiteral("First in, first out"),
                             QStringLiteral("Last in, first out"),
                             QStringLiteral("As the file says")});
    m_table->setObjectName(QStringLiteral("previewTable"));
    m_table->setColumnCount(8);
    m_table->setHorizontalHeaderLabels({QStringLiteral("Line"), QStringLiteral("Date"),
                                        QStringLiteral("Action"), QStringLiteral("Symbol"),
                                        QStringLiteral("Shares"), QStringLiteral("Price"),
                                        QStringLiteral("Amount"), QStringLiteral("Recorded")});
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setMinimumSize(720, 320);
    m_totals->setObjectName(QStringLiteral("totals"));
    m_totals->setWordWrap(true);

    auto* choices = new QFormLayout;
    choices->addRow(QStringLiteral("File:"), new QLabel(QFileInfo(path).fileName(), this));
    if (m_qif) {
        m_mappingBox->hide();
        choices->addRow(m_dayFirstBox);
    } else {
        m_dayFirstBox->hide();
        choices->addRow(QStringLiteral("&Columns as in:"), m_mappingBox);
    }
    choices->addRow(QStringLiteral("&Sales take lots:"), m_matchingBox);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_importButton = buttons->addButton(QStringLiteral("&Import"), QDialogButtonBox::AcceptRole);
    m_importButton->setObjectName(QStringLiteral("importButton"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_totals);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_mappingBox, &QComboBox::currentIndexChanged, this, &CImportDlg::Refresh);
    connect(m_matchingBox, &QComboBox::currentIndexChanged, this, &CImportDlg::Refresh);
    connect(m_dayFirstBox, &QCheckBox::toggled, this, &CImportDlg::Refresh);
    Refresh();
}

ImportMatching CImportDlg::Matching() const {
    return static_cast<ImportMatching>(m_matchingBox->currentIndex());
}

void CImportDlg::Refresh() {
    m_table->setRowCount(0);
    m_plan = ImportPlan{};
    ImportRows read;
    if (m_error.empty()) {
        if (m_qif) {
            read = ReadQif(m_text, m_dayFirstBox->isChecked());
        } else {
            const std::vector<CsvMapping> mappings = ShippedCsvMappings();
            read = ReadCsvImport(
                m_text,
                mappings[static_cast<std::size_t>(std::max(m_mappingBox->currentIndex(), 0))]);
        }
    }
    const std::string error = !m_error.empty() ? m_error : read.error;
    if (!error.empty()) {
        m_totals->setText(QStringLiteral("The file cannot be imported: ") +
                          QString::fromStdString(error));
        m_importButton->setEnabled(false);
        return;
    }
    m_plan = PlanImport(m_document, read, Matching());
    const auto addRow = [this](const QStringList& cells) {
        const int row = m_table->rowCount();
        m_table->insertRow(row);
        for (int column = 0; column < cells.size(); ++column) {
            m_table->setItem(row, column, new QTableWidgetItem(cells[column]));
        }
    };
    for (const PlannedRow& planned : m_plan.rows) {
        const ImportRow& row = planned.row;
        addRow({QString::number(row.line), QString::fromStdString(IsoDate(row.date)),
                ActionText(row.action), QString::fromStdString(row.symbol), Figure(row.shares, 4),
                Figure(row.price, 4), Figure(row.amount, 2),
                planned.skipped.empty()
                    ? QStringLiteral("Yes")
                    : QStringLiteral("No: ") + QString::fromStdString(planned.skipped)});
    }
    for (const ImportProblem& problem : m_plan.unread) {
        addRow({QString::number(problem.line),
                {},
                {},
                {},
                {},
                {},
                {},
                QStringLiteral("No: ") + QString::fromStdString(problem.reason)});
    }
    m_table->resizeColumnsToContents();
    m_totals->setText(QStringLiteral("%1 to record, %2 skipped. Bought %3, sold %4, dividends %5.")
                          .arg(m_plan.recorded)
                          .arg(m_plan.skipped)
                          .arg(m_plan.bought, 0, 'f', 2)
                          .arg(m_plan.sold, 0, 'f', 2)
                          .arg(m_plan.dividends, 0, 'f', 2));
    m_importButton->setEnabled(m_plan.recorded > 0);
}

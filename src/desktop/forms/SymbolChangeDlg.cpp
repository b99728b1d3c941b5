#include "desktop/forms/SymbolChangeDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/figures/FormNumbers.h"
#include "core/model/Kx7Doc.h"
#include "desktop/forms/Beep.h"
#include "desktop/forms/FormFields.h"

CSymbolChangeDlg::CSymbolChangeDlg(const CKx7Doc& doc, QWidget* parent)
    : QDialog(parent), m_doc(doc) {
    setWindowTitle(QStringLiteral("Symbol and Name Change"));

    const std::vector<std::string> symbols = doc.SymbolNames(SymbolFilter::kHeldLots);

    m_oldBox = new QComboBox(this);
    AddSortedItems(m_oldBox, symbols);
    m_oldBox->setCurrentIndex(-1);
    m_oldCompanyEdit = new QLineEdit(this);
    m_oldCompanyEdit->setReadOnly(true);
    m_newBox = new QComboBox(this);
    m_newBox->setEditable(true);
    m_newBox->setInsertPolicy(QComboBox::NoInsert);
    m_newBox->setCompleter(nullptr);
    std::vector<std::string> newSymbols = symbols;
    newSymbols.emplace_back(" ");
    AddSortedItems(m_newBox, std::move(newSymbols));
    m_newBox->setCurrentIndex(-1);
    m_newCompanyEdit = new QLineEdit(this);

    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);

    auto* grid = new QGridLayout;
    grid->addWidget(LabelFor(QStringLiteral("Old Symbol"), m_oldBox, this), 0, 0);
    grid->addWidget(LabelFor(QStringLiteral("Old Company Name"), m_oldCompanyEdit, this), 0, 1);
    grid->addWidget(m_oldBox, 1, 0);
    grid->addWidget(m_oldCompanyEdit, 1, 1);
    grid->addWidget(separator, 2, 0, 1, 2);
    grid->addWidget(LabelFor(QStringLiteral("New Symbol"), m_newBox, this), 3, 0);
    grid->addWidget(LabelFor(QStringLiteral("New Company Name"), m_newCompanyEdit, this), 3, 1);
    grid->addWidget(m_newBox, 4, 0);
    grid->addWidget(m_newCompanyEdit, 4, 1);
    grid->setColumnStretch(1, 1);
    m_oldCompanyEdit->setMinimumWidth(220);
    m_oldBox->setMinimumWidth(110);
    m_newBox->setMinimumWidth(110);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("Select the old symbol and then enter the new symbol and company name."),
        this));
    layout->addLayout(grid);
    layout->addWidget(MakeOkCancel(this));
    SetTabOrder({m_oldBox, m_oldCompanyEdit, m_newBox, m_newCompanyEdit});

    connect(m_oldBox, &QComboBox::activated, this, &CSymbolChangeDlg::OnOldChosen);
    connect(m_newBox, &QComboBox::activated, this, &CSymbolChangeDlg::OnNewChosen);
}

CSymbolChangeDlg::~CSymbolChangeDlg() = default;

void CSymbolChangeDlg::OnOldChosen(int index) {
    if (index < 0) {
        return;
    }
    std::string company;
    m_doc.CompanyName(m_oldBox->itemText(index).toStdString(), company);
    m_oldCompanyEdit->setText(QString::fromStdString(company));
}

void CSymbolChangeDlg::OnNewChosen(int index) {
    const std::string symbol = m_newBox->itemText(index).toStdString();
    if (index < 0 || symbol == " ") {
        return;
    }
    std::string company;
    m_doc.CompanyName(symbol, company);
    m_newCompanyEdit->setText(QString::fromStdString(company));
}

void CSymbolChangeDlg::accept() {
    const int oldIndex = m_oldBox->currentIndex();
    m_oldSymbol = oldIndex >= 0 ? m_oldBox->itemText(oldIndex).toStdString() : std::string();
    m_newSymbol = ComboText(m_newBox);
    m_newCompanyName = FieldText(m_newCompanyEdit);
    if (m_newCompanyName.empty() || oldIndex < 0 || m_newSymbol.empty()) {
        BeepBecause(this, QStringLiteral("Choose the old symbol and enter the new symbol and "
                                         "company name."));
        return;
    }
    QDialog::accept();
}

#include "desktop/mainwindow/PortfolioDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "desktop/forms/FormFields.h"

CPortfolioDlg::CPortfolioDlg(const std::string& owner, const std::string& objective,
                             QWidget* parent)
    : QDialog(parent) {
    // The title as the program has always spelt it.
    setWindowTitle(QStringLiteral("Potfolio Overview"));

    m_ownerEdit = new QLineEdit(QString::fromStdString(owner), this);
    m_objectiveEdit = new QPlainTextEdit(QString::fromStdString(objective), this);
    m_objectiveEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_objectiveEdit->setTabChangesFocus(true);
    m_objectiveEdit->setMinimumSize(380, 160);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelFor(QStringLiteral("Portfolio Owner"), m_ownerEdit, this));
    layout->addWidget(m_ownerEdit);
    layout->addWidget(LabelFor(QStringLiteral("Portfolio Objective"), m_objectiveEdit, this));
    layout->addWidget(m_objectiveEdit, 1);
    layout->addWidget(MakeOkCancel(this));
}

CPortfolioDlg::~CPortfolioDlg() = default;

std::string CPortfolioDlg::Owner() const {
    return FieldText(m_ownerEdit);
}

std::string CPortfolioDlg::Objective() const {
    return CommentText(m_objectiveEdit);
}

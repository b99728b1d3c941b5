#include "desktop/forms/RemoveItDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CRemoveItDlg::CRemoveItDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint) {
    auto* yes = new QPushButton(QStringLiteral("YES"), this);
    auto* no = new QPushButton(QStringLiteral("NO"), this);
    yes->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yes);
    buttons->addWidget(no);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("This will remove any sales associated with this purchase."), this));
    layout->addWidget(new QLabel(QStringLiteral("Do you still wish to continue?"), this));
    layout->addLayout(buttons);

    connect(yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);
}

CRemoveItDlg::~CRemoveItDlg() = default;

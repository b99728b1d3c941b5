#include "desktop/app/AboutDlg.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QVBoxLayout>

#include "core/settings/Version.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Velmora"));

    auto* icon = new QLabel(this);
    const QIcon programIcon = QApplication::windowIcon().isNull()
                                  ? style()->standardIcon(QStyle::SP_ComputerIcon)
                                  : QApplication::windowIcon();
    icon->setPixmap(programIcon.pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);

    auto* version = new QLineEdit(VersionLine(), this);
    version->setObjectName(QStringLiteral("version"));
    version->setReadOnly(true);
    version->setFrame(false);
    version->setMinimumWidth(version->fontMetrics().horizontalAdvance(VersionLine()) + 16);

    auto* purpose = new QLabel(
        QStringLiteral(
            "This program can help you track purchase and sales for your stock transactions."),
        this);
    purpose->setObjectName(QStringLiteral("purpose"));
    purpose->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(version);
    texts->addWidget(purpose);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

CAboutDlg::~CAboutDlg() = default;

QString CAboutDlg::VersionLine() {
    return QString::fromLatin1(kProductName) + QLatin1Char(' ') +
           QString::fromStdString(VersionText());
}

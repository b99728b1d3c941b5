#include "desktop/forms/OptionDefDlg.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

// `aligned`: the lines line up by spaces and need a fixed-pitch font; other texts wrap.
QGroupBox* TextGroup(const QString& title, const QString& text, int lines, bool aligned,
                     QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    // The texts keep their CR LF line ends; the edit shows a CR as a glyph of its own.
    auto* edit = new QPlainTextEdit(QString(text).remove(QLatin1Char('\r')), group);
    edit->setReadOnly(true);
    if (aligned) {
        edit->setLineWrapMode(QPlainTextEdit::NoWrap);
        edit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    }
    const int lineHeight = edit->fontMetrics().lineSpacing();
    edit->setMinimumHeight(lineHeight * lines + 12);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 90);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(edit);
    return group;
}

}  // namespace

COptionDefDlg::COptionDefDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Option Definitions"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TextGroup(QStringLiteral("Option Vesting Schedule Definitions"),
                                ScheduleText(), 25, false, this),
                      1);
    layout->addWidget(TextGroup(QStringLiteral("Stock Option Types"), TypeText(), 6, true, this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

COptionDefDlg::~COptionDefDlg() = default;

QString COptionDefDlg::ScheduleText() {
    return QStringLiteral(
        "1YA - 100% vest on 1st Anniversary.\r\n"
        "2YA - 50% vest on 1st anniversary, 100% on 2nd anniversary\r\n"
        "3YA - 33% vest on 1st anniversary, 66% on 2nd annversary, 100% on 3rd.\r\n"
        "4YA - 25% vest on 1st anniversary, 50% on 2nd annversary, 75% on 3rd anniversary, "
        "100% on 4th.\r\n"
        "\r\n"
        "1YM - 1 year - 100% vest on first anniversary.\r\n"
        "2YM - 2 year - 50% vest on first anniversary with monthly vesting thereafter to 100% "
        "on 2nd anniversary.\r\n"
        "3YM - 3 year - 33% vest on first anniversary with monthly vesting thereafter to 100% "
        "on 3rd anniversary.\r\n"
        "4YM - 4 year - 25% vest on first anniversary with monthly vesting thereafter to 100% "
        "on 4rd anniversary.\r\n"
        "\r\n"
        "12MM - Monthly vesting for 12 Months.\r\n"
        "24MM - Monthly vesting for 24 Months.\r\n"
        "36MM - Monthly vesting for 36 Months.\r\n"
        "48MM - Monthly vesting for 48 Months.\r\n"
        "\r\n"
        "1YC - 1 year cliff - 100% vest on 1st anniversary.\r\n"
        "2YC - 2 year cliff - 100% vest on 2nd anniversary.\r\n"
        "3YC - 3 year cliff - 100% vest on 3rd anniversary.\r\n"
        "4YC - 4 year cliff - 100% vest on 4th anniversary.\r\n"
        "5YC - 5 year cliff - 100% vest on 5th anniversary.\r\n"
        "\r\n"
        "Other - Non-standard vesting schedule.  Refer to the original instrument of Grant for "
        "information.");
}

QString COptionDefDlg::TypeText() {
    return QStringLiteral(
        "NQ     - Non-qualified stock option.\r\n"
        "NQ/SAR - Nonqualified stock option/Stock Appreciation Rights.\r\n"
        "ISO    - Incentive Stock Option.\r\n"
        "KCO    - Key Contributor (Original)\r\n"
        "KCR    - Key Contributor (Replacement)\r\n");
}

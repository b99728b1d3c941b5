#include "desktop/reports/ReportUi.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QStyle>
#include <QTextDocument>
#include <utility>

namespace {

QString FromReport(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QPlainTextEdit* MakeReportBox(QWidget* parent, bool wrap) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QStringLiteral("report"));
    box->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    box->setReadOnly(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    if (!wrap) {
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
    return box;
}

void ShowReportText(QPlainTextEdit& box, std::string_view text) {
    QString shown = FromReport(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setPlainText(shown);
}

void ShowReportTextOnce(QPlainTextEdit& box, std::string&& text) {
    ShowReportText(box, text);
}

QLabel* MakeColumnHeading(const QString& text, QWidget* parent) {
    auto* heading = new QLabel(text, parent);
    heading->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    heading->setTextFormat(Qt::PlainText);
    // The box's frame and margin, so the heading's columns sit over the report's.
    heading->setContentsMargins(5, 0, 0, 0);
    return heading;
}

QLabel* MakeTitle(const QString& text, QWidget* parent) {
    auto* title = new QLabel(text, parent);
    QFont font = title->font();
    font.setBold(true);
    title->setFont(font);
    return title;
}

std::vector<QStringList> TabSeparatedRows(std::string_view text) {
    std::vector<QStringList> rows;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos) {
            break;  // a line must end in CR LF to count
        }
        const std::string_view line = text.substr(start, end - start);
        start = end + 2;
        QStringList cells;
        std::size_t cellStart = 0;
        for (std::size_t tab = line.find('\t'); tab != std::string_view::npos;
             tab = line.find('\t', cellStart)) {
            cells << FromReport(line.substr(cellStart, tab - cellStart));
            cellStart = tab + 1;
        }
        if (!cells.isEmpty()) {
            rows.push_back(std::move(cells));
        }
    }
    return rows;
}

QSize DialogUnits(const QWidget& dialog, int width, int height) {
    const QFontMetrics metrics = dialog.fontMetrics();
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int charWidth = (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
    return {width * charWidth / 4, height * metrics.height() / 8};
}

int ListWidthIn(const QDialog& dialog) {
    const QMargins margins =
        dialog.layout() != nullptr ? dialog.layout()->contentsMargins() : QMargins();
    return dialog.width() - margins.left() - margins.right();
}

int ReportBoxWidth(const QPlainTextEdit& box, int characters) {
    const int text = box.fontMetrics().horizontalAdvance(QString(characters, QLatin1Char('0')));
    const int scrollBar = box.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &box);
    return text + scrollBar + 2 * box.frameWidth() +
           2 * static_cast<int>(box.document()->documentMargin()) + 4;
}

QDialogButtonBox* MakeCloseButton(QDialog& dialog, const QString& text) {
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* close = buttons->addButton(text, QDialogButtonBox::RejectRole);
    close->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

QString SaveTextAs(QWidget* parent, const std::string& text, const QString& suffix,
                   const QString& filter) {
    QFileDialog dialog(parent, QStringLiteral("Save As"));
    dialog.setNameFilter(filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    QString path = dialog.selectedFiles().first();
    // Written beside the target and moved over it, so a failed write keeps the old file.
    QSaveFile file(path);
    const auto size = static_cast<qint64>(text.size());
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), size) != size ||
        !file.commit()) {
        QMessageBox::warning(parent, QStringLiteral("Save As"),
                             QStringLiteral("The file could not be written: %1").arg(path));
        return {};
    }
    return path;
}

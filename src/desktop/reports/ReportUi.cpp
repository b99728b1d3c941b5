#include "desktop/reports/ReportUi.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>
#include <functional>
#include <utility>

#include "desktop/controls/FindBar.h"
#include "desktop/controls/ReportTextView.h"
#include "desktop/reports/ReportPrinting.h"

namespace {

QString FromReport(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

ReportTextView* MakeReportBox(QWidget* parent) {
    auto* view = new ReportTextView(parent);
    view->setObjectName(QStringLiteral("report"));
    return view;
}

void AddReportWithFind(QVBoxLayout& layout, ReportTextView& view, int stretch) {
    layout.addWidget(&view, stretch);
    layout.addWidget(new FindBar(view, view.parentWidget()));
}

ReportPrintCommands* AddTextReportCommands(QDialog& dialog, QDialogButtonBox& buttons,
                                           const QString& title, const QStringList& heading,
                                           const ReportTextView& view, bool saveAs) {
    std::function<std::string()> text;
    if (saveAs) {
        text = [&view] { return view.Text(); };
    }
    return new ReportPrintCommands(
        dialog, buttons, [title, heading, &view] { return ReportOfView(title, heading, view); },
        std::move(text));
}

ReportPrintCommands* AddListReportCommands(QDialog& dialog, QDialogButtonBox& buttons,
                                           const QString& title, const CXListCtrl& list) {
    return new ReportPrintCommands(
        dialog, buttons, [title, &list] { return ReportOfList(title, list); },
        [&list] { return ListAsText(list); });
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

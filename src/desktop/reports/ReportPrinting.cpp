#include "desktop/reports/ReportPrinting.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "desktop/controls/ReportTextView.h"
#include "desktop/controls/XListCtrl.h"
#include "desktop/reports/ReportUi.h"

namespace {

constexpr int kPrintPointSize = 9;

QFont PrintFont() {
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(kPrintPointSize);
    return fixed;
}

// The title and the headings above a rule at the top, the page number at the bottom.
int TopOfLines(int lineHeight, int headingLines) {
    return lineHeight * (headingLines + 2);
}

int BottomOfLines(int pageHeight, int lineHeight) {
    return pageHeight - 2 * lineHeight;
}

std::vector<QStringList> ListRows(const CXListCtrl& list) {
    std::vector<QStringList> rows;
    QStringList captions;
    for (int column = 0; column < list.ColumnCount(); ++column) {
        captions << list.model()->headerData(column, Qt::Horizontal).toString();
    }
    rows.push_back(captions);
    for (int row = 0; row < list.RowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < list.ColumnCount(); ++column) {
            cells << list.GetItemText(row, column);
        }
        rows.push_back(cells);
    }
    return rows;
}

// Each row's cells padded to their column's widest text, two spaces apart.
QStringList AlignedLines(const std::vector<QStringList>& rows) {
    std::vector<qsizetype> widths;
    for (const QStringList& row : rows) {
        widths.resize(std::max(widths.size(), static_cast<std::size_t>(row.size())));
        for (qsizetype column = 0; column < row.size(); ++column) {
            auto& width = widths[static_cast<std::size_t>(column)];
            width = std::max(width, row[column].size());
        }
    }
    QStringList lines;
    for (const QStringList& row : rows) {
        QString line;
        for (qsizetype column = 0; column < row.size(); ++column) {
            line += row[column].leftJustified(widths[static_cast<std::size_t>(column)] + 2);
        }
        lines << line.trimmed();
    }
    return lines;
}

}  // namespace

PrintedReport ReportOfView(const QString& title, const QStringList& heading,
                           const ReportTextView& view) {
    return {title, heading, view.LineCount(), [&view](int index) { return view.Line(index); }};
}

PrintedReport ReportOfList(const QString& title, const CXListCtrl& list) {
    QStringList lines = AlignedLines(ListRows(list));
    const QString captions = lines.takeFirst();
    const int count = static_cast<int>(lines.size());
    return {
        title, {captions}, count, [lines = std::move(lines)](int index) { return lines[index]; }};
}

std::string ListAsText(const CXListCtrl& list) {
    std::string text;
    for (const QString& line : AlignedLines(ListRows(list))) {
        text += line.toStdString();
        text += "\r\n";
    }
    return text;
}

int LinesPerPage(QPrinter& printer, int headingLines) {
    const int lineHeight = QFontMetrics(PrintFont(), &printer).lineSpacing();
    const int height = printer.pageLayout().paintRectPixels(printer.resolution()).height();
    return std::max(
        1, (BottomOfLines(height, lineHeight) - TopOfLines(lineHeight, headingLines)) / lineHeight);
}

int PrintReport(QPrinter& printer, const PrintedReport& report) {
    const int headingLines = static_cast<int>(report.heading.size());
    const int perPage = LinesPerPage(printer, headingLines);
    QPainter painter;
    if (!painter.begin(&printer)) {
        return 0;
    }
    const QFont fixed = PrintFont();
    QFont bold = fixed;
    bold.setBold(true);
    const QRect page = painter.viewport();
    painter.setFont(fixed);
    const int lineHeight = painter.fontMetrics().lineSpacing();
    const int top = TopOfLines(lineHeight, headingLines);
    const int bottom = BottomOfLines(page.height(), lineHeight);
    const int pages = std::max(1, (report.lineCount + perPage - 1) / perPage);
    const int ascent = painter.fontMetrics().ascent();
    for (int pageIndex = 0; pageIndex < pages; ++pageIndex) {
        if (pageIndex > 0 && !printer.newPage()) {
            return pageIndex;
        }
        painter.setFont(bold);
        painter.drawText(0, ascent, report.title);
        painter.setFont(fixed);
        for (int row = 0; row < report.heading.size(); ++row) {
            painter.drawText(0, ascent + (row + 1) * lineHeight, report.heading[row]);
        }
        painter.drawLine(0, top - lineHeight / 2, page.width(), top - lineHeight / 2);
        const int first = pageIndex * perPage;
        const int last = std::min(report.lineCount, first + perPage);
        for (int line = first; line < last; ++line) {
            painter.drawText(0, top + ascent + (line - first) * lineHeight, report.line(line));
        }
        painter.drawText(QRect(0, bottom + lineHeight, page.width(), lineHeight), Qt::AlignHCenter,
                         QStringLiteral("Page %1 of %2").arg(pageIndex + 1).arg(pages));
    }
    painter.end();
    return pages;
}

ReportPrintCommands::ReportPrintCommands(QDialog& dialog, QDialogButtonBox& buttons,
                                         std::function<PrintedReport()> report,
                                         std::function<std::string()> text)
    : QObject(&dialog), m_dialog(dialog), m_report(std::move(report)), m_text(std::move(text)) {
    setObjectName(QStringLiteral("reportPrinting"));
    auto add = [&](const QString& label, const char* name, void (ReportPrintCommands::*run)()) {
        QPushButton* button = buttons.addButton(label, QDialogButtonBox::ActionRole);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, run);
    };
    add(QStringLiteral("Print..."), "print", &ReportPrintCommands::Print);
    add(QStringLiteral("Print Preview..."), "printPreview", &ReportPrintCommands::Preview);
    if (m_text) {
        add(QStringLiteral("Save As..."), "saveAs", &ReportPrintCommands::SaveAs);
    }
}

ReportPrintCommands::~ReportPrintCommands() = default;

int ReportPrintCommands::PrintTo(QPrinter& printer) const {
    return PrintReport(printer, m_report());
}

void ReportPrintCommands::Print() {
    QPrinter printer;
    QPrintDialog dialog(&printer, &m_dialog);
    if (dialog.exec() == QDialog::Accepted) {
        PrintTo(printer);
    }
}

void ReportPrintCommands::Preview() {
    QPrintPreviewDialog dialog(&m_dialog);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { PrintTo(*printer); });
    dialog.exec();
}

void ReportPrintCommands::SaveAs() {
    SaveTextAs(&m_dialog, m_text(), QStringLiteral("txt"), QStringLiteral("Text Files (*.txt)"));
}

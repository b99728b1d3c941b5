#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

class CXListCtrl;
class QDialog;
class QDialogButtonBox;
class QPrinter;
class ReportTextView;

// What a report puts on paper: its title and column headings at the top of every page, and
// its lines in the fixed-pitch font.
struct PrintedReport {
    QString title;
    QStringList heading;
    int lineCount = 0;
    std::function<QString(int)> line;
};

// The lines of a report view, under `heading`.
PrintedReport ReportOfView(const QString& title, const QStringList& heading,
                           const ReportTextView& view);
// The rows of a list, each cell padded to its column's widest text, under the column captions.
PrintedReport ReportOfList(const QString& title, const CXListCtrl& list);
// The same rows as text lines, as Save As writes them.
std::string ListAsText(const CXListCtrl& list);

// Lays the lines out on the printer's pages with the title and headings on top and
// "Page n of m" at the bottom. Returns the pages printed; 0 when the printer could not start.
int PrintReport(QPrinter& printer, const PrintedReport& report);
// How many of the report's lines fit on one page under `headingLines` heading lines.
int LinesPerPage(QPrinter& printer, int headingLines);

// The "Print...", "Print Preview..." and (when `text` is given) "Save As..." buttons of a
// report dialog, added to its button box. Each asks for the report as it is at that moment.
class ReportPrintCommands final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReportPrintCommands)

public:
    ReportPrintCommands(QDialog& dialog, QDialogButtonBox& buttons,
                        std::function<PrintedReport()> report,
                        std::function<std::string()> text = {});
    ~ReportPrintCommands() override;

    int PrintTo(QPrinter& printer) const;
    void Print();
    void Preview();
    void SaveAs();

private:
    QDialog& m_dialog;
    std::function<PrintedReport()> m_report;
    std::function<std::string()> m_text;
};

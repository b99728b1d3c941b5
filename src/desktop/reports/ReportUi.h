#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

class QDialog;
class QDialogButtonBox;
class QLabel;
class CXListCtrl;
class QVBoxLayout;
class QWidget;
class ReportPrintCommands;
class ReportTextView;

// Pieces the report dialogs share: the text box that shows a report, the fixed-pitch
// headings above it, the rows of a tab-separated report, and dialog sizes.

// A read-only report view in the fixed-pitch font, so the report's columns line up. Its
// lines can still be selected and copied.
ReportTextView* MakeReportBox(QWidget* parent);
// Adds the report view to `layout` with its find bar (Ctrl+F) under it.
void AddReportWithFind(QVBoxLayout& layout, ReportTextView& view, int stretch = 1);
// Print, Print Preview and, unless the dialog has its own, Save As for a text report, under
// `title` and its column `heading` lines.
ReportPrintCommands* AddTextReportCommands(QDialog& dialog, QDialogButtonBox& buttons,
                                           const QString& title, const QStringList& heading,
                                           const ReportTextView& view, bool saveAs = true);
// Print, Print Preview and Save As for a report shown as a list.
ReportPrintCommands* AddListReportCommands(QDialog& dialog, QDialogButtonBox& buttons,
                                           const QString& title, const CXListCtrl& list);
// A heading that names the report's columns, in the report's font so it lines up.
QLabel* MakeColumnHeading(const QString& text, QWidget* parent);

// The report's title line, in bold.
QLabel* MakeTitle(const QString& text, QWidget* parent);

// The cells of a tab-separated report: one row per line, each cell that a TAB ends is one
// column; text after a line's last TAB is not shown and a line without a TAB gives no row.
std::vector<QStringList> TabSeparatedRows(std::string_view text);

// A dialog size given in the dialog units of its resource (a quarter of the average
// character width, an eighth of the character height).
QSize DialogUnits(const QWidget& dialog, int width, int height);

// The width a widget spanning the dialog gets inside its layout's margins.
int ListWidthIn(const QDialog& dialog);

// The button box with the one button ("OK" or "Close") that ends a report; Escape also
// closes it.
QDialogButtonBox* MakeCloseButton(QDialog& dialog, const QString& text);

// Saves text to a file the user chooses; says so when the file cannot be written.
// Returns the path written, or an empty text.
QString SaveTextAs(QWidget* parent, const std::string& text, const QString& suffix,
                   const QString& filter);

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
class QPlainTextEdit;
class QWidget;

// Pieces the report dialogs share: the text box that shows a report, the fixed-pitch
// headings above it, the rows of a tab-separated report, and dialog sizes.

// A read-only report box in the fixed-pitch font, so the report's columns line up. Its
// text can still be selected and copied. `wrap` off gives both scroll bars.
QPlainTextEdit* MakeReportBox(QWidget* parent, bool wrap);
// Shows report text whose lines end in CR LF.
void ShowReportText(QPlainTextEdit& box, std::string_view text);
// The same for a text the dialog does not keep; its memory then goes back for the next
// report to be written into.
void ShowReportTextOnce(QPlainTextEdit& box, std::string&& text);
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

// The width a report box needs to show `characters` columns of its text side by side.
int ReportBoxWidth(const QPlainTextEdit& box, int characters);

// The button box with the one button ("OK" or "Close") that ends a report; Escape also
// closes it.
QDialogButtonBox* MakeCloseButton(QDialog& dialog, const QString& text);

// Saves text to a file the user chooses; says so when the file cannot be written.
// Returns the path written, or an empty text.
QString SaveTextAs(QWidget* parent, const std::string& text, const QString& suffix,
                   const QString& filter);

#pragma once

#include <QString>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

class CKx7Doc;
class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

// The pieces every form is made of: number fields, symbol lists, the comment box and the
// OK/Cancel row.

// The standard message of a field that does not hold a number.
inline constexpr const char* kEnterNumber = "Please enter a number.";

// A message box of the program, owned by `parent`.
void ShowFormMessage(QWidget* parent, const QString& text);

// The largest share count, price or amount a form takes: far beyond any real one, and
// well inside what the file's numbers hold.
inline constexpr float kLargestFigure = 1e9f;

void SetNumberField(QLineEdit* field, float value);
// The field's number; when it holds none, says "Please enter a number.", puts the cursor
// in the field and gives nothing.
std::optional<float> ReadNumberField(QWidget* form, QLineEdit* field);
// The same, and a number outside `low` to `high` is refused too: the message names the
// field and the range, the cursor goes to the field, and nothing is given.
std::optional<float> ReadNumberWithin(QWidget* form, QLineEdit* field, const QString& name,
                                      float low = 0.0f, float high = kLargestFigure);
// The picker's time when the file can hold it (01/01/1970 to 02/07/2106); otherwise a
// message names the field and the range, and nothing is given.
class FormDatePicker;
std::optional<std::int64_t> ReadDateField(QWidget* form, FormDatePicker* picker,
                                          const QString& name = QStringLiteral("Date"));

// Items sorted as a sorted list box sorts them: without regard to case.
void AddSortedItems(QComboBox* box, std::vector<std::string> items);
void AddItems(QComboBox* box, const std::vector<std::string>& items);

std::string FieldText(const QLineEdit* field);
std::string ComboText(const QComboBox* box);

// The symbol choice of the purchase and grant forms: the blank entry (" ") clears the
// choice and the company name; a listed symbol brings its company name.
void ApplySymbolChoice(const CKx7Doc& doc, QComboBox* box, int index, QLineEdit* company);

// The "Select a Symbol" group: the symbol list, the read-only company name and, when
// asked for, the read-only shares available.
struct SymbolGroup {
    QGroupBox* group = nullptr;
    QComboBox* symbolBox = nullptr;
    QLineEdit* companyEdit = nullptr;
    QLineEdit* availableEdit = nullptr;
};
SymbolGroup MakeSymbolGroup(bool withAvailable, QWidget* parent);

// The multi-line comment edit inside its "Comment" group.
QGroupBox* MakeCommentGroup(QPlainTextEdit*& edit, QWidget* parent);
std::string CommentText(const QPlainTextEdit* edit);

// A label for `field`, which it names for the keyboard and for the tests.
class QLabel;
QLabel* LabelFor(const QString& text, QWidget* field, QWidget* parent);

// Tab moves through the widgets in this order.
void SetTabOrder(std::initializer_list<QWidget*> widgets);

// OK (the default, also on Enter) and Cancel (also on Escape), wired to the dialog's
// accept() and reject().
QDialogButtonBox* MakeOkCancel(QWidget* dialog, const QString& okText = QStringLiteral("OK"));

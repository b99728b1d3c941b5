#include "desktop/forms/FormFields.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cctype>
#include <limits>

#include "core/figures/FormNumbers.h"
#include "core/model/Kx7Doc.h"
#include "core/settings/Version.h"
#include "desktop/forms/FormDatePicker.h"

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

void ShowFormMessage(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, QString::fromLatin1(kProductName), text);
}

void SetNumberField(QLineEdit* field, float value) {
    field->setText(QString::fromStdString(FormatFormNumber(value)));
}

std::optional<float> ReadNumberField(QWidget* form, QLineEdit* field) {
    const std::optional<float> value = ParseFormNumber(FieldText(field));
    if (!value) {
        ShowFormMessage(form, QString::fromLatin1(kEnterNumber));
        field->setFocus();
        field->selectAll();
    }
    return value;
}

std::optional<float> ReadNumberWithin(QWidget* form, QLineEdit* field, const QString& name,
                                      float low, float high) {
    const std::optional<float> value = ReadNumberField(form, field);
    if (!value || (*value >= low && *value <= high)) {
        return value;
    }
    ShowFormMessage(form, QStringLiteral("%1 must be between %2 and %3.")
                              .arg(name, QString::number(static_cast<double>(low), 'f', 0),
                                   QString::number(static_cast<double>(high), 'f', 0)));
    field->setFocus();
    field->selectAll();
    return std::nullopt;
}

std::optional<std::int64_t> ReadDateField(QWidget* form, FormDatePicker* picker,
                                          const QString& name) {
    const std::int64_t time = picker->Time();
    // Seconds since 1970 in an unsigned 32-bit count: what a stored date holds.
    constexpr std::int64_t kLatest = std::numeric_limits<std::uint32_t>::max();
    if (time >= 0 && time <= kLatest) {
        return time;
    }
    // A day inside the range at either end, whatever the time zone.
    const QString format = picker->displayFormat();
    ShowFormMessage(form, QStringLiteral("%1 must be between %2 and %3.")
                              .arg(name, QDate(1970, 1, 2).toString(format),
                                   QDate(2106, 2, 6).toString(format)));
    picker->setFocus();
    return std::nullopt;
}

void AddSortedItems(QComboBox* box, std::vector<std::string> items) {
    std::stable_sort(items.begin(), items.end(), [](const std::string& a, const std::string& b) {
        return Lower(a) < Lower(b);
    });
    AddItems(box, items);
}

void AddItems(QComboBox* box, const std::vector<std::string>& items) {
    for (const std::string& item : items) {
        box->addItem(QString::fromStdString(item));
    }
}

std::string FieldText(const QLineEdit* field) {
    return field->text().toStdString();
}

std::string ComboText(const QComboBox* box) {
    return box->currentText().trimmed().toStdString();
}

void ApplySymbolChoice(const CKx7Doc& doc, QComboBox* box, int index, QLineEdit* company) {
    if (index < 0) {
        return;  // a typed symbol keeps whatever company name was typed
    }
    const std::string symbol = box->itemText(index).toStdString();
    if (symbol == " ") {
        box->setCurrentIndex(-1);
        company->clear();
        return;
    }
    std::string name;
    doc.CompanyName(symbol, name);
    company->setText(QString::fromStdString(name));
}

SymbolGroup MakeSymbolGroup(bool withAvailable, QWidget* parent) {
    SymbolGroup made;
    made.group = new QGroupBox(QStringLiteral("Select a Symbol"), parent);
    made.symbolBox = new QComboBox(made.group);
    made.companyEdit = new QLineEdit(made.group);
    made.companyEdit->setReadOnly(true);
    auto* fields = new QFormLayout(made.group);
    fields->addRow(QStringLiteral("Symbol"), made.symbolBox);
    fields->addRow(QStringLiteral("Company Name"), made.companyEdit);
    if (withAvailable) {
        made.availableEdit = new QLineEdit(made.group);
        made.availableEdit->setReadOnly(true);
        fields->addRow(QStringLiteral("Shares Available"), made.availableEdit);
    }
    return made;
}

QGroupBox* MakeCommentGroup(QPlainTextEdit*& edit, QWidget* parent) {
    auto* group = new QGroupBox(QStringLiteral("Comment"), parent);
    edit = new QPlainTextEdit(group);
    edit->setTabChangesFocus(true);
    edit->setMinimumHeight(48);
    edit->setMaximumHeight(72);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(edit);
    return group;
}

std::string CommentText(const QPlainTextEdit* edit) {
    return edit->toPlainText().toStdString();
}

QDialogButtonBox* MakeOkCancel(QWidget* dialog, const QString& okText) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(okText);
    ok->setDefault(true);
    if (auto* asDialog = qobject_cast<QDialog*>(dialog)) {
        QObject::connect(buttons, &QDialogButtonBox::accepted, asDialog, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, asDialog, &QDialog::reject);
    }
    return buttons;
}

QLabel* LabelFor(const QString& text, QWidget* field, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(field);
    return label;
}

void SetTabOrder(std::initializer_list<QWidget*> widgets) {
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, widget);
        }
        previous = widget;
    }
}

#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "core/quotes/QuoteSource.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

// "Quote Source": every field of one definition, the answer's fields shown for the chosen
// format only. OK takes the definition only when the update could use it; otherwise the
// reason is shown and the dialog stays open on the field concerned. A ready-made
// definition is shown read-only, since the program ships it and a copy is what changes.
class CQuoteSourceDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CQuoteSourceDlg)

public:
    // `otherNames` are the names of every other source, which this one must not take.
    CQuoteSourceDlg(const QuoteSource& source, std::vector<std::string> otherNames, bool readOnly,
                    QWidget* parent);
    ~CQuoteSourceDlg() override;

    // The definition as OK took it; the one given until then.
    QuoteSource Source() const { return m_source; }

    void accept() override;

private:
    void FillFields(const QuoteSource& source);
    // Shows the rows that the chosen answer format reads and names its places.
    void ShowFormat();
    void MakeReadOnly();
    // The definition in the fields; false with the message and the field concerned (its
    // line selected) when a line of the overrides or the headers is no line of its kind.
    bool ReadFields(QuoteSource& source, QString& problem, QWidget*& field);
    // The field a problem of the definition is about, or none.
    QWidget* FieldOfProblem(const std::string& problem) const;

    QuoteSource m_source;
    const std::vector<std::string> m_otherNames;

    QLineEdit* m_nameEdit = nullptr;
    QLineEdit* m_urlEdit = nullptr;
    QLineEdit* m_separatorEdit = nullptr;
    QSpinBox* m_batchSpin = nullptr;
    QComboBox* m_caseBox = nullptr;
    QLineEdit* m_prefixEdit = nullptr;
    QLineEdit* m_suffixEdit = nullptr;
    QPlainTextEdit* m_overridesEdit = nullptr;
    QPlainTextEdit* m_headersEdit = nullptr;
    QSpinBox* m_pauseSpin = nullptr;

    QFormLayout* m_answerForm = nullptr;
    QComboBox* m_formatBox = nullptr;
    QLabel* m_formatHint = nullptr;
    QCheckBox* m_csvHeaderBox = nullptr;
    QLineEdit* m_resultsEdit = nullptr;
    QLineEdit* m_patternEdit = nullptr;
    QLabel* m_patternHint = nullptr;
    QLineEdit* m_symbolField = nullptr;
    QLineEdit* m_priceField = nullptr;
    QLineEdit* m_timeField = nullptr;
    QLineEdit* m_changeField = nullptr;
    QLineEdit* m_previousCloseField = nullptr;
    QLineEdit* m_currencyField = nullptr;

    QLineEdit* m_historyUrlEdit = nullptr;
    QComboBox* m_historyFormatBox = nullptr;
    QLineEdit* m_historyDateEdit = nullptr;
    QLineEdit* m_historyCloseEdit = nullptr;

    QPushButton* m_okButton = nullptr;
};

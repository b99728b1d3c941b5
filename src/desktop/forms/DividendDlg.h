#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

class CDividend;
class CKx7Doc;
class FormDatePicker;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

// "Dividend": a dividend of a held symbol, in cash or in shares. Both numbers are read
// back; which one is non-zero decides the kind, not the option buttons.
class CDividendDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CDividendDlg)

public:
    // A new dividend, or with `editing` that record under its own symbol.
    CDividendDlg(const CKx7Doc& doc, const CDividend* editing, QWidget* parent);
    ~CDividendDlg() override;

    // Position of the chosen symbol in the form's list; -1 for none.
    int SymbolIndex() const { return m_symbolIndex; }
    // The symbol at that position.
    std::string Symbol() const;
    float Value() const { return m_value; }
    float Shares() const { return m_shares; }
    std::int64_t Date() const { return m_date; }
    const std::string& Comment() const { return m_comment; }

    void accept() override;

private:
    void ShowKind(bool cash);
    bool ReadBack();

    std::vector<std::string> m_symbols;  // what the symbol box was filled from
    QComboBox* m_symbolBox = nullptr;
    QLineEdit* m_companyEdit = nullptr;
    FormDatePicker* m_datePicker = nullptr;
    QRadioButton* m_cash = nullptr;
    QLineEdit* m_valueEdit = nullptr;
    QRadioButton* m_sharesButton = nullptr;
    QLineEdit* m_sharesEdit = nullptr;
    QPlainTextEdit* m_commentEdit = nullptr;

    int m_symbolIndex = -1;
    float m_value = 0;
    float m_shares = 0;
    std::int64_t m_date = 0;
    std::string m_comment;
};

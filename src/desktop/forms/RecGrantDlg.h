#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

class CKx7Doc;
class FormDatePicker;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

// "Receive Option Grant": collects and checks a new grant; the caller stores it.
class CRecGrantDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CRecGrantDlg)

public:
    CRecGrantDlg(const CKx7Doc& doc, const std::vector<std::string>& allSymbols, QWidget* parent);
    ~CRecGrantDlg() override;

    const std::string& Symbol() const { return m_symbol; }
    const std::string& CompanyName() const { return m_companyName; }
    std::int64_t Date() const { return m_date; }
    float Shares() const { return m_shares; }
    float StrikePrice() const { return m_strikePrice; }
    // Index into the schedule list; -1 when none is chosen.
    int VestingSchedule() const { return m_vestingSchedule; }
    const std::string& GrantId() const { return m_grantId; }
    const std::string& OptionType() const { return m_optionType; }
    const std::string& Comment() const { return m_comment; }

    void accept() override;

private:
    void OnSymbolChosen(int index);
    void ShowDefinitions();
    bool ReadBack();
    // Why the form cannot be accepted as filled in; empty when it can.
    QString Refusal() const;

    const CKx7Doc& m_doc;
    QComboBox* m_symbolBox = nullptr;
    QLineEdit* m_companyEdit = nullptr;
    FormDatePicker* m_datePicker = nullptr;
    QLineEdit* m_sharesEdit = nullptr;
    QLineEdit* m_strikeEdit = nullptr;
    QComboBox* m_scheduleBox = nullptr;
    QLineEdit* m_grantIdEdit = nullptr;
    QComboBox* m_typeBox = nullptr;
    QPlainTextEdit* m_commentEdit = nullptr;

    std::string m_symbol;
    std::string m_companyName;
    std::int64_t m_date = 0;
    float m_shares = 0;
    float m_strikePrice = 0;
    int m_vestingSchedule = -1;
    std::string m_grantId;
    std::string m_optionType;
    std::string m_comment;
};

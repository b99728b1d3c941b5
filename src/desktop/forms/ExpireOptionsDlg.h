#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

class CKx7Doc;
class FormDatePicker;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

// "Expire Options": every option still held in the grants of a symbol expires.
class CExpireOptionsDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CExpireOptionsDlg)

public:
    CExpireOptionsDlg(CKx7Doc& doc, QWidget* parent);
    ~CExpireOptionsDlg() override;

    const std::string& Symbol() const { return m_symbol; }
    std::int64_t Date() const { return m_date; }
    const std::string& Comment() const { return m_comment; }
    bool SellAllRemaining() const { return m_sellAll; }

    void accept() override;

private:
    void OnSymbolChosen(int index);

    CKx7Doc& m_doc;
    QComboBox* m_symbolBox = nullptr;
    QLineEdit* m_companyEdit = nullptr;
    QLineEdit* m_availableEdit = nullptr;
    FormDatePicker* m_datePicker = nullptr;
    QCheckBox* m_sellAllBox = nullptr;
    QPlainTextEdit* m_commentEdit = nullptr;

    std::string m_symbol;
    std::int64_t m_date = 0;
    std::string m_comment;
    bool m_sellAll = true;
};

#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

class CKx7Doc;
class CPurchase;
class FormDatePicker;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

// "Purchase": a new lot, or the figures of an existing one. Collects and checks the
// values; the caller stores them.
class CPurchaseDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CPurchaseDlg)

public:
    // `allSymbols`: the document's symbols. With `editing`, the form shows that lot and
    // its symbol and company cannot change.
    CPurchaseDlg(const CKx7Doc& doc, const std::vector<std::string>& allSymbols,
                 const CPurchase* editing, QWidget* parent);
    ~CPurchaseDlg() override;

    const std::string& Symbol() const { return m_symbol; }
    const std::string& CompanyName() const { return m_companyName; }
    std::int64_t Date() const { return m_date; }
    float Shares() const { return m_shares; }
    float Price() const { return m_price; }
    const std::string& PurchaseType() const { return m_purchaseType; }
    float Commission() const { return m_commission; }
    const std::string& Comment() const { return m_comment; }

    void accept() override;

private:
    void OnSymbolChosen(int index);
    bool ReadBack();
    // Why the form cannot be accepted as filled in; empty when it can.
    QString Refusal() const;

    const CKx7Doc& m_doc;
    QComboBox* m_symbolBox = nullptr;
    QLineEdit* m_companyEdit = nullptr;
    FormDatePicker* m_datePicker = nullptr;
    QLineEdit* m_sharesEdit = nullptr;
    QLineEdit* m_priceEdit = nullptr;
    QComboBox* m_typeBox = nullptr;
    QLineEdit* m_commissionEdit = nullptr;
    QPlainTextEdit* m_commentEdit = nullptr;

    std::string m_symbol;
    std::string m_companyName;
    std::int64_t m_date = 0;
    float m_shares = 0;
    float m_price = 0;
    std::string m_purchaseType;
    float m_commission = 0;
    std::string m_comment;
};

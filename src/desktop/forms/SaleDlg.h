#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

#include "core/model/RecordEntries.h"

class CKx7Doc;
class CSale;
class FormDatePicker;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

// "Sale": a new sale of a held symbol, or the figures of an existing sale record.
// Collects and checks the values; the caller sells or stores them.
class CSaleDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CSaleDlg)

public:
    // A new sale of one of the held symbols.
    CSaleDlg(CKx7Doc& doc, QWidget* parent);
    // An existing sale record of the lot of `symbol`.
    CSaleDlg(CKx7Doc& doc, const CSale& sale, const std::string& symbol,
             const std::string& companyName, QWidget* parent);
    ~CSaleDlg() override;

    const std::string& Symbol() const { return m_symbol; }
    std::int64_t Date() const { return m_date; }
    float Price() const { return m_price; }
    float Shares() const { return m_shares; }
    float Commission() const { return m_commission; }
    const std::string& Comment() const { return m_comment; }
    // SaleMethod::kFifo, kLifo or kCustom.
    SaleMethod Method() const { return m_method; }

    void accept() override;

private:
    void Build();
    void OnSymbolChosen(int index);
    bool ReadBack();
    // Why the form cannot be accepted as filled in; empty when it can.
    QString Refusal() const;

    CKx7Doc& m_doc;
    QComboBox* m_symbolBox = nullptr;
    QLineEdit* m_companyEdit = nullptr;
    QLineEdit* m_availableEdit = nullptr;
    FormDatePicker* m_datePicker = nullptr;
    QLineEdit* m_priceEdit = nullptr;
    QLineEdit* m_sharesEdit = nullptr;
    QLineEdit* m_commissionEdit = nullptr;
    QRadioButton* m_fifo = nullptr;
    QRadioButton* m_lifo = nullptr;
    QRadioButton* m_custom = nullptr;
    QPlainTextEdit* m_commentEdit = nullptr;

    std::string m_symbol;
    std::int64_t m_date = 0;
    float m_price = 0;
    float m_shares = 0;
    float m_available = 0;
    float m_commission = 0;
    std::string m_comment;
    SaleMethod m_method = SaleMethod::kFifo;
};

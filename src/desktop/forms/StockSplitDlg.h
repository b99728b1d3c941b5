#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

class FormDatePicker;
class QComboBox;

// "Stock Split": a symbol, a ratio of 1 to 10 for 1 to 10, and the date. No checks.
class CStockSplitDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CStockSplitDlg)

public:
    CStockSplitDlg(const std::vector<std::string>& heldSymbols, bool monthFirst, QWidget* parent);
    ~CStockSplitDlg() override;

    std::string Symbol() const;
    std::int32_t NewShares() const;
    std::int32_t OldShares() const;
    std::int64_t Date() const;

private:
    QComboBox* m_symbolBox = nullptr;
    FormDatePicker* m_datePicker = nullptr;
    QComboBox* m_newBox = nullptr;
    QComboBox* m_oldBox = nullptr;
};

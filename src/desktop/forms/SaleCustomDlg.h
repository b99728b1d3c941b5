#pragma once

#include <QDialog>
#include <vector>

#include "core/figures/CustomLotTable.h"

struct CustomSaleRequest;
class QLabel;
class QLineEdit;
class QListWidget;

// "Sale Custom": the person spreads the shares of a sale over the open lots of the symbol.
class CSaleCustomDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CSaleCustomDlg)

public:
    CSaleCustomDlg(const CustomSaleRequest& request, QWidget* parent);
    ~CSaleCustomDlg() override;

    // One amount per listed lot, in list order.
    std::vector<float> Amounts() const { return m_table.Amounts(); }

    // "Sell".
    void accept() override;

private:
    void OnCommit();
    void OnSellAvailable();
    // Rewrites the lot's line and shows its amount and the shares still to place.
    void ShowLot(int index);

    CustomLotTable m_table;
    QListWidget* m_lotList = nullptr;
    QLineEdit* m_entry = nullptr;
    QLabel* m_remaining = nullptr;
};

#pragma once

#include <QColor>
#include <QDialog>
#include <string>
#include <vector>

class CKx7Doc;
class CXListCtrl;
class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;

// "Summary": every purchase, sale and dividend of one symbol as coloured rows, with the
// shares left after each and the gain of each sale. The rows are the summary report's.
class CSummaryDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CSummaryDlg)

public:
    // Row backgrounds, by the row's first cell.
    static constexpr QColor kPurchaseColour{188, 188, 255};
    static constexpr QColor kSaleColour{152, 255, 197};
    static constexpr QColor kDividendColour{255, 188, 188};

    // `symbols` fills the symbol box; an empty `selectedSymbol` shows the first of them.
    CSummaryDlg(const CKx7Doc& document, const std::vector<std::string>& symbols,
                const QString& selectedSymbol = {}, QWidget* parent = nullptr);
    ~CSummaryDlg() override;

    const QString& SelectedSymbol() const { return m_selectedSymbol; }
    bool GroupSales() const { return m_groupSales; }
    bool SellBalance() const { return m_sellBalance; }
    bool SortByDate() const { return m_sortByDate; }

private:
    void OnSymbolChanged(int index);
    void OnOptionClicked();
    void OnDisplayStyle(bool sortByDate);
    void Refresh();

    const CKx7Doc& m_document;
    QString m_selectedSymbol;
    // The flags keep their values while their box is disabled, so a "Sell Balance" left
    // on under purchase grouping still adds the balance rows in date order.
    bool m_groupSales = true;
    bool m_sellBalance = false;
    bool m_sortByDate = true;
    CXListCtrl* m_list;
    QComboBox* m_symbolBox;
    QRadioButton* m_sortByDateButton;
    QRadioButton* m_groupByPurchaseButton;
    QCheckBox* m_groupSalesBox;
    QCheckBox* m_sellBalanceBox;
    QLabel* m_marketPrice;
};

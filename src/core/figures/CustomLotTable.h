#pragma once

#include <string>
#include <vector>

#include "core/model/CustomLotChooser.h"

// The lot-by-lot choice of a sale: the open lots as listed, the amount given to each and
// the shares still to place. The custom sale form shows it; every decision is made here.
class CustomLotTable {
public:
    CustomLotTable(const std::vector<CustomLot>& lots, bool dateMonthFirst, float sharesToSell);
    explicit CustomLotTable(const CustomSaleRequest& request)
        : CustomLotTable(request.lots, request.dateMonthFirst, request.sharesToSell) {}

    int Count() const { return static_cast<int>(m_lots.size()); }
    // The line as the list shows it: date, shares held and price, and once the lot gets an
    // amount, the "Shares Sold" column.
    const std::string& Line(int index) const { return m_lots.at(index).line; }
    float Amount(int index) const { return m_lots.at(index).amount; }
    float Available(int index) const { return m_lots.at(index).available; }
    float Remaining() const { return m_remaining; }
    // "%.4f" of the shares still to place.
    std::string RemainingText() const;
    std::vector<float> Amounts() const;

    // Gives the lot `amount` shares; refused (false) when that is more than the lot holds.
    bool Commit(int index, float amount);
    // Gives the lot as much as it holds, at most what is left to place with its own amount.
    void SellAvailable(int index);

    // The sale may be recorded: nothing left to place (within 0.0001, as float sums rarely
    // reach 0 exactly), and no lot given a negative amount, which would let the other
    // lots sell more than was asked.
    bool ReadyToSell() const;

private:
    struct Lot {
        std::string line;
        std::string date;
        float available = 0;
        float price = 0;
        float amount = 0;
    };

    void SetAmount(Lot& lot, float amount);

    std::vector<Lot> m_lots;
    float m_remaining = 0;
};

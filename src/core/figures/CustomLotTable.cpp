#include "core/figures/CustomLotTable.h"

#include <cmath>
#include <cstdio>

#include "core/figures/FormNumbers.h"
#include "core/model/LocalTime.h"

namespace {

constexpr double kNothingLeft = 0.0001;

}  // namespace

CustomLotTable::CustomLotTable(const std::vector<CustomLot>& lots, bool dateMonthFirst,
                               float sharesToSell)
    : m_remaining(sharesToSell) {
    for (const CustomLot& given : lots) {
        Lot lot;
        lot.date = FormatDate(given.date, dateMonthFirst);
        lot.available = given.available;
        lot.price = given.price;
        char line[160];
        std::snprintf(line, sizeof line, "%10s%12.4f%14.4f", lot.date.c_str(),
                      static_cast<double>(lot.available), static_cast<double>(lot.price));
        lot.line = line;
        m_lots.push_back(std::move(lot));
    }
}

std::string CustomLotTable::RemainingText() const {
    return FormatNumber("%.4f", static_cast<double>(m_remaining));
}

std::vector<float> CustomLotTable::Amounts() const {
    std::vector<float> amounts;
    amounts.reserve(m_lots.size());
    for (const Lot& lot : m_lots) {
        amounts.push_back(lot.amount);
    }
    return amounts;
}

bool CustomLotTable::Commit(int index, float amount) {
    Lot& lot = m_lots.at(index);
    if (amount > lot.available) {
        return false;
    }
    m_remaining = m_remaining + lot.amount - amount;
    SetAmount(lot, amount);
    return true;
}

void CustomLotTable::SellAvailable(int index) {
    Lot& lot = m_lots.at(index);
    const float open = m_remaining + lot.amount;
    const float amount = lot.available < open ? lot.available : open;
    m_remaining = open - amount;
    SetAmount(lot, amount);
}

bool CustomLotTable::ReadyToSell() const {
    for (const Lot& lot : m_lots) {
        if (lot.amount < 0.0f) {
            return false;
        }
    }
    return std::fabs(static_cast<double>(m_remaining)) <= kNothingLeft;
}

void CustomLotTable::SetAmount(Lot& lot, float amount) {
    lot.amount = amount;
    char line[200];
    std::snprintf(line, sizeof line, "%10s%12.4f%14.4f%14.4f", lot.date.c_str(),
                  static_cast<double>(lot.available), static_cast<double>(lot.price),
                  static_cast<double>(amount));
    lot.line = line;
}

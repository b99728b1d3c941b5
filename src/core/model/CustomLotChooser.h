#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One lot a lot-by-lot sale can draw on.
struct CustomLot {
    std::int64_t date = 0;  // of the purchase
    float available = 0;    // shares held
    float price = 0;        // purchase price
};

// What a lot-by-lot sale shows the person who chooses the lots.
struct CustomSaleRequest {
    std::string heading;          // "Selling 12.0000 shares of Xyz Corp"
    std::vector<CustomLot> lots;  // in the order of the portfolio's lots
    bool dateMonthFirst = true;   // how the dates are shown
    std::string ofText;           // "of 12.0000"
    float initialState = -1.0f;
    float sharesToSell = 0;
};

// Asks how many shares to take from each listed lot. The desktop program answers with
// the custom sale form; tests answer from a script.
class CustomLotChooser {
public:
    virtual ~CustomLotChooser() = default;

    // One count per listed lot, in list order; nothing when the choice is cancelled.
    virtual std::optional<std::vector<float>> ChooseLots(const CustomSaleRequest& request) = 0;
};

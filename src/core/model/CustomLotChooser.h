#pragma once

#include <optional>
#include <string>
#include <vector>

// What a lot-by-lot sale shows the person who chooses the lots.
struct CustomSaleRequest {
    std::string heading;  // "Selling 12.0000 shares of Xyz Corp"
    std::string lotList;  // one "date shares price;" line per lot that can be drawn on
    std::string ofText;   // "of 12.0000"
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

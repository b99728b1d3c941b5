#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/KindSums.h"
#include "core/model/Kx7Doc.h"
#include "core/model/SymbolMap.h"

// The per-symbol figures the main view shows, gathered in one walk over the lots instead
// of one walk per symbol and query. Each answer equals the document query of the same
// name as the lots stood when they were gathered; each sum adds in document order.
class SymbolFigures {
public:
    explicit SymbolFigures(const CKx7Doc& doc);

    // SymbolNames(kHeldLots).
    const std::vector<std::string>& HeldNames() const { return m_heldNames; }
    // SymbolNames(), every lot taken.
    const std::vector<std::string>& AllNames() const { return m_allNames; }
    // TotalValue: the held names' values, added in their order.
    float TotalValue() const;
    // SymbolValue.
    float Value(std::string_view symbolText) const;
    // CostSum(symbol, kCostHeld).
    float CostHeld(std::string_view symbol) const;
    // MarketPrice, QuoteDirection, QuoteChange.
    float MarketPrice(std::string_view symbolText) const;
    std::int32_t QuoteDirection(std::string_view symbol) const;
    float QuoteChange(std::string_view symbol) const;

private:
    // The lots of one exact symbol.
    struct Figures {
        KindSums value;
        float costHeld = 0;
        float firstMarketPrice = 0;
        std::int32_t lastDirection = 0;  // of the last lot
        float lastChange = 0;
        LotKinds lots;
        LotKinds held;  // lots with shares held
    };

    // Figures of a symbol without lots are all 0.
    Figures Find(std::string_view symbol) const;

    bool m_ungroupOptions;
    SymbolMap<Figures> m_figures;
    std::vector<std::string> m_heldNames;
    std::vector<std::string> m_allNames;
};

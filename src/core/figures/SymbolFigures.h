#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/SymbolKindSums.h"
#include "core/model/SymbolSlots.h"

class CKx7Doc;
class CPurchase;

// The per-symbol figures the main view shows, gathered in one walk over the lots instead
// of one walk per symbol and query. Each answer equals the document query of the same
// name as the lots stood when they were added; each sum adds in document order.
class SymbolFigures {
public:
    explicit SymbolFigures(bool ungroupOptions) : m_ungroupOptions(ungroupOptions) {}
    // Every lot of the document, as they stand now.
    explicit SymbolFigures(const CKx7Doc& doc);

    // Lots in document order, left in place and their quotes unchanged until Finish,
    // which comes once. Add returns the slot SymbolSlots numbers the lot's symbol with in
    // this walk.
    std::uint32_t Add(const CPurchase& lot);
    void Finish();

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
        // The quote is read from the last lot at Finish rather than from every lot: it
        // lies apart from the figures the walk reads.
        const CPurchase* lastLot = nullptr;
        std::int32_t lastDirection = 0;
        float lastChange = 0;
        bool ordinaryHeld = false;
        bool grantsHeld = false;
        bool ordinaryLots = false;
        bool grantLots = false;
    };

    // The symbol list's names of the symbols whose lots pass `taken`.
    template <typename Taken>
    std::vector<std::string> Names(Taken taken) const;

    const Figures* Find(std::string_view symbol) const;

    bool m_ungroupOptions;
    SymbolSlots m_slots;
    std::vector<Figures> m_figures;  // by slot
    std::vector<std::string> m_heldNames;
    std::vector<std::string> m_allNames;
};

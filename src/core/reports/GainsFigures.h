#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/KindSums.h"
#include "core/model/Kx7Doc.h"
#include "core/model/SymbolMap.h"

class CPurchase;

enum class GainsView { kRealized, kPotential, kCombined };

// One symbol's line of a gains report.
struct GainsRow {
    float cost = 0;
    float value = 0;
    float dividends = 0;
    float gain = 0;  // value - cost + dividends
};

// Every figure of the gains reports, gathered in one walk over the lots and one over the
// dividends, so a report costs the same whatever the number of symbols. Each lot is handed
// in, in document order.
class GainsFigures {
public:
    explicit GainsFigures(bool ungroupOptions) : m_ungroupOptions(ungroupOptions) {}

    // The lot's sales, and the cost of the shares it holds now.
    void AddLot(const CPurchase& lot) { Add(lot); }
    // The same, with the shares the lot holds today, for the potential and combined views.
    void AddLot(const CPurchase& lot, float heldToday) {
        Add(lot).heldToday.Add(lot.IsGrant(), heldToday);
    }
    // After every lot: a share dividend is valued at its symbol's market price.
    void AddDividends(const CKx7Doc::DividendList& dividends);

    // The symbol's line, or none when the view leaves it out.
    std::optional<GainsRow> Row(GainsView view, const std::string& symbol) const;
    // The gains of the lines written for `symbols`, summed in their order.
    float Total(GainsView view, const std::vector<std::string>& symbols) const;

    // The names the document's symbol list gives the lots handed in, in byte order.
    std::vector<std::string> SymbolNames() const;

private:
    // Sums over the lots of one exact symbol, added in document order.
    struct LotSums {
        float realizedCost = 0;   // purchase price x shares sold (expired lots left out)
        float realizedValue = 0;  // sale price x shares sold
        float heldCost = 0;       // purchase price x shares held
        float firstMarketPrice = 0;
        KindSums heldToday;  // shares held as of today
        LotKinds kinds;
    };

    LotSums& Add(const CPurchase& lot);
    // No sums for a symbol without lots.
    LotSums Lots(std::string_view symbol) const;
    float HeldToday(std::string_view symbolText) const;
    // The first lot of the symbol without its option suffix sets the price.
    float MarketPrice(std::string_view symbol) const;

    bool m_ungroupOptions;
    SymbolMap<LotSums> m_lots;
    SymbolMap<float> m_dividends;
};

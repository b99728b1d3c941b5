#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/Kx7Doc.h"
#include "core/model/ListedNames.h"
#include "core/model/SymbolKindSums.h"
#include "core/model/SymbolSlots.h"

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
// dividends, so a report costs the same whatever the number of symbols. The walk may be
// someone else's: each lot is handed in, in document order.
class GainsFigures {
public:
    explicit GainsFigures(bool ungroupOptions)
        : m_ungroupOptions(ungroupOptions), m_names(ungroupOptions) {}

    // The lot's sales, and the cost of the shares it holds now.
    void AddLot(const CPurchase& lot) { Add(lot); }
    // The same, with the shares the lot holds today, for the potential and combined views.
    void AddLot(const CPurchase& lot, float heldToday) {
        AddLot(lot, heldToday, SymbolSlots::kNone);
    }
    // The same with a hint: `slot` is the number a SymbolSlots of the same walk gave the
    // lot's symbol. Handed the same lots in the same order, the numbers agree and the
    // symbol is not looked up a second time; a wrong hint only costs the lookup.
    void AddLot(const CPurchase& lot, float heldToday, std::uint32_t slot) {
        Add(lot, slot).heldToday.Add(lot.IsGrant(), heldToday);
    }
    // The same in one walk over the lot's sales, which also brings the lot's held shares
    // up to `now` as CPurchase::ExercisableShares does; returns them. Every sum adds in
    // the order of the separate walks.
    float AddLotAsOf(CPurchase& lot, std::int64_t now, std::uint32_t slot);
    // After every lot: a share dividend is valued at its symbol's market price.
    void AddDividends(const CKx7Doc::DividendList& dividends);

    // The symbol's line, or none when the view leaves it out.
    std::optional<GainsRow> Row(GainsView view, const std::string& symbol) const;
    // The gains of the lines written for `symbols`, summed in their order.
    float Total(GainsView view, const std::vector<std::string>& symbols) const;

    // The names the document's symbol list gives the lots handed in, in byte order: a
    // report walks the lots once for both instead of a second time for the names.
    std::vector<std::string> SymbolNames() const { return m_names.Sorted(); }

private:
    // Sums over the lots of one exact symbol, added in document order.
    struct LotSums {
        float realizedCost = 0;   // purchase price x shares sold (expired lots left out)
        float realizedValue = 0;  // sale price x shares sold
        float heldCost = 0;       // purchase price x shares held
        float firstMarketPrice = 0;
        KindSums heldToday;  // shares held as of today
    };

    LotSums& Add(const CPurchase& lot, std::uint32_t slotHint = SymbolSlots::kNone);
    LotSums& SumsOf(const CPurchase& lot, std::uint32_t slotHint);
    // The realized sums of the lot's sales, in their order; returns the shares less every
    // sale, as the held shares are reckoned from them.
    static float AddSales(LotSums& sums, const CPurchase& lot);
    const LotSums& Lots(std::string_view symbol) const;
    float HeldToday(std::string_view symbolText) const;
    // The first lot of the symbol without its option suffix sets the price.
    float MarketPrice(std::string_view symbol) const;
    float Dividends(std::string_view symbol) const;

    bool m_ungroupOptions;
    SymbolSlots m_slots;
    std::vector<LotSums> m_lots;  // by slot
    ListedNames m_names;          // numbered as m_slots
    SymbolSlots m_dividendSlots;
    std::vector<float> m_dividends;  // by dividend slot
};

#include "reports/GainsReport.h"

#include <unordered_map>
#include <utility>
#include <vector>

#include "app/Settings.h"
#include "model/Clock.h"
#include "model/Kx7Doc.h"
#include "model/OptionSuffix.h"
#include "reports/ReportText.h"
#include "reports/SymbolKindSums.h"

namespace {

enum class GainsView { kRealized, kPotential, kCombined };

// Sums over the lots of one exact symbol, added in document order.
struct LotSums {
    float realizedCost = 0;   // purchase price x shares sold (expired lots left out)
    float realizedValue = 0;  // sale price x shares sold
    float heldCost = 0;       // purchase price x shares held
    float firstMarketPrice = 0;
    bool seen = false;
};

// The shares each symbol holds as of today. Brings every lot's available shares up to
// today first, as the cost of the shares held is then taken from them.
SymbolKindSums HeldSharesToday(CKx7Doc& doc) {
    SymbolKindSums held(doc.AppSettings().ungroupOptions);
    const std::int64_t now = Clock::Now();
    for (const auto& lot : doc.Purchases()) {
        held.Add(*lot, lot->ExercisableShares(now));
    }
    return held;
}

// Every figure of the report gathered in one walk over the lots and one over the
// dividends, so the report costs the same whatever the number of symbols.
class GainsFigures {
public:
    GainsFigures(const CKx7Doc& doc, SymbolKindSums held) : m_held(std::move(held)) {
        for (const auto& lot : doc.Purchases()) {
            LotSums& sums = m_lots[lot->symbol];
            if (!sums.seen) {
                sums.seen = true;
                sums.firstMarketPrice = lot->marketPrice;
            }
            for (const auto& sale : lot->sales) {
                if (sale->IsExpiry()) {
                    continue;
                }
                sums.realizedCost += lot->price * sale->shares;
                sums.realizedValue += sale->price * sale->shares;
            }
            sums.heldCost += lot->price * lot->availableShares;
        }
        for (const auto& dividend : doc.Dividends()) {
            float& total = m_dividends[dividend->symbol];
            total += dividend->IsCash() ? dividend->amount
                                        : dividend->amount * MarketPrice(dividend->symbol);
        }
    }

    const LotSums& Lots(const std::string& symbol) const { return Find(m_lots, symbol); }

    // The first lot of the symbol without its option suffix sets the price.
    float MarketPrice(const std::string& symbol) const {
        return Lots(StripOptionSuffix(symbol)).firstMarketPrice;
    }

    float HeldSharesOf(const std::string& symbol) const { return m_held.Selected(symbol); }

    float Dividends(const std::string& symbol) const { return Find(m_dividends, symbol); }

private:
    template <typename Value>
    static const Value& Find(const std::unordered_map<std::string, Value>& map,
                             const std::string& key) {
        static const Value none{};
        const auto found = map.find(key);
        return found != map.end() ? found->second : none;
    }

    std::unordered_map<std::string, LotSums> m_lots;
    SymbolKindSums m_held;  // shares held as of today
    std::unordered_map<std::string, float> m_dividends;
};

void AppendGainsLine(std::string& out, const std::string& symbol, float cost, float value,
                     float dividends, float gain) {
    out += symbol;
    AppendFormat(out, "\t%.4f\t%.4f\t%.4f\t%.4f\t", static_cast<double>(cost),
                 static_cast<double>(value), static_cast<double>(dividends),
                 static_cast<double>(gain));
    // A gain on nothing paid has no percentage.
    if (cost == 0.0f) {
        out += "NA\t\r\n";
        return;
    }
    AppendFormat(out, "%.4f\t\r\n", static_cast<double>(gain / cost * 100.0f));
}

GainsReport BuildGains(const CKx7Doc& doc, GainsView view, SymbolKindSums heldShares) {
    const GainsFigures figures(doc, std::move(heldShares));
    GainsReport report;
    for (const std::string& symbol : doc.SymbolNames()) {
        const LotSums& lots = figures.Lots(symbol);
        float cost = 0.0f;
        float value = 0.0f;
        bool written = false;
        switch (view) {
            case GainsView::kRealized:
                cost = lots.realizedCost;
                value = lots.realizedValue;
                written = cost != 0.0f;
                break;
            case GainsView::kPotential: {
                const float held = figures.HeldSharesOf(symbol);
                cost = lots.heldCost;
                value = figures.MarketPrice(symbol) * held;
                written = held != 0.0f;
                break;
            }
            case GainsView::kCombined:
                cost = lots.realizedCost + lots.heldCost;
                value =
                    lots.realizedValue + figures.MarketPrice(symbol) * figures.HeldSharesOf(symbol);
                written = cost != 0.0f;
                break;
        }
        if (!written) {
            continue;
        }
        const float dividends = figures.Dividends(symbol);
        const float gain = value - cost + dividends;
        report.total += gain;
        AppendGainsLine(report.text, symbol, cost, value, dividends, gain);
    }
    return report;
}

}  // namespace

GainsReport BuildRealizedGains(const CKx7Doc& doc) {
    return BuildGains(doc, GainsView::kRealized, SymbolKindSums(doc.AppSettings().ungroupOptions));
}

GainsReport BuildPotentialGains(CKx7Doc& doc) {
    return BuildGains(doc, GainsView::kPotential, HeldSharesToday(doc));
}

GainsReport BuildCombinedGains(CKx7Doc& doc) {
    return BuildGains(doc, GainsView::kCombined, HeldSharesToday(doc));
}

GainsReport BuildGainsReport(CKx7Doc& doc, std::string_view view) {
    if (view == "Realized") {
        return BuildRealizedGains(doc);
    }
    if (view == "Potential") {
        return BuildPotentialGains(doc);
    }
    return BuildCombinedGains(doc);
}

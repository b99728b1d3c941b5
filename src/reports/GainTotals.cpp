#include "reports/GainTotals.h"

#include <string>

#include "model/Kx7Doc.h"

namespace {

template <typename SaleTerm>
float SumOverSales(const CKx7Doc& doc, std::string_view symbol, SaleTerm term) {
    float sum = 0.0f;
    for (const auto& lot : doc.Purchases()) {
        if (lot->symbol != symbol) {
            continue;
        }
        for (const auto& sale : lot->sales) {
            if (!sale->IsExpiry()) {
                sum += term(*lot, *sale);
            }
        }
    }
    return sum;
}

}  // namespace

float RealizedCost(const CKx7Doc& doc, std::string_view symbol) {
    return SumOverSales(doc, symbol, [](const CPurchase& lot, const CSale& sale) {
        return lot.price * sale.shares;
    });
}

float RealizedValue(const CKx7Doc& doc, std::string_view symbol) {
    return SumOverSales(
        doc, symbol, [](const CPurchase&, const CSale& sale) { return sale.price * sale.shares; });
}

float HeldCost(const CKx7Doc& doc, std::string_view symbol) {
    float sum = 0.0f;
    for (const auto& lot : doc.Purchases()) {
        if (lot->symbol == symbol) {
            sum += lot->price * lot->availableShares;
        }
    }
    return sum;
}

float RealizedGainTotal(const CKx7Doc& doc) {
    float total = 0.0f;
    for (const std::string& symbol : doc.SymbolNames()) {
        const float cost = RealizedCost(doc, symbol);
        if (cost == 0.0f) {
            continue;
        }
        total += RealizedValue(doc, symbol) - cost + doc.DividendTotal(symbol);
    }
    return total;
}

float PotentialGainTotal(CKx7Doc& doc) {
    float total = 0.0f;
    for (const std::string& symbol : doc.SymbolNames()) {
        // Held shares first: counting them refreshes the lots' available shares, which
        // the cost of the shares held is taken from.
        const float held = doc.ExercisableShares(symbol);
        if (held == 0.0f) {
            continue;
        }
        const float value = doc.MarketPrice(symbol) * held;
        total += value - HeldCost(doc, symbol) + doc.DividendTotal(symbol);
    }
    return total;
}

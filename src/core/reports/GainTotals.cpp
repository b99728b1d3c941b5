#include "core/reports/GainTotals.h"

#include <string>

#include "core/model/Kx7Doc.h"
#include "core/reports/GainsReport.h"

namespace {

template <typename SaleTerm>
float SumOverSales(const CKx7Doc& doc, std::string_view symbol, SaleTerm term) {
    float sum = 0.0f;
    for (const auto& lot : doc.Purchases()) {
        if (lot->symbol != symbol) {
            continue;
        }
        for (const auto& sale : lot->sales) {
            if (!sale.IsExpiry()) {
                sum += term(*lot, sale);
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

// The value summary shows the totals of the gains reports themselves.
float RealizedGainTotal(const CKx7Doc& doc) {
    return BuildRealizedGains(doc).total;
}

float PotentialGainTotal(CKx7Doc& doc) {
    return BuildPotentialGains(doc).total;
}

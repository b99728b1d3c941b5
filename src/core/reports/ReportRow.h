#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// One row of a report: a purchase, or a sale (possibly the merged lots of one sale).
struct ReportRow {
    static constexpr std::size_t kNameWidth = 49;
    static constexpr std::size_t kSymbolTextWidth = 61;

    // `groupKey` of a purchase row.
    static constexpr std::int64_t kPurchaseKey = -1;
    // `groupKey` of the summary's hypothetical sale of the balance. It lies outside the
    // range of sale numbers, so balance rows never merge into a real sale.
    static constexpr std::int64_t kBalanceKey = std::int64_t{1} << 40;

    std::string name;               // first label, at most kNameWidth characters
    std::string symbolText;         // second label, at most kSymbolTextWidth characters
    std::int64_t purchaseDate = 0;  // 0 when the merged lots come from different purchases
    std::int64_t date = 0;          // the transaction date; the ordering key
    float shares = 0;
    float price = 0;
    float salePrice = 0;  // -1 marks an expired option lot
    float saleCommission = 0;
    std::int64_t groupKey = kPurchaseKey;  // otherwise the sale number
    float cost = 0;                        // shares x price + purchase commission share
    float proceeds = 0;                    // shares x sale price

    bool IsPurchase() const { return groupKey == kPurchaseKey; }
    bool IsExpiredLot() const { return salePrice == -1.0f; }
};

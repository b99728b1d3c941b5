// The document's option-grant operations: receiving a grant and expiring its options.

#include "core/model/Kx7Doc.h"
#include "core/model/OptionSuffix.h"

CPurchase& CKx7Doc::ReceiveGrant(std::string symbol, std::string companyName, float shares,
                                 float strikePrice, std::int64_t date, std::string optionType,
                                 std::int32_t vestingSchedule, std::string grantId,
                                 std::string comment) {
    CPurchase& grant = AppendPurchase(
        std::make_unique<CPurchase>(std::move(symbol), std::move(companyName), shares, strikePrice,
                                    date, 0.0f, std::move(optionType), std::move(comment)));
    grant.vestingSchedule = vestingSchedule;
    grant.grantId = std::move(grantId);
    ++m_recordCount;
    MarkChanged(ChangeSet(ChangeKind::kLots, grant.symbol));
    return grant;
}

void CKx7Doc::ExpireOptions(std::string_view symbol, std::int64_t date,
                            const std::string& comment) {
    const std::string stripped = StripOptionSuffix(symbol);
    bool expired = false;
    for (const auto& lot : m_purchases) {
        if (!lot->IsGrant() || lot->symbol != stripped) {
            continue;
        }
        const float held = lot->RecomputeHeldShares();
        if (!HasShares(held)) {
            continue;
        }
        lot->AddSale(held, CSale::kExpiredPrice, date, 0.0f, comment, m_nextSaleNumber);
        lot->RecomputeHeldShares();
        ++m_recordCount;
        expired = true;
    }
    if (expired) {
        ++m_nextSaleNumber;
        MarkChanged(ChangeSet(ChangeKind::kSales, stripped));
    }
}

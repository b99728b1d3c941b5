// The document's option-grant operations: receiving a grant and expiring its options.

#include "core/model/Kx7Doc.h"
#include "core/model/OptionSuffix.h"

CPurchase& CKx7Doc::ReceiveGrant(GrantEntry entry) {
    const UndoStep step(*this, "Option Grant of " + entry.symbol);
    CPurchase& grant = AppendPurchase(std::make_unique<CPurchase>(
        std::move(entry.symbol), std::move(entry.companyName), entry.shares, entry.strikePrice,
        entry.date, 0.0f, std::move(entry.optionType), std::move(entry.comment)));
    grant.vestingSchedule = entry.vestingSchedule;
    grant.grantId = std::move(entry.grantId);
    ++m_recordCount;
    MarkChanged(ChangeSet(ChangeKind::kLots, grant.symbol));
    return grant;
}

void CKx7Doc::ExpireOptions(std::string_view symbol, std::int64_t date,
                            const std::string& comment) {
    const UndoStep step(*this, "Expiry of " + std::string(symbol));
    const std::string stripped = StripOptionSuffix(symbol);
    bool expired = false;
    for (const auto& lot : m_purchases) {
        if (!lot->IsGrant() || lot->symbol != stripped) {
            continue;
        }
        KeepLot(*lot);
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

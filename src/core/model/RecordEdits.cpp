// The record editor's operations: a record's fields changed in place, or the record
// destroyed.

#include <algorithm>
#include <vector>

#include "core/model/Kx7Doc.h"

namespace {

template <typename List, typename Record>
void EraseRecord(List& list, const Record& record) {
    const auto it = std::find_if(list.begin(), list.end(),
                                 [&](const auto& held) { return held.get() == &record; });
    if (it != list.end()) {
        list.erase(it);
    }
}

}  // namespace

void CKx7Doc::EditPurchase(CPurchase& lot, const PurchaseEdit& edit) {
    lot.shares = edit.shares;
    lot.price = edit.price;
    lot.date = edit.date;
    lot.commission = edit.commission;
    lot.purchaseType = edit.purchaseType;
    lot.comment = edit.comment;
    lot.RecomputeHeldShares();
    MarkChanged(ChangeSet(ChangeKind::kLots, lot.symbol));
}

void CKx7Doc::EditSale(CSale& sale, const SaleEdit& edit) {
    sale.comment = edit.comment;
    sale.commission = edit.commission;
    sale.date = edit.date;
    sale.price = edit.price;
    sale.shares = edit.shares;
    ChangeSet changes(ChangeKind::kSales);
    if (sale.purchase != nullptr) {
        sale.purchase->RecomputeHeldShares();
        changes.Add(ChangeKind::kSales, sale.purchase->symbol);
    }
    MarkChanged(changes);
}

void CKx7Doc::EditDividend(CDividend& dividend, const DividendEdit& edit) {
    dividend.comment = edit.comment;
    dividend.date = edit.date;
    dividend.dividendKind = edit.dividendKind;
    dividend.amount = edit.amount;
    MarkChanged(ChangeSet(ChangeKind::kDividends, dividend.symbol));
}

void CKx7Doc::RemovePurchase(const CPurchase& lot) {
    // Named before the lot is gone.
    const ChangeSet changes(ChangeKind::kLots, lot.symbol);
    EraseRecord(m_purchases, lot);
    MarkChanged(changes);
}

void CKx7Doc::RemoveSale(const CSale& sale) {
    ChangeSet changes(ChangeKind::kSales);
    CPurchase* lot = sale.purchase;
    if (lot != nullptr) {
        changes.Add(ChangeKind::kSales, lot->symbol);
        // Compared by address: two sales may hold the same fields.
        std::erase_if(lot->sales, [&sale](const CSale& held) { return &held == &sale; });
        lot->RecomputeHeldShares();
    }
    MarkChanged(changes);
}

void CKx7Doc::RemoveDividend(const CDividend& dividend) {
    const ChangeSet changes(ChangeKind::kDividends, dividend.symbol);
    EraseRecord(m_dividends, dividend);
    MarkChanged(changes);
}

// The record editor's operations: a record's fields changed in place, or the record
// removed (kept by the history, so that undo puts back the same record).

#include <algorithm>
#include <vector>

#include "core/model/Kx7Doc.h"

namespace {

// Where `record` is in a list of owned records; the size when it is in none.
template <typename List, typename Record>
std::size_t PlaceOf(const List& list, const Record& record) {
    const auto it = std::find_if(list.begin(), list.end(),
                                 [&](const auto& held) { return held.get() == &record; });
    return static_cast<std::size_t>(it - list.begin());
}

}  // namespace

void CKx7Doc::EditPurchase(CPurchase& lot, const PurchaseEdit& edit) {
    const UndoStep step(*this, "Edit of a Purchase of " + lot.symbol);
    KeepLot(lot);
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
    CPurchase* lot = sale.purchase;
    const UndoStep step(*this, "Edit of a Sale" + (lot != nullptr ? " of " + lot->symbol : ""));
    if (lot != nullptr) {
        KeepLot(*lot);
    }
    sale.comment = edit.comment;
    sale.commission = edit.commission;
    sale.date = edit.date;
    sale.price = edit.price;
    sale.shares = edit.shares;
    ChangeSet changes(ChangeKind::kSales);
    if (lot != nullptr) {
        lot->RecomputeHeldShares();
        changes.Add(ChangeKind::kSales, lot->symbol);
    }
    MarkChanged(changes);
}

void CKx7Doc::EditDividend(CDividend& dividend, const DividendEdit& edit) {
    const UndoStep step(*this, "Edit of a Dividend of " + dividend.symbol);
    KeepDividend(dividend);
    dividend.comment = edit.comment;
    dividend.date = edit.date;
    dividend.dividendKind = edit.dividendKind;
    dividend.amount = edit.amount;
    MarkChanged(ChangeSet(ChangeKind::kDividends, dividend.symbol));
}

void CKx7Doc::RemovePurchase(const CPurchase& lot) {
    const UndoStep step(*this, "Removal of a Purchase of " + lot.symbol);
    // Named before the lot is gone.
    const ChangeSet changes(ChangeKind::kLots, lot.symbol);
    if (const std::size_t place = PlaceOf(m_purchases, lot); place < m_purchases.size()) {
        RemoveAt(m_purchases, place);
    }
    MarkChanged(changes);
}

void CKx7Doc::RemoveSale(const CSale& sale) {
    CPurchase* lot = sale.purchase;
    const UndoStep step(*this, "Removal of a Sale" + (lot != nullptr ? " of " + lot->symbol : ""));
    ChangeSet changes(ChangeKind::kSales);
    if (lot != nullptr) {
        changes.Add(ChangeKind::kSales, lot->symbol);
        KeepLot(*lot);
        // Compared by address: two sales may hold the same fields.
        std::erase_if(lot->sales, [&sale](const CSale& held) { return &held == &sale; });
        lot->RecomputeHeldShares();
    }
    MarkChanged(changes);
}

void CKx7Doc::RemoveDividend(const CDividend& dividend) {
    const UndoStep step(*this, "Removal of a Dividend of " + dividend.symbol);
    const ChangeSet changes(ChangeKind::kDividends, dividend.symbol);
    if (const std::size_t place = PlaceOf(m_dividends, dividend); place < m_dividends.size()) {
        RemoveAt(m_dividends, place);
    }
    MarkChanged(changes);
}

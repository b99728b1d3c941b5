// The document's corporate events: dividends, stock splits and symbol changes.

#include "core/model/Kx7Doc.h"
#include "core/model/OptionSuffix.h"

CDividend& CKx7Doc::RecordDividend(DividendEntry entry) {
    const UndoStep step(*this, "Dividend of " + entry.symbol);
    CDividend& dividend = AppendDividend(std::make_unique<CDividend>(
        std::move(entry.symbol), entry.kind, entry.amount, entry.date, std::move(entry.comment)));
    ++m_recordCount;
    MarkChanged(ChangeSet(ChangeKind::kDividends, dividend.symbol));
    return dividend;
}

void CKx7Doc::StockSplit(std::string_view symbol, std::int32_t newShares, std::int32_t oldShares,
                         std::int64_t date) {
    // The form offers 1 to 10 on both sides; anything else would divide by zero or turn
    // every price negative, so it is refused here as well.
    if (newShares <= 0 || oldShares <= 0) {
        return;
    }
    const UndoStep step(*this, "Split of " + std::string(symbol));
    const float factor = static_cast<float>(newShares) / static_cast<float>(oldShares);
    for (const auto& lot : m_purchases) {
        if (lot->symbol != symbol) {
            continue;
        }
        KeepLot(*lot);
        lot->marketPrice = lot->marketPrice / factor;
        lot->price = lot->price / factor;
        lot->shares = factor * lot->shares;
        lot->availableShares = factor * lot->availableShares;
        for (auto& sale : lot->sales) {
            if (!sale.IsExpiry()) {
                sale.price = sale.price / factor;
            }
            sale.shares = factor * sale.shares;
        }
    }
    AppendSplit(SplitEntry{std::string(symbol), date, newShares, oldShares});
    MarkChanged(ChangeSet(ChangeKind::kSplits, symbol));
}

void CKx7Doc::ChangeSymbol(std::string_view oldSymbol, std::string_view newSymbol,
                           const std::string& newCompanyName) {
    const UndoStep step(*this, "Symbol Change of " + std::string(oldSymbol));
    const std::string from = StripOptionSuffix(oldSymbol);
    const std::string to = StripOptionSuffix(newSymbol);
    for (const auto& lot : m_purchases) {
        if (lot->symbol == from) {
            KeepLot(*lot);
            lot->symbol = to;
            lot->companyName = newCompanyName;
        }
    }
    ChangeSet changes(ChangeKind::kSymbols, from);
    changes.Add(ChangeKind::kSymbols, to);
    MarkChanged(changes);
}

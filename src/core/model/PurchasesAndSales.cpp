// The document's purchase and sale operations: lots are appended, and a sale hangs one
// record under every lot it draws from, all records of one sale sharing its number.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "core/model/CustomLotChooser.h"
#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"
#include "core/model/OptionSuffix.h"
#include "core/settings/Settings.h"

namespace {

std::string Printf(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Lowers the lot's held shares by a sale portion; below the threshold it is none.
void TakeFromLot(CPurchase& lot, float portion) {
    lot.availableShares -= portion;
    if (lot.availableShares < kShareThreshold) {
        lot.availableShares = 0.0f;
    }
}

}  // namespace

CPurchase& CKx7Doc::Purchase(PurchaseEntry entry) {
    const UndoStep step(*this, "Purchase of " + entry.symbol);
    CPurchase& lot = AppendPurchase(std::make_unique<CPurchase>(
        std::move(entry.symbol), std::move(entry.companyName), entry.shares, entry.price,
        entry.date, entry.commission, std::move(entry.purchaseType), std::move(entry.comment)));
    ++m_recordCount;
    MarkChanged(ChangeSet(ChangeKind::kLots, lot.symbol));
    return lot;
}

void CKx7Doc::Sell(const SaleEntry& sale) {
    const UndoStep step(*this, "Sale of " + sale.symbol);
    switch (sale.method) {
        case SaleMethod::kFifo:
            SellInOrder(sale, false);
            break;
        case SaleMethod::kLifo:
            SellInOrder(sale, true);
            break;
        case SaleMethod::kCustom:
            SellCustom(sale);
            break;
    }
}

bool CKx7Doc::LotSellable(const CPurchase& lot, std::string_view symbol) const {
    // "XYZ-O" sells the grants of XYZ, as the lot-by-lot sale does; a plain symbol sells
    // ordinary lots only while grants are listed apart, and every lot otherwise.
    if (HasOptionSuffix(symbol)) {
        symbol.remove_suffix(kOptionSuffix.size());
        return lot.IsGrant() && lot.symbol == symbol;
    }
    return lot.symbol == symbol && (!m_settings.ungroupOptions || !lot.IsGrant());
}

void CKx7Doc::SellInOrder(const SaleEntry& sale, bool lastFirst) {
    const std::string_view symbol = sale.symbol;
    float remaining = sale.shares;
    float commissionToCarry = sale.commission;
    const auto sellFrom = [&](CPurchase& lot) {
        if (!LotSellable(lot, symbol) || !HasShares(lot.availableShares)) {
            return;
        }
        const float portion = lot.availableShares <= remaining ? lot.availableShares : remaining;
        KeepLot(lot);
        lot.AddSale(portion, sale.price, sale.date, commissionToCarry, sale.comment,
                    m_nextSaleNumber);
        commissionToCarry = 0.0f;
        TakeFromLot(lot, portion);
        remaining -= portion;
        ++m_recordCount;
    };
    const std::size_t count = m_purchases.size();
    for (std::size_t i = 0; i < count && remaining != 0.0f; ++i) {
        sellFrom(*m_purchases[lastFirst ? count - 1 - i : i]);
    }
    ++m_nextSaleNumber;
    MarkChanged(ChangeSet(ChangeKind::kSales, StripOptionSuffix(symbol)));
}

void CKx7Doc::SellCustom(const SaleEntry& sale) {
    const std::string_view symbol = sale.symbol;
    const float shares = sale.shares;
    const bool grants = HasOptionSuffix(symbol);
    const std::string stripped = StripOptionSuffix(symbol);
    std::vector<CPurchase*> lots;
    for (const auto& lot : m_purchases) {
        if (lot->symbol == stripped && lot->IsGrant() == grants &&
            HasShares(lot->availableShares)) {
            lots.push_back(lot.get());
        }
    }

    CustomSaleRequest request;
    for (const CPurchase* lot : lots) {
        request.lots.push_back(
            {.date = lot->date, .available = lot->availableShares, .price = lot->price});
    }
    request.dateMonthFirst = m_settings.dateMonthFirst;
    std::string company;
    CompanyName(symbol, company);
    request.heading = "Selling " + Printf("%.4f", shares) + " shares of " + company;
    request.ofText = "of " + Printf("%.4f", shares);
    request.initialState = -1.0f;
    request.sharesToSell = shares;

    if (m_lotChooser == nullptr) {
        return;
    }
    const std::optional<std::vector<float>> counts = m_lotChooser->ChooseLots(request);
    if (!counts) {
        return;
    }

    float commissionToCarry = sale.commission;
    for (std::size_t i = 0; i < lots.size() && i < counts->size(); ++i) {
        const float count = (*counts)[i];
        // A count that is not a finite positive number cannot come from the form.
        if (!std::isfinite(count) || count <= 0.0f) {
            continue;
        }
        CPurchase& lot = *lots[i];
        KeepLot(lot);
        lot.AddSale(count, sale.price, sale.date, commissionToCarry, sale.comment,
                    m_nextSaleNumber);
        TakeFromLot(lot, count);
        ++m_recordCount;
        commissionToCarry = 0.0f;
    }
    ++m_nextSaleNumber;
    MarkChanged(ChangeSet(ChangeKind::kSales, stripped));
}

void CKx7Doc::RecordSaleParts(const std::vector<SalePart>& parts) {
    const UndoStep step(*this, "Sale");
    bool recorded = false;
    for (const SalePart& part : parts) {
        const bool ours = std::any_of(m_purchases.begin(), m_purchases.end(),
                                      [&](const auto& lot) { return lot.get() == part.lot; });
        if (!ours || !std::isfinite(part.shares) || part.shares <= 0.0f) {
            continue;
        }
        CPurchase& lot = *part.lot;
        KeepLot(lot);
        lot.AddSale(part.shares, part.price, part.date, part.commission, part.comment,
                    m_nextSaleNumber);
        TakeFromLot(lot, part.shares);
        ++m_recordCount;
        MarkChanged(ChangeSet(ChangeKind::kSales, lot.symbol));
        recorded = true;
    }
    if (recorded) {
        ++m_nextSaleNumber;
    }
}

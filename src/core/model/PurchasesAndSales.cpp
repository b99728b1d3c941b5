// The document's purchase and sale operations: lots are appended, and a sale hangs one
// record under every lot it draws from, all records of one sale sharing its number.

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

CPurchase& CKx7Doc::Purchase(std::string symbol, std::string companyName, float shares, float price,
                             std::int64_t date, float commission, std::string purchaseType,
                             std::string comment) {
    CPurchase& lot = AppendPurchase(
        std::make_unique<CPurchase>(std::move(symbol), std::move(companyName), shares, price, date,
                                    commission, std::move(purchaseType), std::move(comment)));
    ++m_recordCount;
    MarkChanged(ChangeSet(ChangeKind::kLots, lot.symbol));
    return lot;
}

void CKx7Doc::Sell(std::string_view symbol, float shares, float price, std::int64_t date,
                   float commission, int method, const std::string& comment) {
    switch (method) {
        case kFifo:
            SellInOrder(symbol, shares, price, date, commission, comment, false);
            break;
        case kLifo:
            SellInOrder(symbol, shares, price, date, commission, comment, true);
            break;
        case kCustom:
            SellCustom(symbol, shares, price, date, commission, comment);
            break;
        default:
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

void CKx7Doc::SellInOrder(std::string_view symbol, float shares, float price, std::int64_t date,
                          float commission, const std::string& comment, bool lastFirst) {
    float remaining = shares;
    float commissionToCarry = commission;
    const auto sellFrom = [&](CPurchase& lot) {
        if (!LotSellable(lot, symbol) || !HasShares(lot.availableShares)) {
            return;
        }
        const float portion = lot.availableShares <= remaining ? lot.availableShares : remaining;
        lot.AddSale(portion, price, date, commissionToCarry, comment, m_nextSaleNumber);
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

void CKx7Doc::SellCustom(std::string_view symbol, float shares, float price, std::int64_t date,
                         float commission, const std::string& comment) {
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
        const std::string lotDate = FormatDate(lot->date, m_settings.dateMonthFirst);
        char line[160];
        std::snprintf(line, sizeof line, "%10s%12.4f%14.4f;", lotDate.c_str(),
                      static_cast<double>(lot->availableShares), static_cast<double>(lot->price));
        request.lotList += line;
    }
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

    float commissionToCarry = commission;
    for (std::size_t i = 0; i < lots.size() && i < counts->size(); ++i) {
        const float count = (*counts)[i];
        // A count that is not a finite positive number cannot come from the form.
        if (!std::isfinite(count) || count <= 0.0f) {
            continue;
        }
        CPurchase& lot = *lots[i];
        lot.AddSale(count, price, date, commissionToCarry, comment, m_nextSaleNumber);
        TakeFromLot(lot, count);
        ++m_recordCount;
        commissionToCarry = 0.0f;
    }
    ++m_nextSaleNumber;
    MarkChanged(ChangeSet(ChangeKind::kSales, stripped));
}

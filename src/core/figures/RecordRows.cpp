#include "core/figures/RecordRows.h"

#include "core/figures/FormNumbers.h"
#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"

namespace {

constexpr RecordColour kPurchaseColour{0x8E, 0xF9, 0xA7};
constexpr RecordColour kSaleColour{0xF9, 0x8E, 0xA7};
constexpr RecordColour kDividendColour{0xA7, 0x8E, 0xF9};

std::string RowDate(std::int64_t date) {
    return FormatLocalTime(date, "%Y/%m/%d");
}

std::string Money(float value) {
    return FormatNumber("%.2f ", static_cast<double>(value));
}

std::string Shares(float value) {
    return FormatNumber("%.4f ", static_cast<double>(value));
}

}  // namespace

RecordRow PurchaseRow(CPurchase& purchase) {
    RecordRow row;
    row.kind = RecordKind::Purchase;
    row.purchase = &purchase;
    row.columns = {purchase.symbol, "Purchase", RowDate(purchase.date), Money(purchase.price),
                   Shares(purchase.shares)};
    row.background = kPurchaseColour;
    return row;
}

RecordRow SaleRow(CSale& sale) {
    RecordRow row;
    row.kind = RecordKind::Sale;
    row.purchase = sale.purchase;
    row.sale = &sale;
    row.columns = {sale.purchase != nullptr ? sale.purchase->symbol : std::string(), "Sale",
                   RowDate(sale.date), Money(sale.price), Shares(sale.shares)};
    row.background = kSaleColour;
    return row;
}

RecordRow DividendRow(CDividend& dividend) {
    RecordRow row;
    row.kind = RecordKind::Dividend;
    row.dividend = &dividend;
    const bool cash = dividend.IsCash();
    row.columns = {dividend.symbol, "Dividend", RowDate(dividend.date),
                   cash ? Money(dividend.amount) : std::string("Shares"),
                   cash ? std::string("Cash") : Money(dividend.amount)};
    row.background = kDividendColour;
    return row;
}

std::vector<RecordRow> BuildRecordRows(CKx7Doc& doc, std::string_view filter) {
    const bool all = filter == kAllRecords;
    std::vector<RecordRow> rows;
    for (const auto& purchase : doc.Purchases()) {
        if (!all && purchase->symbol != filter) {
            continue;
        }
        rows.push_back(PurchaseRow(*purchase));
        for (auto& sale : purchase->sales) {
            rows.push_back(SaleRow(sale));
        }
    }
    for (const auto& dividend : doc.Dividends()) {
        if (all || dividend->symbol == filter) {
            rows.push_back(DividendRow(*dividend));
        }
    }
    return rows;
}

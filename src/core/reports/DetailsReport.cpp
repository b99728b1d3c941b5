#include "core/reports/DetailsReport.h"

#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"
#include "core/model/OptionSuffix.h"
#include "core/reports/ReportText.h"
#include "core/settings/Settings.h"

namespace {

constexpr std::size_t kLabelColumn = 21;
constexpr std::size_t kSaleDateColumn = 10;
constexpr std::size_t kListDateColumn = 10;
// Bytes of a line of the list, to reserve the text.
constexpr std::size_t kListLineBytes = 60;

void AppendSaleRecord(std::string& out, const CPurchase& lot, bool monthFirst) {
    out += "\r\n\r\nSale Record:\r\n";
    out += "             Shares      Market      Shares\r\n";
    out += " Date         Sold        Price        Left       Comment\r\n";
    out += "----------  ---------  ------------  ----------  -------------------\r\n";
    AppendFormat(out, "%47.4f\r\n", static_cast<double>(lot.shares));
    float left = lot.shares;
    for (const auto& sale : lot.sales) {
        left -= sale.shares;
        AppendRightAligned(out, FormatLongDate(sale.date, monthFirst), kSaleDateColumn);
        AppendFormat(out, "%11.4f", static_cast<double>(sale.shares));
        if (sale.IsExpiry()) {
            out += "       EXPIRED";
        } else {
            AppendFormat(out, "%14.4f", static_cast<double>(sale.price));
        }
        AppendFormat(out, "%12.4f  ", static_cast<double>(left));
        out += sale.comment;
        out += "\r\n";
    }
}

}  // namespace

std::string BuildDetailsList(const CKx7Doc& doc) {
    DateTexts dates(DatePattern(doc.AppSettings().dateMonthFirst));
    std::string text;
    text.reserve(doc.Purchases().size() * kListLineBytes);
    std::string label;
    for (const auto& lot : doc.Purchases()) {
        label.assign(lot->companyName);
        label += " (";
        label += lot->symbol;
        if (lot->IsGrant()) {
            label += kOptionSuffix;
        }
        label += ')';
        AppendColumn(text, label, kLabelColumn);
        AppendRightAligned(text, dates.Of(lot->date), kListDateColumn);
        AppendFixed(text, lot->price, 4, 12);
        AppendFixed(text, lot->shares, 4, 12);
        text += "\r\n";
    }
    return text;
}

std::optional<std::string> BuildPurchaseDetails(const CKx7Doc& doc, std::size_t position) {
    if (position >= doc.Purchases().size()) {
        return std::nullopt;
    }
    const CPurchase& lot = *doc.Purchases()[position];
    const bool monthFirst = doc.AppSettings().dateMonthFirst;
    std::string text = "Company      :" + lot.companyName;
    text += "\r\nSymbol       :" + lot.symbol;
    AppendFormat(text, "\r\nMarket Price :%.4f", static_cast<double>(lot.marketPrice));
    AppendFormat(text, "\r\n\r\nShares Purchased :%.4f", static_cast<double>(lot.shares));
    text += "\r\nPurchase Date    :" + FormatLongDate(lot.date, monthFirst);
    AppendFormat(text, "\r\nPurchase Price   :%.4f", static_cast<double>(lot.price));
    if (!lot.purchaseType.empty()) {
        text += "\r\nPurchase Type    :" + lot.purchaseType;
    }
    if (!lot.comment.empty()) {
        text += "\r\nComment :\r\n" + lot.comment;
    }
    if (!lot.sales.empty()) {
        AppendSaleRecord(text, lot, monthFirst);
    }
    return text;
}

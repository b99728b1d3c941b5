#include "core/exchange/Exports.h"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <map>
#include <tuple>
#include <vector>

#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"
#include "core/model/OptionSuffix.h"
#include "core/reports/CsvText.h"
#include "core/reports/ReportText.h"
#include "core/settings/Settings.h"

namespace {

// The shortest text that reads back as the same float.
std::string Exact(float value) {
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    return error == std::errc() ? std::string(text, end) : std::string();
}

std::string Money(double value) {
    std::string text;
    AppendFixed(text, value, 2);
    return text;
}

// A date alone when the time is the local midnight the forms store, the full local time
// otherwise, so that no record's time is lost.
std::string DateTime(std::int64_t time) {
    const std::tm parts = ToLocalTm(time);
    if (parts.tm_hour == 0 && parts.tm_min == 0 && parts.tm_sec == 0) {
        return IsoDate(time);
    }
    return FormatTm(parts, "%Y-%m-%dT%H:%M:%S");
}

struct TransactionRow {
    std::int64_t date = 0;
    std::vector<std::string> fields;
};

const char* const kTransactionHeader[] = {"Date",     "Action", "Symbol",     "Company", "Shares",
                                          "Price",    "Amount", "Commission", "Type",    "Vesting",
                                          "Grant ID", "Lot",    "Sale",       "Ratio",   "Comment"};

void AppendRow(std::string& out, const std::vector<std::string>& fields) {
    bool first = true;
    for (const std::string& field : fields) {
        if (!first) {
            out += ',';
        }
        first = false;
        AppendCsvField(out, field);
    }
    out += "\r\n";
}

}  // namespace

bool IsLongTerm(std::int64_t acquired, std::int64_t sold) {
    const LocalDate bought = ToLocalDate(acquired);
    LocalDate anniversary{bought.year + 1, bought.month, bought.day};
    if (anniversary.month == 2 && anniversary.day == 29) {
        anniversary.day = 28;
    }
    const LocalDate soldOn = ToLocalDate(sold);
    return std::tie(soldOn.year, soldOn.month, soldOn.day) >
           std::tie(anniversary.year, anniversary.month, anniversary.day);
}

std::string TransactionsCsv(const CKx7Doc& doc) {
    std::vector<TransactionRow> rows;
    int lotNumber = 0;
    for (const auto& lot : doc.Purchases()) {
        ++lotNumber;
        const std::string number = std::to_string(lotNumber);
        const bool grant = lot->IsGrant();
        const std::string vesting =
            grant && lot->vestingSchedule >= 0 &&
                    static_cast<std::size_t>(lot->vestingSchedule) < kVestingScheduleNames.size()
                ? std::string(kVestingScheduleNames[static_cast<std::size_t>(lot->vestingSchedule)])
                : std::string();
        rows.push_back(
            {lot->date,
             {DateTime(lot->date), grant ? "Grant" : "Buy", lot->symbol, lot->companyName,
              Exact(lot->shares), Exact(lot->price), "", Exact(lot->commission), lot->purchaseType,
              vesting, lot->grantId, number, "", "", lot->comment}});
        for (const CSale& sale : lot->sales) {
            const bool expiry = sale.IsExpiry();
            rows.push_back(
                {sale.date,
                 {DateTime(sale.date), expiry ? "Expire" : "Sell", lot->symbol, lot->companyName,
                  Exact(sale.shares), expiry ? "" : Exact(sale.price), "", Exact(sale.commission),
                  "", "", "", number, std::to_string(sale.saleNumber), "", sale.comment}});
        }
    }
    for (const auto& dividend : doc.Dividends()) {
        const bool cash = dividend->IsCash();
        rows.push_back(
            {dividend->date,
             {DateTime(dividend->date), cash ? "Dividend" : "Share Dividend", dividend->symbol, "",
              cash ? "" : Exact(dividend->amount), "", cash ? Exact(dividend->amount) : "", "", "",
              "", "", "", "", "", dividend->comment}});
    }
    for (const SplitEntry& split : doc.Splits()) {
        rows.push_back(
            {split.date,
             {DateTime(split.date), "Split", split.symbol, "", "", "", "", "", "", "", "", "", "",
              std::to_string(split.newShares) + ":" + std::to_string(split.oldShares), ""}});
    }
    std::stable_sort(
        rows.begin(), rows.end(),
        [](const TransactionRow& a, const TransactionRow& b) { return a.date < b.date; });
    std::string out;
    AppendRow(out, {std::begin(kTransactionHeader), std::end(kTransactionHeader)});
    for (const TransactionRow& row : rows) {
        AppendRow(out, row.fields);
    }
    return out;
}

std::string HoldingsCsv(const CKx7Doc& doc, std::int64_t asOf, const PriceOn& priceOn) {
    // The end of the day asked for: a record of that day counts, whatever its time.
    const LocalDate day = ToLocalDate(asOf);
    const std::int64_t dayEnd = LocalTimeOf(day.year, day.month, day.day) + 86400 - 1;
    struct Holding {
        std::string company;
        double shares = 0;
        double cost = 0;
        double strikeValue = 0;  // the strikes a grant's value is counted above
        bool grant = false;
    };
    std::map<std::string, Holding> holdings;
    for (const auto& lot : doc.Purchases()) {
        if (lot->date > dayEnd) {
            continue;
        }
        float held = lot->IsGrant()
                         ? VestedShares(lot->vestingSchedule, lot->shares, lot->date, dayEnd)
                         : lot->shares;
        for (const CSale& sale : lot->sales) {
            if (sale.date <= dayEnd) {
                held -= sale.shares;
            }
        }
        if (held <= 0.0001f) {
            continue;
        }
        const bool apart = lot->IsGrant() && doc.AppSettings().ungroupOptions;
        Holding& holding = holdings[apart ? WithOptionSuffix(lot->symbol) : lot->symbol];
        holding.company = lot->companyName;
        holding.grant = holding.grant || lot->IsGrant();
        holding.shares += held;
        // Nothing is paid for an option until it is exercised: its strike is no cost.
        if (lot->IsGrant()) {
            holding.strikeValue += static_cast<double>(held) * lot->price;
        } else {
            holding.cost +=
                static_cast<double>(held) * lot->price + PurchaseCommissionShare(*lot, held);
        }
    }
    std::string out;
    AppendCsvRow(out, {"Symbol", "Company", "Shares", "Cost", "Value", "Gain"});
    for (const auto& [symbol, holding] : holdings) {
        const std::optional<float> price = priceOn(StripOptionSuffix(symbol));
        std::string value;
        std::string gain;
        if (price) {
            // Options are worth what the price stands above their strike, never less than 0.
            const double worth = holding.grant && HasOptionSuffix(symbol)
                                     ? std::max(0.0, holding.shares * *price - holding.strikeValue)
                                     : holding.shares * *price;
            value = Money(worth);
            gain = Money(worth - holding.cost);
        }
        AppendCsvRow(out, {symbol, holding.company, Exact(static_cast<float>(holding.shares)),
                           Money(holding.cost), value, gain});
    }
    return out;
}

std::string RealizedGainsCsv(const CKx7Doc& doc, int year) {
    struct GainRow {
        std::int64_t sold = 0;
        std::vector<std::string> fields;
    };
    std::vector<GainRow> rows;
    for (const auto& lot : doc.Purchases()) {
        for (const CSale& sale : lot->sales) {
            if (sale.IsExpiry() || ToLocalDate(sale.date).year != year) {
                continue;
            }
            const double proceeds = static_cast<double>(sale.shares) * sale.price - sale.commission;
            const double cost = static_cast<double>(sale.shares) * lot->price +
                                PurchaseCommissionShare(*lot, sale.shares);
            std::string shares;
            AppendFixed(shares, sale.shares, 4);
            shares.erase(shares.find_last_not_of('0') + 1);
            if (shares.ends_with('.')) {
                shares.pop_back();
            }
            rows.push_back({sale.date,
                            {shares + " sh " + lot->symbol, IsoDate(lot->date), IsoDate(sale.date),
                             Money(proceeds), Money(cost), Money(0.0), Money(proceeds - cost),
                             IsLongTerm(lot->date, sale.date) ? "Long" : "Short"}});
        }
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const GainRow& a, const GainRow& b) { return a.sold < b.sold; });
    std::string out;
    AppendCsvRow(out, {"Description", "Date Acquired", "Date Sold", "Proceeds", "Cost Basis",
                       "Adjustment", "Gain or Loss", "Term"});
    for (const GainRow& row : rows) {
        AppendRow(out, row.fields);
    }
    return out;
}

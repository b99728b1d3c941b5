#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class CKx7Doc;

// The portfolio as RFC 4180 CSV (a header row, CR LF line ends, ISO 8601 dates) for a
// spreadsheet, a tax program or another portfolio program.

// Whether shares bought at `acquired` and sold at `sold` were held more than one year:
// sold after the day one year on from the local date acquired (a 29 February counts its
// year as ending on 28 February).
bool IsLongTerm(std::int64_t acquired, std::int64_t sold);

// Every purchase, grant, sale record, expiry, dividend and split, one row each, in date
// order (records of one date in the order they were made): Date, Action, Symbol, Company,
// Shares, Price, Amount, Commission, Type, Vesting, Grant ID, Lot, Sale, Ratio, Comment.
// A lot is numbered by its place among the purchases and grants (from 1); a sale row names
// the lot it drew on and the number of its sale. Figures read back as the same floats.
std::string TransactionsCsv(const CKx7Doc& doc);

// The price of a symbol on the day of the holdings; none when it is not known.
using PriceOn = std::function<std::optional<float>(std::string_view symbol)>;

// What was held at the end of the local day of `asOf`, one row per symbol as the holdings
// list names it (grants apart as "<symbol>-O" while options are ungrouped): Symbol,
// Company, Shares, Cost, Value, Gain. A grant counts its vested options not yet exercised,
// at no cost and at their value above the strike; a symbol without a price has no value
// or gain.
std::string HoldingsCsv(const CKx7Doc& doc, std::int64_t asOf, const PriceOn& priceOn);

// One row per lot sold in the tax year, in the columns of the US capital-gains form:
// Description, Date Acquired, Date Sold, Proceeds (less the sale's commission), Cost Basis
// (with the purchase commission's share), Adjustment, Gain or Loss, Term (Short or Long).
// Options that expired unexercised are left out, as the tax report leaves them out.
std::string RealizedGainsCsv(const CKx7Doc& doc, int year);

#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What a row of an imported file asks to record, before it is checked against the
// portfolio. Every reader (CSV through a mapping, QIF, OFX) gives these.
enum class ImportAction {
    kBuy,               // shares bought at a price (ShrsIn: price 0 unless the file says)
    kGrant,             // option grant (Velmora's own export only)
    kSell,              // shares sold at a price (ShrsOut: price 0 unless the file says)
    kExpire,            // options that expired unexercised (Velmora's own export only)
    kCashDividend,      // money paid
    kShareDividend,     // shares received as a dividend
    kReinvestDividend,  // a cash dividend reinvested: a purchase of shares at a price
    kSplit,             // newShares for oldShares
    kSymbolChange,      // symbol becomes newSymbol
};

struct ImportRow {
    int line = 0;  // the row's line in its file, for every message about it
    ImportAction action = ImportAction::kBuy;
    std::int64_t date = 0;  // local time, seconds since 1970
    std::string symbol;
    std::string company;
    float shares = 0;
    float price = 0;
    float amount = 0;  // the money of a cash dividend
    float commission = 0;
    std::string comment;
    std::string type;           // purchase or option type ("Direct Purchase", "ISO", ...)
    std::int32_t vesting = -1;  // a grant's vesting schedule index
    std::string grantId;
    std::int32_t lot = 0;    // a sale "as the file says": the file's lot number it draws on
    std::int32_t sale = -1;  // the file's sale number, which joins the records of one sale
    std::int32_t newShares = 0;
    std::int32_t oldShares = 0;
    std::string newSymbol;
};

// A row a reader could not take, and why: "line 12: the date "31/02/2020" is no date".
struct ImportProblem {
    int line = 0;
    std::string reason;
};

// What a reader made of a file.
struct ImportRows {
    std::vector<ImportRow> rows;
    std::vector<ImportProblem> problems;
    std::string error;  // the file as a whole could not be read (wrong format, too large)
};

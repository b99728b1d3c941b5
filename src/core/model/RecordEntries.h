#pragma once

#include <cstdint>
#include <string>

#include "core/model/Dividend.h"

// How a sale picks the lots it draws on, in the order of the sale form's choices.
enum class SaleMethod { kFifo, kLifo, kCustom };

// What the transaction forms hand to the document's operations, one record each.

struct PurchaseEntry {
    std::string symbol;
    std::string companyName;
    float shares = 0;
    float price = 0;
    std::int64_t date = 0;
    float commission = 0;
    std::string purchaseType;
    std::string comment;
};

struct GrantEntry {
    std::string symbol;
    std::string companyName;
    float shares = 0;
    float strikePrice = 0;
    std::int64_t date = 0;
    std::string optionType;
    std::int32_t vestingSchedule = 0;
    std::string grantId;
    std::string comment;
};

// A sale of `shares` of `symbol` ("SYM-O" sells the symbol's grants), matched to lots by
// `method`.
struct SaleEntry {
    std::string symbol;
    float shares = 0;
    float price = 0;
    std::int64_t date = 0;
    float commission = 0;
    SaleMethod method = SaleMethod::kFifo;
    std::string comment;
};

struct DividendEntry {
    std::string symbol;
    DividendKind kind = DividendKind::kCash;
    float amount = 0;  // money for a cash dividend, a share count otherwise
    std::int64_t date = 0;
    std::string comment;
};

// The fields of a lot the record editor changes; the symbol and company stay.
struct PurchaseEdit {
    float shares = 0;
    float price = 0;
    std::int64_t date = 0;
    float commission = 0;
    std::string purchaseType;
    std::string comment;
};

// The fields of one sale record the record editor changes.
struct SaleEdit {
    float shares = 0;
    float price = 0;
    std::int64_t date = 0;
    float commission = 0;
    std::string comment;
};

// The fields of a dividend the record editor changes.
struct DividendEdit {
    DividendKind dividendKind = DividendKind::kCash;
    float amount = 0;
    std::int64_t date = 0;
    std::string comment;
};

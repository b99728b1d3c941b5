#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

class CDividend;
class CKx7Doc;
class CPurchase;
class CSale;

// The rows of the record editor: one per purchase, sale and dividend, each linked to its
// record and coloured by its kind.

enum class RecordKind { Purchase, Sale, Dividend };

struct RecordColour {
    int red = 0;
    int green = 0;
    int blue = 0;
};

struct RecordRow {
    RecordKind kind = RecordKind::Purchase;
    CPurchase* purchase = nullptr;  // the lot, also of a sale row
    CSale* sale = nullptr;
    CDividend* dividend = nullptr;
    // "Symbol", "Record", "Date", "Price", "Shares".
    std::array<std::string, 5> columns;
    RecordColour background;
};

inline constexpr std::string_view kAllRecords = "All";

RecordRow PurchaseRow(CPurchase& purchase);
RecordRow SaleRow(CSale& sale);
RecordRow DividendRow(CDividend& dividend);

// Every purchase of the symbol (every purchase for "All") followed by its sales, in list
// order, then the dividends of the symbol.
std::vector<RecordRow> BuildRecordRows(CKx7Doc& doc, std::string_view filter);

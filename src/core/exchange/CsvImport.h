#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/exchange/ImportRow.h"

// How the columns of a CSV file of transactions are read. Columns are found by their
// header names (compared without regard to case or surrounding blanks); an empty name
// means the file has no such column.
struct CsvMapping {
    enum class DateOrder { kYearMonthDay, kMonthDayYear, kDayMonthYear };

    std::string name;
    std::string date;
    std::string action;
    std::string symbol;
    std::string company;
    std::string shares;
    std::string price;
    std::string amount;
    std::string commission;
    std::string fees;  // added to the commission
    std::string comment;
    std::string type;
    std::string vesting;
    std::string grantId;
    std::string lot;
    std::string sale;
    std::string ratio;  // a split as "new:old"
    DateOrder dateOrder = DateOrder::kYearMonthDay;
    bool decimalComma = false;  // "1.234,56"
    char separator = ',';
    // The file's words for each action: an action cell that starts with the words (without
    // regard to case) is that action; the first that fits is taken.
    std::vector<std::pair<std::string, ImportAction>> actions;

    friend bool operator==(const CsvMapping&, const CsvMapping&) = default;
};

// The mappings the program ships: "Velmora" (its own transactions export, lots and sales
// as the file says) and the activity downloads of two brokers, defined from their
// documented columns.
std::vector<CsvMapping> ShippedCsvMappings();

// Reads a CSV file through a mapping. Rows whose action the mapping does not know, or
// whose date or numbers do not read, are problems naming the line and the field; a file
// without the mapping's date, action or symbol column is an error.
ImportRows ReadCsvImport(std::string_view text, const CsvMapping& mapping);

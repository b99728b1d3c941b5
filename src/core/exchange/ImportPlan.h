#pragma once

#include <string>
#include <vector>

#include "core/exchange/ImportRow.h"

class CKx7Doc;

// How imported sales find their lots.
enum class ImportMatching {
    kFifo,
    kLifo,
    // Each sale row names the lot it draws on (Velmora's own export); a row that names
    // none is matched first in, first out.
    kAsTheFileSays,
};

// One row as it will be recorded, or why it will not be.
struct PlannedRow {
    ImportRow row;
    std::string skipped;  // empty when the row is recorded
};

// What an import will do, shown before anything changes: every row in the order it is
// recorded, the rows skipped and why, and the totals of what is recorded.
struct ImportPlan {
    std::vector<PlannedRow> rows;
    std::vector<ImportProblem> unread;  // rows the reader could not take
    int recorded = 0;
    int skipped = 0;  // planned rows skipped and rows unread
    double bought = 0;
    double sold = 0;
    double dividends = 0;
};

// Checks every row against the portfolio and the rows before it: a sale of more shares
// than are held then, a record the portfolio already has (same date, symbol, shares and
// price, or for a dividend the same amount), a sale naming a lot the file does not have.
ImportPlan PlanImport(const CKx7Doc& doc, const ImportRows& read, ImportMatching matching);

// Records the rows the plan records, through the document's operations, as one step to
// undo ("Import"). Returns how many records were made.
int ApplyImport(CKx7Doc& doc, const ImportPlan& plan, ImportMatching matching);

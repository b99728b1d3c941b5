#include "core/exchange/ImportPlan.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"
#include "core/model/RecordEntries.h"

namespace {

constexpr float kShareSlack = 0.0001f;

bool SameDay(std::int64_t a, std::int64_t b) {
    return ToLocalDate(a) == ToLocalDate(b);
}

bool Buys(ImportAction action) {
    return action == ImportAction::kBuy || action == ImportAction::kGrant ||
           action == ImportAction::kReinvestDividend;
}

bool Sells(ImportAction action) {
    return action == ImportAction::kSell || action == ImportAction::kExpire;
}

std::string Shares(float shares) {
    char text[48];
    std::snprintf(text, sizeof text, "%.4f", static_cast<double>(shares));
    return text;
}

// Whether the portfolio already holds the record a row would make.
bool AlreadyThere(const CKx7Doc& doc, const ImportRow& row) {
    if (Buys(row.action)) {
        return std::any_of(doc.Purchases().begin(), doc.Purchases().end(), [&](const auto& lot) {
            return lot->symbol == row.symbol && SameDay(lot->date, row.date) &&
                   lot->shares == row.shares && lot->price == row.price;
        });
    }
    if (Sells(row.action)) {
        return std::any_of(doc.Purchases().begin(), doc.Purchases().end(), [&](const auto& lot) {
            return lot->symbol == row.symbol &&
                   std::any_of(lot->sales.begin(), lot->sales.end(), [&](const CSale& sale) {
                       return SameDay(sale.date, row.date) && sale.shares == row.shares &&
                              (row.action == ImportAction::kExpire || sale.price == row.price);
                   });
        });
    }
    if (row.action == ImportAction::kCashDividend || row.action == ImportAction::kShareDividend) {
        const float amount = row.action == ImportAction::kCashDividend ? row.amount : row.shares;
        return std::any_of(doc.Dividends().begin(), doc.Dividends().end(), [&](const auto& paid) {
            return paid->symbol == row.symbol && SameDay(paid->date, row.date) &&
                   paid->amount == amount;
        });
    }
    if (row.action == ImportAction::kSplit) {
        // Done twice, a split would double every share count.
        return std::any_of(doc.Splits().begin(), doc.Splits().end(), [&](const SplitEntry& split) {
            return split.symbol == row.symbol && SameDay(split.date, row.date) &&
                   split.newShares == row.newShares && split.oldShares == row.oldShares;
        });
    }
    return false;
}

// Velmora's own files list lots by their number; they are made in that order, so that
// the portfolio's lots stand as they stood.
std::vector<ImportRow> InRecordOrder(std::vector<ImportRow> rows, ImportMatching matching) {
    std::stable_sort(rows.begin(), rows.end(),
                     [](const ImportRow& a, const ImportRow& b) { return a.date < b.date; });
    if (matching != ImportMatching::kAsTheFileSays) {
        return rows;
    }
    std::stable_partition(rows.begin(), rows.end(), [](const ImportRow& row) {
        return (row.action == ImportAction::kBuy || row.action == ImportAction::kGrant) &&
               row.lot > 0;
    });
    const auto lots = std::find_if(rows.begin(), rows.end(), [](const ImportRow& row) {
        return !((row.action == ImportAction::kBuy || row.action == ImportAction::kGrant) &&
                 row.lot > 0);
    });
    std::stable_sort(rows.begin(), lots,
                     [](const ImportRow& a, const ImportRow& b) { return a.lot < b.lot; });
    // Then the sales in the order of their numbers, so that they are numbered as they were
    // (a sale may have been entered after a later one); each names its lots, so the order
    // takes nothing from any other. The rest keep their date order.
    const auto numbered = [](const ImportRow& row) { return Sells(row.action) && row.sale >= 0; };
    const auto sales = std::stable_partition(lots, rows.end(), numbered);
    std::stable_sort(lots, sales,
                     [](const ImportRow& a, const ImportRow& b) { return a.sale < b.sale; });
    return rows;
}

}  // namespace

ImportPlan PlanImport(const CKx7Doc& doc, const ImportRows& read, ImportMatching matching) {
    ImportPlan plan;
    plan.unread = read.problems;
    std::map<std::string, float> held;  // by symbol, as the rows before leave it
    for (const auto& lot : doc.Purchases()) {
        held[lot->symbol] += lot->availableShares;
    }
    std::map<std::int32_t, float> lotLeft;  // by the file's lot number
    for (ImportRow& row : InRecordOrder(read.rows, matching)) {
        PlannedRow planned{row, {}};
        const bool fileLot = matching == ImportMatching::kAsTheFileSays && row.lot > 0;
        if (AlreadyThere(doc, row)) {
            planned.skipped = row.action == ImportAction::kSplit
                                  ? "the portfolio already has this split (same date, symbol "
                                    "and ratio)"
                                  : "the portfolio already has this record (same date, symbol, "
                                    "shares and price)";
        } else if (Buys(row.action) && (row.shares <= 0.0f || row.price < 0.0f)) {
            planned.skipped = "a purchase needs shares and a price";
        } else if (Sells(row.action) && row.shares <= 0.0f) {
            planned.skipped = "a sale needs shares";
        } else if (Sells(row.action) && fileLot && lotLeft.count(row.lot) == 0) {
            planned.skipped = "the sale draws on lot " + std::to_string(row.lot) +
                              ", which the file does not have";
        } else if (Sells(row.action)) {
            const float available = fileLot ? lotLeft[row.lot] : held[row.symbol];
            if (row.shares > available + kShareSlack) {
                planned.skipped = "a sale of " + Shares(row.shares) + " shares, but only " +
                                  Shares(std::max(available, 0.0f)) + " are held then";
            }
        }
        if (planned.skipped.empty()) {
            ++plan.recorded;
            if (Buys(row.action)) {
                held[row.symbol] += row.shares;
                if (fileLot) {
                    lotLeft[row.lot] += row.shares;
                }
                plan.bought += static_cast<double>(row.shares) * row.price;
            } else if (Sells(row.action)) {
                held[row.symbol] -= row.shares;
                if (fileLot) {
                    lotLeft[row.lot] -= row.shares;
                }
                plan.sold += static_cast<double>(row.shares) * row.price;
            }
            if (row.action == ImportAction::kCashDividend ||
                row.action == ImportAction::kReinvestDividend) {
                plan.dividends += row.amount;
            }
        } else {
            ++plan.skipped;
        }
        plan.rows.push_back(std::move(planned));
    }
    plan.skipped += static_cast<int>(plan.unread.size());
    return plan;
}

int ApplyImport(CKx7Doc& doc, const ImportPlan& plan, ImportMatching matching) {
    if (plan.recorded == 0) {
        return 0;
    }
    const CKx7Doc::UndoStep step(doc, "Import");
    std::map<std::int32_t, CPurchase*> lots;  // the file's lot numbers
    std::vector<CKx7Doc::SalePart> parts;     // of the sale being gathered
    std::int32_t partsSale = -1;
    const auto flush = [&] {
        if (!parts.empty()) {
            doc.RecordSaleParts(parts);
            parts.clear();
        }
    };
    int made = 0;
    for (const PlannedRow& planned : plan.rows) {
        if (!planned.skipped.empty()) {
            continue;
        }
        const ImportRow& row = planned.row;
        const bool fileLot = matching == ImportMatching::kAsTheFileSays && row.lot > 0;
        if (!(Sells(row.action) && fileLot && row.sale == partsSale && row.sale >= 0)) {
            flush();
        }
        ++made;
        switch (row.action) {
            case ImportAction::kBuy:
            case ImportAction::kReinvestDividend: {
                const bool reinvested = row.action == ImportAction::kReinvestDividend;
                if (reinvested) {
                    doc.RecordDividend(
                        {.symbol = row.symbol,
                         .kind = DividendKind::kCash,
                         .amount = row.amount > 0.0f ? row.amount : row.shares * row.price,
                         .date = row.date,
                         .comment = row.comment});
                }
                CPurchase& lot =
                    doc.Purchase({.symbol = row.symbol,
                                  .companyName = row.company.empty() ? row.symbol : row.company,
                                  .shares = row.shares,
                                  .price = row.price,
                                  .date = row.date,
                                  .commission = row.commission,
                                  .purchaseType = !row.type.empty() ? row.type
                                                  : reinvested      ? "Dividend Reinvestment"
                                                                    : "Direct Purchase",
                                  .comment = row.comment});
                if (row.lot > 0) {
                    lots[row.lot] = &lot;
                }
                break;
            }
            case ImportAction::kGrant: {
                CPurchase& grant =
                    doc.ReceiveGrant({.symbol = row.symbol,
                                      .companyName = row.company.empty() ? row.symbol : row.company,
                                      .shares = row.shares,
                                      .strikePrice = row.price,
                                      .date = row.date,
                                      .optionType = row.type,
                                      .vestingSchedule = std::max(row.vesting, 0),
                                      .grantId = row.grantId,
                                      .comment = row.comment});
                // A grant's commission is kept as the file has it.
                grant.commission = row.commission;
                if (row.lot > 0) {
                    lots[row.lot] = &grant;
                }
                break;
            }
            case ImportAction::kSell:
            case ImportAction::kExpire:
                if (fileLot) {
                    parts.push_back({.lot = lots[row.lot],
                                     .shares = row.shares,
                                     .price = row.action == ImportAction::kExpire
                                                  ? CSale::kExpiredPrice
                                                  : row.price,
                                     .date = row.date,
                                     .commission = row.commission,
                                     .comment = row.comment});
                    partsSale = row.sale;
                    if (row.sale < 0) {
                        flush();
                    }
                    break;
                }
                doc.Sell({.symbol = row.symbol,
                          .shares = row.shares,
                          .price = row.price,
                          .date = row.date,
                          .commission = row.commission,
                          .method = matching == ImportMatching::kLifo ? SaleMethod::kLifo
                                                                      : SaleMethod::kFifo,
                          .comment = row.comment});
                break;
            case ImportAction::kCashDividend:
            case ImportAction::kShareDividend: {
                const bool cash = row.action == ImportAction::kCashDividend;
                doc.RecordDividend({.symbol = row.symbol,
                                    .kind = cash ? DividendKind::kCash : DividendKind::kShares,
                                    .amount = cash ? row.amount : row.shares,
                                    .date = row.date,
                                    .comment = row.comment});
                break;
            }
            case ImportAction::kSplit:
                // Velmora's own lots already stand split: the split is recorded, not redone.
                if (matching == ImportMatching::kAsTheFileSays) {
                    doc.AppendSplit({.symbol = row.symbol,
                                     .date = row.date,
                                     .newShares = row.newShares,
                                     .oldShares = row.oldShares});
                    doc.MarkChanged(ChangeSet(ChangeKind::kSplits, row.symbol));
                } else {
                    doc.StockSplit(row.symbol, row.newShares, row.oldShares, row.date);
                }
                break;
            case ImportAction::kSymbolChange:
                doc.ChangeSymbol(row.symbol, row.newSymbol, row.company);
                break;
        }
    }
    flush();
    return made;
}

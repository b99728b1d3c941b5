#pragma once

#include <string>
#include <vector>

#include "core/settings/Settings.h"

// The symbols sent in one page request. A parser recovers them as the held-symbol list
// positions last - count + 1 through last, in that order.
struct QuoteBatch {
    std::string query;
    int count = 0;  // real symbols, without the padding of a short batch
    int last = 0;   // held-symbol list position of the batch's last symbol

    friend bool operator==(const QuoteBatch&, const QuoteBatch&) = default;
};

// Splits the held-symbol list into the requests of a quote source (`Settings::quoteSource`):
// ten "&symbol=" entries for the American Stock Exchange and NASDAQ, a short last batch
// padded with bare "&symbol=" entries; five symbols joined by "+" for Yahoo!. The walk
// stops at the first empty item. A value that names no source gives no batch.
std::vector<QuoteBatch> QuoteBatches(QuoteServer source, const std::vector<std::string>& symbols);

// Whether a batch was full, which is when the update moves its progress position.
bool IsFullBatch(QuoteServer source, const QuoteBatch& batch);

// The request target of a batch, sent unchanged.
std::string QuoteRequestPath(QuoteServer source, const QuoteBatch& batch);

// The batch's symbols, taken back from the list.
std::vector<std::string> BatchSymbols(const QuoteBatch& batch,
                                      const std::vector<std::string>& symbols);

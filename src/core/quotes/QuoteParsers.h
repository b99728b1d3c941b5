#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings/Settings.h"

// What a page said about one symbol of its batch.
enum class QuoteOutcome {
    kFound,   // a price was read
    kNoData,  // no price for the symbol (see `reason`): a "No Data" line, nothing stored
    kNoLine,  // the marker is there but its price is not: no line, nothing stored
};

// One symbol's result, produced on whatever thread fetched the page and applied to the
// document later, on the thread that owns it.
struct QuoteResult {
    std::string symbol;
    QuoteOutcome outcome = QuoteOutcome::kNoData;
    // Apply the whole quote (direction, change, extra) rather than set the price only.
    bool fullQuote = false;
    float price = 0.0f;
    std::int32_t direction = 0;  // +1 up, -1 down, 0 none
    float change = 0.0f;
    float extra = 0.0f;
    // Why there is no price, where more can be said than that the symbol is not on the
    // page: the page's text is no price, or the page did not arrive.
    std::string reason;

    friend bool operator==(const QuoteResult&, const QuoteResult&) = default;
};

// The four page readers. The quote update dialog and the automatic update read Yahoo!
// pages differently; NASDAQ pages the same way.
enum class QuoteParser { kAmex, kYahooDialog, kYahooWorker, kNasdaq };
enum class QuoteCaller { kDialog, kWorker };

// The reader a caller uses for a `Settings::quoteSource` value; none where that caller
// fetches nothing (the automatic update never asks the American Stock Exchange).
std::optional<QuoteParser> ParserFor(QuoteServer source, QuoteCaller caller);

// Reads one symbol from a page. Plain substring searches at fixed offsets; every offset is
// checked against the page, so a hostile or cut-off page finds nothing rather than reading
// past its end.
QuoteResult ParseQuote(QuoteParser parser, std::string_view page, const std::string& symbol);

// Reads every symbol of a batch, in list order. An empty page (a failed fetch) gives
// "No Data" for each.
std::vector<QuoteResult> ParseQuotePage(QuoteParser parser, std::string_view page,
                                        const std::vector<std::string>& symbols);

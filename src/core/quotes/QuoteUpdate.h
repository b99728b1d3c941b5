#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/quotes/QuoteParsers.h"
#include "core/settings/Settings.h"

class CKx7Doc;
class PageFetcher;
struct QuoteHosts;

// Takes one batch's results; false stops the run before the next batch.
using QuoteBatchHandler = std::function<bool(std::vector<QuoteResult> results)>;
// Takes a progress position: the list position of a full batch's last symbol, then the
// symbol count when all is done.
using QuoteProgress = std::function<void(int position)>;

// Fetches and reads every batch of `symbols` for a source, one page per batch, handing
// each batch's results on as they come and reporting the position after each full batch.
// A page that did not arrive gives every symbol of its batch the fetcher's reason.
// A source the caller does not use fetches nothing. Touches no document, so it may run on
// any thread. Returns false when the handler stopped the run.
bool FetchQuoteBatches(PageFetcher& fetcher, const QuoteHosts& hosts, QuoteServer source,
                       QuoteCaller caller, const std::vector<std::string>& symbols,
                       const QuoteBatchHandler& onBatch, const QuoteProgress& progress = {});

// The same, gathered into one list for a thread that hands it to the document's owner.
// `keepGoing` is asked after every batch.
std::vector<QuoteResult> FetchQuotes(PageFetcher& fetcher, const QuoteHosts& hosts,
                                     QuoteServer source, QuoteCaller caller,
                                     const std::vector<std::string>& symbols,
                                     const std::function<bool()>& keepGoing = {});

// What a run came to beyond its list lines: how many prices were stored, and why each
// symbol without one got none ("SYMBOL: reason").
struct QuoteTally {
    int prices = 0;
    std::vector<std::string> failures;
};

// The undo label of the prices one update stored.
inline constexpr std::string_view kPriceUpdateStep = "Price Update";

// Stores the results in the document, in order, and returns the update list's lines: the
// old price is read just before the new one is stored. A "No Data" line names its reason.
std::vector<std::string> ApplyQuoteResults(CKx7Doc& doc, const std::vector<QuoteResult>& results,
                                           QuoteTally* tally = nullptr);

// Ends every update run, even one that fetched nothing: the last update time and a new
// sample of the day's value.
void FinishQuoteUpdate(CKx7Doc& doc);

// The status line of an automatic update that stored no price: when it tried, why, and when
// prices last came ("Prices not updated at 10:31: ... (last update at 09:58)").
std::string UpdateFailedText(std::int64_t now, std::int64_t lastUpdate, const std::string& reason);

// Why a run that stored no price got none: the first reason its results give.
std::string FirstFailure(const std::vector<QuoteResult>& results);

// Whether any result has a price.
bool AnyPrice(const std::vector<QuoteResult>& results);

// One whole update on the document's own thread: every batch of the held symbols is
// fetched, read and stored, the progress reported, and the run finished. Returns the
// update list's lines in the order they arose.
std::vector<std::string> RunQuoteUpdate(CKx7Doc& doc, PageFetcher& fetcher, const QuoteHosts& hosts,
                                        QuoteServer source, QuoteCaller caller,
                                        const QuoteProgress& progress = {},
                                        QuoteTally* tally = nullptr);

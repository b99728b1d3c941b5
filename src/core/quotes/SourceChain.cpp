#include "core/quotes/SourceChain.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>

#include "core/model/Kx7Doc.h"
#include "core/model/OptionSuffix.h"
#include "core/quotes/HostPacer.h"
#include "core/quotes/PageFetcher.h"
#include "core/quotes/QuoteNumber.h"
#include "core/quotes/QuoteSource.h"
#include "core/quotes/SourceAnswer.h"
#include "core/quotes/SourceRequest.h"

namespace {

constexpr const char* kNoPriceOnPage = "the page gives no price for it";

// A symbol still without a price, and what each source asked said of it.
struct Open {
    ChainSymbol symbol;
    std::vector<std::string> reasons;
};

std::string Joined(const std::vector<std::string>& reasons) {
    std::string text;
    for (const std::string& reason : reasons) {
        text += (text.empty() ? "" : "; ") + reason;
    }
    return text;
}

QuoteResult NoPrice(const std::string& symbol, std::string reason) {
    QuoteResult result;
    result.symbol = symbol;
    result.outcome = QuoteOutcome::kNoData;
    result.reason = std::move(reason);
    return result;
}

// Why a price read from a defined source is not taken: it moved too far from the last.
// A last price that is no price (none yet, or one a damaged file left) checks nothing, or
// no new price could ever replace it.
std::string Implausible(float price, float last) {
    if (!IsQuotePrice(last) ||
        (price <= last * kLargestPriceMove && price * kLargestPriceMove >= last)) {
        return {};
    }
    // Wide enough for the largest float either side, so the message is never cut.
    char text[256];
    std::snprintf(text, sizeof text,
                  "the price %.4f is more than ten times away from the last price %.4f, so it "
                  "was not stored (type it in if it is right)",
                  static_cast<double>(price), static_cast<double>(last));
    return text;
}

QuoteResult Found(const SourceQuote& quote) {
    QuoteResult result;
    result.symbol = quote.held;
    result.outcome = QuoteOutcome::kFound;
    result.price = quote.price;
    if (quote.change) {
        result.fullQuote = true;
        result.change = *quote.change;
        result.direction = *quote.change > 0.0f ? 1 : *quote.change < 0.0f ? -1 : 0;
    }
    return result;
}

// One of the three described servers, as a link of a longer chain: what it prices is
// handed on, the rest is left open. A symbol is settled only by a price: a server that
// reads no page for this caller, or a page that names no result for a symbol, leaves it
// to the next source rather than dropping it from the update unlisted.
bool AskServer(PageFetcher& fetcher, const QuoteHosts& hosts, QuoteCaller caller,
               const QuoteSource& source, std::vector<Open>& open,
               const QuoteBatchHandler& onBatch) {
    if (!ParserFor(*source.server, caller)) {
        for (Open& entry : open) {
            entry.reasons.push_back(source.name + ": " +
                                    (caller == QuoteCaller::kWorker
                                         ? "the automatic update does not ask this server"
                                         : "this server is not asked"));
        }
        return true;
    }
    std::vector<std::string> names;
    names.reserve(open.size());
    for (const Open& entry : open) {
        names.push_back(entry.symbol.held);
    }
    std::set<std::string> priced;
    std::map<std::string, std::string> missed;
    const bool going = FetchQuoteBatches(
        fetcher, hosts, *source.server, caller, names, [&](std::vector<QuoteResult> results) {
            std::vector<QuoteResult> found;
            for (QuoteResult& result : results) {
                if (result.outcome == QuoteOutcome::kFound) {
                    priced.insert(result.symbol);
                    found.push_back(std::move(result));
                } else {
                    missed[result.symbol] = result.reason.empty() ? kNoPriceOnPage : result.reason;
                }
            }
            return found.empty() || onBatch(std::move(found));
        });
    std::erase_if(open, [&](Open& entry) {
        if (priced.contains(entry.symbol.held)) {
            return true;
        }
        const auto reason = missed.find(entry.symbol.held);
        entry.reasons.push_back(source.name + ": " +
                                (reason == missed.end() ? kNoPriceOnPage : reason->second));
        return false;
    });
    return going;
}

// A defined source: the open symbols by their underlying symbol, one request after
// another, each in its host's turn.
bool AskSource(PageFetcher& fetcher, const QuoteSource& source, std::vector<Open>& open,
               HostPacer& pacer, const QuoteBatchHandler& onBatch,
               const std::function<bool()>& keepGoing) {
    std::vector<std::string> underlying;
    std::map<std::string, float> last;
    for (const Open& entry : open) {
        const std::string symbol = StripOptionSuffix(entry.symbol.held);
        if (last.emplace(symbol, entry.symbol.last).second) {
            underlying.push_back(symbol);
        } else if (last[symbol] <= 0.0f) {
            last[symbol] = entry.symbol.last;
        }
    }
    std::map<std::string, std::string> missed;
    std::vector<std::string> priced;
    for (const SourceRequest& request : SourceRequests(source, underlying)) {
        const SourceFetch fetch =
            FetchSourceRequest(fetcher, pacer, request, source.minSeconds, keepGoing);
        if (fetch.stopped) {
            return false;
        }
        std::vector<SourceQuote> quotes;
        if (fetch.body.empty()) {
            for (const std::string& held : request.held) {
                quotes.push_back({.held = held,
                                  .found = false,
                                  .price = 0.0f,
                                  .change = std::nullopt,
                                  .time = 0,
                                  .currency = {},
                                  .reason = fetch.failure,
                                  .read = {}});
            }
        } else {
            quotes = ReadSourceAnswer(source, request, fetch.body);
        }
        std::vector<QuoteResult> found;
        for (SourceQuote& quote : quotes) {
            if (quote.found) {
                quote.reason = Implausible(quote.price, last[quote.held]);
                quote.found = quote.reason.empty();
            }
            if (quote.found) {
                priced.push_back(quote.held);
                found.push_back(Found(quote));
            } else {
                missed[quote.held] = quote.reason;
            }
        }
        if (!found.empty() && !onBatch(std::move(found))) {
            return false;
        }
        if (keepGoing && !keepGoing()) {
            return false;
        }
    }
    std::erase_if(open, [&](Open& entry) {
        const std::string symbol = StripOptionSuffix(entry.symbol.held);
        if (std::find(priced.begin(), priced.end(), symbol) != priced.end()) {
            return true;
        }
        entry.reasons.push_back(source.name + ": " + missed[symbol]);
        return false;
    });
    return true;
}

}  // namespace

bool FetchFromChain(PageFetcher& fetcher, const QuoteHosts& hosts, QuoteCaller caller,
                    const std::vector<QuoteSource>& chain, const std::vector<ChainSymbol>& symbols,
                    HostPacer& pacer, const QuoteBatchHandler& onBatch,
                    const std::function<bool()>& keepGoing, const QuoteProgress& progress) {
    // No source fetches nothing, as a server value outside the list always has.
    if (chain.empty()) {
        return true;
    }
    if (chain.size() == 1 && chain.front().server) {
        std::vector<std::string> names;
        names.reserve(symbols.size());
        for (const ChainSymbol& symbol : symbols) {
            names.push_back(symbol.held);
        }
        return FetchQuoteBatches(fetcher, hosts, *chain.front().server, caller, names, onBatch,
                                 progress);
    }
    std::vector<Open> open;
    open.reserve(symbols.size());
    for (const ChainSymbol& symbol : symbols) {
        open.push_back({symbol, {}});
    }
    const auto settled = [&] {
        if (progress) {
            progress(static_cast<int>(symbols.size() - open.size()));
        }
    };
    for (const QuoteSource& source : chain) {
        if (open.empty()) {
            break;
        }
        const bool going = source.server
                               ? AskServer(fetcher, hosts, caller, source, open, onBatch)
                               : AskSource(fetcher, source, open, pacer, onBatch, keepGoing);
        settled();
        if (!going) {
            return false;
        }
    }
    // One line for each symbol no source priced; an option entry and its stock share one.
    std::vector<QuoteResult> unpriced;
    std::vector<std::string> named;
    for (const Open& entry : open) {
        const std::string symbol = StripOptionSuffix(entry.symbol.held);
        if (std::find(named.begin(), named.end(), symbol) != named.end()) {
            continue;
        }
        named.push_back(symbol);
        unpriced.push_back(NoPrice(
            symbol, entry.reasons.empty() ? "no quote source is chosen" : Joined(entry.reasons)));
    }
    return unpriced.empty() || onBatch(std::move(unpriced));
}

std::vector<ChainSymbol> ChainSymbols(const CKx7Doc& doc) {
    std::vector<ChainSymbol> symbols;
    for (std::string& held : doc.SymbolNames(SymbolFilter::kHeldLots)) {
        const float last = doc.MarketPrice(held);
        symbols.push_back({std::move(held), last});
    }
    return symbols;
}

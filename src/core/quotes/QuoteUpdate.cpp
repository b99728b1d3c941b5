#include "core/quotes/QuoteUpdate.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <utility>

#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"
#include "core/model/OptionSuffix.h"
#include "core/model/SymbolMap.h"
#include "core/quotes/PageFetcher.h"
#include "core/quotes/QuoteBatch.h"
#include "core/quotes/QuoteHosts.h"

namespace {

// The tally's reason where the list line says only "No Data" (or nothing): the page came,
// but held no price for the symbol.
constexpr std::string_view kNoPriceOnPage = "the page gives no price for it";

// printf formatting into a string of the size it needs: a hostile page's price of 3e38
// prints with 39 integer digits.
template <typename... Values>
std::string Format(const char* pattern, Values... values) {
    const int length = std::snprintf(nullptr, 0, pattern, values...);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), pattern, values...);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// The lots of the symbols a batch of results names, each symbol's in document order,
// found in one walk over the lots for the whole batch, so that a page of a hundred quotes
// costs one walk rather than two per quote.
class LotsOfSymbols {
public:
    LotsOfSymbols(const CKx7Doc& doc, const std::vector<QuoteResult>& results) {
        for (const QuoteResult& result : results) {
            m_lots[result.symbol];
            m_lots[StripOptionSuffix(result.symbol)];
        }
        for (const auto& lot : doc.Purchases()) {
            if (const auto found = m_lots.find(lot->symbol); found != m_lots.end()) {
                found->second.push_back(lot.get());
            }
        }
    }

    // The lots whose symbol is exactly `symbol`, one of those the results name.
    const std::vector<CPurchase*>& Of(std::string_view symbol) const {
        return m_lots.find(symbol)->second;
    }

    // As CKx7Doc::MarketPrice answers: the first lot of the symbol without its suffix.
    float MarketPrice(std::string_view symbol) const {
        if (symbol.empty()) {
            return 0.0f;
        }
        const std::vector<CPurchase*>& lots = Of(StripOptionSuffix(symbol));
        return lots.empty() ? 0.0f : lots.front()->marketPrice;
    }

private:
    SymbolMap<std::vector<CPurchase*>> m_lots;
};

// As CKx7Doc::ApplyQuote and SetMarketPrice store one result, on the lots found.
void StoreQuote(CKx7Doc& doc, const std::vector<CPurchase*>& lots, const QuoteResult& result) {
    doc.KeepQuotes(result.symbol, lots);
    for (CPurchase* lot : lots) {
        lot->marketPrice = result.price;
        if (result.fullQuote) {
            lot->quoteDirection = result.direction;
            lot->quoteChange = result.change;
            lot->quoteExtra = result.extra;
        }
    }
    doc.MarkChanged(ChangeSet(ChangeKind::kPrices, result.symbol));
}

}  // namespace

bool FetchQuoteBatches(PageFetcher& fetcher, const QuoteHosts& hosts, QuoteServer source,
                       QuoteCaller caller, const std::vector<std::string>& symbols,
                       const QuoteBatchHandler& onBatch, const QuoteProgress& progress) {
    const std::optional<QuoteParser> parser = ParserFor(source, caller);
    if (!parser) {
        return true;
    }
    const std::string host = hosts.For(source);
    for (const QuoteBatch& batch : QuoteBatches(source, symbols)) {
        const std::string page = fetcher.GetPage(host, QuoteRequestPath(source, batch));
        std::vector<QuoteResult> results =
            ParseQuotePage(*parser, page, BatchSymbols(batch, symbols));
        if (page.empty()) {
            const std::string failure = fetcher.LastFailure();
            for (QuoteResult& result : results) {
                result.reason = failure;
            }
        }
        if (!onBatch(std::move(results))) {
            return false;
        }
        if (progress && IsFullBatch(source, batch)) {
            progress(batch.last);
        }
    }
    return true;
}

std::vector<QuoteResult> FetchQuotes(PageFetcher& fetcher, const QuoteHosts& hosts,
                                     QuoteServer source, QuoteCaller caller,
                                     const std::vector<std::string>& symbols,
                                     const std::function<bool()>& keepGoing) {
    std::vector<QuoteResult> all;
    FetchQuoteBatches(fetcher, hosts, source, caller, symbols,
                      [&](std::vector<QuoteResult> results) {
                          for (QuoteResult& result : results) {
                              all.push_back(std::move(result));
                          }
                          return !keepGoing || keepGoing();
                      });
    return all;
}

std::vector<std::string> ApplyQuoteResults(CKx7Doc& doc, const std::vector<QuoteResult>& results,
                                           QuoteTally* tally) {
    const LotsOfSymbols lotsOf(doc, results);
    // One change for the batch: the view's figures are computed once, not once a symbol.
    const CKx7Doc::ChangeBatch batch(doc);
    const CKx7Doc::UndoStep step(doc, std::string(kPriceUpdateStep), true);
    std::vector<std::string> lines;
    for (const QuoteResult& result : results) {
        const float old = lotsOf.MarketPrice(result.symbol);
        if (tally != nullptr && result.outcome != QuoteOutcome::kFound) {
            tally->failures.push_back(
                result.symbol + ": " +
                (result.reason.empty() ? std::string(kNoPriceOnPage) : result.reason));
        }
        switch (result.outcome) {
            case QuoteOutcome::kNoLine:
                break;
            case QuoteOutcome::kNoData:
                lines.push_back(result.symbol + Format("\t$%.4f ", static_cast<double>(old)) +
                                "\tNo Data" +
                                (result.reason.empty() ? "" : " (" + result.reason + ")"));
                break;
            case QuoteOutcome::kFound:
                if (tally != nullptr) {
                    ++tally->prices;
                }
                StoreQuote(doc, lotsOf.Of(result.symbol), result);
                lines.push_back(result.symbol + Format("\t$%.4f \t$%.4f", static_cast<double>(old),
                                                       static_cast<double>(result.price)));
                break;
        }
    }
    return lines;
}

void FinishQuoteUpdate(CKx7Doc& doc) {
    const CKx7Doc::ChangeBatch batch(doc);
    doc.TouchLastUpdate();
    doc.RecordTimelineSample();
}

std::string UpdateFailedText(std::int64_t now, std::int64_t lastUpdate, const std::string& reason) {
    std::string text = "Prices not updated at " + FormatLocalTime(now, "%H:%M") + ": " +
                       (reason.empty() ? std::string(kNoPriceOnPage) : reason);
    if (lastUpdate <= 0) {
        return text + " (no prices yet)";
    }
    const bool today = ToLocalDate(lastUpdate) == ToLocalDate(now);
    return text + " (last update at " +
           FormatLocalTime(lastUpdate, today ? "%H:%M" : "%Y-%m-%d %H:%M") + ")";
}

std::string FirstFailure(const std::vector<QuoteResult>& results) {
    for (const QuoteResult& result : results) {
        if (result.outcome != QuoteOutcome::kFound && !result.reason.empty()) {
            return result.reason;
        }
    }
    return results.empty() ? "no symbol is held" : std::string(kNoPriceOnPage);
}

bool AnyPrice(const std::vector<QuoteResult>& results) {
    return std::any_of(results.begin(), results.end(), [](const QuoteResult& result) {
        return result.outcome == QuoteOutcome::kFound;
    });
}

std::vector<std::string> RunQuoteUpdate(CKx7Doc& doc, PageFetcher& fetcher, const QuoteHosts& hosts,
                                        QuoteServer source, QuoteCaller caller,
                                        const QuoteProgress& progress, QuoteTally* tally) {
    const std::vector<std::string> symbols = doc.SymbolNames(SymbolFilter::kHeldLots);
    // Every batch's prices are one step to undo.
    const CKx7Doc::UndoStep step(doc, std::string(kPriceUpdateStep), true);
    std::vector<std::string> lines;
    FetchQuoteBatches(
        fetcher, hosts, source, caller, symbols,
        [&](const std::vector<QuoteResult>& results) {
            for (std::string& line : ApplyQuoteResults(doc, results, tally)) {
                lines.push_back(std::move(line));
            }
            return true;
        },
        progress);
    if (progress) {
        progress(static_cast<int>(symbols.size()));
    }
    FinishQuoteUpdate(doc);
    return lines;
}

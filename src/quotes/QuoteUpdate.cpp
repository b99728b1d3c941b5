#include "quotes/QuoteUpdate.h"

#include <cstdio>
#include <utility>

#include "model/Kx7Doc.h"
#include "quotes/PageFetcher.h"
#include "quotes/QuoteBatch.h"
#include "quotes/QuoteHosts.h"

namespace {

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

}  // namespace

bool FetchQuoteBatches(PageFetcher& fetcher, const QuoteHosts& hosts, int source,
                       QuoteCaller caller, const std::vector<std::string>& symbols,
                       const QuoteBatchHandler& onBatch, const QuoteProgress& progress) {
    const std::optional<QuoteParser> parser = ParserFor(source, caller);
    if (!parser) {
        return true;
    }
    const std::string host = hosts.For(source);
    for (const QuoteBatch& batch : QuoteBatches(source, symbols)) {
        const std::string page = fetcher.GetPage(host, QuoteRequestPath(source, batch));
        if (!onBatch(ParseQuotePage(*parser, page, BatchSymbols(batch, symbols)))) {
            return false;
        }
        if (progress && IsFullBatch(source, batch)) {
            progress(batch.last);
        }
    }
    return true;
}

std::vector<QuoteResult> FetchQuotes(PageFetcher& fetcher, const QuoteHosts& hosts, int source,
                                     QuoteCaller caller, const std::vector<std::string>& symbols,
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

std::vector<std::string> ApplyQuoteResults(CKx7Doc& doc, const std::vector<QuoteResult>& results) {
    std::vector<std::string> lines;
    for (const QuoteResult& result : results) {
        const float old = doc.MarketPrice(result.symbol);
        switch (result.outcome) {
            case QuoteOutcome::kNoLine:
                break;
            case QuoteOutcome::kNoData:
                lines.push_back(result.symbol + Format("\t$%.4f ", static_cast<double>(old)) +
                                "\tNo Data");
                break;
            case QuoteOutcome::kFound:
                if (result.fullQuote) {
                    doc.ApplyQuote(result.symbol, result.price, result.direction, result.change,
                                   result.extra);
                } else {
                    doc.SetMarketPrice(result.symbol, result.price);
                }
                lines.push_back(result.symbol + Format("\t$%.4f \t$%.4f", static_cast<double>(old),
                                                       static_cast<double>(result.price)));
                break;
        }
    }
    return lines;
}

void FinishQuoteUpdate(CKx7Doc& doc) {
    doc.TouchLastUpdate();
    doc.RecordTimelineSample();
}

std::vector<std::string> RunQuoteUpdate(CKx7Doc& doc, PageFetcher& fetcher, const QuoteHosts& hosts,
                                        int source, QuoteCaller caller,
                                        const QuoteProgress& progress) {
    const std::vector<std::string> symbols = doc.SymbolNames(CKx7Doc::kHeldLots);
    std::vector<std::string> lines;
    FetchQuoteBatches(
        fetcher, hosts, source, caller, symbols,
        [&](std::vector<QuoteResult> results) {
            for (std::string& line : ApplyQuoteResults(doc, results)) {
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

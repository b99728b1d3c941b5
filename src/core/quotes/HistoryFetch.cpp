#include "core/quotes/HistoryFetch.h"

#include "core/model/OptionSuffix.h"
#include "core/quotes/HostPacer.h"
#include "core/quotes/PageFetcher.h"
#include "core/quotes/QuoteSource.h"
#include "core/quotes/SourceAnswer.h"
#include "core/quotes/SourceRequest.h"

HistoryFetch FetchHistory(PageFetcher& fetcher, const std::vector<QuoteSource>& chain,
                          const std::string& held, std::int64_t from, std::int64_t to,
                          HostPacer& pacer, const std::function<bool()>& keepGoing) {
    HistoryFetch fetch;
    const std::string symbol = StripOptionSuffix(held);
    const auto fail = [&fetch](const QuoteSource& source, const std::string& reason) {
        fetch.problem += (fetch.problem.empty() ? "" : "; ") + source.name + ": " + reason;
    };
    for (const QuoteSource& source : chain) {
        if (source.server || source.history.url.empty()) {
            continue;
        }
        const SourceRequest request = HistoryRequest(source, symbol, from, to);
        const SourceFetch answer =
            FetchSourceRequest(fetcher, pacer, request, source.minSeconds, keepGoing);
        if (answer.body.empty()) {
            fail(source, answer.failure);
            if (answer.stopped) {
                return fetch;
            }
            continue;
        }
        const SourceCloses read = ReadSourceHistory(source, answer.body);
        if (read.closes.empty()) {
            fail(source, read.problem);
            continue;
        }
        fetch.source = source.name;
        for (const auto& [time, close] : read.closes) {
            fetch.closes.push_back({.symbol = symbol, .day = PriceDayAt(time), .close = close});
        }
        fetch.problem.clear();
        return fetch;
    }
    if (fetch.problem.empty()) {
        fetch.problem = "no chosen source has a daily history";
    }
    return fetch;
}

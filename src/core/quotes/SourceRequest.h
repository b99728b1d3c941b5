#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class HostPacer;
class PageFetcher;
struct QuoteSource;

// One request to a source: the address, its header lines, and the symbols it asks for,
// both as held and as the source writes them.
struct SourceRequest {
    std::string url;
    std::vector<std::string> headers;  // "Name: value"
    std::vector<std::string> held;
    std::vector<std::string> asked;

    friend bool operator==(const SourceRequest&, const SourceRequest&) = default;
};

// A held symbol as the source writes it: the override when there is one, otherwise the
// symbol in the source's case with its prefix and suffix.
std::string SourceSymbol(const QuoteSource& source, const std::string& held);

// The requests that ask a source for every symbol, in order, `batchSize` a request where
// the address takes several. Symbols are percent-encoded in the address.
std::vector<SourceRequest> SourceRequests(const QuoteSource& source,
                                          const std::vector<std::string>& symbols);

// The request for a symbol's daily closes from `from` to `to` (seconds since 1970).
SourceRequest HistoryRequest(const QuoteSource& source, const std::string& held, std::int64_t from,
                             std::int64_t to);

// The address with "https://" put in front when it names no scheme.
std::string WithScheme(const std::string& url);

// The "host[:port]" of an address, lower-cased; empty when it has none.
std::string UrlHost(const std::string& url);

// One request's answer, fetched in its host's turn: the body, or why none came.
struct SourceFetch {
    std::string body;
    std::string failure;   // empty when a body came
    bool stopped = false;  // `keepGoing` ended the wait before the request went
};
SourceFetch FetchSourceRequest(PageFetcher& fetcher, HostPacer& pacer, const SourceRequest& request,
                               int minSeconds, const std::function<bool()>& keepGoing);

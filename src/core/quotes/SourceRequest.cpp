#include "core/quotes/SourceRequest.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>

#include "core/model/PlainText.h"
#include "core/quotes/HostPacer.h"
#include "core/quotes/PageFetcher.h"
#include "core/quotes/QuoteSource.h"

namespace {

std::string Replaced(std::string text, const std::string& key, const std::string& value) {
    for (std::size_t at = text.find(key); at != std::string::npos;
         at = text.find(key, at + value.size())) {
        text.replace(at, key.size(), value);
    }
    return text;
}

// Everything but the unreserved characters is encoded, so that a symbol from a damaged
// file cannot add a parameter or end the address.
std::string PercentEncoded(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) != 0 || c == '-' || c == '.' || c == '_' || c == '~') {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        }
    }
    return encoded;
}

std::vector<std::string> HeaderLines(const QuoteSource& source) {
    std::vector<std::string> lines;
    for (const auto& [name, value] : source.headers) {
        lines.push_back(name + ": " + value);
    }
    return lines;
}

// YYYYMMDD of a time, in UTC: the services count their days that way.
std::string CompactDate(std::int64_t seconds) {
    const auto time = static_cast<std::time_t>(seconds);
    std::tm parts{};
    gmtime_r(&time, &parts);
    char text[48];
    std::snprintf(text, sizeof text, "%04d%02d%02d", parts.tm_year + 1900, parts.tm_mon + 1,
                  parts.tm_mday);
    return text;
}

// Where the host begins: behind a leading "scheme://", or at the start when there is none.
// A "://" further on, in the query of an address written without a scheme, is no scheme:
// taken for one, "example.com/q?back=https://x" would go out over plain http, its
// headers, an API key among them, readable on the way.
std::size_t SchemeEnd(const std::string& url) {
    const std::size_t scheme = url.find("://");
    if (scheme == std::string::npos || scheme == 0 ||
        std::isalpha(static_cast<unsigned char>(url[0])) == 0) {
        return 0;
    }
    const bool named =
        std::all_of(url.begin(), url.begin() + static_cast<std::ptrdiff_t>(scheme), [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return std::isalnum(byte) != 0 || c == '+' || c == '-' || c == '.';
        });
    return named ? scheme + 3 : 0;
}

}  // namespace

std::string SourceSymbol(const QuoteSource& source, const std::string& held) {
    if (const auto found = source.overrides.find(held); found != source.overrides.end()) {
        return found->second;
    }
    std::string symbol = held;
    if (source.symbolCase != SymbolCase::kAsHeld) {
        const bool upper = source.symbolCase == SymbolCase::kUpper;
        std::transform(symbol.begin(), symbol.end(), symbol.begin(), [upper](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return static_cast<char>(upper ? std::toupper(byte) : std::tolower(byte));
        });
    }
    return source.prefix + symbol + source.suffix;
}

std::vector<SourceRequest> SourceRequests(const QuoteSource& source,
                                          const std::vector<std::string>& symbols) {
    const bool batched = source.url.find("{symbols}") != std::string::npos;
    const std::size_t size = batched ? static_cast<std::size_t>(std::max(source.batchSize, 1)) : 1;
    std::vector<SourceRequest> requests;
    for (std::size_t first = 0; first < symbols.size(); first += size) {
        SourceRequest request;
        request.headers = HeaderLines(source);
        std::string joined;
        for (std::size_t at = first; at < std::min(first + size, symbols.size()); ++at) {
            request.held.push_back(symbols[at]);
            request.asked.push_back(SourceSymbol(source, symbols[at]));
            joined +=
                (joined.empty() ? "" : source.separator) + PercentEncoded(request.asked.back());
        }
        request.url = WithScheme(Replaced(source.url, batched ? "{symbols}" : "{symbol}", joined));
        requests.push_back(std::move(request));
    }
    return requests;
}

SourceRequest HistoryRequest(const QuoteSource& source, const std::string& held, std::int64_t from,
                             std::int64_t to) {
    SourceRequest request;
    request.headers = HeaderLines(source);
    request.held = {held};
    request.asked = {SourceSymbol(source, held)};
    std::string url = Replaced(source.history.url, "{symbol}", PercentEncoded(request.asked[0]));
    url = Replaced(url, "{fromDate}", CompactDate(from));
    url = Replaced(url, "{toDate}", CompactDate(to));
    url = Replaced(url, "{from}", std::to_string(from));
    url = Replaced(url, "{to}", std::to_string(to));
    request.url = WithScheme(url);
    return request;
}

std::string WithScheme(const std::string& url) {
    return SchemeEnd(url) == 0 ? "https://" + url : url;
}

std::string UrlHost(const std::string& url) {
    const std::size_t start = SchemeEnd(url);
    const std::size_t end = url.find_first_of("/?#", start);
    std::string host =
        url.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (const std::size_t user = host.rfind('@'); user != std::string::npos) {
        host.erase(0, user + 1);
    }
    return LowerCase(host);
}

SourceFetch FetchSourceRequest(PageFetcher& fetcher, HostPacer& pacer, const SourceRequest& request,
                               int minSeconds, const std::function<bool()>& keepGoing) {
    SourceFetch fetch;
    if (!pacer.WaitTurn(UrlHost(request.url), minSeconds, keepGoing)) {
        fetch.stopped = true;
        fetch.failure = "stopped";
        return fetch;
    }
    fetch.body = fetcher.GetUrl(request.url, request.headers);
    if (fetch.body.empty()) {
        fetch.failure = fetcher.LastFailure().empty() ? "nothing came" : fetcher.LastFailure();
    }
    return fetch;
}

// Feeds arbitrary answers to the readers of the defined quote sources (CSV, JSON, pattern,
// daily history) and arbitrary text to the reader of their file: each must find figures
// or say why not, never crash, hang or take memory without bound.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/quotes/QuoteSource.h"
#include "core/quotes/QuoteSourcesFile.h"
#include "core/quotes/SourceAnswer.h"
#include "core/quotes/SourceRequest.h"

namespace {

QuoteSource SourceFor(std::uint8_t choice) {
    QuoteSource source;
    source.name = "Fuzz";
    source.url = "http://127.0.0.1/q?s={symbols}";
    source.batchSize = 3;
    switch (choice % 4) {
        case 0:
            source.format = SourceFormat::kCsv;
            source.fields = {.symbol = "Symbol",
                             .price = "Close",
                             .time = "Date",
                             .change = "3",
                             .previousClose = "",
                             .currency = "Currency"};
            break;
        case 1:
            source.format = SourceFormat::kJson;
            source.results = "/quoteResponse/result";
            source.fields = {.symbol = "/symbol",
                             .price = "/regularMarketPrice",
                             .time = "/regularMarketTime",
                             .change = "",
                             .previousClose = "/previousClose",
                             .currency = "/currency"};
            break;
        case 2:
            source.format = SourceFormat::kJson;
            source.fields = {.symbol = "",
                             .price = "/{symbol}/price",
                             .time = "/{symbol}/t",
                             .change = "/{symbol}/d",
                             .previousClose = "",
                             .currency = ""};
            break;
        default:
            source.format = SourceFormat::kRegex;
            source.pattern = "\"{symbol}\"[^0-9]*([0-9.,]+)[^0-9]*([0-9-]*)";
            source.fields.price = "1";
            source.fields.time = "2";
            break;
    }
    source.history = {
        .url = "http://127.0.0.1/h?s={symbol}",
        .format = choice % 2 == 0 ? SourceFormat::kCsv : SourceFormat::kJson,
        .date = choice % 2 == 0 ? "Date" : "/chart/result/0/timestamp",
        .close = choice % 2 == 0 ? "Close" : "/chart/result/0/indicators/quote/0/close"};
    return source;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view body(reinterpret_cast<const char*>(data + 1), size - 1);
    const QuoteSource source = SourceFor(data[0]);
    const std::vector<SourceRequest> requests = SourceRequests(source, {"AAPL", "BRK.B", "X"});
    ReadSourceAnswer(source, requests.front(), body);
    ReadSourceHistory(source, body);
    ReadQuoteSourcesJson(body);
    return 0;
}

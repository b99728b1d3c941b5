// Feeds arbitrary pages and symbols to the Yahoo! worker page reader: it must find a quote or
// none, never read past the page, loop without end or produce a value no price can be.

#include "QuoteFuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return FuzzQuoteParser(QuoteParser::kYahooWorker, data, size);
}

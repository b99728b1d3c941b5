// Feeds arbitrary pages and symbols to the NASDAQ page reader: it must find a quote or
// none, never read past the page, loop without end or produce a value no price can be.

#include "QuoteFuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return FuzzQuoteParser(QuoteParser::kNasdaq, data, size);
}

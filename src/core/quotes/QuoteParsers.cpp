#include "core/quotes/QuoteParsers.h"

#include "core/quotes/QuoteNumber.h"
#include "core/settings/Settings.h"

namespace {

constexpr auto npos = std::string_view::npos;

// Offsets on the pages, counted from the start of the marker they follow.
constexpr std::size_t kAmexPriceSearchOffset = 100;
constexpr std::size_t kNasdaqPriceSearchOffset = 250;
constexpr std::size_t kNasdaqPriceOffset = 7;       // from the "$"
constexpr std::size_t kNasdaqChangeOffset = 21;     // from "<font color"
constexpr std::size_t kYahooDialogPriceOffset = 2;  // from the "b"
constexpr std::size_t kYahooChangeOffset = 2;       // from the ","
constexpr std::string_view kNasdaqImage = "/images/nc_";
constexpr std::string_view kBold = "<b>";

QuoteResult Missing(const std::string& symbol, QuoteOutcome outcome) {
    QuoteResult result;
    result.symbol = symbol;
    result.outcome = outcome;
    return result;
}

// The price at `position` of the page; "No Data" with the reason when the text there is
// no price (a word, a sign, zero, or a number no share could cost).
QuoteResult Price(const std::string& symbol, std::string_view page, std::size_t position) {
    const float price = ReadQuoteNumber(page, position);
    if (!IsQuotePrice(price)) {
        QuoteResult result = Missing(symbol, QuoteOutcome::kNoData);
        result.reason = "the page gives " + QuotedPageText(page, position) + ", which is no price";
        return result;
    }
    QuoteResult result;
    result.symbol = symbol;
    result.outcome = QuoteOutcome::kFound;
    result.price = price;
    return result;
}

std::int32_t DirectionOf(float change) {
    if (change > 0.0f) {
        return 1;
    }
    return change < 0.0f ? -1 : 0;
}

QuoteResult ParseAmex(std::string_view page, const std::string& symbol) {
    const std::size_t marker = page.find(">" + symbol + "</a>");
    if (marker == npos) {
        return Missing(symbol, QuoteOutcome::kNoData);
    }
    const std::size_t dollar = page.find('$', marker + kAmexPriceSearchOffset);
    if (dollar == npos) {
        return Missing(symbol, QuoteOutcome::kNoLine);
    }
    return Price(symbol, page, dollar + 1);
}

QuoteResult ParseYahooDialog(std::string_view page, const std::string& symbol) {
    const std::size_t marker = page.find(symbol);
    if (marker == npos) {
        return Missing(symbol, QuoteOutcome::kNoData);
    }
    const std::size_t b = page.find('b', marker);
    if (b == npos) {
        return Missing(symbol, QuoteOutcome::kNoLine);
    }
    return Price(symbol, page, b + kYahooDialogPriceOffset);
}

// Without "<b>" no price was read, and an unread value is never stored.
QuoteResult ParseYahooWorker(std::string_view page, const std::string& symbol) {
    const std::size_t marker = page.find(symbol);
    if (marker == npos) {
        return Missing(symbol, QuoteOutcome::kNoData);
    }
    const std::size_t bold = page.find(kBold, marker);
    if (bold == npos) {
        return Missing(symbol, QuoteOutcome::kNoLine);
    }
    QuoteResult result = Price(symbol, page, bold + kBold.size());
    if (result.outcome != QuoteOutcome::kFound) {
        return result;
    }
    result.fullQuote = true;
    const std::size_t comma = page.find(',', bold);
    if (comma != npos) {
        const QuoteNumberPair pair = ReadQuoteNumberPair(page, comma + kYahooChangeOffset);
        result.extra = SaneQuoteFigure(pair.first);
        result.change = SaneQuoteFigure(pair.second);
        result.direction = DirectionOf(result.change);
    }
    return result;
}

QuoteResult ParseNasdaq(std::string_view page, const std::string& symbol) {
    const std::size_t marker = page.find(symbol + "</font>");
    if (marker == npos) {
        return Missing(symbol, QuoteOutcome::kNoData);
    }
    const std::size_t dollar = page.find('$', marker + kNasdaqPriceSearchOffset);
    if (dollar == npos) {
        return Missing(symbol, QuoteOutcome::kNoData);
    }
    const std::size_t pricePosition = dollar + kNasdaqPriceOffset;
    QuoteResult result = Price(symbol, page, pricePosition);
    if (result.outcome != QuoteOutcome::kFound) {
        return result;
    }
    result.fullQuote = true;
    const std::size_t image = page.find(kNasdaqImage, pricePosition);
    if (image == npos) {
        return result;
    }
    const std::string_view name = page.substr(image + kNasdaqImage.size());
    if (name.starts_with("up")) {
        result.direction = 1;
    } else if (name.starts_with("down")) {
        result.direction = -1;
    }
    const std::size_t font = page.find("<font color", image + kNasdaqImage.size());
    if (font != npos) {
        result.change = SaneQuoteFigure(ReadQuoteNumber(page, font + kNasdaqChangeOffset));
    }
    return result;
}

}  // namespace

std::optional<QuoteParser> ParserFor(QuoteServer source, QuoteCaller caller) {
    switch (source) {
        case QuoteServer::kAmex:
            return caller == QuoteCaller::kDialog ? std::optional(QuoteParser::kAmex)
                                                  : std::nullopt;
        case QuoteServer::kYahoo:
            return caller == QuoteCaller::kDialog ? QuoteParser::kYahooDialog
                                                  : QuoteParser::kYahooWorker;
        case QuoteServer::kNasdaq:
            return QuoteParser::kNasdaq;
        default:
            return std::nullopt;
    }
}

QuoteResult ParseQuote(QuoteParser parser, std::string_view page, const std::string& symbol) {
    switch (parser) {
        case QuoteParser::kAmex:
            return ParseAmex(page, symbol);
        case QuoteParser::kYahooDialog:
            return ParseYahooDialog(page, symbol);
        case QuoteParser::kYahooWorker:
            return ParseYahooWorker(page, symbol);
        case QuoteParser::kNasdaq:
            return ParseNasdaq(page, symbol);
    }
    return Missing(symbol, QuoteOutcome::kNoData);
}

std::vector<QuoteResult> ParseQuotePage(QuoteParser parser, std::string_view page,
                                        const std::vector<std::string>& symbols) {
    std::vector<QuoteResult> results;
    results.reserve(symbols.size());
    for (const std::string& symbol : symbols) {
        results.push_back(ParseQuote(parser, page, symbol));
    }
    return results;
}

#include "core/quotes/SourceTest.h"

#include <cstdio>

#include "core/quotes/HostPacer.h"
#include "core/quotes/PageFetcher.h"
#include "core/quotes/QuoteBatch.h"
#include "core/quotes/QuoteHosts.h"
#include "core/quotes/QuoteParsers.h"
#include "core/quotes/QuoteSource.h"
#include "core/quotes/SourceRequest.h"

namespace {

void KeepAnswer(SourceTestReport& report, const std::string& body, PageFetcher& fetcher) {
    report.answerBytes = body.size();
    report.answer = body.substr(0, kShownAnswerBytes);
    // A terminal would act on the control characters of a hostile answer; they show as "?".
    for (char& c : report.answer) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\n' && c != '\t') || byte == 0x7F) {
            c = '?';
        }
    }
    if (body.empty()) {
        report.failure = fetcher.LastFailure().empty() ? "nothing came" : fetcher.LastFailure();
    }
}

// One of the three described servers: its own request and its own page reader.
SourceTestReport TestServer(PageFetcher& fetcher, const QuoteHosts& hosts,
                            const QuoteSource& source, const std::string& symbol) {
    SourceTestReport report;
    const std::vector<QuoteBatch> batches = QuoteBatches(*source.server, {symbol});
    const std::optional<QuoteParser> parser = ParserFor(*source.server, QuoteCaller::kDialog);
    report.quote.held = symbol;
    if (batches.empty() || !parser) {
        report.failure = "the source asks for nothing";
        return report;
    }
    const std::string host = hosts.For(*source.server);
    const std::string path = QuoteRequestPath(*source.server, batches.front());
    report.url = "http://" + host + (path.starts_with('/') ? "" : "/") + path;
    const std::string page = fetcher.GetPage(host, path);
    KeepAnswer(report, page, fetcher);
    const QuoteResult result = ParseQuote(*parser, page, symbol);
    report.quote.found = result.outcome == QuoteOutcome::kFound;
    report.quote.price = result.price;
    if (!report.quote.found) {
        report.quote.reason =
            result.reason.empty() ? "the page gives no price for it" : result.reason;
    }
    return report;
}

std::string Figure(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.4f", static_cast<double>(value));
    return text;
}

}  // namespace

SourceTestReport TestQuoteSource(PageFetcher& fetcher, const QuoteHosts& hosts,
                                 const QuoteSource& source, const std::string& symbol,
                                 HostPacer& pacer, const std::function<bool()>& keepGoing) {
    if (source.server) {
        return TestServer(fetcher, hosts, source, symbol);
    }
    SourceTestReport report;
    report.quote.held = symbol;
    const std::vector<SourceRequest> requests = SourceRequests(source, {symbol});
    if (requests.empty()) {
        report.failure = "no symbol to ask for";
        return report;
    }
    const SourceRequest& request = requests.front();
    report.url = request.url;
    const SourceFetch fetch =
        FetchSourceRequest(fetcher, pacer, request, source.minSeconds, keepGoing);
    if (fetch.stopped) {
        report.failure = "the test was stopped";
        return report;
    }
    KeepAnswer(report, fetch.body, fetcher);
    if (!fetch.body.empty()) {
        report.quote = ReadSourceAnswer(source, request, fetch.body).front();
    }
    return report;
}

std::string SourceTestText(const SourceTestReport& report) {
    std::string text = "Address: " + report.url + "\n";
    if (!report.failure.empty()) {
        return text + "No answer: " + report.failure + "\n";
    }
    text += "Answer (" + std::to_string(report.answerBytes) + " bytes" +
            (report.answerBytes > report.answer.size() ? ", the start shown" : "") + "):\n" +
            report.answer + (report.answer.ends_with('\n') ? "" : "\n") + "\n";
    const SourceQuote& quote = report.quote;
    if (!quote.read.empty()) {
        text += "Read for " + quote.held + ":\n";
        for (const auto& [name, value] : quote.read) {
            text += "  " + name + ": " + value + "\n";
        }
    }
    if (!quote.found) {
        return text + "No price for " + quote.held + ": " + quote.reason + "\n";
    }
    text += "Price of " + quote.held + ": " + Figure(quote.price);
    if (quote.change) {
        text += ", change " + Figure(*quote.change);
    }
    if (!quote.currency.empty()) {
        text += " " + quote.currency;
    }
    return text + "\n";
}

// Defined quote sources against a loopback server: each answer format as the services
// write it today, the requests they are sent, and every way an answer can fail.

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "core/model/Kx7Doc.h"
#include "core/quotes/HostPacer.h"
#include "core/quotes/QuoteHosts.h"
#include "core/quotes/QuoteSource.h"
#include "core/quotes/QuoteUpdate.h"
#include "core/quotes/SourceChain.h"
#include "core/quotes/Web.h"
#include "core/settings/Settings.h"
#include "support/CaseName.h"
#include "support/ChainRun.h"
#include "support/DocBuilder.h"
#include "support/LoopbackHttpServer.h"
#include "support/NoProxy.h"
#include "support/RecordingFetchNotifier.h"
#include "support/SourceFixtures.h"
#include "support/TestClock.h"

namespace {

using namespace std::chrono_literals;

class SourceFetchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ClearProxyEnvironment(); }

    // Every result the chain hands on, in the order it hands them.
    std::vector<QuoteResult> Run(const std::vector<QuoteSource>& chain,
                                 const std::vector<std::string>& symbols) {
        std::vector<ChainSymbol> held;
        for (const std::string& symbol : symbols) {
            held.push_back({.held = symbol, .last = 0.0f});
        }
        std::vector<QuoteResult> all;
        EXPECT_TRUE(FetchFromChain(web, hosts, QuoteCaller::kDialog, chain, held, pacer,
                                   [&](std::vector<QuoteResult> results) {
                                       all.insert(all.end(), results.begin(), results.end());
                                       return true;
                                   }));
        return all;
    }

    RecordingFetchNotifier notifier;
    CWeb web{notifier, ShortFetchLimits()};
    HostPacer pacer;
    QuoteHosts hosts;
};

// The shipped Stooq definition: one request for the batch, the symbols lower-cased with
// ".us" and joined by "+", and a symbol Stooq does not know left with its reason.
TEST_F(SourceFetchTest, StooqAnswersABatchInOneCsv) {
    LoopbackHttpServer server([](const std::string&) {
        return CannedReply::Page(StooqHeader() + StooqRow("AAPL.US", "247.77") +
                                 StooqRow("MSFT.US", "443.33") + StooqUnknown("XYZ.US"));
    });

    const std::vector<QuoteResult> results =
        Run({ReadyMadeAt(kStooq, server.Host())}, {"AAPL", "MSFT", "XYZ"});

    EXPECT_EQ(server.Targets(),
              std::vector<std::string>{"/q/l/?s=aapl.us+msft.us+xyz.us&f=sd2t2ohlcv&h&e=csv"});
    EXPECT_EQ(results, (std::vector<QuoteResult>{
                           PricedAt("AAPL", 247.77f), PricedAt("MSFT", 443.33f),
                           Unpriced("XYZ",
                                    "Stooq (CSV): the price at column Close is \"N/D\", which is "
                                    "no number")}));
    EXPECT_TRUE(notifier.messages.empty());
}

// The shipped Yahoo chart definition: one request a symbol, upper-cased, the change worked
// out from the previous close, and the 404 of an unknown symbol as its reason.
TEST_F(SourceFetchTest, YahooChartAnswersOneSymbolARequest) {
    LoopbackHttpServer server([](const std::string& target) {
        if (target == "/v8/finance/chart/AAPL?range=1d&interval=1d") {
            return CannedReply::Page(YahooChartBody("AAPL", "195.5"));
        }
        if (target == "/v8/finance/chart/MSFT?range=1d&interval=1d") {
            return CannedReply::Page(YahooChartBody("MSFT", "437.0", "440.25"));
        }
        return CannedReply::Page(YahooChartUnknown(), 404);
    });
    QuoteSource yahoo = ReadyMadeAt(kYahooChart, server.Host());
    yahoo.minSeconds = 0;  // three requests to one host; the pacer has tests of its own

    const std::vector<QuoteResult> results = Run({yahoo}, {"AAPL", "msft", "ZZZZ"});

    EXPECT_EQ(server.Targets(),
              (std::vector<std::string>{"/v8/finance/chart/AAPL?range=1d&interval=1d",
                                        "/v8/finance/chart/MSFT?range=1d&interval=1d",
                                        "/v8/finance/chart/ZZZZ?range=1d&interval=1d"}));
    EXPECT_EQ(results, (std::vector<QuoteResult>{
                           PricedAt("AAPL", 195.5f, 2.5f), PricedAt("msft", 437.0f, -3.25f),
                           Unpriced("ZZZZ", "Yahoo Finance chart (JSON): " + server.Host() +
                                                " answered with HTTP status 404")}));
}

// A copy of the Finnhub definition with the user's key: the key reaches the server as a
// header of the request, and the change is the one the answer gives.
TEST_F(SourceFetchTest, FinnhubSendsTheKeyAsAHeader) {
    LoopbackHttpServer server([](const std::string&) {
        return CannedReply::Page(FinnhubBody("261.74", "-0.41", "262.15"));
    });
    QuoteSource finnhub = ReadyMadeAt(kFinnhub, server.Host());
    finnhub.headers = {{"X-Finnhub-Token", "ct8k2a9r01qk-test"}};

    const std::vector<QuoteResult> results = Run({finnhub}, {"aapl"});

    EXPECT_EQ(results, std::vector<QuoteResult>{PricedAt("aapl", 261.74f, -0.41f)});
    ASSERT_EQ(server.Heads().size(), 1u);
    const std::string head = server.Heads()[0] + "\r\n";
    EXPECT_EQ(head.substr(0, head.find("\r\n")), "GET /api/v1/quote?symbol=AAPL HTTP/1.1");
    EXPECT_NE(head.find("\r\nX-Finnhub-Token: ct8k2a9r01qk-test\r\n"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nUser-Agent: Velmora\r\n"), std::string::npos) << head;
}

// Results in an order of the service's own are matched by their symbol field; one the
// answer leaves out is named with the rule that found nothing.
TEST_F(SourceFetchTest, ResultsArrayIsMatchedBySymbol) {
    LoopbackHttpServer server([](const std::string&) {
        return CannedReply::Page(
            R"({"quoteResponse":{"result":[)"
            R"({"symbol":"MSFT","regularMarketPrice":443.25,"currency":"USD"},)"
            R"({"symbol":"AAPL","regularMarketPrice":195.5,"regularMarketChange":2.5,)"
            R"("regularMarketTime":1733860800,"currency":"USD"}],"error":null}})");
    });

    const std::vector<QuoteResult> results =
        Run({ResultsSource(server.Host())}, {"AAPL", "MSFT", "NOPE"});

    EXPECT_EQ(server.Targets(),
              std::vector<std::string>{"/v7/finance/quote?symbols=AAPL,MSFT,NOPE"});
    EXPECT_EQ(results, (std::vector<QuoteResult>{
                           PricedAt("AAPL", 195.5f, 2.5f), PricedAt("MSFT", 443.25f),
                           Unpriced("NOPE", "Quote results: no result has /symbol NOPE")}));
}

CannedReply RedirectTo(const std::string& location) {
    CannedReply reply = CannedReply::Page("", 302);
    reply.extraHeaders = "Location: " + location + "\r\n";
    return reply;
}

bool CarriesKey(const std::string& head) {
    return head.find("\r\nX-Finnhub-Token: ") != std::string::npos;
}

// A redirect is followed; the key goes with it on the same host only, never to a host the
// user did not name.
TEST_F(SourceFetchTest, RedirectElsewhereDoesNotCarryTheKey) {
    LoopbackHttpServer elsewhere([](const std::string&) {
        return CannedReply::Page(FinnhubBody("261.74", "-0.41", "262.15"));
    });
    LoopbackHttpServer named([&elsewhere](const std::string& target) {
        if (target.starts_with("/api/")) {
            return RedirectTo("/moved" + target);
        }
        return RedirectTo("http://" + elsewhere.Host() + target);
    });
    QuoteSource finnhub = ReadyMadeAt(kFinnhub, named.Host());
    finnhub.headers = {{"X-Finnhub-Token", "ct8k2a9r01qk-test"}};

    const std::vector<QuoteResult> results = Run({finnhub}, {"AAPL"});

    EXPECT_EQ(results, std::vector<QuoteResult>{PricedAt("AAPL", 261.74f, -0.41f)});
    EXPECT_EQ(named.Targets(), (std::vector<std::string>{"/api/v1/quote?symbol=AAPL",
                                                         "/moved/api/v1/quote?symbol=AAPL"}));
    ASSERT_EQ(named.Heads().size(), 2u);
    EXPECT_TRUE(CarriesKey(named.Heads()[0] + "\r\n"));
    EXPECT_TRUE(CarriesKey(named.Heads()[1] + "\r\n"));
    ASSERT_EQ(elsewhere.Heads().size(), 1u);
    EXPECT_EQ(elsewhere.Targets()[0], "/moved/api/v1/quote?symbol=AAPL");
    EXPECT_FALSE(CarriesKey(elsewhere.Heads()[0] + "\r\n")) << elsewhere.Heads()[0];
}

TEST_F(SourceFetchTest, RedirectsEndAfterTheLimitAndOnlyToHttp) {
    LoopbackHttpServer server([](const std::string& target) {
        return RedirectTo(target == "/file" ? "file:///etc/passwd" : "/again");
    });

    EXPECT_EQ(web.GetUrl("http://" + server.Host() + "/start", {}), "");
    EXPECT_EQ(web.LastFailure(), "more than 5 redirects");
    EXPECT_EQ(server.Targets().size(), 6u);

    EXPECT_EQ(web.GetUrl("http://" + server.Host() + "/file", {}), "");
    EXPECT_EQ(web.LastFailure(), "the address is refused: only http and https are fetched");
    EXPECT_EQ(web.GetUrl("ftp://" + server.Host() + "/x", {}), "");
    EXPECT_EQ(web.LastFailure(), "the address is refused: only http and https are fetched");
    EXPECT_EQ(server.Targets().size(), 7u);
}

// The symbol stands in the pattern as itself: the "." of BRK.B matches only a ".".
TEST_F(SourceFetchTest, PatternReadsThePriceFromAPage) {
    LoopbackHttpServer server([](const std::string& target) {
        if (target == "/quote/AAPL") {
            return CannedReply::Page(
                "<html><body><h1>Apple Inc.</h1>\n<span id=\"AAPL-price\">1,195.50</span>\n"
                "<span id=\"AAPL-change\">+2.50</span></body></html>");
        }
        return CannedReply::Page(
            "<span id=\"BRKxB-price\">1.00</span><span id=\"BRK.B-price\">412.5</span>");
    });

    const std::vector<QuoteResult> results = Run({PatternSource(server.Host())}, {"AAPL", "BRK.B"});

    EXPECT_EQ(server.Targets(), (std::vector<std::string>{"/quote/AAPL", "/quote/BRK.B"}));
    EXPECT_EQ(results,
              (std::vector<QuoteResult>{PricedAt("AAPL", 1195.5f), PricedAt("BRK.B", 412.5f)}));
}

// What a definition makes of the held symbols in its requests.
struct RequestCase {
    const char* name;
    std::string path;  // the address behind the host
    int batchSize;
    std::string separator;
    SymbolCase symbolCase;
    std::string prefix;
    std::string suffix;
    std::map<std::string, std::string> overrides;
    std::vector<std::string> symbols;
    std::vector<std::string> targets;
};

class SourceRequestTargetTest : public SourceFetchTest,
                                public ::testing::WithParamInterface<RequestCase> {};

TEST_P(SourceRequestTargetTest, SendsTheSymbolsAsTheDefinitionWritesThem) {
    const RequestCase& c = GetParam();
    LoopbackHttpServer server([](const std::string&) { return CannedReply::Page("{}"); });
    QuoteSource source;
    source.name = "Targets";
    source.url = "http://" + server.Host() + c.path;
    source.batchSize = c.batchSize;
    source.separator = c.separator;
    source.symbolCase = c.symbolCase;
    source.prefix = c.prefix;
    source.suffix = c.suffix;
    source.overrides = c.overrides;
    source.fields.symbol = "/symbol";
    source.fields.price = "/price";
    source.results = "/results";

    const std::vector<QuoteResult> results = Run({source}, c.symbols);

    EXPECT_EQ(server.Targets(), c.targets);
    EXPECT_EQ(results.size(), c.symbols.size());
}

INSTANTIATE_TEST_SUITE_P(
    Requests, SourceRequestTargetTest,
    ::testing::Values(RequestCase{"OneSymbolARequest",
                                  "/q/{symbol}/quote",
                                  20,
                                  ",",
                                  SymbolCase::kAsHeld,
                                  "",
                                  "",
                                  {},
                                  {"AAPL", "msft"},
                                  {"/q/AAPL/quote", "/q/msft/quote"}},
                      RequestCase{"BatchesOfTwo",
                                  "/q?s={symbols}&f=l1",
                                  2,
                                  ",",
                                  SymbolCase::kAsHeld,
                                  "",
                                  "",
                                  {},
                                  {"A", "B", "C", "D", "E"},
                                  {"/q?s=A,B&f=l1", "/q?s=C,D&f=l1", "/q?s=E&f=l1"}},
                      RequestCase{"WholeBatchAtTheLargest",
                                  "/q?s={symbols}",
                                  3,
                                  "|",
                                  SymbolCase::kAsHeld,
                                  "",
                                  "",
                                  {},
                                  {"A", "B", "C"},
                                  {"/q?s=A|B|C"}},
                      RequestCase{"LowerCaseWithSuffix",
                                  "/q/l/?s={symbols}&e=csv",
                                  20,
                                  "+",
                                  SymbolCase::kLower,
                                  "",
                                  ".us",
                                  {},
                                  {"AAPL", "BRK-B"},
                                  {"/q/l/?s=aapl.us+brk-b.us&e=csv"}},
                      RequestCase{"UpperCaseWithPrefix",
                                  "/q/{symbol}",
                                  1,
                                  ",",
                                  SymbolCase::kUpper,
                                  "XNAS-",
                                  "",
                                  {},
                                  {"aapl"},
                                  {"/q/XNAS-AAPL"}},
                      RequestCase{"OverrideTakenAsWritten",
                                  "/q?s={symbols}",
                                  10,
                                  ",",
                                  SymbolCase::kUpper,
                                  "",
                                  ".US",
                                  {{"BRK-B", "BRK.B"}},
                                  {"aapl", "BRK-B"},
                                  {"/q?s=AAPL.US,BRK.B"}},
                      RequestCase{"OddSymbolsPercentEncoded",
                                  "/q?s={symbols}&f=1",
                                  10,
                                  ",",
                                  SymbolCase::kAsHeld,
                                  "",
                                  "",
                                  {},
                                  {"A&B=C D", "^GSPC", "X/Y#Z", "N\xC3\x84X"},
                                  {"/q?s=A%26B%3DC%20D,%5EGSPC,X%2FY%23Z,N%C3%84X&f=1"}},
                      RequestCase{"PlaceholderTwice",
                                  "/q/{symbol}?again={symbol}",
                                  1,
                                  ",",
                                  SymbolCase::kAsHeld,
                                  "",
                                  "",
                                  {},
                                  {"AB"},
                                  {"/q/AB?again=AB"}}),
    CaseName());

// Every way an answer fails, through the whole update: the symbol keeps its price, and its
// line says which source and which rule found none.
struct BadCase {
    const char* name;
    QuoteSource (*source)(const std::string& host);
    CannedReply reply;
    std::string reason;  // after "Name: "; "HOST" stands for the server
    std::size_t maxBodyBytes;
    std::chrono::milliseconds transferTimeout;
    bool closedPort;
};

BadCase Bad(const char* name, QuoteSource (*source)(const std::string&), CannedReply reply,
            std::string reason) {
    return {name, source, std::move(reply), std::move(reason), 64 * 1024, 2s, false};
}

BadCase Capped(BadCase c) {
    c.maxBodyBytes = 1024;
    return c;
}

BadCase Hurried(BadCase c) {
    c.transferTimeout = 300ms;
    return c;
}

BadCase AtClosedPort(BadCase c) {
    c.closedPort = true;
    return c;
}

QuoteSource Stooq(const std::string& host) {
    return ReadyMadeAt(kStooq, host);
}
QuoteSource Yahoo(const std::string& host) {
    return ReadyMadeAt(kYahooChart, host);
}
QuoteSource Finnhub(const std::string& host) {
    return ReadyMadeAt(kFinnhub, host);
}
QuoteSource Results(const std::string& host) {
    return ResultsSource(host);
}
QuoteSource Pattern(const std::string& host) {
    return PatternSource(host);
}
QuoteSource JsonAt(const std::string& host, const std::string& price) {
    QuoteSource source;
    source.name = "Json";
    source.url = "http://" + host + "/quote?s={symbol}";
    source.fields.price = price;
    return source;
}
QuoteSource LastPrice(const std::string& host) {
    return JsonAt(host, "/quote/last");
}
QuoteSource NoPointer(const std::string& host) {
    return JsonAt(host, "quote/last");
}
QuoteSource WholeQuote(const std::string& host) {
    return JsonAt(host, "/quote");
}
QuoteSource BrokenPattern(const std::string& host) {
    QuoteSource source = PatternSource(host);
    source.pattern = R"(<span id="{symbol}-price">([0-9.]+</span>)";
    return source;
}
QuoteSource OptionalGroup(const std::string& host) {
    QuoteSource source = PatternSource(host);
    source.pattern = R"(<span id="{symbol}-price">([0-9.]+)?</span>)";
    return source;
}
QuoteSource AnyText(const std::string& host) {
    QuoteSource source = PatternSource(host);
    source.pattern = R"(<span id="{symbol}-price">([^<]*)</span>)";
    return source;
}

CannedReply StooqClose(const std::string& close) {
    return CannedReply::Page(StooqHeader() + StooqRow("AB.US", close));
}

CannedReply Kind(CannedReply::Kind kind, std::size_t bytes = 0, bool announced = true) {
    CannedReply reply;
    reply.kind = kind;
    reply.body = "Symbol,Date,Time,Open,High,Low,Close,Volume\r\nAB.US,2024-12-10";
    reply.bodyBytes = bytes;
    reply.announceLength = announced;
    return reply;
}

const std::string kNoPrice = ", which is no price (it must be above 0 and below 1000000000)";
const std::string kTenTimes =
    " is more than ten times away from the last price 10.0000, so it was not stored (type it "
    "in if it is right)";

class SourceBadAnswerTest : public SourceFetchTest, public ::testing::WithParamInterface<BadCase> {
protected:
    ScopedClock clock{At(2024, 12, 10, 16)};
    Settings settings;
    CKx7Doc doc{settings};
};

TEST_P(SourceBadAnswerTest, StoresNothingAndSaysWhy) {
    const BadCase& c = GetParam();
    AddLot(doc, "AB", 10, 8).marketPrice = 10.0f;
    FetchLimits limits = ShortFetchLimits();
    limits.maxBodyBytes = c.maxBodyBytes;
    limits.transferTimeout = c.transferTimeout;
    CWeb fetcher(notifier, limits);
    LoopbackHttpServer server([&c](const std::string&) { return c.reply; });
    const std::string host = c.closedPort
                                 ? "127.0.0.1:" + std::to_string(LoopbackHttpServer::ClosedPort())
                                 : server.Host();
    const QuoteSource source = c.source(host);
    std::vector<QuoteResult> all;
    const auto start = std::chrono::steady_clock::now();

    EXPECT_TRUE(FetchFromChain(fetcher, hosts, QuoteCaller::kDialog, {source}, ChainSymbols(doc),
                               pacer, [&](std::vector<QuoteResult> results) {
                                   all.insert(all.end(), results.begin(), results.end());
                                   return true;
                               }));
    const std::vector<std::string> lines = ApplyQuoteResults(doc, all);

    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_EQ(lines, std::vector<std::string>{"AB\t$10.0000 \tNo Data (" + source.name + ": " +
                                              WithHost(c.reason, host) + ")"});
    EXPECT_FLOAT_EQ(doc.MarketPrice("AB"), 10.0f);
    EXPECT_EQ(doc.QuoteDirection("AB"), 0);
    EXPECT_TRUE(notifier.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Answers, SourceBadAnswerTest,
    ::testing::Values(
        Bad("PageWithoutThePrice", Yahoo,
            CannedReply::Page(R"({"chart":{"result":[{"meta":{"currency":"USD","symbol":"AB"}}],)"
                              R"("error":null}})"),
            "/chart/result/0/meta/regularMarketPrice is not in the answer"),
        Bad("CsvWithoutTheSymbol", Stooq,
            CannedReply::Page(StooqHeader() + StooqRow("CD.US", "12.5")),
            "no row has Symbol ab.us"),
        Bad("CsvWithoutThePriceColumn", Stooq,
            CannedReply::Page("Symbol,Date,Time\r\nAB.US,2024-12-10,22:00:09\r\n"),
            "the answer has no column \"Close\""),
        Bad("StooqNoData", Stooq, CannedReply::Page(StooqHeader() + StooqUnknown("AB.US")),
            "the price at column Close is \"N/D\", which is no number"),
        Bad("Negative", Stooq, StooqClose("-3"), "the price at column Close is -3" + kNoPrice),
        Bad("TooLargeForAnyNumber", Stooq, StooqClose("1e999"),
            "the price at column Close is \"1e999\", which is no number"),
        Bad("NotANumber", Stooq, StooqClose("NaN"), "the price at column Close is NaN" + kNoPrice),
        Bad("Infinite", Stooq, StooqClose("inf"), "the price at column Close is inf" + kNoPrice),
        Bad("TooLargeForAFloat", Stooq, StooqClose("1e300"),
            "the price at column Close is 1e300" + kNoPrice),
        Bad("FinnhubUnknownSymbol", Finnhub,
            CannedReply::Page(R"({"c":0,"d":null,"dp":null,"h":0,"l":0,"o":0,"pc":0,"t":0})"),
            "the price at /c is 0" + kNoPrice),
        Bad("JsonNumberTooLarge", Yahoo, CannedReply::Page(YahooChartBody("AB", "1e999")),
            "the answer holds a number too large to read"),
        Bad("TenTimesAbove", Stooq, StooqClose("100.5"), "the price 100.5000" + kTenTimes),
        Bad("TenTimesBelow", Stooq, StooqClose("0.99"), "the price 0.9900" + kTenTimes),
        Capped(Bad("BodyOverTheCapAnnounced", Stooq,
                   Kind(CannedReply::Kind::kEndlessBody, 512 * 1024),
                   "the answer is larger than 1024 bytes")),
        Capped(Bad("BodyOverTheCapUnannounced", Stooq,
                   Kind(CannedReply::Kind::kEndlessBody, 512 * 1024, false),
                   "the answer is larger than 1024 bytes")),
        Bad("HttpError", Stooq, CannedReply::Page(StooqHeader() + StooqRow("AB.US", "12.5"), 500),
            "HOST answered with HTTP status 500"),
        Hurried(Bad("SlowHost", Stooq, Kind(CannedReply::Kind::kStall),
                    "HOST did not answer in time")),
        Hurried(Bad("StallInTheBody", Stooq, Kind(CannedReply::Kind::kStallInBody),
                    "HOST did not answer in time")),
        Bad("BrokenOffInTheBody", Stooq, Kind(CannedReply::Kind::kBreakInBody),
            "HOST broke off the answer (Transferred a partial file)"),
        AtClosedPort(Bad("ClosedPort", Stooq, CannedReply::Page(""),
                         "could not reach HOST (Couldn't connect to server)")),
        Bad("EmptyAnswer", Stooq, CannedReply::Page(""), "HOST sent an empty answer"),
        Bad("NoJson", Yahoo, CannedReply::Page("<html>Will be right back</html>"),
            "the answer is no JSON (at byte 1)"),
        Bad("PointerNotThere", LastPrice, CannedReply::Page(R"({"quote":{"bid":12.5}})"),
            "/quote/last is not in the answer"),
        Bad("MalformedPointer", NoPointer, CannedReply::Page(R"({"quote":{"last":12.5}})"),
            "\"quote/last\" is no JSON pointer"),
        Bad("PriceIsAnObject", WholeQuote, CannedReply::Page(R"({"quote":{"last":12.5}})"),
            "the value at /quote is no number"),
        Bad("PriceIsNull", LastPrice, CannedReply::Page(R"({"quote":{"last":null}})"),
            "the price at /quote/last is \"null\", which is no number"),
        Bad("ResultsNoArray", Results,
            CannedReply::Page(
                R"({"quoteResponse":{"result":{"symbol":"AB","regularMarketPrice":1}}})"),
            "/quoteResponse/result is no array"),
        Bad("ResultsNotThere", Results,
            CannedReply::Page(R"({"quoteResponse":{"error":"Unauthorized"}})"),
            "/quoteResponse/result is not in the answer"),
        Bad("PatternDoesNotCompile", BrokenPattern,
            CannedReply::Page("<span id=\"AB-price\">12.5</span>"),
            "the pattern is no regular expression (Unmatched ( or \\()"),
        Bad("PatternMatchesNowhere", Pattern,
            CannedReply::Page("<html><body>Service unavailable</body></html>"),
            "the pattern matches nowhere in the answer"),
        Bad("PatternGroupTookNothing", OptionalGroup,
            CannedReply::Page("<span id=\"AB-price\"></span>"),
            "the pattern's group 1 took nothing"),
        Bad("PatternTookText", AnyText, CannedReply::Page("<span id=\"AB-price\">n/a</span>"),
            "the price at group 1 is \"n/a\", which is no number")),
    CaseName());

}  // namespace

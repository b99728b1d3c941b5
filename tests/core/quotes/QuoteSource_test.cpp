#include "core/quotes/QuoteSource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/quotes/SourceRequest.h"
#include "support/CaseName.h"
#include "support/SourceFixtures.h"

namespace {

std::vector<std::string> Names(const std::vector<QuoteSource>& sources) {
    std::vector<std::string> names;
    for (const QuoteSource& source : sources) {
        names.push_back(source.name);
    }
    return names;
}

// A user's copy of a shipped definition must pass the rules a user's own one does, or the
// copy could never be saved.
TEST(QuoteSourceTest, EveryReadyMadeDefinitionPassesTheRules) {
    for (const QuoteSource& source : ReadyMadeQuoteSources()) {
        EXPECT_EQ(QuoteSourceProblem(source, {}), "") << source.name;
        EXPECT_EQ(source.origin, SourceOrigin::kReadyMade);
        EXPECT_FALSE(source.server);
    }
}

TEST(QuoteSourceTest, ListHoldsDescribedThenReadyMadeThenTheUsersOwn) {
    QuoteSource mine = ResultsSource("example.com");
    mine.origin = SourceOrigin::kDescribed;  // a user's definition is a user's, whatever it says
    mine.server = QuoteServer::kYahoo;

    const std::vector<QuoteSource> all = AllQuoteSources({mine});

    EXPECT_EQ(Names(all),
              (std::vector<std::string>{"American Stock Exchange", "Yahoo!", "NASDAQ", kYahooChart,
                                        kStooq, kFinnhub, "Quote results"}));
    EXPECT_EQ(all[1].server, QuoteServer::kYahoo);
    EXPECT_EQ(all.back().origin, SourceOrigin::kUser);
    EXPECT_FALSE(all.back().server);
}

TEST(QuoteSourceTest, ChainNamesResolveInOrderOnceEach) {
    const std::vector<QuoteSource> resolved = ResolveQuoteChain(
        {kStooq, "Gone", "Quote results", kStooq, "NASDAQ"}, {ResultsSource("example.com")});

    EXPECT_EQ(Names(resolved), (std::vector<std::string>{kStooq, "Quote results", "NASDAQ"}));
    EXPECT_EQ(Names(ResolveQuoteChain(DefaultQuoteChain(), {})), DefaultQuoteChain());
    EXPECT_EQ(DefaultQuoteChain(), (std::vector<std::string>{kYahooChart, kStooq}));
}

TEST(QuoteSourceTest, WithoutAChainTheDescribedServerIsUsed) {
    EXPECT_EQ(EffectiveQuoteChain({}, QuoteServer::kNasdaq), std::vector<std::string>{"NASDAQ"});
    EXPECT_EQ(EffectiveQuoteChain({kStooq}, QuoteServer::kNasdaq),
              std::vector<std::string>{kStooq});
    EXPECT_TRUE(EffectiveQuoteChain({}, static_cast<QuoteServer>(7)).empty());
    EXPECT_FALSE(FindQuoteSource(AllQuoteSources({}), "stooq (csv)"));
    EXPECT_EQ(FindQuoteSource(AllQuoteSources({}), kStooq)->url,
              "https://stooq.com/q/l/?s={symbols}&f=sd2t2ohlcv&h&e=csv");
}

// What keeps a definition from being used. Each case changes one thing of a definition
// that passes.
struct ProblemCase {
    const char* name;
    void (*change)(QuoteSource& source);
    std::string problem;
};

QuoteSource Passing() {
    QuoteSource source;
    source.name = "Mine";
    source.url = "https://example.com/q?s={symbols}";
    source.batchSize = 20;
    source.format = SourceFormat::kCsv;
    source.fields.symbol = "Symbol";
    source.fields.price = "Close";
    source.headers = {{"X-Api-Key", "k3y"}};
    source.minSeconds = 1;
    source.history = {.url = "https://example.com/h?s={symbol}&from={fromDate}",
                      .format = SourceFormat::kCsv,
                      .date = "Date",
                      .close = "Close"};
    return source;
}

class QuoteSourceProblemTest : public ::testing::TestWithParam<ProblemCase> {};

TEST_P(QuoteSourceProblemTest, NamesWhatKeepsTheDefinitionFromUse) {
    QuoteSource source = Passing();
    GetParam().change(source);

    EXPECT_EQ(QuoteSourceProblem(source, {"Stooq (CSV)", "Taken"}), GetParam().problem);
}

constexpr const char* kNeedsPlaceholder =
    "The address needs {symbol} (one symbol a request) or {symbols} (several).";
constexpr const char* kBadHistory =
    "The history address needs {symbol}, and the places of the dates and closes (csv or json).";
constexpr const char* kNeedsSymbolPlace =
    "Several symbols a request need the place of the symbol in the answer.";

INSTANTIATE_TEST_SUITE_P(
    Rules, QuoteSourceProblemTest,
    ::testing::Values(
        ProblemCase{"Passes", [](QuoteSource&) {}, ""},
        ProblemCase{"OneSymbolARequest",
                    [](QuoteSource& s) {
                        s.url = "example.com/q/{symbol}";
                        s.batchSize = 0;
                        s.separator.clear();
                        s.fields.symbol.clear();
                    },
                    ""},
        ProblemCase{"NoName", [](QuoteSource& s) { s.name.clear(); }, "The source needs a name."},
        ProblemCase{"NameTaken", [](QuoteSource& s) { s.name = "Taken"; },
                    "A source named \"Taken\" exists already."},
        ProblemCase{"NoPlaceholder", [](QuoteSource& s) { s.url = "https://example.com/q"; },
                    kNeedsPlaceholder},
        ProblemCase{"BothPlaceholders",
                    [](QuoteSource& s) { s.url = "https://e.com/q?s={symbols}&t={symbol}"; },
                    kNeedsPlaceholder},
        ProblemCase{"BatchOfNone", [](QuoteSource& s) { s.batchSize = 0; },
                    "The batch size must be between 1 and 500."},
        ProblemCase{"BatchTooLarge", [](QuoteSource& s) { s.batchSize = 501; },
                    "The batch size must be between 1 and 500."},
        ProblemCase{"BatchAtTheLargest", [](QuoteSource& s) { s.batchSize = 500; }, ""},
        ProblemCase{"NoSeparator", [](QuoteSource& s) { s.separator.clear(); },
                    "Several symbols a request need a separator."},
        ProblemCase{"NegativePause", [](QuoteSource& s) { s.minSeconds = -1; },
                    "The pause between requests must be between 0 and 3600 seconds."},
        ProblemCase{"PauseTooLong", [](QuoteSource& s) { s.minSeconds = 3601; },
                    "The pause between requests must be between 0 and 3600 seconds."},
        ProblemCase{"NoPricePlace", [](QuoteSource& s) { s.fields.price.clear(); },
                    "The source needs the place of the price."},
        ProblemCase{"PatternMissing",
                    [](QuoteSource& s) {
                        s.format = SourceFormat::kRegex;
                        s.fields.price = "1";
                    },
                    "The source needs a pattern."},
        ProblemCase{"CsvBatchWithoutSymbolColumn", [](QuoteSource& s) { s.fields.symbol.clear(); },
                    kNeedsSymbolPlace},
        ProblemCase{"JsonBatchWithResults",
                    [](QuoteSource& s) {
                        s.format = SourceFormat::kJson;
                        s.results = "/quoteResponse/result";
                        s.fields.symbol = "/symbol";
                        s.fields.price = "/regularMarketPrice";
                    },
                    ""},
        ProblemCase{"JsonBatchKeyedBySymbol",
                    [](QuoteSource& s) {
                        s.format = SourceFormat::kJson;
                        s.fields.symbol.clear();
                        s.fields.price = "/quotes/{symbol}/last";
                    },
                    ""},
        ProblemCase{"JsonBatchWithoutAnyWayToTellSymbols",
                    [](QuoteSource& s) {
                        s.format = SourceFormat::kJson;
                        s.fields.symbol.clear();
                        s.fields.price = "/last";
                    },
                    "Several symbols a request need the place of the symbol in the answer, or "
                    "{symbol} in the place of the price."},
        ProblemCase{"ResultsWithoutSymbolPlace",
                    [](QuoteSource& s) {
                        s.url = "https://example.com/q/{symbol}";
                        s.format = SourceFormat::kJson;
                        s.results = "/quoteResponse/result";
                        s.fields.symbol.clear();
                        s.fields.price = "/regularMarketPrice";
                    },
                    "A results array needs the place of the symbol in each result."},
        ProblemCase{"PatternBatchWithSymbol",
                    [](QuoteSource& s) {
                        s.format = SourceFormat::kRegex;
                        s.pattern = "{symbol}=([0-9.]+)";
                    },
                    ""},
        ProblemCase{"PatternBatchWithoutSymbol",
                    [](QuoteSource& s) {
                        s.format = SourceFormat::kRegex;
                        s.pattern = "price=([0-9.]+)";
                    },
                    "Several symbols a request need {symbol} in the pattern."},
        ProblemCase{"HistoryWithoutSymbol",
                    [](QuoteSource& s) { s.history.url = "https://example.com/h"; }, kBadHistory},
        ProblemCase{"HistoryWithoutDates", [](QuoteSource& s) { s.history.date.clear(); },
                    kBadHistory},
        ProblemCase{"HistoryWithoutCloses", [](QuoteSource& s) { s.history.close.clear(); },
                    kBadHistory},
        ProblemCase{"HistoryAsPattern",
                    [](QuoteSource& s) { s.history.format = SourceFormat::kRegex; }, kBadHistory},
        ProblemCase{"NoHistory",
                    [](QuoteSource& s) {
                        s.history = {
                            .url = "", .format = SourceFormat::kRegex, .date = "", .close = ""};
                    },
                    ""},
        ProblemCase{"HeaderWithoutName",
                    [](QuoteSource& s) {
                        s.headers = {{"", "v"}};
                    },
                    "The header \"\" is no header line."},
        ProblemCase{"HeaderNameWithColon",
                    [](QuoteSource& s) {
                        s.headers = {{"X-Key:", "v"}};
                    },
                    "The header \"X-Key:\" is no header line."},
        ProblemCase{"HeaderValueWithLineBreak",
                    [](QuoteSource& s) {
                        s.headers = {{"X-Key", "v\r\nHost: evil"}};
                    },
                    "The header \"X-Key\" is no header line."},
        ProblemCase{"HeaderNameWithNul",
                    [](QuoteSource& s) {
                        s.headers = {{std::string("X\0Y", 3), "v"}};
                    },
                    "The header \"" + std::string("X\0Y", 3) + "\" is no header line."}),
    CaseName());

// --- Requests --------------------------------------------------------------------------

TEST(SourceRequestTest, AddressWithoutSchemeIsHttps) {
    QuoteSource source = Passing();
    source.url = "example.com/q?s={symbols}";

    const std::vector<SourceRequest> requests = SourceRequests(source, {"AB", "CD"});

    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], (SourceRequest{.url = "https://example.com/q?s=AB,CD",
                                          .headers = {"X-Api-Key: k3y"},
                                          .held = {"AB", "CD"},
                                          .asked = {"AB", "CD"}}));
    EXPECT_TRUE(SourceRequests(source, {}).empty());
    EXPECT_EQ(WithScheme("http://example.com/x"), "http://example.com/x");
    // A "://" in the query is no scheme: the address still goes out over https.
    EXPECT_EQ(WithScheme("example.com/q?back=http://x.com/"),
              "https://example.com/q?back=http://x.com/");
}

TEST(SourceRequestTest, HostIsTheLowerCasedAuthorityWithoutTheUser) {
    EXPECT_EQ(UrlHost("https://Query1.Finance.Yahoo.com/v8/finance/chart/AAPL"),
              "query1.finance.yahoo.com");
    EXPECT_EQ(UrlHost("http://127.0.0.1:8080/q?s=AB"), "127.0.0.1:8080");
    EXPECT_EQ(UrlHost("http://user:pw@Stooq.com:81?s=x"), "stooq.com:81");
    EXPECT_EQ(UrlHost("example.com#top"), "example.com");
    EXPECT_EQ(UrlHost("example.com/q?back=http://evil.com/"), "example.com");
    EXPECT_EQ(UrlHost(""), "");
}

// The history asks one symbol, written as the source writes it, for days in UTC.
TEST(SourceRequestTest, HistoryRequestNamesTheSymbolAndTheDays) {
    constexpr std::int64_t kFrom = 1733011200;  // 2024-12-01 00:00 UTC
    constexpr std::int64_t kTo = 1733875199;    // 2024-12-10 23:59:59 UTC

    EXPECT_EQ(HistoryRequest(ReadyMadeAt(kStooq, "h"), "BRK-B", kFrom, kTo).url,
              "http://h/q/d/l/?s=brk-b.us&d1=20241201&d2=20241210&i=d");
    const SourceRequest yahoo = HistoryRequest(ReadyMadeAt(kYahooChart, "h"), "^gspc", kFrom, kTo);
    EXPECT_EQ(
        yahoo.url,
        "http://h/v8/finance/chart/%5EGSPC?period1=1733011200&period2=1733875199&interval=1d");
    EXPECT_EQ(yahoo.held, std::vector<std::string>{"^gspc"});
    EXPECT_EQ(yahoo.asked, std::vector<std::string>{"^GSPC"});
}

}  // namespace

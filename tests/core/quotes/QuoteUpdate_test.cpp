#include "core/quotes/QuoteUpdate.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/model/Kx7Doc.h"
#include "core/quotes/QuoteHosts.h"
#include "core/quotes/Web.h"
#include "core/settings/Settings.h"
#include "support/CaseName.h"
#include "support/DocBuilder.h"
#include "support/LoopbackHttpServer.h"
#include "support/QuotePages.h"
#include "support/RecordingFetchNotifier.h"
#include "support/TestClock.h"

namespace {

using namespace std::chrono_literals;

QuoteHosts AllAt(const std::string& host) {
    return QuoteHosts{host, host, host};
}

std::string SymbolName(int index) {
    char name[16];
    std::snprintf(name, sizeof(name), "S%02d", index);
    return name;
}

// The requests a held-symbol list of `count` symbols must produce, built the plain way:
// groups of five joined by "+" for Yahoo!, groups of ten "&symbol=" entries otherwise,
// the last group padded with empty entries.
std::vector<std::string> ExpectedPaths(QuoteServer source, int count) {
    const int size = source == QuoteServer::kYahoo ? 5 : 10;
    std::vector<std::string> paths;
    for (int first = 0; first < count; first += size) {
        std::string query;
        for (int i = first; i < first + size; ++i) {
            if (source == QuoteServer::kYahoo) {
                if (i < count) {
                    query += (i == first ? "" : "+") + SymbolName(i);
                }
            } else {
                query += "&symbol=" + (i < count ? SymbolName(i) : std::string());
            }
        }
        switch (source) {
            case QuoteServer::kAmex:
                paths.push_back("quote.dll?mode=stock&page=quick" + query);
                break;
            case QuoteServer::kYahoo:
                paths.push_back("/d?s=" + query + "&f=1lc");
                break;
            default:
                paths.push_back("/quote.dll?mode=stock" + query + "&multi.x=5&multi.y=13");
                break;
        }
    }
    return paths;
}

class QuoteUpdateTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) {
            ::unsetenv(name);
        }
    }

    static FetchLimits Limits() {
        FetchLimits limits;
        limits.connectTimeout = 2s;
        limits.transferTimeout = 2s;
        return limits;
    }

    ScopedClock clock{At(2024, 3, 6, 11)};
    Settings settings;
    CKx7Doc doc{settings};
    RecordingFetchNotifier notifier;
    CWeb web{notifier, Limits()};
};

struct BatchCase {
    const char* name;
    QuoteServer source;
    int count;
    std::vector<int> progress;
};

class QuoteBatchingTest : public QuoteUpdateTest,
                          public ::testing::WithParamInterface<BatchCase> {};

TEST_P(QuoteBatchingTest, SendsEachBatchOnceAndReportsProgress) {
    const BatchCase& c = GetParam();
    for (int i = 0; i < c.count; ++i) {
        AddLot(doc, SymbolName(i), 10, 1).marketPrice = 2.0f;
    }
    LoopbackHttpServer server([](const std::string&) { return CannedReply::Page(""); });
    std::vector<int> progress;

    const std::vector<std::string> lines =
        RunQuoteUpdate(doc, web, AllAt(server.Host()), c.source, QuoteCaller::kDialog,
                       [&](int position) { progress.push_back(position); });

    EXPECT_EQ(server.Targets(), ExpectedPaths(c.source, c.count));
    EXPECT_EQ(progress, c.progress);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(c.count));
    if (c.count > 0) {
        EXPECT_EQ(lines.back(), SymbolName(c.count - 1) + "\t$2.0000 \tNo Data");
    }
    EXPECT_EQ(doc.LastUpdateTime(), At(2024, 3, 6, 11));
    EXPECT_EQ(doc.TimelineCount(), 1);
    EXPECT_TRUE(notifier.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Sources, QuoteBatchingTest,
    ::testing::Values(BatchCase{"Amex0", QuoteServer::kAmex, 0, {0}},
                      BatchCase{"Amex1", QuoteServer::kAmex, 1, {1}},
                      BatchCase{"Amex5", QuoteServer::kAmex, 5, {5}},
                      BatchCase{"Amex6", QuoteServer::kAmex, 6, {6}},
                      BatchCase{"Amex10", QuoteServer::kAmex, 10, {9, 10}},
                      BatchCase{"Amex11", QuoteServer::kAmex, 11, {9, 11}},
                      BatchCase{"Amex23", QuoteServer::kAmex, 23, {9, 19, 23}},
                      BatchCase{"Yahoo0", QuoteServer::kYahoo, 0, {0}},
                      BatchCase{"Yahoo1", QuoteServer::kYahoo, 1, {1}},
                      BatchCase{"Yahoo5", QuoteServer::kYahoo, 5, {4, 5}},
                      BatchCase{"Yahoo6", QuoteServer::kYahoo, 6, {4, 6}},
                      BatchCase{"Yahoo10", QuoteServer::kYahoo, 10, {4, 9, 10}},
                      BatchCase{"Yahoo11", QuoteServer::kYahoo, 11, {4, 9, 11}},
                      BatchCase{"Yahoo23", QuoteServer::kYahoo, 23, {4, 9, 14, 19, 23}},
                      BatchCase{"Nasdaq0", QuoteServer::kNasdaq, 0, {0}},
                      BatchCase{"Nasdaq1", QuoteServer::kNasdaq, 1, {1}},
                      BatchCase{"Nasdaq5", QuoteServer::kNasdaq, 5, {5}},
                      BatchCase{"Nasdaq6", QuoteServer::kNasdaq, 6, {6}},
                      BatchCase{"Nasdaq10", QuoteServer::kNasdaq, 10, {9, 10}},
                      BatchCase{"Nasdaq11", QuoteServer::kNasdaq, 11, {9, 11}},
                      BatchCase{"Nasdaq23", QuoteServer::kNasdaq, 23, {9, 19, 23}}),
    CaseName());

// The two request shapes spelled out, so that the plain builder above is checked as well.
TEST_F(QuoteUpdateTest, ShortBatchesArePaddedOrJoinedExactly) {
    for (int i = 0; i < 11; ++i) {
        AddLot(doc, SymbolName(i), 10, 1);
    }
    LoopbackHttpServer server([](const std::string&) { return CannedReply::Page(""); });

    RunQuoteUpdate(doc, web, AllAt(server.Host()), QuoteServer::kNasdaq, QuoteCaller::kDialog);
    RunQuoteUpdate(doc, web, AllAt(server.Host()), QuoteServer::kYahoo, QuoteCaller::kDialog);

    const std::vector<std::string> targets = server.Targets();
    ASSERT_EQ(targets.size(), 5u);
    EXPECT_EQ(targets[1],
              "/quote.dll?mode=stock&symbol=S10&symbol=&symbol=&symbol=&symbol=&symbol=&symbol="
              "&symbol=&symbol=&symbol=&multi.x=5&multi.y=13");
    EXPECT_EQ(targets[2], "/d?s=S00+S01+S02+S03+S04&f=1lc");
    EXPECT_EQ(targets[4], "/d?s=S10&f=1lc");
}

struct SourcePageCase {
    const char* name;
    QuoteServer source;
    QuoteCaller caller;
    std::string page;  // carries AB, lacks CD, has EF's marker without its price
    std::vector<std::string> lines;
    float priceAB;
    int directionAB;
    float changeAB;
};

class QuoteSourcePageTest : public QuoteUpdateTest,
                            public ::testing::WithParamInterface<SourcePageCase> {};

TEST_P(QuoteSourcePageTest, StoresWhatThePageCarriesAndListsTheRest) {
    const SourcePageCase& c = GetParam();
    for (const char* symbol : {"AB", "CD", "EF"}) {
        AddLot(doc, symbol, 10, 1).marketPrice = 10.0f;
    }
    AddLot(doc, "GH", 10, 1).availableShares = 0;  // sold out: not asked for
    LoopbackHttpServer server([&](const std::string&) { return CannedReply::Page(c.page); });

    const std::vector<std::string> lines =
        RunQuoteUpdate(doc, web, AllAt(server.Host()), c.source, c.caller);

    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(server.Targets().size(), 1u);
    EXPECT_FLOAT_EQ(doc.MarketPrice("AB"), c.priceAB);
    EXPECT_EQ(doc.QuoteDirection("AB"), c.directionAB);
    EXPECT_FLOAT_EQ(doc.QuoteChange("AB"), c.changeAB);
    EXPECT_FLOAT_EQ(doc.MarketPrice("CD"), 10.0f);
    EXPECT_FLOAT_EQ(doc.MarketPrice("EF"), 10.0f);
    EXPECT_TRUE(doc.IsModified());
}

INSTANTIATE_TEST_SUITE_P(
    Sources, QuoteSourcePageTest,
    ::testing::Values(SourcePageCase{"Amex",
                                     QuoteServer::kAmex,
                                     QuoteCaller::kDialog,
                                     AmexRow("AB", "12.5") + "<a>EF</a></td></tr>",
                                     {"AB\t$10.0000 \t$12.5000", "CD\t$10.0000 \tNo Data"},
                                     12.5f,
                                     0,
                                     0.0f},
                      SourcePageCase{"YahooDialog",
                                     QuoteServer::kYahoo,
                                     QuoteCaller::kDialog,
                                     "AB <b>12.5</b>\nEF 7.25\n",
                                     {"AB\t$10.0000 \t$12.5000", "CD\t$10.0000 \tNo Data"},
                                     12.5f,
                                     0,
                                     0.0f},
                      SourcePageCase{
                          "Nasdaq",
                          QuoteServer::kNasdaq,
                          QuoteCaller::kDialog,
                          NasdaqRow("AB", "12.5", NasdaqTail("down", "0.75")) + "EF</font> n/a",
                          {"AB\t$10.0000 \t$12.5000", "CD\t$10.0000 \tNo Data",
                           "EF\t$10.0000 \tNo Data"},
                          12.5f,
                          -1,
                          0.75f},
                      SourcePageCase{"YahooWorker",
                                     QuoteServer::kYahoo,
                                     QuoteCaller::kWorker,
                                     "AB <b>12.5</b>, 12.0 - 0.5\nEF 7.25\n",
                                     {"AB\t$10.0000 \t$12.5000", "CD\t$10.0000 \tNo Data"},
                                     12.5f,
                                     1,
                                     0.5f}),
    CaseName());

// With the ungroup setting on, XYZ-O is asked for unchanged; no page carries it.
TEST_F(QuoteUpdateTest, OptionPseudoSymbolIsSentButNeverStored) {
    AddLot(doc, "XYZ", 10, 1).marketPrice = 4.0f;
    AddGrant(doc, "XYZ", 100, 2).marketPrice = 4.0f;
    LoopbackHttpServer server(
        [](const std::string&) { return CannedReply::Page("XYZ <b>5.00</b>\n"); });

    const std::vector<std::string> lines =
        RunQuoteUpdate(doc, web, AllAt(server.Host()), QuoteServer::kYahoo, QuoteCaller::kDialog);

    EXPECT_EQ(server.Targets(), std::vector<std::string>{"/d?s=XYZ+XYZ-O&f=1lc"});
    EXPECT_EQ(lines,
              (std::vector<std::string>{"XYZ\t$4.0000 \t$5.0000", "XYZ-O\t$5.0000 \tNo Data"}));
}

TEST_F(QuoteUpdateTest, FailedFetchWarnsPerBatchAndStillFinishesTheRun) {
    for (int i = 0; i < 6; ++i) {
        AddLot(doc, SymbolName(i), 10, 1).marketPrice = 3.0f;
    }
    const std::string host = "127.0.0.1:" + std::to_string(LoopbackHttpServer::ClosedPort());

    const std::vector<std::string> lines =
        RunQuoteUpdate(doc, web, AllAt(host), QuoteServer::kYahoo, QuoteCaller::kDialog);

    // Two batches, each with three warnings and the final error.
    ASSERT_EQ(notifier.messages.size(), 8u);
    EXPECT_EQ(notifier.messages[3].text, "Error Occurs on HTTP!");
    EXPECT_EQ(notifier.messages[7].text, "Error Occurs on HTTP!");
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "S00\t$3.0000 \tNo Data (could not connect to " + host +
                            " (Couldn't connect to server))");
    EXPECT_FLOAT_EQ(doc.MarketPrice("S00"), 3.0f);
    EXPECT_EQ(doc.LastUpdateTime(), At(2024, 3, 6, 11));
    EXPECT_EQ(doc.TimelineCount(), 1);
}

// A 503 page that echoes the request holds the symbols but no prices: nothing is stored,
// and every symbol's line and the tally say why.
TEST_F(QuoteUpdateTest, ErrorPageEchoingTheRequestStoresNothing) {
    AddLot(doc, "AB", 10, 1).marketPrice = 3.0f;
    AddLot(doc, "CD", 10, 1).marketPrice = 4.0f;
    LoopbackHttpServer server([](const std::string& request) {
        return CannedReply::Page("AB <b>0</b> CD <b>" + request + "</b>", 503);
    });
    QuoteTally tally;
    const std::vector<std::string> lines = RunQuoteUpdate(
        doc, web, AllAt(server.Host()), QuoteServer::kYahoo, QuoteCaller::kDialog, {}, &tally);
    const std::string reason = server.Host() + " answered with HTTP status 503";
    EXPECT_EQ(lines, (std::vector<std::string>{"AB\t$3.0000 \tNo Data (" + reason + ")",
                                               "CD\t$4.0000 \tNo Data (" + reason + ")"}));
    EXPECT_FLOAT_EQ(doc.MarketPrice("AB"), 3.0f);
    EXPECT_FLOAT_EQ(doc.MarketPrice("CD"), 4.0f);
    EXPECT_EQ(tally.prices, 0);
    EXPECT_EQ(tally.failures, (std::vector<std::string>{"AB: " + reason, "CD: " + reason}));
}

// Through the whole update: what a server answers decides whether AB gets a price, and a
// "No Data" line says why not.
struct AnswerCase {
    const char* name;
    int status;
    std::string price;  // the text where AB's price stands
    std::string line;   // AB's line; "HOST" stands for the server
};

class QuoteAnswerTest : public QuoteUpdateTest, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(QuoteAnswerTest, OnlyASanePriceOnAGoodPageIsStored) {
    const AnswerCase& c = GetParam();
    AddLot(doc, "AB", 10, 1).marketPrice = 3.0f;
    LoopbackHttpServer server([&c](const std::string&) {
        return CannedReply::Page("AB <b>" + c.price + "</b>\n", c.status);
    });
    QuoteTally tally;

    const std::vector<std::string> lines = RunQuoteUpdate(
        doc, web, AllAt(server.Host()), QuoteServer::kYahoo, QuoteCaller::kDialog, {}, &tally);

    std::string expected = c.line;
    if (const std::size_t host = expected.find("HOST"); host != std::string::npos) {
        expected.replace(host, 4, server.Host());
    }
    EXPECT_EQ(lines, std::vector<std::string>{expected});
    const bool stored = c.line.ends_with("$7.5000");
    EXPECT_FLOAT_EQ(doc.MarketPrice("AB"), stored ? 7.5f : 3.0f);
    EXPECT_EQ(tally.prices, stored ? 1 : 0);
    EXPECT_EQ(tally.failures.size(), stored ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, QuoteAnswerTest,
    ::testing::Values(
        AnswerCase{"Ok", 200, "7.5", "AB\t$3.0000 \t$7.5000"},
        AnswerCase{"OkButNaN", 200, "NaN",
                   "AB\t$3.0000 \tNo Data (the page gives \"NaN\", which is no price)"},
        AnswerCase{"OkButNegative", 200, "-5",
                   "AB\t$3.0000 \tNo Data (the page gives \"-5\", which is no price)"},
        AnswerCase{"OkButFloatMax", 200, "3.4e38",
                   "AB\t$3.0000 \tNo Data (the page gives \"3.4e38\", which is no price)"},
        AnswerCase{"NotFound", 404, "7.5",
                   "AB\t$3.0000 \tNo Data (HOST answered with HTTP status 404)"},
        AnswerCase{"ServerError", 500, "7.5",
                   "AB\t$3.0000 \tNo Data (HOST answered with HTTP status 500)"}),
    CaseName());

// One whole update ends by its deadline, however many batches a silent server holds: the
// fetcher is asked to go on, and says no once the time is up.
TEST_F(QuoteUpdateTest, SilentServerHoldsAWholeUpdateNoLongerThanItsDeadline) {
    for (int i = 0; i < 11; ++i) {
        AddLot(doc, SymbolName(i), 10, 1).marketPrice = 3.0f;
    }
    LoopbackHttpServer server([](const std::string&) {
        CannedReply reply;
        reply.kind = CannedReply::Kind::kStall;
        return reply;
    });
    FetchLimits limits = Limits();
    limits.transferTimeout = 60s;  // each attempt alone would wait a minute
    CWeb patient(notifier, limits);
    const auto start = std::chrono::steady_clock::now();
    const auto deadline = start + 1500ms;
    patient.SetProgressCallback([deadline] { return std::chrono::steady_clock::now() < deadline; });
    QuoteTally tally;
    const std::vector<std::string> lines = RunQuoteUpdate(
        doc, patient, AllAt(server.Host()), QuoteServer::kYahoo, QuoteCaller::kDialog, {}, &tally);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    EXPECT_EQ(lines.size(), 11u);
    EXPECT_EQ(tally.prices, 0);
    ASSERT_EQ(tally.failures.size(), 11u);
    EXPECT_NE(tally.failures.back().find("ran out of time"), std::string::npos);
    EXPECT_FLOAT_EQ(doc.MarketPrice("S00"), 3.0f);
}

struct NothingCase {
    const char* name;
    QuoteServer source;
    QuoteCaller caller;
};

class QuoteNothingFetchedTest : public QuoteUpdateTest,
                                public ::testing::WithParamInterface<NothingCase> {};

// A source the caller does not use fetches nothing, yet the run still ends as every run.
TEST_P(QuoteNothingFetchedTest, TouchesTheDocumentWithoutARequest) {
    AddLot(doc, "AB", 10, 1);
    LoopbackHttpServer server([](const std::string&) { return CannedReply::Page("AB <b>1</b>"); });

    const std::vector<std::string> lines =
        RunQuoteUpdate(doc, web, AllAt(server.Host()), GetParam().source, GetParam().caller);

    EXPECT_TRUE(lines.empty());
    EXPECT_TRUE(server.Targets().empty());
    EXPECT_EQ(doc.LastUpdateTime(), At(2024, 3, 6, 11));
    EXPECT_EQ(doc.TimelineCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, QuoteNothingFetchedTest,
    ::testing::Values(
        NothingCase{"WorkerNeverAsksAmex", QuoteServer::kAmex, QuoteCaller::kWorker},
        NothingCase{"UnknownSource", static_cast<QuoteServer>(5), QuoteCaller::kDialog},
        NothingCase{"NegativeSource", static_cast<QuoteServer>(-1), QuoteCaller::kWorker}),
    CaseName());

// The worker's half: fetching fills a list and leaves the document alone until it is applied.
TEST_F(QuoteUpdateTest, FetchedResultsReachTheDocumentOnlyWhenApplied) {
    std::vector<std::string> symbols;
    for (int i = 0; i < 7; ++i) {
        symbols.push_back(SymbolName(i));
        AddLot(doc, SymbolName(i), 10, 1).marketPrice = 1.0f;
    }
    LoopbackHttpServer server([](const std::string&) {
        return CannedReply::Page("S00 <b>2.5</b>, 2.0 - 0.5\nS05 <b>9</b>, 9.5 - -0.5\n");
    });
    int batches = 0;

    const std::vector<QuoteResult> results =
        FetchQuotes(web, AllAt(server.Host()), QuoteServer::kYahoo, QuoteCaller::kWorker, symbols,
                    [&] { return ++batches < 2; });

    ASSERT_EQ(results.size(), 7u);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FLOAT_EQ(doc.MarketPrice("S00"), 1.0f);

    ApplyQuoteResults(doc, results);

    EXPECT_FLOAT_EQ(doc.MarketPrice("S00"), 2.5f);
    EXPECT_EQ(doc.QuoteDirection("S05"), -1);
    EXPECT_FLOAT_EQ(doc.MarketPrice("S06"), 1.0f);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(QuoteUpdateTest, StopAfterABatchSendsNoFurtherRequest) {
    std::vector<std::string> symbols;
    for (int i = 0; i < 12; ++i) {
        symbols.push_back(SymbolName(i));
    }
    LoopbackHttpServer server([](const std::string&) { return CannedReply::Page(""); });

    const std::vector<QuoteResult> results =
        FetchQuotes(web, AllAt(server.Host()), QuoteServer::kYahoo, QuoteCaller::kWorker, symbols,
                    [] { return false; });

    EXPECT_EQ(results.size(), 5u);
    EXPECT_EQ(server.Targets().size(), 1u);
}

TEST(ApplyQuoteResultsTest, ListsTheOldPriceReadBeforeStoring) {
    Settings settings;
    CKx7Doc doc(settings);
    AddLot(doc, "AB", 10, 1).marketPrice = 1.5f;
    AddLot(doc, "BIG", 10, 1).marketPrice = 0.0f;
    const std::vector<QuoteResult> results{
        {"AB", QuoteOutcome::kFound, false, 2.25f, 0, 0.0f, 0.0f, {}},
        {"AB", QuoteOutcome::kFound, false, 3.0f, 0, 0.0f, 0.0f, {}},
        {"BIG", QuoteOutcome::kFound, false, 3.4028235e38f, 0, 0.0f, 0.0f, {}},
        {"AB", QuoteOutcome::kNoLine, false, 0.0f, 0, 0.0f, 0.0f, {}},
    };

    EXPECT_EQ(
        ApplyQuoteResults(doc, results),
        (std::vector<std::string>{"AB\t$1.5000 \t$2.2500", "AB\t$2.2500 \t$3.0000",
                                  "BIG\t$0.0000 \t$340282346638528859811704183484516925440.0000"}));
    EXPECT_FLOAT_EQ(doc.MarketPrice("AB"), 3.0f);
}

// The tally gives every symbol without a price its reason, the page's own where there is
// one; the list line keeps its plain "No Data" where the symbol was simply not on the page.
TEST(ApplyQuoteResultsTest, TallyCountsThePricesAndSaysWhyEachOtherSymbolHasNone) {
    Settings settings;
    CKx7Doc doc(settings);
    for (const char* symbol : {"AB", "CD", "EF", "GH"}) {
        AddLot(doc, symbol, 10, 1).marketPrice = 1.0f;
    }
    const std::vector<QuoteResult> results{
        {"AB", QuoteOutcome::kFound, false, 2.0f, 0, 0.0f, 0.0f, {}},
        {"CD", QuoteOutcome::kNoData, false, 0.0f, 0, 0.0f, 0.0f, {}},
        {"EF", QuoteOutcome::kNoLine, false, 0.0f, 0, 0.0f, 0.0f, {}},
        {"GH", QuoteOutcome::kNoData, false, 0.0f, 0, 0.0f, 0.0f, "more than 5 redirects"},
    };
    QuoteTally tally;

    EXPECT_EQ(ApplyQuoteResults(doc, results, &tally),
              (std::vector<std::string>{"AB\t$1.0000 \t$2.0000", "CD\t$1.0000 \tNo Data",
                                        "GH\t$1.0000 \tNo Data (more than 5 redirects)"}));
    EXPECT_EQ(tally.prices, 1);
    EXPECT_EQ(tally.failures, (std::vector<std::string>{"CD: the page gives no price for it",
                                                        "EF: the page gives no price for it",
                                                        "GH: more than 5 redirects"}));
}

// Every lot a result names is stored, whether its lots are adjacent or not, and only
// those: the option pseudo-symbol reads the price of the plain symbol's first lot but
// stores on the lots whose own symbol carries the suffix, and each result stored counts
// as one change, as storing through the document's own queries does.
TEST(ApplyQuoteResultsTest, StoresAsTheDocumentQueriesWouldOneResultAtATime) {
    Settings settings;
    CKx7Doc doc(settings);
    CKx7Doc reference(settings);
    for (CKx7Doc* portfolio : {&doc, &reference}) {
        AddLot(*portfolio, "XYZ", 10, 1).marketPrice = 4.0f;
        AddLot(*portfolio, "ABC", 10, 1).marketPrice = 2.0f;
        AddLot(*portfolio, "XYZ-O", 10, 1).marketPrice = 1.0f;
        AddLot(*portfolio, "XYZ", 10, 1).marketPrice = 4.5f;
        AddLot(*portfolio, "", 10, 1).marketPrice = 7.0f;
        AddLot(*portfolio, "BRK-B", 10, 1).marketPrice = 300.0f;
        AddLot(*portfolio, "ABC", 10, 1).marketPrice = 2.25f;
    }
    const std::vector<QuoteResult> results{
        {"XYZ-O", QuoteOutcome::kFound, true, 5.5f, 1, 0.5f, 1.25f, {}},
        {"XYZ", QuoteOutcome::kFound, false, 6.0f, 0, 0.0f, 0.0f, {}},
        {"XYZ", QuoteOutcome::kNoData, false, 0.0f, 0, 0.0f, 0.0f, {}},
        {"", QuoteOutcome::kFound, true, 8.0f, -1, -0.5f, 0.0f, {}},
        {"-O", QuoteOutcome::kNoData, false, 0.0f, 0, 0.0f, 0.0f, {}},
        {"NONE", QuoteOutcome::kFound, true, 9.0f, 1, 1.0f, 0.0f, {}},
        {"ABC", QuoteOutcome::kNoLine, false, 0.0f, 0, 0.0f, 0.0f, {}},
        {"BRK-B", QuoteOutcome::kFound, true, 310.0f, -1, -2.5f, 3.0f, {}},
        {"ABC", QuoteOutcome::kFound, true, 2.5f, 1, 0.25f, 0.0f, {}},
    };
    for (const QuoteResult& result : results) {
        if (result.outcome != QuoteOutcome::kFound) {
            continue;
        }
        if (result.fullQuote) {
            reference.ApplyQuote(result.symbol, result.price, result.direction, result.change,
                                 result.extra);
        } else {
            reference.SetMarketPrice(result.symbol, result.price);
        }
    }

    EXPECT_EQ(ApplyQuoteResults(doc, results),
              (std::vector<std::string>{"XYZ-O\t$4.0000 \t$5.5000", "XYZ\t$4.0000 \t$6.0000",
                                        "XYZ\t$6.0000 \tNo Data", "\t$0.0000 \t$8.0000",
                                        "-O\t$0.0000 \tNo Data", "NONE\t$0.0000 \t$9.0000",
                                        "BRK-B\t$300.0000 \t$310.0000", "ABC\t$2.0000 \t$2.5000"}));
    EXPECT_EQ(doc.Revision(), reference.Revision());
    ASSERT_EQ(doc.Purchases().size(), reference.Purchases().size());
    for (std::size_t i = 0; i < doc.Purchases().size(); ++i) {
        SCOPED_TRACE(i);
        const CPurchase& lot = *doc.Purchases()[i];
        const CPurchase& expected = *reference.Purchases()[i];
        EXPECT_EQ(lot.marketPrice, expected.marketPrice);
        EXPECT_EQ(lot.quoteDirection, expected.quoteDirection);
        EXPECT_EQ(lot.quoteChange, expected.quoteChange);
        EXPECT_EQ(lot.quoteExtra, expected.quoteExtra);
    }
}

}  // namespace

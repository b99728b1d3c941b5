#include "core/quotes/SourceChain.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "core/model/Kx7Doc.h"
#include "core/quotes/HostPacer.h"
#include "core/quotes/QuoteHosts.h"
#include "core/quotes/QuoteSource.h"
#include "core/quotes/QuoteUpdate.h"
#include "core/quotes/Web.h"
#include "core/settings/Settings.h"
#include "support/CaseName.h"
#include "support/ChainRun.h"
#include "support/DocBuilder.h"
#include "support/LoopbackHttpServer.h"
#include "support/NoProxy.h"
#include "support/QuotePages.h"
#include "support/RecordingFetchNotifier.h"
#include "support/SourceFixtures.h"
#include "support/TestClock.h"

namespace {

QuoteSource Described(QuoteServer server) {
    return DescribedQuoteSources()[static_cast<std::size_t>(server)];
}

std::string ResultsBody(const std::string& entries) {
    return R"({"quoteResponse":{"result":[)" + entries + R"(],"error":null}})";
}

std::string Result(const std::string& symbol, const std::string& price) {
    return R"({"symbol":")" + symbol + R"(","regularMarketPrice":)" + price + "}";
}

class SourceChainTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ClearProxyEnvironment(); }

    // Every result the chain hands on, in the order it hands them.
    std::vector<QuoteResult> Run(const std::vector<QuoteSource>& chain,
                                 const std::vector<ChainSymbol>& symbols,
                                 QuoteCaller caller = QuoteCaller::kDialog) {
        std::vector<QuoteResult> all;
        EXPECT_TRUE(FetchFromChain(web, hosts, caller, chain, symbols, pacer,
                                   [&](std::vector<QuoteResult> results) {
                                       all.insert(all.end(), results.begin(), results.end());
                                       return true;
                                   }));
        return all;
    }

    ScopedClock clock{At(2024, 12, 10, 16)};
    RecordingFetchNotifier notifier;
    CWeb web{notifier, ShortFetchLimits()};
    HostPacer pacer;
    QuoteHosts hosts;
};

// The first source prices what it has; the second is asked only for the rest; what no
// source priced comes last with what each said. A price too far from the last one is not
// taken from the first source, and the second may still give a sane one.
TEST_F(SourceChainTest, WhatTheFirstSourceLacksIsAskedOfTheNext) {
    LoopbackHttpServer first([](const std::string&) {
        return CannedReply::Page(StooqHeader() + StooqRow("AB.US", "12.5") + StooqUnknown("EF.US") +
                                 StooqRow("GH.US", "150"));
    });
    LoopbackHttpServer second([](const std::string&) {
        return CannedReply::Page(ResultsBody(Result("CD", "20.25") + "," + Result("GH", "11")));
    });

    const std::vector<QuoteResult> results =
        Run({ReadyMadeAt(kStooq, first.Host()), ResultsSource(second.Host())},
            {{"AB", 12.0f}, {"CD", 0.0f}, {"EF", 3.0f}, {"GH", 10.0f}});

    EXPECT_EQ(second.Targets(), std::vector<std::string>{"/v7/finance/quote?symbols=CD,EF,GH"});
    EXPECT_EQ(results, (std::vector<QuoteResult>{
                           PricedAt("AB", 12.5f), PricedAt("CD", 20.25f), PricedAt("GH", 11.0f),
                           Unpriced("EF",
                                    "Stooq (CSV): the price at column Close is \"N/D\", which is "
                                    "no number; Quote results: no result has /symbol EF")}));
}

// A last price that is no price (a damaged file's) checks nothing; were it taken for one,
// no new price could ever replace it.
TEST_F(SourceChainTest, LastPriceThatIsNoPriceChecksNothing) {
    LoopbackHttpServer server([](const std::string&) {
        return CannedReply::Page(StooqHeader() + StooqRow("AB.US", "12.5") +
                                 StooqRow("CD.US", "7.5") + StooqRow("EF.US", "3"));
    });

    const std::vector<QuoteResult> results =
        Run({ReadyMadeAt(kStooq, server.Host())}, {{"AB", std::numeric_limits<float>::quiet_NaN()},
                                                   {"CD", std::numeric_limits<float>::infinity()},
                                                   {"EF", -4.0f}});

    EXPECT_EQ(results, (std::vector<QuoteResult>{PricedAt("AB", 12.5f), PricedAt("CD", 7.5f),
                                                 PricedAt("EF", 3.0f)}));
}

TEST_F(SourceChainTest, AFailingSourceLeavesEverySymbolToTheNext) {
    LoopbackHttpServer first(
        [](const std::string&) { return CannedReply::Page("Internal error", 500); });
    LoopbackHttpServer second(
        [](const std::string&) { return CannedReply::Page(ResultsBody(Result("AB", "12.5"))); });

    const std::vector<QuoteResult> results =
        Run({ReadyMadeAt(kStooq, first.Host()), ResultsSource(second.Host())},
            {{"AB", 0.0f}, {"CD", 0.0f}});

    EXPECT_EQ(results, (std::vector<QuoteResult>{
                           PricedAt("AB", 12.5f),
                           Unpriced("CD", "Stooq (CSV): " + first.Host() +
                                              " answered with HTTP status 500; Quote results: "
                                              "no result has /symbol CD")}));
}

// No source fetches nothing, as a server value outside the list always has.
TEST_F(SourceChainTest, AnEmptyChainFetchesNothing) {
    EXPECT_TRUE(Run({}, {{"AB", 1.0f}}).empty());
}

// With the grants listed apart, "XYZ" and "XYZ-O" are both held; the source is asked for
// XYZ once, and every lot of XYZ, the grant's too, takes its price.
TEST_F(SourceChainTest, OptionEntryIsAskedByItsUnderlyingSymbolOnce) {
    Settings settings;
    settings.ungroupOptions = true;
    CKx7Doc doc{settings};
    AddLot(doc, "XYZ", 10, 3).marketPrice = 4.0f;
    AddGrant(doc, "XYZ", 100, 2).marketPrice = 4.0f;
    AddLot(doc, "AB", 10, 3).marketPrice = 2.0f;
    LoopbackHttpServer server([](const std::string&) {
        return CannedReply::Page(ResultsBody(Result("XYZ", "5") + "," + Result("AB", "2.5")));
    });
    ASSERT_EQ(ChainSymbols(doc).size(), 3u);

    const std::vector<QuoteResult> results = Run({ResultsSource(server.Host())}, ChainSymbols(doc));
    ApplyQuoteResults(doc, results);

    EXPECT_EQ(server.Targets(), std::vector<std::string>{"/v7/finance/quote?symbols=AB,XYZ"});
    EXPECT_EQ(results, (std::vector<QuoteResult>{PricedAt("AB", 2.5f), PricedAt("XYZ", 5.0f)}));
    for (const auto& lot : doc.Purchases()) {
        if (lot->symbol == "XYZ") {
            EXPECT_FLOAT_EQ(lot->marketPrice, 5.0f) << lot->purchaseType;
        }
    }
}

// Grants alone are listed as "XYZ-O" only; unpriced, they make one line under XYZ.
TEST_F(SourceChainTest, UnpricedOptionEntryMakesOneLineUnderItsSymbol) {
    Settings settings;
    settings.ungroupOptions = true;
    CKx7Doc doc{settings};
    AddGrant(doc, "XYZ", 100, 2).marketPrice = 4.0f;
    LoopbackHttpServer server(
        [](const std::string&) { return CannedReply::Page(ResultsBody(Result("AB", "2"))); });

    const std::vector<QuoteResult> results = Run({ResultsSource(server.Host())}, ChainSymbols(doc));

    EXPECT_EQ(server.Targets(), std::vector<std::string>{"/v7/finance/quote?symbols=XYZ"});
    EXPECT_EQ(results, std::vector<QuoteResult>{
                           Unpriced("XYZ", "Quote results: no result has /symbol XYZ")});
}

// A chain of one described server is that server's own update: the same requests, the
// same results in the same batches, the same progress.
struct DescribedCase {
    const char* name;
    QuoteServer server;
    QuoteCaller caller;
    std::string page;
};

class SourceChainDescribedTest : public SourceChainTest,
                                 public ::testing::WithParamInterface<DescribedCase> {};

TEST_P(SourceChainDescribedTest, BehavesExactlyAsTheServersOwnUpdate) {
    const DescribedCase& c = GetParam();
    LoopbackHttpServer server([&c](const std::string&) { return CannedReply::Page(c.page); });
    hosts = QuoteHosts{server.Host(), server.Host(), server.Host()};
    const std::vector<std::string> names = {"AB", "CD", "EF", "GH", "IJ", "KL",
                                            "MN", "OP", "QR", "ST", "UV", "WX"};
    std::vector<ChainSymbol> symbols;
    for (const std::string& name : names) {
        symbols.push_back({name, 10.0f});
    }
    std::vector<std::vector<QuoteResult>> ownBatches;
    std::vector<int> ownProgress;
    std::vector<std::vector<QuoteResult>> chainBatches;
    std::vector<int> chainProgress;

    EXPECT_TRUE(FetchQuoteBatches(
        web, hosts, c.server, c.caller, names,
        [&](std::vector<QuoteResult> results) {
            ownBatches.push_back(std::move(results));
            return true;
        },
        [&](int position) { ownProgress.push_back(position); }));
    const std::vector<std::string> ownTargets = server.Targets();
    EXPECT_TRUE(FetchFromChain(
        web, hosts, c.caller, {Described(c.server)}, symbols, pacer,
        [&](std::vector<QuoteResult> results) {
            chainBatches.push_back(std::move(results));
            return true;
        },
        {}, [&](int position) { chainProgress.push_back(position); }));
    std::vector<std::string> chainTargets = server.Targets();
    chainTargets.erase(chainTargets.begin(),
                       chainTargets.begin() + static_cast<std::ptrdiff_t>(ownTargets.size()));

    EXPECT_EQ(chainTargets, ownTargets);
    EXPECT_EQ(chainBatches, ownBatches);
    EXPECT_EQ(chainProgress, ownProgress);
    ASSERT_FALSE(ownBatches.empty());
    EXPECT_EQ(ownBatches.front().front().outcome, QuoteOutcome::kFound);
}

INSTANTIATE_TEST_SUITE_P(
    Servers, SourceChainDescribedTest,
    ::testing::Values(DescribedCase{"Amex", QuoteServer::kAmex, QuoteCaller::kDialog,
                                    AmexRow("AB", "12.5") + AmexRow("GH", "n/a")},
                      DescribedCase{"YahooDialog", QuoteServer::kYahoo, QuoteCaller::kDialog,
                                    "AB <b>12.5</b>\nEF 7.25\nKL <b>-1</b>\n"},
                      DescribedCase{"YahooWorker", QuoteServer::kYahoo, QuoteCaller::kWorker,
                                    "AB <b>12.5</b>, 12.0 - 0.5\nEF 7.25\n"},
                      DescribedCase{
                          "Nasdaq", QuoteServer::kNasdaq, QuoteCaller::kDialog,
                          NasdaqRow("AB", "12.5", NasdaqTail("down", "0.75")) + "EF</font> n/a"}),
    CaseName());

// A described server in a longer chain hands on what it prices and leaves the rest, with
// its reason, to the next source.
TEST_F(SourceChainTest, DescribedServerLeavesWhatItLacksToTheNext) {
    LoopbackHttpServer old(
        [](const std::string&) { return CannedReply::Page("AB <b>12.5</b>\n"); });
    LoopbackHttpServer next(
        [](const std::string&) { return CannedReply::Page(ResultsBody(Result("CD", "3"))); });
    hosts = QuoteHosts{old.Host(), old.Host(), old.Host()};

    const std::vector<QuoteResult> results =
        Run({Described(QuoteServer::kYahoo), ResultsSource(next.Host())},
            {{"AB", 10.0f}, {"CD", 2.0f}, {"EF", 1.0f}});

    EXPECT_EQ(next.Targets(), std::vector<std::string>{"/v7/finance/quote?symbols=CD,EF"});
    EXPECT_EQ(results,
              (std::vector<QuoteResult>{PricedAt("AB", 12.5f), PricedAt("CD", 3.0f),
                                        Unpriced("EF",
                                                 "Yahoo!: the page gives no price for it; Quote "
                                                 "results: no result has /symbol EF")}));
}

// The automatic update never asks the American Stock Exchange: in a chain, its symbols go
// on to the next source rather than vanishing unpriced and unlisted.
TEST_F(SourceChainTest, ServerTheCallerDoesNotAskLeavesEverySymbolToTheNext) {
    LoopbackHttpServer old(
        [](const std::string&) { return CannedReply::Page(AmexRow("AB", "9")); });
    LoopbackHttpServer next(
        [](const std::string&) { return CannedReply::Page(ResultsBody(Result("AB", "12.5"))); });
    hosts = QuoteHosts{old.Host(), old.Host(), old.Host()};

    const std::vector<QuoteResult> results =
        Run({Described(QuoteServer::kAmex), ResultsSource(next.Host())},
            {{"AB", 10.0f}, {"CD", 2.0f}}, QuoteCaller::kWorker);

    EXPECT_TRUE(old.Targets().empty());
    EXPECT_EQ(next.Targets(), std::vector<std::string>{"/v7/finance/quote?symbols=AB,CD"});
    EXPECT_EQ(results, (std::vector<QuoteResult>{
                           PricedAt("AB", 12.5f),
                           Unpriced("CD",
                                    "American Stock Exchange: the automatic update does "
                                    "not ask this server; Quote results: no result has "
                                    "/symbol CD")}));
}

// A handler that says stop, or a caller that no longer wants the prices, ends the run
// before the next request.
TEST_F(SourceChainTest, StoppingEndsTheRunBeforeTheNextRequest) {
    LoopbackHttpServer server([](const std::string& target) {
        const std::string symbol = target.substr(target.rfind('/') + 1);
        return CannedReply::Page("<span id=\"" + symbol + "-price\">2.5</span>");
    });
    const std::vector<ChainSymbol> symbols = {{"AB", 0.0f}, {"CD", 0.0f}, {"EF", 0.0f}};
    int batches = 0;

    EXPECT_FALSE(FetchFromChain(web, hosts, QuoteCaller::kDialog, {PatternSource(server.Host())},
                                symbols, pacer, [&](std::vector<QuoteResult>) {
                                    ++batches;
                                    return false;
                                }));
    EXPECT_EQ(batches, 1);
    EXPECT_EQ(server.Targets().size(), 1u);

    bool priced = false;
    EXPECT_FALSE(FetchFromChain(
        web, hosts, QuoteCaller::kDialog, {PatternSource(server.Host())}, symbols, pacer,
        [&](std::vector<QuoteResult>) {
            priced = true;
            return true;
        },
        [&] { return !priced; }));
    EXPECT_EQ(server.Targets().size(), 2u);
}

}  // namespace

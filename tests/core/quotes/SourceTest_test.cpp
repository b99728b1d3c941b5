#include "core/quotes/SourceTest.h"

#include <gtest/gtest.h>

#include <string>

#include "core/quotes/HostPacer.h"
#include "core/quotes/QuoteHosts.h"
#include "core/quotes/QuoteSource.h"
#include "core/quotes/Web.h"
#include "support/CaseName.h"
#include "support/ChainRun.h"
#include "support/LoopbackHttpServer.h"
#include "support/NoProxy.h"
#include "support/RecordingFetchNotifier.h"
#include "support/SourceFixtures.h"

namespace {

constexpr const char* kStooqUrl = "https://stooq.com/q/l/?s=aapl.us&f=sd2t2ohlcv&h&e=csv";

SourceTestReport Answered(const std::string& answer, SourceQuote quote) {
    SourceTestReport report;
    report.url = kStooqUrl;
    report.answer = answer;
    report.answerBytes = answer.size();
    report.quote = std::move(quote);
    return report;
}

struct TextCase {
    const char* name;
    SourceTestReport report;
    std::string text;
};

class SourceTestTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(SourceTestTextTest, SaysWhatCameAndWhatWasRead) {
    EXPECT_EQ(SourceTestText(GetParam().report), GetParam().text);
}

const std::string kStooqAnswer = StooqHeader() + StooqRow("AAPL.US", "247.77");

SourceTestReport LongAnswer() {
    SourceTestReport report = Answered(std::string(kShownAnswerBytes, 'x'),
                                       {.held = "AB",
                                        .found = false,
                                        .price = 0.0f,
                                        .change = std::nullopt,
                                        .time = 0,
                                        .currency = "",
                                        .reason = "the pattern matches nowhere in the answer",
                                        .read = {}});
    report.answerBytes = 10000;
    return report;
}

SourceTestReport NoAnswer() {
    SourceTestReport report;
    report.url = kStooqUrl;
    report.failure = "stooq.com answered with HTTP status 404";
    report.quote.held = "AAPL";
    return report;
}

INSTANTIATE_TEST_SUITE_P(
    Reports, SourceTestTextTest,
    ::testing::Values(
        TextCase{"Priced",
                 Answered(kStooqAnswer, {.held = "AAPL",
                                         .found = true,
                                         .price = 247.77f,
                                         .change = 1.5f,
                                         .time = 1733832000,
                                         .currency = "USD",
                                         .reason = "",
                                         .read = {{"price", "247.77"}, {"time", "2024-12-10"}}}),
                 std::string("Address: ") + kStooqUrl + "\nAnswer (" +
                     std::to_string(kStooqAnswer.size()) + " bytes):\n" + kStooqAnswer +
                     "\nRead for AAPL:\n  price: 247.77\n  time: 2024-12-10\n"
                     "Price of AAPL: 247.7700, change 1.5000 USD\n"},
        TextCase{"RuleFailed",
                 Answered(StooqHeader() + StooqUnknown("AAPL.US"),
                          {.held = "AAPL",
                           .found = false,
                           .price = 0.0f,
                           .change = std::nullopt,
                           .time = 0,
                           .currency = "",
                           .reason = "the price at column Close is \"N/D\", which is no number",
                           .read = {{"price", "N/D"}, {"time", "N/D"}}}),
                 std::string("Address: ") + kStooqUrl + "\nAnswer (" +
                     std::to_string(StooqHeader().size() + StooqUnknown("AAPL.US").size()) +
                     " bytes):\n" + StooqHeader() + StooqUnknown("AAPL.US") +
                     "\nRead for AAPL:\n  price: N/D\n  time: N/D\n"
                     "No price for AAPL: the price at column Close is \"N/D\", which is no "
                     "number\n"},
        TextCase{"NothingRead",
                 Answered("{\"c\":", {.held = "AAPL",
                                      .found = false,
                                      .price = 0.0f,
                                      .change = std::nullopt,
                                      .time = 0,
                                      .currency = "",
                                      .reason = "the answer is no JSON (at byte 5)",
                                      .read = {}}),
                 std::string("Address: ") + kStooqUrl +
                     "\nAnswer (5 bytes):\n{\"c\":\n\nNo price for AAPL: the answer is no JSON "
                     "(at byte 5)\n"},
        TextCase{"StartOfALongAnswer", LongAnswer(),
                 std::string("Address: ") + kStooqUrl +
                     "\nAnswer (10000 bytes, the start shown):\n" +
                     std::string(kShownAnswerBytes, 'x') +
                     "\n\nNo price for AB: the pattern matches nowhere in the answer\n"},
        TextCase{"NoAnswer", NoAnswer(),
                 std::string("Address: ") + kStooqUrl +
                     "\nNo answer: stooq.com answered with HTTP status 404\n"}),
    CaseName());

class TestQuoteSourceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ClearProxyEnvironment(); }

    RecordingFetchNotifier notifier;
    CWeb web{notifier, ShortFetchLimits()};
    HostPacer pacer;
    QuoteHosts hosts;
};

TEST_F(TestQuoteSourceTest, AsksOneSymbolAndKeepsTheStartOfTheAnswer) {
    const std::string body = YahooChartBody("AAPL", "195.5") + std::string(6000, ' ');
    LoopbackHttpServer server([&](const std::string&) { return CannedReply::Page(body); });

    const SourceTestReport report =
        TestQuoteSource(web, hosts, ReadyMadeAt(kYahooChart, server.Host()), "aapl", pacer);

    EXPECT_EQ(report.url,
              "http://" + server.Host() + "/v8/finance/chart/AAPL?range=1d&interval=1d");
    EXPECT_EQ(report.failure, "");
    EXPECT_EQ(report.answerBytes, body.size());
    EXPECT_EQ(report.answer, body.substr(0, kShownAnswerBytes));
    EXPECT_TRUE(report.quote.found);
    EXPECT_EQ(report.quote.held, "aapl");
    EXPECT_FLOAT_EQ(report.quote.price, 195.5f);
}

// A hostile answer's control characters would act on the terminal the report is shown in.
TEST_F(TestQuoteSourceTest, ControlCharactersOfTheAnswerShowAsQuestionMarks) {
    const std::string body = YahooChartBody("AAPL", "195.5") + "\x1b]0;title\x07\r\n\tend";
    LoopbackHttpServer server([&](const std::string&) { return CannedReply::Page(body); });

    const SourceTestReport report =
        TestQuoteSource(web, hosts, ReadyMadeAt(kYahooChart, server.Host()), "AAPL", pacer);

    EXPECT_TRUE(report.answer.ends_with("?]0;title??\n\tend")) << report.answer;
}

TEST_F(TestQuoteSourceTest, AnswerThatDidNotComeIsTheFailure) {
    LoopbackHttpServer server(
        [](const std::string&) { return CannedReply::Page(YahooChartUnknown(), 404); });

    const SourceTestReport report =
        TestQuoteSource(web, hosts, ReadyMadeAt(kYahooChart, server.Host()), "ZZZZ", pacer);

    EXPECT_EQ(report.failure, server.Host() + " answered with HTTP status 404");
    EXPECT_FALSE(report.quote.found);
    EXPECT_EQ(SourceTestText(report), "Address: " + report.url + "\nNo answer: " + server.Host() +
                                          " answered with HTTP status 404\n");
}

TEST_F(TestQuoteSourceTest, StoppedBeforeTheHostsTurnAsksNothing) {
    LoopbackHttpServer server([](const std::string&) { return CannedReply::Page("{}"); });
    const QuoteSource yahoo = ReadyMadeAt(kYahooChart, server.Host());
    ASSERT_TRUE(pacer.WaitTurn(server.Host(), 60, {}));

    const SourceTestReport report =
        TestQuoteSource(web, hosts, yahoo, "AAPL", pacer, [] { return false; });

    EXPECT_EQ(report.failure, "the test was stopped");
    EXPECT_TRUE(server.Targets().empty());
}

// A described server is tested with its own request and its own page reader.
TEST_F(TestQuoteSourceTest, DescribedServerUsesItsOwnRequestAndReader) {
    LoopbackHttpServer server(
        [](const std::string&) { return CannedReply::Page("AB <b>12.5</b>\nCD 7\n"); });
    hosts = QuoteHosts{server.Host(), server.Host(), server.Host()};
    const QuoteSource yahoo = DescribedQuoteSources()[1];

    const SourceTestReport priced = TestQuoteSource(web, hosts, yahoo, "AB", pacer);
    const SourceTestReport unpriced = TestQuoteSource(web, hosts, yahoo, "CD", pacer);

    EXPECT_EQ(priced.url, "http://" + server.Host() + "/d?s=AB&f=1lc");
    EXPECT_TRUE(priced.quote.found);
    EXPECT_FLOAT_EQ(priced.quote.price, 12.5f);
    EXPECT_FALSE(unpriced.quote.found);
    EXPECT_EQ(unpriced.quote.reason, "the page gives no price for it");
    EXPECT_TRUE(notifier.messages.empty());
}

}  // namespace

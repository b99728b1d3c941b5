#include "core/quotes/SourceAnswer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/quotes/QuoteSource.h"
#include "core/quotes/SourceRequest.h"
#include "support/CaseName.h"
#include "support/SourceFixtures.h"

namespace {

using Read = std::vector<std::pair<std::string, std::string>>;

// 2024-12-10 at noon UTC, where a date without a time stands.
constexpr std::int64_t kDecember10 = 1733832000;
constexpr std::int64_t kDay = 86400;

std::vector<SourceQuote> ReadFor(const QuoteSource& source, const std::vector<std::string>& held,
                                 std::string_view body) {
    const std::vector<SourceRequest> requests = SourceRequests(source, held);
    EXPECT_EQ(requests.size(), 1u);
    return ReadSourceAnswer(source, requests.front(), body);
}

QuoteSource JsonSource(const std::string& url, SourceFields fields) {
    QuoteSource source;
    source.name = "Json";
    source.url = url;
    source.batchSize = 10;
    source.fields = std::move(fields);
    return source;
}

TEST(SourceAnswerTest, YahooChartGivesPriceChangeTimeAndCurrency) {
    const std::vector<SourceQuote> quotes =
        ReadFor(ReadyMadeAt(kYahooChart, "h"), {"AAPL"}, YahooChartBody("AAPL", "195.5"));

    ASSERT_EQ(quotes.size(), 1u);
    const SourceQuote& quote = quotes[0];
    EXPECT_TRUE(quote.found) << quote.reason;
    EXPECT_EQ(quote.held, "AAPL");
    EXPECT_FLOAT_EQ(quote.price, 195.5f);
    ASSERT_TRUE(quote.change);
    EXPECT_FLOAT_EQ(*quote.change, 2.5f);
    EXPECT_EQ(quote.time, 1733860800);
    EXPECT_EQ(quote.currency, "USD");
    EXPECT_EQ(quote.read, (Read{{"price", "195.5"},
                                {"time", "1733860800"},
                                {"previous close", "193"},
                                {"currency", "USD"}}));
}

TEST(SourceAnswerTest, FinnhubGivesItsOwnChange) {
    const std::vector<SourceQuote> quotes =
        ReadFor(ReadyMadeAt(kFinnhub, "h"), {"AAPL"}, FinnhubBody("261.74", "-0.41", "250"));

    ASSERT_EQ(quotes.size(), 1u);
    EXPECT_FLOAT_EQ(quotes[0].price, 261.74f);
    ASSERT_TRUE(quotes[0].change);
    EXPECT_FLOAT_EQ(*quotes[0].change, -0.41f);
    EXPECT_EQ(quotes[0].time, 1733860800);
}

// Stooq's symbols come back in capitals; its date stands at noon UTC of the day.
TEST(SourceAnswerTest, StooqRowsAreMatchedWhateverTheirCase) {
    const std::vector<SourceQuote> quotes =
        ReadFor(ReadyMadeAt(kStooq, "h"), {"MSFT", "AAPL"},
                StooqHeader() + StooqRow("AAPL.US", "247.77") + StooqRow("MSFT.US", "443.33"));

    ASSERT_EQ(quotes.size(), 2u);
    EXPECT_EQ(quotes[0].held, "MSFT");
    EXPECT_FLOAT_EQ(quotes[0].price, 443.33f);
    EXPECT_EQ(quotes[1].held, "AAPL");
    EXPECT_FLOAT_EQ(quotes[1].price, 247.77f);
    EXPECT_EQ(quotes[1].time, kDecember10);
    EXPECT_FALSE(quotes[1].change);
    EXPECT_EQ(quotes[1].read, (Read{{"price", "247.77"}, {"time", "2024-12-10"}}));
}

// Without a header line, places are column numbers counted from 1.
TEST(SourceAnswerTest, CsvWithoutHeaderIsReadByColumnNumber) {
    QuoteSource source;
    source.name = "Numbers";
    source.url = "http://h/q?s={symbols}";
    source.batchSize = 5;
    source.format = SourceFormat::kCsv;
    source.csvHeader = false;
    source.fields = {.symbol = "1",
                     .price = "3",
                     .time = "2",
                     .change = "4",
                     .previousClose = "",
                     .currency = "9"};

    const std::vector<SourceQuote> quotes =
        ReadFor(source, {"AB", "CD"}, "AB,20241210,12.5,-0.25\nCD,20241209,\"1,234.5\",1\n");

    ASSERT_EQ(quotes.size(), 2u);
    EXPECT_TRUE(quotes[0].found);
    EXPECT_FLOAT_EQ(quotes[0].price, 12.5f);
    EXPECT_EQ(quotes[0].time, kDecember10);
    ASSERT_TRUE(quotes[0].change);
    EXPECT_FLOAT_EQ(*quotes[0].change, -0.25f);
    EXPECT_EQ(quotes[0].currency, "");
    EXPECT_FALSE(quotes[1].found);
    EXPECT_EQ(quotes[1].reason, "the price at column 3 is \"1,234.5\", which is no number");
}

// A batched answer keyed by symbol: "{symbol}" in a pointer stands for the symbol asked,
// escaped as a pointer needs ("/" as "~1", "~" as "~0").
TEST(SourceAnswerTest, PointerTakesTheSymbolAsked) {
    const QuoteSource source =
        JsonSource("http://h/q?s={symbols}", {.symbol = "",
                                              .price = "/quotes/{symbol}/last",
                                              .time = "",
                                              .change = "",
                                              .previousClose = "/quotes/{symbol}/close",
                                              .currency = "/quotes/{symbol}/ccy"});

    const std::vector<SourceQuote> quotes =
        ReadFor(source, {"A/B", "T~1", "CD"},
                R"({"quotes":{"A/B":{"last":"12.5","close":12},"T~1":{"last":3,"ccy":"EUR"}}})");

    ASSERT_EQ(quotes.size(), 3u);
    EXPECT_TRUE(quotes[0].found);
    EXPECT_FLOAT_EQ(quotes[0].price, 12.5f);
    ASSERT_TRUE(quotes[0].change);
    EXPECT_FLOAT_EQ(*quotes[0].change, 0.5f);
    EXPECT_TRUE(quotes[1].found);
    EXPECT_FLOAT_EQ(quotes[1].price, 3.0f);
    EXPECT_EQ(quotes[1].currency, "EUR");
    EXPECT_FALSE(quotes[2].found);
    EXPECT_EQ(quotes[2].reason, "/quotes/CD/last is not in the answer");
}

// Results that are no objects are passed over, not read.
TEST(SourceAnswerTest, ResultsOfOtherKindsArePassedOver) {
    const std::vector<SourceQuote> quotes =
        ReadFor(ResultsSource("h"), {"AB"},
                R"({"quoteResponse":{"result":[1,null,"AB",[],{"symbol":5},)"
                R"({"symbol":"ab","regularMarketPrice":2}]}})");

    ASSERT_EQ(quotes.size(), 1u);
    EXPECT_TRUE(quotes[0].found) << quotes[0].reason;
    EXPECT_FLOAT_EQ(quotes[0].price, 2.0f);
}

TEST(SourceAnswerTest, PatternGroupsGiveEachFigure) {
    QuoteSource source = PatternSource("h");
    source.fields = {.symbol = "",
                     .price = "1",
                     .time = "",
                     .change = "2",
                     .previousClose = "",
                     .currency = "3"};

    // Anchored by the ">", so that "XAB" before it is not taken for "AB".
    source.pattern = R"(>{symbol}: ([0-9.,]+) \(([-+0-9.]+)\) ([A-Z]{3}))";
    const std::vector<SourceQuote> anchored =
        ReadFor(source, {"AB"}, "<p>XAB: 1.00 (+0.1) GBP</p>\n<p>AB: 1,234.50 (-3.25) USD</p>");
    ASSERT_EQ(anchored.size(), 1u);
    EXPECT_FLOAT_EQ(anchored[0].price, 1234.5f);
    ASSERT_TRUE(anchored[0].change);
    EXPECT_FLOAT_EQ(*anchored[0].change, -3.25f);
    EXPECT_EQ(anchored[0].currency, "USD");
    EXPECT_EQ(anchored[0].read,
              (Read{{"price", "1,234.50"}, {"change", "-3.25"}, {"currency", "USD"}}));
}

// How each way of writing a time is read; what is no time reads as none (0).
struct TimeCase {
    const char* name;
    std::string json;  // the value at /t
    std::int64_t time;
};

class SourceAnswerTimeTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(SourceAnswerTimeTest, ReadsTheTimeOrNone) {
    const QuoteSource source = JsonSource("http://h/q/{symbol}", {.symbol = "",
                                                                  .price = "/p",
                                                                  .time = "/t",
                                                                  .change = "",
                                                                  .previousClose = "",
                                                                  .currency = ""});

    const std::vector<SourceQuote> quotes =
        ReadFor(source, {"AB"}, R"({"p":2.5,"t":)" + GetParam().json + "}");

    ASSERT_EQ(quotes.size(), 1u);
    EXPECT_TRUE(quotes[0].found);
    EXPECT_EQ(quotes[0].time, GetParam().time);
}

INSTANTIATE_TEST_SUITE_P(
    Times, SourceAnswerTimeTest,
    ::testing::Values(
        TimeCase{"Seconds", "1733860800", 1733860800},
        TimeCase{"SecondsAsText", "\"1733860800\"", 1733860800},
        TimeCase{"Milliseconds", "1733860800123", 1733860800},
        TimeCase{"DashedDate", "\"2024-12-10\"", kDecember10},
        TimeCase{"CompactDate", "\"20241210\"", kDecember10},
        TimeCase{"DateWithTime", "\"2024-12-10T21:00:00Z\"", kDecember10},
        TimeCase{"LeapDay", "\"2024-02-29\"", kDecember10 - 285 * kDay},
        TimeCase{"Epoch", "\"1970-01-01\"", 43200}, TimeCase{"NoMonth13", "\"2024-13-01\"", 0},
        TimeCase{"CompactNoMonth13", "\"20241301\"", 0},
        TimeCase{"NoFebruary30", "\"2024-02-30\"", 0},
        TimeCase{"NoLeapDayIn2023", "\"2023-02-29\"", 0}, TimeCase{"NoApril31", "20240431", 0},
        TimeCase{"BeforeTheEpoch", "\"1969-12-31\"", 0}, TimeCase{"Negative", "-5", 0},
        TimeCase{"Zero", "0", 0}, TimeCase{"Words", "\"yesterday\"", 0},
        TimeCase{"Null", "null", 0}, TimeCase{"Huge", "1e300", 0}),
    CaseName());

// A hostile server's answer nested a hundred thousand deep is read without a crash.
TEST(SourceAnswerTest, DeeplyNestedAnswerIsNoCrash) {
    const std::string body = std::string(100000, '[') + std::string(100000, ']');
    const QuoteSource source = JsonSource("http://h/q/{symbol}", {.symbol = "",
                                                                  .price = "/0/0/0/0",
                                                                  .time = "",
                                                                  .change = "",
                                                                  .previousClose = "",
                                                                  .currency = ""});

    const std::vector<SourceQuote> quotes = ReadFor(source, {"AB"}, body);

    ASSERT_EQ(quotes.size(), 1u);
    EXPECT_FALSE(quotes[0].found);
    EXPECT_EQ(quotes[0].reason, "the value at /0/0/0/0 is no number");
}

// --- Daily history -------------------------------------------------------------------

using Closes = std::vector<std::pair<std::int64_t, float>>;

TEST(SourceHistoryTest, StooqCsvGivesTheCloseOfEachDay) {
    const SourceCloses read =
        ReadSourceHistory(ReadyMadeAt(kStooq, "h"),
                          "Date,Open,High,Low,Close,Volume\r\n"
                          "2024-12-06,242.91,244.63,242.08,242.84,36870619\r\n"
                          "2024-12-09,241.83,247.24,241.75,246.75,44649232\r\n"
                          "2024-12-10,246.89,248.21,245.34,247.77,36914806");

    EXPECT_EQ(read.problem, "");
    EXPECT_EQ(read.closes, (Closes{{kDecember10 - 4 * kDay, 242.84f},
                                   {kDecember10 - kDay, 246.75f},
                                   {kDecember10, 247.77f}}));
}

// Yahoo gives a null close for a day without trading: it is left out, not read as 0.
TEST(SourceHistoryTest, YahooJsonSkipsANullClose) {
    const SourceCloses read = ReadSourceHistory(
        ReadyMadeAt(kYahooChart, "h"),
        R"({"chart":{"result":[{"meta":{"currency":"USD","symbol":"AAPL"},)"
        R"("timestamp":[1733581800,1733754600,1733841000],)"
        R"("indicators":{"quote":[{"open":[242.91,null,246.89],)"
        R"("close":[242.84,null,247.77]}],"adjclose":[{"adjclose":[242.84,null,247.77]}]}}],)"
        R"("error":null}})");

    EXPECT_EQ(read.problem, "");
    EXPECT_EQ(read.closes, (Closes{{1733581800, 242.84f}, {1733841000, 247.77f}}));
}

struct HistoryCase {
    const char* name;
    const char* source;
    std::string body;
    std::string problem;
    std::size_t closes;
};

class SourceHistoryProblemTest : public ::testing::TestWithParam<HistoryCase> {};

TEST_P(SourceHistoryProblemTest, ReadsWhatItCanAndSaysWhyNothing) {
    const HistoryCase& c = GetParam();

    const SourceCloses read = ReadSourceHistory(ReadyMadeAt(c.source, "h"), c.body);

    EXPECT_EQ(read.problem, c.problem);
    EXPECT_EQ(read.closes.size(), c.closes);
}

std::string YahooHistory(const std::string& timestamps, const std::string& closes) {
    return R"({"chart":{"result":[{"timestamp":)" + timestamps +
           R"(,"indicators":{"quote":[{"close":)" + closes + "}]}}],\"error\":null}}";
}

INSTANTIATE_TEST_SUITE_P(
    Answers, SourceHistoryProblemTest,
    ::testing::Values(
        HistoryCase{"StooqNoData", kStooq, "No data", "the answer has no column \"Date\"", 0},
        HistoryCase{"StooqEmpty", kStooq, "", "the answer has no column \"Date\"", 0},
        HistoryCase{"StooqNoCloseColumn", kStooq, "Date,Open\r\n2024-12-10,1\r\n",
                    "the answer has no column \"Close\"", 0},
        HistoryCase{"StooqHeaderOnly", kStooq, "Date,Open,High,Low,Close,Volume\r\n",
                    "the answer holds no closes", 0},
        HistoryCase{"StooqNoPrices", kStooq,
                    "Date,Open,High,Low,Close,Volume\n2024-12-09,1,1,1,N/D,0\n"
                    "2024-12-10,1,1,1,-2,0\n2024-12-11,1,1,1,0,0\n",
                    "the answer holds no closes", 0},
        HistoryCase{"StooqBadRowsLeftOut", kStooq,
                    "Date,Open,High,Low,Close,Volume\nnot a date,1,1,1,5,0\n2024-12-10,1,1,1\n"
                    "2024-12-11,1,1,1,5,0\n",
                    "", 1},
        HistoryCase{"YahooNoJson", kYahooChart, "<html>rate limited</html>",
                    "the answer is no JSON (at byte 1)", 0},
        HistoryCase{"YahooUnknownSymbol", kYahooChart, YahooChartUnknown(),
                    "/chart/result/0/timestamp is not in the answer", 0},
        HistoryCase{"YahooNoCloses", kYahooChart,
                    R"({"chart":{"result":[{"timestamp":[1733841000]}]}})",
                    "/chart/result/0/indicators/quote/0/close is not in the answer", 0},
        HistoryCase{"YahooClosesNoArray", kYahooChart, YahooHistory("[1733841000]", "247.77"),
                    "/chart/result/0/indicators/quote/0/close is no array", 0},
        HistoryCase{"YahooTimesNoArray", kYahooChart, YahooHistory("1733841000", "[247.77]"),
                    "/chart/result/0/timestamp is no array", 0},
        HistoryCase{"YahooAllNull", kYahooChart, YahooHistory("[1733841000]", "[null]"),
                    "the answer holds no closes", 0},
        HistoryCase{"YahooUnevenArrays", kYahooChart,
                    YahooHistory("[1733581800,1733754600,1733841000]", "[1,2]"), "", 2},
        HistoryCase{"YahooOddEntries", kYahooChart,
                    YahooHistory(R"(["x",{},1733841000])", R"([1,2,"3.5"])"), "", 1}),
    CaseName());

}  // namespace

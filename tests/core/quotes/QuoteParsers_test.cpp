#include "core/quotes/QuoteParsers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/settings/Settings.h"
#include "support/CaseName.h"
#include "support/QuotePages.h"

namespace {

QuoteResult NoData(const std::string& symbol) {
    return {symbol, QuoteOutcome::kNoData, false, 0.0f, 0, 0.0f, 0.0f, {}};
}

QuoteResult NoLine(const std::string& symbol) {
    return {symbol, QuoteOutcome::kNoLine, false, 0.0f, 0, 0.0f, 0.0f, {}};
}

QuoteResult PriceOnly(const std::string& symbol, float price) {
    return {symbol, QuoteOutcome::kFound, false, price, 0, 0.0f, 0.0f, {}};
}

QuoteResult Full(const std::string& symbol, float price, int direction, float change,
                 float extra = 0.0f) {
    return {symbol, QuoteOutcome::kFound, true, price, direction, change, extra, {}};
}

// The page's text at the price is no price: "No Data", and the reason quotes the text.
QuoteResult NoPrice(const std::string& symbol, const std::string& quoted) {
    QuoteResult result = NoData(symbol);
    result.reason = "the page gives " + quoted + ", which is no price";
    return result;
}

struct ParseCase {
    const char* name;
    QuoteParser parser;
    std::string page;
    std::string symbol;
    QuoteResult expected;
};

class QuoteParserTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(QuoteParserTest, ReadsTheSymbolFromItsOwnMarker) {
    const ParseCase& c = GetParam();
    EXPECT_EQ(ParseQuote(c.parser, c.page, c.symbol), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Amex, QuoteParserTest,
    ::testing::Values(
        ParseCase{"AmexFound", QuoteParser::kAmex, AmexRow("AB", "12.50") + AmexRow("CD", "3"),
                  "CD", PriceOnly("CD", 3.0f)},
        ParseCase{"AmexMissing", QuoteParser::kAmex, AmexRow("AB", "12.50"), "CD", NoData("CD")},
        // A "$" within the first 100 characters behind the marker is not looked at.
        ParseCase{"AmexPriceTooClose", QuoteParser::kAmex, "<a>AB</a>$12.50</td>", "AB",
                  NoLine("AB")},
        ParseCase{"AmexUnreadablePrice", QuoteParser::kAmex, AmexRow("AB", "N/A"), "AB",
                  NoPrice("AB", "\"N/A\"")},
        ParseCase{"AmexAbsurdPrice", QuoteParser::kAmex, AmexRow("AB", "1e999"), "AB",
                  NoPrice("AB", "\"1e999\"")},
        ParseCase{"AmexDollarAtEnd", QuoteParser::kAmex, ">AB</a>" + std::string(100, ' ') + "$",
                  "AB", NoPrice("AB", "\"\"")}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    YahooDialog, QuoteParserTest,
    ::testing::Values(
        ParseCase{"YahooFound", QuoteParser::kYahooDialog, "AB <b>12.25</b>\nCD <b>3.5</b>", "CD",
                  PriceOnly("CD", 3.5f)},
        ParseCase{"YahooMissing", QuoteParser::kYahooDialog, "AB <b>12.25</b>", "CD", NoData("CD")},
        ParseCase{"YahooNoB", QuoteParser::kYahooDialog, "XY 12.25", "XY", NoLine("XY")},
        // The first occurrence of the text wins, even inside a longer symbol.
        ParseCase{"YahooInsideLongerSymbol", QuoteParser::kYahooDialog,
                  "ABC <b>40.00</b>\nAB <b>12.25</b>", "AB", PriceOnly("AB", 40.0f)},
        ParseCase{"YahooBAtEnd", QuoteParser::kYahooDialog, "AB b", "AB", NoPrice("AB", "\"\"")}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    YahooWorker, QuoteParserTest,
    ::testing::Values(
        ParseCase{"WorkerUp", QuoteParser::kYahooWorker, "AB <b>12.25</b>, 11.75 - 0.50", "AB",
                  Full("AB", 12.25f, 1, 0.5f, 11.75f)},
        ParseCase{"WorkerDown", QuoteParser::kYahooWorker, "AB <b>12.25</b>, 12.75 - -0.50", "AB",
                  Full("AB", 12.25f, -1, -0.5f, 12.75f)},
        ParseCase{"WorkerNoDash", QuoteParser::kYahooWorker, "AB <b>12.25</b>, 12.75", "AB",
                  Full("AB", 12.25f, 0, 0.0f, 12.75f)},
        ParseCase{"WorkerNoComma", QuoteParser::kYahooWorker, "AB <b>12.25</b>", "AB",
                  Full("AB", 12.25f, 0, 0.0f, 0.0f)},
        // No "<b>": no price was read, so nothing may be stored.
        ParseCase{"WorkerNoBold", QuoteParser::kYahooWorker, "AB 12.25, 11.75 - 0.50", "AB",
                  NoLine("AB")},
        ParseCase{"WorkerMissing", QuoteParser::kYahooWorker, "CD <b>1</b>", "AB", NoData("AB")},
        ParseCase{"WorkerCommaAtEnd", QuoteParser::kYahooWorker, "AB <b>2</b>,", "AB",
                  Full("AB", 2.0f, 0, 0.0f, 0.0f)}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Nasdaq, QuoteParserTest,
    ::testing::Values(ParseCase{"NasdaqUp", QuoteParser::kNasdaq,
                                NasdaqRow("AB", "12.5", NasdaqTail("up", "0.25")), "AB",
                                Full("AB", 12.5f, 1, 0.25f)},
                      ParseCase{"NasdaqDown", QuoteParser::kNasdaq,
                                NasdaqRow("AB", "12.5", NasdaqTail("down", "0.75")), "AB",
                                Full("AB", 12.5f, -1, 0.75f)},
                      ParseCase{"NasdaqUnchanged", QuoteParser::kNasdaq,
                                NasdaqRow("AB", "12.5", NasdaqTail("unch", "0")), "AB",
                                Full("AB", 12.5f, 0, 0.0f)},
                      ParseCase{"NasdaqNoImageNoChange", QuoteParser::kNasdaq,
                                NasdaqRow("AB", "12.5", "<font color=\"008000\">0.25</font>"), "AB",
                                Full("AB", 12.5f, 0, 0.0f)},
                      ParseCase{"NasdaqImageWithoutFont", QuoteParser::kNasdaq,
                                NasdaqRow("AB", "12.5", "<img src=\"/images/nc_up.gif\">"), "AB",
                                Full("AB", 12.5f, 1, 0.0f)},
                      // Unlike the other two, NASDAQ lists a marker without its price as "No Data".
                      ParseCase{"NasdaqNoDollar", QuoteParser::kNasdaq,
                                "AB</font>" + std::string(300, ' ') + "12.5", "AB", NoData("AB")},
                      ParseCase{"NasdaqPageShorterThanOffset", QuoteParser::kNasdaq,
                                "AB</font> $&nbsp;12.5", "AB", NoData("AB")},
                      ParseCase{"NasdaqPriceCutOff", QuoteParser::kNasdaq,
                                "AB</font>" + std::string(250, ' ') + "$&nb", "AB",
                                NoPrice("AB", "\"\"")},
                      ParseCase{"NasdaqMissing", QuoteParser::kNasdaq, NasdaqRow("CD", "1", ""),
                                "AB", NoData("AB")},
                      ParseCase{"NasdaqChangeCutOff", QuoteParser::kNasdaq,
                                NasdaqRow("AB", "12.5", "/images/nc_up<font color"), "AB",
                                Full("AB", 12.5f, 1, 0.0f)}),
    CaseName());

TEST(QuoteParserTest, EmptyPageFindsNoSymbol) {
    for (const QuoteParser parser : {QuoteParser::kAmex, QuoteParser::kYahooDialog,
                                     QuoteParser::kYahooWorker, QuoteParser::kNasdaq}) {
        EXPECT_EQ(ParseQuotePage(parser, "", {"AB", "CD"}),
                  (std::vector<QuoteResult>{NoData("AB"), NoData("CD")}));
    }
}

// A page that lacks one symbol leaves the others of its batch alone.
TEST(QuoteParserTest, PageMissingOneSymbolStillReadsTheOthers) {
    const std::string page = NasdaqRow("AB", "1.5", NasdaqTail("up", "0.1")) +
                             NasdaqRow("EF", "2.5", NasdaqTail("down", "0.2"));
    EXPECT_EQ(ParseQuotePage(QuoteParser::kNasdaq, page, {"AB", "CD", "EF"}),
              (std::vector<QuoteResult>{Full("AB", 1.5f, 1, 0.1f), NoData("CD"),
                                        Full("EF", 2.5f, -1, 0.2f)}));
}

struct ParserForCase {
    const char* name;
    QuoteServer source;
    QuoteCaller caller;
    std::optional<QuoteParser> expected;
};

class ParserForTest : public ::testing::TestWithParam<ParserForCase> {};

TEST_P(ParserForTest, PicksTheCallersReader) {
    EXPECT_EQ(ParserFor(GetParam().source, GetParam().caller), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, ParserForTest,
    ::testing::Values(ParserForCase{"DialogAmex", QuoteServer::kAmex, QuoteCaller::kDialog,
                                    QuoteParser::kAmex},
                      ParserForCase{"DialogYahoo", QuoteServer::kYahoo, QuoteCaller::kDialog,
                                    QuoteParser::kYahooDialog},
                      ParserForCase{"DialogNasdaq", QuoteServer::kNasdaq, QuoteCaller::kDialog,
                                    QuoteParser::kNasdaq},
                      ParserForCase{"WorkerAmexFetchesNothing", QuoteServer::kAmex,
                                    QuoteCaller::kWorker, std::nullopt},
                      ParserForCase{"WorkerYahoo", QuoteServer::kYahoo, QuoteCaller::kWorker,
                                    QuoteParser::kYahooWorker},
                      ParserForCase{"WorkerNasdaq", QuoteServer::kNasdaq, QuoteCaller::kWorker,
                                    QuoteParser::kNasdaq},
                      ParserForCase{"UnknownSource", static_cast<QuoteServer>(3),
                                    QuoteCaller::kDialog, std::nullopt},
                      ParserForCase{"NegativeSource", static_cast<QuoteServer>(-1),
                                    QuoteCaller::kWorker, std::nullopt}),
    CaseName());

// A page's garbage is no price, whichever page reader finds it: nothing is stored, and the
// "No Data" line says what the page gave. A sane price beside it still reads.
struct HostilePriceCase {
    const char* name;
    const char* text;
    bool isPrice;
    float price;
};

class HostilePriceTest : public ::testing::TestWithParam<HostilePriceCase> {};

TEST_P(HostilePriceTest, OnlyAFinitePositiveNumberBelowTheBoundIsAPrice) {
    const HostilePriceCase& c = GetParam();
    const std::vector<std::pair<QuoteParser, std::string>> pages{
        {QuoteParser::kAmex, AmexRow("AB", c.text)},
        {QuoteParser::kYahooDialog, std::string("AB <b>") + c.text + "</b>"},
        {QuoteParser::kYahooWorker, std::string("AB <b>") + c.text + "</b>, 1 - 2"},
        {QuoteParser::kNasdaq, NasdaqRow("AB", c.text, NasdaqTail("up", "0.25"))},
    };
    for (const auto& [parser, page] : pages) {
        const QuoteResult result = ParseQuote(parser, page, "AB");
        SCOPED_TRACE(page);
        if (c.isPrice) {
            EXPECT_EQ(result.outcome, QuoteOutcome::kFound);
            EXPECT_FLOAT_EQ(result.price, c.price);
            EXPECT_EQ(result.reason, "");
        } else {
            EXPECT_EQ(result.outcome, QuoteOutcome::kNoData);
            EXPECT_EQ(result.price, 0.0f);
            EXPECT_NE(result.reason.find(std::string("\"") + c.text + "\""), std::string::npos)
                << result.reason;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, HostilePriceTest,
    ::testing::Values(HostilePriceCase{"word", "abc", false, 0.0f},
                      HostilePriceCase{"NaN", "NaN", false, 0.0f},
                      HostilePriceCase{"inf", "inf", false, 0.0f},
                      HostilePriceCase{"overflow", "1e309", false, 0.0f},
                      HostilePriceCase{"hexadecimal", "0x1p3", false, 0.0f},
                      HostilePriceCase{"underflow", "1e-50", false, 0.0f},
                      HostilePriceCase{"subnormal", "1e-40", false, 0.0f},
                      HostilePriceCase{"negative", "-5", false, 0.0f},
                      HostilePriceCase{"zero", "0.00", false, 0.0f},
                      HostilePriceCase{"float_max", "3.4e38", false, 0.0f},
                      HostilePriceCase{"at_the_bound", "1000000000", false, 0.0f},
                      HostilePriceCase{"plain", "12.50", true, 12.5f},
                      HostilePriceCase{"tiny", "0.0001", true, 0.0001f},
                      HostilePriceCase{"below_the_bound", "999999", true, 999999.0f}),
    CaseName());

// The reason quotes the page, but a hostile page's escape sequences and stray bytes do not
// travel with it to the list or a terminal.
TEST(QuoteParserTest, ReasonQuotesThePageWithoutItsControlBytes) {
    const QuoteResult result = ParseQuote(QuoteParser::kYahooDialog,
                                          "AB <b>\x1b]0;owned\x07\xff\x9b"
                                          "2J</b>",
                                          "AB");
    EXPECT_EQ(result.outcome, QuoteOutcome::kNoData);
    EXPECT_EQ(result.reason, "the page gives \"?]0;owned???2J\", which is no price");

    const QuoteResult longWord =
        ParseQuote(QuoteParser::kYahooDialog, "AB <b>" + std::string(5000, 'x'), "AB");
    EXPECT_EQ(longWord.reason,
              "the page gives \"" + std::string(24, 'x') + "\", which is no price");
}

// A change beside a good price that no page could mean is not stored either.
TEST(QuoteParserTest, AbsurdChangeBesideAPriceReadsAsZero) {
    const QuoteResult yahoo =
        ParseQuote(QuoteParser::kYahooWorker, "AB <b>12.5</b>, 3e38 - -3.4e38", "AB");
    EXPECT_EQ(yahoo.outcome, QuoteOutcome::kFound);
    EXPECT_EQ(yahoo.extra, 0.0f);
    EXPECT_EQ(yahoo.change, 0.0f);
    EXPECT_EQ(yahoo.direction, 0);
}

// Starting points for the page readers' fuzz targets (scripts/fuzz.sh): a length byte, the
// symbol, then the page, as tests/fuzz/QuoteFuzzInput.h splits its input.
TEST(QuoteFuzzSeeds, WritesSeedFiles) {
    const char* dir = std::getenv("VELMORA_FUZZ_SEEDS");
    if (dir == nullptr) {
        GTEST_SKIP() << "VELMORA_FUZZ_SEEDS not set";
    }
    const auto write = [&](const char* target, const std::string& page) {
        const std::filesystem::path folder = std::filesystem::path(dir) / target;
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "page.txt", std::ios::binary) << '\x01' << "AB" << page;
    };
    write("quote_amex", AmexRow("AB", "12.50") + AmexRow("CD", "3"));
    write("quote_yahoo_dialog", "AB <b>12.25</b>\nCD <b>3.5</b>");
    write("quote_yahoo_worker", "AB <b>12.25</b>, 12.75 - -0.50\n");
    write("quote_nasdaq", NasdaqRow("AB", "12.5", NasdaqTail("up", "0.25")));
}

}  // namespace

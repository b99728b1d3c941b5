#include "core/quotes/PriceHistory.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/model/LocalTime.h"
#include "support/CaseName.h"
#include "support/TempFolder.h"

namespace {

PriceDay Day(int year, int month, int day) {
    const std::optional<PriceDay> result = PriceDayOf(year, month, day);
    EXPECT_TRUE(result.has_value()) << year << "-" << month << "-" << day;
    return result.value_or(0);
}

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// --- Days -----------------------------------------------------------------------------

struct DayCase {
    const char* name;
    const char* text;
    PriceDay day;
};

class PriceHistoryDayTest : public ::testing::TestWithParam<DayCase> {};

TEST_P(PriceHistoryDayTest, TextAndDayAgree) {
    const DayCase& c = GetParam();
    EXPECT_EQ(ParsePriceDay(c.text), c.day);
    EXPECT_EQ(PriceDayText(c.day), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    PriceHistoryDates, PriceHistoryDayTest,
    ::testing::Values(DayCase{.name = "epoch", .text = "1970-01-01", .day = 0},
                      DayCase{.name = "day_before_epoch", .text = "1969-12-31", .day = -1},
                      DayCase{.name = "leap_day_2000", .text = "2000-02-29", .day = 11016},
                      DayCase{.name = "leap_day_2024", .text = "2024-02-29", .day = 19782},
                      DayCase{.name = "first", .text = "0001-01-01", .day = kFirstPriceDay},
                      DayCase{.name = "last", .text = "9999-12-31", .day = kLastPriceDay}),
    CaseName());

TEST(PriceHistoryDays, RefusesTextsThatAreNoDate) {
    for (const char* text :
         {"", "2023-02-29", "1900-02-29", "2024-13-01", "2024-00-10", "2024-04-31", "2024-01-32",
          "0000-12-31", "2024-1-01", "2024/01/01", "20240101", " 2024-01-01", "2024-01-01 ",
          "+024-01-01", "2024-01-0a", "12024-01-01"}) {
        EXPECT_EQ(ParsePriceDay(text), std::nullopt) << '"' << text << '"';
    }
    EXPECT_EQ(PriceDayOf(2023, 2, 29), std::nullopt);
    EXPECT_EQ(PriceDayOf(10000, 1, 1), std::nullopt);
    EXPECT_EQ(PriceDayOf(2024, -1, 1), std::nullopt);
    EXPECT_EQ(PriceDayOf(2024, 1, 256), std::nullopt);
    EXPECT_EQ(PriceDayText(kFirstPriceDay - 1), "");
    EXPECT_EQ(PriceDayText(kLastPriceDay + 1), "");
}

// The day is the local calendar date (TZ=America/New_York), not the UTC one.
TEST(PriceHistoryDays, DayOfATimeIsItsLocalDate) {
    EXPECT_EQ(PriceDayAt(LocalTimeOf(2024, 1, 1)), Day(2024, 1, 1));
    EXPECT_EQ(PriceDayAt(LocalTimeOf(2024, 1, 1) - 1), Day(2023, 12, 31));
    EXPECT_EQ(PriceDayAt(LocalTimeOf(2024, 3, 10, 23, 59, 59)), Day(2024, 3, 10));
    // 2024-01-01 03:00 UTC is still New Year's Eve in New York.
    EXPECT_EQ(PriceDayAt(1704078000), Day(2023, 12, 31));
}

// --- The history in memory -----------------------------------------------------------

TEST(PriceHistory, LaterRecordOfADayReplacesTheEarlier) {
    PriceHistory history;
    EXPECT_TRUE(history.Empty());
    EXPECT_TRUE(history.Record("AAPL", Day(2024, 1, 2), 185.5f));
    EXPECT_TRUE(history.Record("AAPL", Day(2024, 1, 3), 184.0f));
    EXPECT_TRUE(history.Record("AAPL", Day(2024, 1, 2), 186.25f));

    EXPECT_EQ(history.Size(), 2U);
    EXPECT_FALSE(history.Empty());
    const std::map<PriceDay, float> expected{{Day(2024, 1, 2), 186.25f}, {Day(2024, 1, 3), 184.0f}};
    ASSERT_NE(history.Closes("AAPL"), nullptr);
    EXPECT_EQ(*history.Closes("AAPL"), expected);
}

TEST(PriceHistory, RefusesWhatTheFileCouldNotGiveBack) {
    const PriceDay day = Day(2024, 1, 2);
    struct Refused {
        std::string symbol;
        PriceDay day;
        float close;
    };
    const std::vector<Refused> refused{
        {.symbol = "AAPL", .day = day, .close = 0.0f},
        {.symbol = "AAPL", .day = day, .close = -1.0f},
        {.symbol = "AAPL", .day = day, .close = std::numeric_limits<float>::quiet_NaN()},
        {.symbol = "AAPL", .day = day, .close = std::numeric_limits<float>::infinity()},
        {.symbol = "AAPL", .day = kFirstPriceDay - 1, .close = 1.0f},
        {.symbol = "AAPL", .day = kLastPriceDay + 1, .close = 1.0f},
        {.symbol = "", .day = day, .close = 1.0f},
        {.symbol = "A\nB", .day = day, .close = 1.0f},
        {.symbol = "A\rB", .day = day, .close = 1.0f},
        {.symbol = std::string(kMaxPriceSymbolBytes + 1, 'A'), .day = day, .close = 1.0f},
    };
    PriceHistory history;
    for (const Refused& r : refused) {
        EXPECT_FALSE(history.Record(r.symbol, r.day, r.close)) << r.symbol << " " << r.close;
    }
    EXPECT_TRUE(history.Empty());
    EXPECT_TRUE(history.Symbols().empty());
    // The bounds themselves are kept.
    EXPECT_TRUE(history.Record(std::string(kMaxPriceSymbolBytes, 'A'), kLastPriceDay, 1e-40f));
    EXPECT_TRUE(history.Record("A", kFirstPriceDay, std::numeric_limits<float>::max()));
}

TEST(PriceHistory, CloseOnCarriesTheLastCloseForward) {
    PriceHistory history;
    history.Record("MSFT", Day(2024, 3, 8), 406.0f);   // Friday
    history.Record("MSFT", Day(2024, 3, 11), 404.5f);  // Monday
    history.Record("MSFT", Day(2024, 3, 14), 425.2f);

    EXPECT_EQ(history.CloseOn("MSFT", Day(2024, 3, 7)), std::nullopt);
    EXPECT_EQ(history.CloseOn("MSFT", Day(2024, 3, 8)), 406.0f);
    EXPECT_EQ(history.CloseOn("MSFT", Day(2024, 3, 9)), 406.0f);
    EXPECT_EQ(history.CloseOn("MSFT", Day(2024, 3, 10)), 406.0f);
    EXPECT_EQ(history.CloseOn("MSFT", Day(2024, 3, 11)), 404.5f);
    EXPECT_EQ(history.CloseOn("MSFT", Day(2024, 3, 13)), 404.5f);
    EXPECT_EQ(history.CloseOn("MSFT", Day(2024, 3, 14)), 425.2f);
    EXPECT_EQ(history.CloseOn("MSFT", Day(2030, 1, 1)), 425.2f);
    EXPECT_EQ(history.CloseOn("IBM", Day(2024, 3, 14)), std::nullopt);
}

TEST(PriceHistory, SymbolsAreComparedExactly) {
    PriceHistory history;
    history.Record("BRK.B", Day(2024, 1, 2), 360.0f);
    history.Record("brk.b", Day(2024, 1, 2), 1.0f);

    EXPECT_EQ(history.Symbols(), (std::vector<std::string>{"BRK.B", "brk.b"}));
    EXPECT_EQ(history.CloseOn("BRK.B", Day(2024, 1, 2)), 360.0f);
    EXPECT_EQ(history.Closes("BRK.B "), nullptr);
    EXPECT_EQ(history.Closes("BRK"), nullptr);
}

// --- The file ------------------------------------------------------------------------

class PriceHistoryFileTest : public ::testing::Test {
protected:
    TempFolder temp{"velmora-prices"};
    std::string path = PriceHistoryPath((temp.Path() / "p.kx7").string());
};

TEST_F(PriceHistoryFileTest, SitsBesideThePortfolio) {
    EXPECT_EQ(PriceHistoryPath("/home/me/Stocks.kx7"), "/home/me/Stocks.kx7.prices");
}

TEST_F(PriceHistoryFileTest, WrittenHistoryReadsBackTheSame) {
    PriceHistory history;
    history.Record("MSFT", Day(2024, 3, 11), 404.5f);
    history.Record("MSFT", Day(2024, 3, 8), 406.0f);
    history.Record("BRK,B", Day(2024, 3, 8), 545.2f);
    history.Record("say \"hi\"", Day(2024, 3, 8), 2.0f);
    history.Record("Société", Day(1969, 7, 20), 0.5f);

    ASSERT_EQ(WritePriceHistory(path, history), "");
    EXPECT_EQ(ReadText(path),
              "Symbol,Date,Close\n"
              "\"BRK,B\",2024-03-08,545.2\n"
              "MSFT,2024-03-08,406\n"
              "MSFT,2024-03-11,404.5\n"
              "Société,1969-07-20,0.5\n"
              "\"say \"\"hi\"\"\",2024-03-08,2\n");

    const LoadedPriceHistory loaded = LoadPriceHistory(path);
    EXPECT_EQ(loaded.problems, std::vector<std::string>{});
    EXPECT_EQ(loaded.lines, 5U);
    EXPECT_EQ(loaded.history.Symbols(), history.Symbols());
    for (const std::string& symbol : history.Symbols()) {
        EXPECT_EQ(*loaded.history.Closes(symbol), *history.Closes(symbol)) << symbol;
    }
    // No temporary file is left beside it, and no backup is kept of a file rewritten whole.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

// Every float comes back bit for bit, whatever its size: the shortest text that reads back.
TEST_F(PriceHistoryFileTest, ClosesReadBackBitForBit) {
    const std::vector<float> closes{0.1f,
                                    123456.7f,
                                    1.0f / 3.0f,
                                    16777217.0f,
                                    1e-40f,
                                    std::numeric_limits<float>::denorm_min(),
                                    std::numeric_limits<float>::min(),
                                    std::numeric_limits<float>::max(),
                                    std::nextafter(100.0f, 200.0f)};
    PriceHistory history;
    for (std::size_t at = 0; at < closes.size(); ++at) {
        ASSERT_TRUE(history.Record("X", static_cast<PriceDay>(at), closes[at]));
    }
    ASSERT_EQ(WritePriceHistory(path, history), "");

    const LoadedPriceHistory loaded = LoadPriceHistory(path);
    ASSERT_EQ(loaded.problems, std::vector<std::string>{});
    for (std::size_t at = 0; at < closes.size(); ++at) {
        const std::optional<float> close = loaded.history.CloseOn("X", static_cast<PriceDay>(at));
        ASSERT_TRUE(close.has_value());
        EXPECT_EQ(std::bit_cast<std::uint32_t>(*close), std::bit_cast<std::uint32_t>(closes[at]))
            << closes[at];
    }
}

TEST_F(PriceHistoryFileTest, AppendStartsTheFileAndALaterLineReplacesTheDay) {
    const PriceDay monday = Day(2024, 3, 11);
    ASSERT_EQ(AppendPrices(path, {{.symbol = "MSFT", .day = monday, .close = 400.0f},
                                  {.symbol = "IBM", .day = monday, .close = 190.0f}}),
              "");
    ASSERT_EQ(AppendPrices(path, {{.symbol = "MSFT", .day = monday, .close = 404.5f}}), "");
    EXPECT_EQ(ReadText(path),
              "Symbol,Date,Close\n"
              "MSFT,2024-03-11,400\n"
              "IBM,2024-03-11,190\n"
              "MSFT,2024-03-11,404.5\n");

    const LoadedPriceHistory loaded = LoadPriceHistory(path);
    EXPECT_EQ(loaded.problems, std::vector<std::string>{});
    EXPECT_EQ(loaded.lines, 3U);
    EXPECT_EQ(loaded.history.Size(), 2U);
    EXPECT_EQ(loaded.history.CloseOn("MSFT", monday), 404.5f);
    EXPECT_EQ(loaded.history.CloseOn("IBM", monday), 190.0f);
}

TEST_F(PriceHistoryFileTest, AppendToAnEmptyFileWritesTheHeader) {
    WriteText(path, "");
    ASSERT_EQ(AppendPrices(path, {{.symbol = "IBM", .day = 0, .close = 1.5f}}), "");
    EXPECT_EQ(ReadText(path), "Symbol,Date,Close\nIBM,1970-01-01,1.5\n");
}

// A crash in the middle of an append leaves a line without its end; the next append must
// not run its first line on from it.
TEST_F(PriceHistoryFileTest, AppendAfterACutShortLineKeepsTheNewLine) {
    WriteText(path, "Symbol,Date,Close\nMSFT,2024-03-08,406\nMSFT,2024-03-1");
    ASSERT_EQ(AppendPrices(path, {{.symbol = "IBM", .day = Day(2024, 3, 11), .close = 190.0f}}),
              "");

    const LoadedPriceHistory loaded = LoadPriceHistory(path);
    EXPECT_EQ(loaded.problems, std::vector<std::string>{
                                   "line 3: 2 fields where a line holds 3 (Symbol,Date,Close)"});
    EXPECT_EQ(loaded.history.CloseOn("IBM", Day(2024, 3, 11)), 190.0f);
    EXPECT_EQ(loaded.history.CloseOn("MSFT", Day(2024, 3, 11)), 406.0f);
}

TEST_F(PriceHistoryFileTest, AppendRefusesAnyBadEntryBeforeWriting) {
    ASSERT_EQ(AppendPrices(path, {{.symbol = "IBM", .day = 0, .close = 1.0f}}), "");
    const std::string before = ReadText(path);

    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const PriceEntry& bad :
         {PriceEntry{.symbol = "IBM", .day = 1, .close = nan},
          PriceEntry{.symbol = "", .day = 1, .close = 1.0f},
          PriceEntry{.symbol = "IBM", .day = kLastPriceDay + 1, .close = 1.0f}}) {
        const std::string error =
            AppendPrices(path, {{.symbol = "MSFT", .day = 1, .close = 2.0f}, bad});
        EXPECT_NE(error.find(path), std::string::npos) << error;
    }
    EXPECT_EQ(ReadText(path), before);
    EXPECT_EQ(AppendPrices(path, {{.symbol = "IBM", .day = 1, .close = nan}}),
              "Could not add prices to \"" + path +
                  "\": the close of \"IBM\" on 1970-01-02 is no price.");
}

TEST_F(PriceHistoryFileTest, MissingFileIsAnEmptyHistory) {
    const LoadedPriceHistory loaded = LoadPriceHistory(path);
    EXPECT_TRUE(loaded.history.Empty());
    EXPECT_EQ(loaded.lines, 0U);
    EXPECT_EQ(loaded.problems, std::vector<std::string>{});
}

// A folder where the file should be is refused by every operation with a message naming it.
TEST_F(PriceHistoryFileTest, RefusesAFolderInPlaceOfTheFile) {
    std::filesystem::create_directory(path);
    const LoadedPriceHistory loaded = LoadPriceHistory(path);
    EXPECT_TRUE(loaded.history.Empty());
    ASSERT_EQ(loaded.problems.size(), 1U);
    EXPECT_NE(loaded.problems[0].find(path), std::string::npos) << loaded.problems[0];

    const std::string appended = AppendPrices(path, {{.symbol = "IBM", .day = 0, .close = 1.0f}});
    EXPECT_NE(appended.find(path), std::string::npos) << appended;
    PriceHistory history;
    history.Record("IBM", 0, 1.0f);
    const std::string written = WritePriceHistory(path, history);
    EXPECT_NE(written.find(path), std::string::npos) << written;
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

// Opening a FIFO waits for its other end; reading and appending must refuse it instead.
TEST_F(PriceHistoryFileTest, RefusesAFifoWithoutWaiting) {
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    const LoadedPriceHistory loaded = LoadPriceHistory(path);
    EXPECT_TRUE(loaded.history.Empty());
    ASSERT_EQ(loaded.problems.size(), 1U);
    EXPECT_NE(loaded.problems[0].find("not a regular file"), std::string::npos)
        << loaded.problems[0];

    EXPECT_EQ(AppendPrices(path, {{.symbol = "IBM", .day = 0, .close = 1.0f}}),
              "Could not add prices to \"" + path + "\": it is not a regular file.");
}

TEST_F(PriceHistoryFileTest, RefusesAFileOverTheLimitWhole) {
    WriteText(path, "Symbol,Date,Close\nIBM,1970-01-01,1\n");
    const LoadedPriceHistory loaded = LoadPriceHistory(path, 20);
    EXPECT_TRUE(loaded.history.Empty());
    ASSERT_EQ(loaded.problems.size(), 1U);
    EXPECT_NE(loaded.problems[0].find("too large"), std::string::npos) << loaded.problems[0];
}

// --- Damaged files -------------------------------------------------------------------

struct DamageCase {
    const char* name;
    std::string line;     // put between two good lines, as line 3
    std::string problem;  // empty: the line is read
};

class PriceHistoryDamageTest : public ::testing::TestWithParam<DamageCase> {
protected:
    TempFolder temp{"velmora-prices"};
};

// A bad line is skipped and named; the lines around it are still read.
TEST_P(PriceHistoryDamageTest, SkipsAndNamesTheBadLine) {
    const DamageCase& c = GetParam();
    const std::filesystem::path path = temp.Path() / "p.kx7.prices";
    WriteText(path, "Symbol,Date,Close\nAAA,2024-01-02,1\n" + c.line + "\nZZZ,2024-01-02,2\n");

    const LoadedPriceHistory loaded = LoadPriceHistory(path.string());
    EXPECT_EQ(loaded.problems,
              c.problem.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.problem});
    EXPECT_EQ(loaded.lines, 3U);
    EXPECT_EQ(loaded.history.Size(), c.problem.empty() ? 3U : 2U);
    EXPECT_EQ(loaded.history.CloseOn("AAA", Day(2024, 1, 2)), 1.0f);
    EXPECT_EQ(loaded.history.CloseOn("ZZZ", Day(2024, 1, 2)), 2.0f);
}

INSTANTIATE_TEST_SUITE_P(
    PriceHistoryLines, PriceHistoryDamageTest,
    ::testing::Values(
        DamageCase{.name = "good", .line = "MMM,2024-01-02,3", .problem = ""},
        DamageCase{.name = "crlf", .line = "MMM,2024-01-02,3\r", .problem = ""},
        DamageCase{.name = "quoted", .line = "\"M,\"\"M\",2024-01-02,3", .problem = ""},
        DamageCase{.name = "exponent", .line = "MMM,2024-01-02,3e2", .problem = ""},
        DamageCase{.name = "two_fields",
                   .line = "MMM,2024-01-02",
                   .problem = "line 3: 2 fields where a line holds 3 (Symbol,Date,Close)"},
        DamageCase{.name = "four_fields",
                   .line = "MMM,2024-01-02,3,4",
                   .problem = "line 3: 4 fields where a line holds 3 (Symbol,Date,Close)"},
        DamageCase{.name = "one_field",
                   .line = "garbage",
                   .problem = "line 3: 1 field where a line holds 3 (Symbol,Date,Close)"},
        DamageCase{.name = "no_such_date",
                   .line = "MMM,2023-02-29,3",
                   .problem = "line 3: the date \"2023-02-29\" is no date"},
        DamageCase{.name = "other_date_order",
                   .line = "MMM,01/02/2024,3",
                   .problem = "line 3: the date \"01/02/2024\" is no date"},
        DamageCase{.name = "word_close",
                   .line = "MMM,2024-01-02,abc",
                   .problem = "line 3: the close \"abc\" is no price"},
        DamageCase{.name = "empty_close",
                   .line = "MMM,2024-01-02,",
                   .problem = "line 3: the close \"\" is no price"},
        DamageCase{.name = "zero_close",
                   .line = "MMM,2024-01-02,0",
                   .problem = "line 3: the close \"0\" is no price"},
        DamageCase{.name = "negative_close",
                   .line = "MMM,2024-01-02,-5",
                   .problem = "line 3: the close \"-5\" is no price"},
        DamageCase{.name = "infinite_close",
                   .line = "MMM,2024-01-02,inf",
                   .problem = "line 3: the close \"inf\" is no price"},
        DamageCase{.name = "nan_close",
                   .line = "MMM,2024-01-02,nan",
                   .problem = "line 3: the close \"nan\" is no price"},
        DamageCase{.name = "beyond_float",
                   .line = "MMM,2024-01-02,1e39",
                   .problem = "line 3: the close \"1e39\" is no price"},
        DamageCase{.name = "close_with_trailing_text",
                   .line = "MMM,2024-01-02,3 USD",
                   .problem = "line 3: the close \"3 USD\" is no price"},
        DamageCase{.name = "long_close_cut_in_message",
                   .line = "MMM,2024-01-02," + std::string(100, '9') + "x",
                   .problem = "line 3: the close \"" + std::string(40, '9') + "...\" is no price"},
        DamageCase{.name = "empty_symbol",
                   .line = ",2024-01-02,3",
                   .problem = "line 3: the symbol is empty"},
        DamageCase{.name = "long_symbol",
                   .line = std::string(kMaxPriceSymbolBytes + 1, 'M') + ",2024-01-02,3",
                   .problem = "line 3: the symbol is longer than 256 bytes"},
        DamageCase{.name = "unclosed_quote",
                   .line = "\"MMM,2024-01-02,3",
                   .problem = "line 3: a quote is not closed"},
        DamageCase{.name = "text_after_closing_quote",
                   .line = "\"MM\"M,2024-01-02,3",
                   .problem = "line 3: a quoted field goes on after its closing quote"},
        DamageCase{.name = "quote_inside_unquoted",
                   .line = "M\"M,2024-01-02,3",
                   .problem = "line 3: a field that is not quoted holds a quote"}),
    CaseName());

TEST(PriceHistoryDamage, CutShortLastLineIsSkipped) {
    TempFolder temp("velmora-prices");
    const std::filesystem::path path = temp.Path() / "p.kx7.prices";
    // "12" reads as a price: only the missing line end shows that "123.5" was cut short.
    WriteText(path, "Symbol,Date,Close\r\nAAA,2024-01-02,1\r\nAAA,2024-01-03,12");

    const LoadedPriceHistory loaded = LoadPriceHistory(path.string());
    EXPECT_EQ(loaded.problems,
              std::vector<std::string>{"line 3: the line is cut short, without its line end"});
    EXPECT_EQ(loaded.lines, 2U);
    EXPECT_EQ(loaded.history.Size(), 1U);
    EXPECT_EQ(loaded.history.CloseOn("AAA", Day(2024, 1, 3)), 1.0f);
}

struct HeaderCase {
    const char* name;
    std::string text;
    std::vector<std::string> problems;
    std::size_t closes;
};

class PriceHistoryHeaderTest : public ::testing::TestWithParam<HeaderCase> {
protected:
    TempFolder temp{"velmora-prices"};
};

// Whatever the first line is, the closes after it are read.
TEST_P(PriceHistoryHeaderTest, ReadsTheClosesWhateverTheHeader) {
    const HeaderCase& c = GetParam();
    const std::filesystem::path path = temp.Path() / "p.kx7.prices";
    WriteText(path, c.text);

    const LoadedPriceHistory loaded = LoadPriceHistory(path.string());
    EXPECT_EQ(loaded.problems, c.problems);
    EXPECT_EQ(loaded.history.Size(), c.closes);
    EXPECT_EQ(loaded.history.CloseOn("BBB", Day(2024, 1, 3)), 2.0f);
}

INSTANTIATE_TEST_SUITE_P(
    PriceHistoryHeaders, PriceHistoryHeaderTest,
    ::testing::Values(HeaderCase{.name = "byte_order_mark",
                                 .text = "\xEF\xBB\xBFSymbol,Date,Close\nBBB,2024-01-03,2\n",
                                 .problems = {},
                                 .closes = 1},
                      HeaderCase{.name = "missing",
                                 .text = "AAA,2024-01-02,1\nBBB,2024-01-03,2\n",
                                 .problems = {"line 1: the header Symbol,Date,Close is missing"},
                                 .closes = 2},
                      HeaderCase{.name = "other_words",
                                 .text = "Ticker,Day,Price\nBBB,2024-01-03,2\n",
                                 .problems = {"line 1: \"Ticker,Day,Price\" is not the header "
                                              "Symbol,Date,Close"},
                                 .closes = 1},
                      HeaderCase{.name = "blank_first_line",
                                 .text = "\nBBB,2024-01-03,2\n",
                                 .problems = {"line 1: \"\" is not the header Symbol,Date,Close"},
                                 .closes = 1}),
    CaseName());

TEST(PriceHistoryDamage, ListsTwentyProblemsThenCountsTheRest) {
    TempFolder temp("velmora-prices");
    const std::filesystem::path path = temp.Path() / "p.kx7.prices";
    std::string text = "Symbol,Date,Close\n";
    for (int line = 0; line < 25; ++line) {
        text += "AAA,2024-01-02,x\n";
    }
    text += "AAA,2024-01-02,7\n";
    WriteText(path, text);

    const LoadedPriceHistory loaded = LoadPriceHistory(path.string());
    ASSERT_EQ(loaded.problems.size(), 21U);
    EXPECT_EQ(loaded.problems.front(), "line 2: the close \"x\" is no price");
    EXPECT_EQ(loaded.problems[19], "line 21: the close \"x\" is no price");
    EXPECT_EQ(loaded.problems.back(), "and 5 more");
    EXPECT_EQ(loaded.lines, 26U);
    EXPECT_EQ(loaded.history.CloseOn("AAA", Day(2024, 1, 2)), 7.0f);
}

TEST(PriceHistoryCompacting, WantedOnceLinesExceedTwiceTheClosesAndAThousand) {
    LoadedPriceHistory loaded;
    loaded.history.Record("AAA", 1, 1.0f);
    loaded.history.Record("AAA", 2, 1.0f);
    loaded.lines = 1004;
    EXPECT_FALSE(PriceHistoryWantsCompacting(loaded));
    loaded.lines = 1005;
    EXPECT_TRUE(PriceHistoryWantsCompacting(loaded));
}

}  // namespace

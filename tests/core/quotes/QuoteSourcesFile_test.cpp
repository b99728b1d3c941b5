#include "core/quotes/QuoteSourcesFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/CaseName.h"

namespace {

using Texts = std::vector<std::string>;

// Every field away from its default, so that a field the file forgets shows.
QuoteSource Full(SourceFormat format, SymbolCase symbolCase) {
    QuoteSource source;
    source.name = "My broker";
    source.url = "https://example.com/q?s={symbols}&f=csv";
    source.separator = ";";
    source.batchSize = 7;
    source.symbolCase = symbolCase;
    source.prefix = "x:";
    source.suffix = ".us";
    source.overrides = {{"BRK-B", "brk.b"}, {"RDS/A", "shel"}};
    source.format = format;
    source.csvHeader = false;
    source.fields = {.symbol = "/symbol",
                     .price = "/last",
                     .time = "/time",
                     .change = "/change",
                     .previousClose = "/close",
                     .currency = "/ccy"};
    source.results = "/data/quotes";
    source.pattern = "<td>{symbol}</td><td>([0-9.]+)</td>";
    source.headers = {{"X-Api-Key", "k3y \"quoted\" \xC3\xBC"}, {"Accept", "text/csv"}};
    source.minSeconds = 3;
    source.history = {.url = "https://example.com/h?s={symbol}&a={from}&b={toDate}",
                      .format = SourceFormat::kJson,
                      .date = "/t",
                      .close = "/c"};
    return source;
}

struct RoundCase {
    const char* name;
    SourceFormat format;
    SymbolCase symbolCase;
};

class QuoteSourcesRoundTripTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(QuoteSourcesRoundTripTest, EveryFieldComesBack) {
    const QuoteSource full = Full(GetParam().format, GetParam().symbolCase);
    QuoteSource plain;
    plain.name = "Plain";
    plain.url = "http://example.org/{symbol}";
    plain.fields.price = "/p";
    const Texts chain = {"Stooq (CSV)", "My broker", "Plain"};

    const QuoteSourcesSetup setup = ReadQuoteSourcesJson(QuoteSourcesJson({full, plain}, chain));

    EXPECT_EQ(setup.problems, Texts{});
    ASSERT_EQ(setup.sources.size(), 2u);
    EXPECT_EQ(setup.sources[0], full);
    EXPECT_EQ(setup.sources[1], plain);
    EXPECT_EQ(setup.chain, chain);
    EXPECT_TRUE(setup.chainGiven);

    // One definition copied on its own reads back the same inside a file.
    const QuoteSourcesSetup copied =
        ReadQuoteSourcesJson(R"({"sources":[)" + QuoteSourceJson(full) + "]}");
    ASSERT_EQ(copied.sources.size(), 1u);
    EXPECT_EQ(copied.sources[0], full);
    EXPECT_FALSE(copied.chainGiven);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, QuoteSourcesRoundTripTest,
    ::testing::Values(RoundCase{"CsvLower", SourceFormat::kCsv, SymbolCase::kLower},
                      RoundCase{"JsonUpper", SourceFormat::kJson, SymbolCase::kUpper},
                      RoundCase{"RegexAsHeld", SourceFormat::kRegex, SymbolCase::kAsHeld}),
    CaseName());

// The keys of the file, as its description in the header shows them.
TEST(QuoteSourcesFileTest, WritesTheDocumentedKeys) {
    QuoteSource source;
    source.name = "N";
    source.url = "https://e.com/{symbol}";
    source.fields.price = "/p";
    source.overrides = {{"A", "B"}};
    source.headers = {{"K", "V"}};

    EXPECT_EQ(QuoteSourcesJson({source}, {"N"}),
              R"({
  "chain": [
    "N"
  ],
  "sources": [
    {
      "name": "N",
      "url": "https://e.com/{symbol}",
      "separator": ",",
      "batchSize": 1,
      "symbolCase": "as held",
      "prefix": "",
      "suffix": "",
      "overrides": {
        "A": "B"
      },
      "format": "json",
      "csvHeader": true,
      "fields": {
        "symbol": "",
        "price": "/p",
        "time": "",
        "change": "",
        "previousClose": "",
        "currency": ""
      },
      "results": "",
      "pattern": "",
      "headers": {
        "K": "V"
      },
      "minSeconds": 0,
      "history": {
        "url": "",
        "format": "csv",
        "date": "",
        "close": ""
      }
    }
  ]
}
)");
}

TEST(QuoteSourcesFileTest, KeysLeftOutTakeTheDefaults) {
    QuoteSource expected;
    expected.name = "N";
    expected.url = "https://e.com/{symbol}";
    expected.fields.price = "/p";

    const QuoteSourcesSetup setup = ReadQuoteSourcesJson(
        R"({"sources":[{"name":"N","url":"https://e.com/{symbol}","fields":{"price":"/p"}}]})");

    EXPECT_EQ(setup.problems, Texts{});
    EXPECT_EQ(setup.sources, std::vector<QuoteSource>{expected});
    EXPECT_FALSE(setup.chainGiven);
    EXPECT_TRUE(ReadQuoteSourcesJson(R"({"chain":[]})").chainGiven);
    EXPECT_EQ(ReadQuoteSourcesJson(R"({"chain":["A",5,null,"B"]})").chain, (Texts{"A", "B"}));
}

// A text the program cannot have written gives no sources and one problem.
struct DamagedCase {
    const char* name;
    std::string text;
    std::string problem;  // the start of the one problem
};

class QuoteSourcesDamagedTest : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(QuoteSourcesDamagedTest, GivesNoSourcesAndOneProblem) {
    const QuoteSourcesSetup setup = ReadQuoteSourcesJson(GetParam().text);

    EXPECT_TRUE(setup.sources.empty());
    EXPECT_TRUE(setup.chain.empty());
    ASSERT_EQ(setup.problems.size(), 1u);
    EXPECT_TRUE(setup.problems[0].starts_with(GetParam().problem)) << setup.problems[0];
}

INSTANTIATE_TEST_SUITE_P(
    Texts, QuoteSourcesDamagedTest,
    ::testing::Values(
        DamagedCase{"Empty", "", "the file is no JSON: "},
        DamagedCase{"CutShort", R"({"sources":[{"name":"A","url":"https://e.com/{sym)",
                    "the file is no JSON: "},
        DamagedCase{"NotUtf8", "{\"sources\":[{\"name\":\"\xFF\"}]}", "the file is no JSON: "},
        DamagedCase{"List", "[]", "the file holds no JSON object"},
        DamagedCase{"Null", "null", "the file holds no JSON object"},
        DamagedCase{"TooLarge", std::string(kQuoteSourcesFileLimit, ' ') + "{}",
                    "the file is larger than 1 MiB"},
        DamagedCase{"SourcesNoList", R"({"sources":{"name":"A"}})",
                    "\"sources\" is no list; no source was read"},
        DamagedCase{"ChainNoList", R"json({"chain":"Stooq (CSV)"})json",
                    "\"chain\" is no list; no chain was read"}),
    CaseName());

// A definition that cannot be used is left out with its problem; the others are kept. A
// name may be neither a built-in source's nor an earlier definition's.
TEST(QuoteSourcesFileTest, UnusableDefinitionsAreLeftOutWithTheirProblem) {
    const QuoteSourcesSetup setup = ReadQuoteSourcesJson(R"json({"sources":[
        {"name":"A","url":"https://a.com/{symbol}","fields":{"price":"/p"}},
        {"name":"B","url":"https://b.com/quote","fields":{"price":"/p"}},
        {"name":"Stooq (CSV)","url":"https://c.com/{symbol}","fields":{"price":"/p"}},
        {"name":"Yahoo!","url":"https://c.com/{symbol}","fields":{"price":"/p"}},
        {"name":"A","url":"https://d.com/{symbol}","fields":{"price":"/p"}},
        {"name":"E","url":"https://e.com/{symbol}","fields":{"price":"/p"}}]})json");

    EXPECT_EQ(setup.problems,
              (Texts{"source 2 (\"B\"): The address needs {symbol} (one symbol a request) or "
                     "{symbols} (several).",
                     "source 3 (\"Stooq (CSV)\"): A source named \"Stooq (CSV)\" exists already.",
                     "source 4 (\"Yahoo!\"): A source named \"Yahoo!\" exists already.",
                     "source 5 (\"A\"): A source named \"A\" exists already."}));
    ASSERT_EQ(setup.sources.size(), 2u);
    EXPECT_EQ(setup.sources[0].name, "A");
    EXPECT_EQ(setup.sources[0].url, "https://a.com/{symbol}");
    EXPECT_EQ(setup.sources[1].name, "E");
}

// A value of the wrong kind leaves its definition out, saying which key, rather than
// being read as something the user did not write.
struct WrongCase {
    const char* name;
    std::string entry;  // the keys beside name, url and fields
    std::string problem;
};

class QuoteSourcesWrongValueTest : public ::testing::TestWithParam<WrongCase> {};

TEST_P(QuoteSourcesWrongValueTest, LeavesTheDefinitionOutNamingTheKey) {
    const QuoteSourcesSetup setup =
        ReadQuoteSourcesJson(R"({"sources":[{"name":"N","url":"https://e.com/q?s={symbols}",)"
                             R"("fields":{"symbol":"/s","price":"/p"},"results":"/r",)" +
                             GetParam().entry + "}]}");

    EXPECT_TRUE(setup.sources.empty());
    EXPECT_EQ(setup.problems, Texts{"source 1 (\"N\"): " + GetParam().problem});
}

INSTANTIATE_TEST_SUITE_P(
    Values, QuoteSourcesWrongValueTest,
    ::testing::Values(
        WrongCase{"BatchAsText", R"("batchSize":"20")", "\"batchSize\" is no whole number"},
        WrongCase{"BatchFraction", R"("batchSize":2.5)", "\"batchSize\" is no whole number"},
        WrongCase{"BatchHuge", R"("batchSize":4294967297)", "\"batchSize\" is out of range"},
        WrongCase{"BatchHugeFloat", R"("batchSize":1e20)", "\"batchSize\" is no whole number"},
        WrongCase{"PauseAsBool", R"("minSeconds":true)", "\"minSeconds\" is no whole number"},
        WrongCase{"PauseNegativeHuge", R"("minSeconds":-9999999999)",
                  "\"minSeconds\" is out of range"},
        WrongCase{"HeaderFlag", R"("csvHeader":"yes")", "\"csvHeader\" is not true or false"},
        WrongCase{"SeparatorNumber", R"("separator":1)", "\"separator\" is no text"},
        WrongCase{"SuffixNull", R"("suffix":null)", "\"suffix\" is no text"},
        WrongCase{"HeadersAsList", R"("headers":["X-Api-Key: k"])",
                  "\"headers\" is no object of texts"},
        WrongCase{"HeaderValueNumber", R"("headers":{"X-Api-Key":5})",
                  "\"headers\" is no object of texts"},
        WrongCase{"OverridesAsText", R"("overrides":"BRK.B")",
                  "\"overrides\" is no object of texts"},
        WrongCase{"FormatUnknown", R"("format":"xml")",
                  "\"format\" is \"xml\", not one of csv, json, regex"},
        WrongCase{"CaseUnknown", R"("symbolCase":"UPPER")",
                  "\"symbolCase\" is \"UPPER\", not one of as held, upper, lower"},
        WrongCase{"FieldAsNumber", R"("fields":{"symbol":"/s","price":3})",
                  "\"fields.price\" is no text"},
        WrongCase{"FieldsAsList", R"("fields":["/s","/p"])", "\"fields\" is no object"},
        WrongCase{"HistoryAsText", R"("history":"https://e.com/h/{symbol}")",
                  "\"history\" is no object"},
        WrongCase{"HistoryFormatUnknown", R"("history":{"url":"","format":"xls"})",
                  "\"history.format\" is \"xls\", not one of csv, json, regex"}),
    CaseName());

TEST(QuoteSourcesFileTest, EntryThatIsNoObjectIsLeftOut) {
    const QuoteSourcesSetup setup = ReadQuoteSourcesJson(
        R"({"sources":["Stooq",{"name":5},{"name":"A","url":"https://a.com/{symbol}","fields":{"price":"/p"}}]})");

    EXPECT_EQ(setup.problems,
              (Texts{"source 1: it is no JSON object", "source 2: \"name\" is no text"}));
    ASSERT_EQ(setup.sources.size(), 1u);
    EXPECT_EQ(setup.sources[0].name, "A");
}

// A text that is no UTF-8 (a name typed in another encoding) is written, replaced, rather
// than throwing out of the writer.
TEST(QuoteSourcesFileTest, WritingTextThatIsNoUtf8DoesNotThrow) {
    QuoteSource source;
    source.name = "Caf\xE9";
    source.url = "https://e.com/{symbol}";
    source.fields.price = "/p";

    std::string text;
    EXPECT_NO_THROW(text = QuoteSourcesJson({source}, {"Caf\xE9"}));
    EXPECT_NO_THROW(QuoteSourceJson(source));

    const QuoteSourcesSetup setup = ReadQuoteSourcesJson(text);
    ASSERT_EQ(setup.sources.size(), 1u);
    EXPECT_EQ(setup.sources[0].name, "Caf\xEF\xBF\xBD");
    EXPECT_EQ(setup.chain, Texts{"Caf\xEF\xBF\xBD"});
}

}  // namespace

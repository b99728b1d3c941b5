#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/reports/CsvText.h"
#include "support/CaseName.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

struct RowsCase {
    const char* name;
    std::string text;
    Rows rows;
};

class CsvRowsTest : public ::testing::TestWithParam<RowsCase> {};

TEST_P(CsvRowsTest, ReadsTheRowsAsWritten) {
    EXPECT_EQ(ReadCsvRows(GetParam().text), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CsvRowsTest,
    ::testing::Values(RowsCase{"Empty", "", {}}, RowsCase{"OnlyLineEnds", "\n\r\n\n", {}},
                      RowsCase{"Plain", "a,b,c\n1,2,3\n", {{"a", "b", "c"}, {"1", "2", "3"}}},
                      RowsCase{"CrLf", "a,b\r\n1,2\r\n", {{"a", "b"}, {"1", "2"}}},
                      RowsCase{"LastRowWithoutLineEnd", "a,b\n1,2", {{"a", "b"}, {"1", "2"}}},
                      RowsCase{"LastRowEndsInCr", "a,b\r\n1,2\r", {{"a", "b"}, {"1", "2"}}},
                      RowsCase{"EmptyLinesSkipped", "a\n\n\r\nb\n\n", {{"a"}, {"b"}}},
                      RowsCase{"EmptyFields", ",a,,\n", {{"", "a", "", ""}}},
                      RowsCase{"Quoted", "\"a\",\"b c\"\n", {{"a", "b c"}}},
                      RowsCase{"DoubledQuote", "\"say \"\"hi\"\"\",x\n", {{"say \"hi\"", "x"}}},
                      RowsCase{"OnlyADoubledQuote", "\"\"\"\"\n", {{"\""}}},
                      RowsCase{"SeparatorInQuotes", "\"1,234.50\",USD\n", {{"1,234.50", "USD"}}},
                      RowsCase{"LineBreaksInQuotes",
                               "\"two\nlines\",\"cr\r\nlf\"\nnext\n",
                               {{"two\nlines", "cr\r\nlf"}, {"next"}}},
                      RowsCase{"QuotedEmptyFieldIsARow", "\"\"\n", {{""}}},
                      RowsCase{
                          "UnterminatedQuoteRunsToTheEnd", "a,\"b\nc,d\n", {{"a", "b\nc,d\n"}}},
                      RowsCase{"CrInsideAFieldKept", "a\rb,c\n", {{"a\rb", "c"}}},
                      RowsCase{"SpacesKept", " a , b \n", {{" a ", " b "}}}),
    CaseName());

TEST(CsvRowsTest, OtherSeparator) {
    EXPECT_EQ(ReadCsvRows("a;\"b;c\";d\n1,5;2\n", ';'), (Rows{{"a", "b;c", "d"}, {"1,5", "2"}}));
}

// What the writer writes, the reader reads back.
TEST(CsvRowsTest, ReadsBackWhatTheWriterWrote) {
    std::string text;
    AppendCsvRow(text, {"plain", "with,comma", "with \"quote\"", "two\r\nlines", ""});
    AppendCsvRow(text, {"second"});

    EXPECT_EQ(ReadCsvRows(text),
              (Rows{{"plain", "with,comma", "with \"quote\"", "two\r\nlines", ""}, {"second"}}));
}

}  // namespace

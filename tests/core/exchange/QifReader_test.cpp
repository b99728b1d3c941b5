#include "core/exchange/QifReader.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/model/LocalTime.h"
#include "core/reports/CsvText.h"
#include "support/CaseName.h"

namespace {

const char* ActionText(ImportAction action) {
    switch (action) {
        case ImportAction::kBuy:
            return "Buy";
        case ImportAction::kSell:
            return "Sell";
        case ImportAction::kCashDividend:
            return "Dividend";
        case ImportAction::kReinvestDividend:
            return "Reinvest";
        case ImportAction::kSplit:
            return "Split";
        default:
            return "Other";
    }
}

// The fields a QIF row fills, on one line, so that a difference shows at once.
std::string Describe(const ImportRow& row) {
    std::ostringstream out;
    out << row.line << ' ' << ActionText(row.action) << ' ' << IsoDate(row.date) << ' '
        << row.symbol << " (" << row.company << ") shares " << row.shares << " price " << row.price
        << " amount " << row.amount << " commission " << row.commission << " ratio "
        << row.newShares << ':' << row.oldShares << " \"" << row.comment << '"';
    return out.str();
}

std::vector<std::string> Describe(const std::vector<ImportRow>& rows) {
    std::vector<std::string> described;
    for (const ImportRow& row : rows) {
        described.push_back(Describe(row));
    }
    return described;
}

std::vector<std::string> Describe(const std::vector<ImportProblem>& problems) {
    std::vector<std::string> described;
    for (const ImportProblem& problem : problems) {
        described.push_back(std::to_string(problem.line) + " | " + problem.reason);
    }
    return described;
}

// A Quicken export: a security list, a bank account to pass over, an investment account
// under AutoSwitch, and a last record the file cut off before its "^".
constexpr const char* kQuickenExport = R"(!Type:Security
NAcme Widgets Inc
SACME
TStock
^
!Type:Security
NBeta Mutual Fund
SBETFX
TMutual Fund
^
!Type:Bank
D1/2/05
T-100.00
PSomeone
^
!Option:AutoSwitch
!Account
NBrokerage
TInvst
^
!Clear:AutoSwitch
!Type:Invst
D1/ 5'05
NBuy
YAcme Widgets Inc
I10.50
Q100
T1,059.95
O9.95
MFirst lot
^
D2/1'05
NSell
YAcme Widgets Inc
I12
Q40
T475.05
O4.95
^
D3/15'05
NDiv
YAcme Widgets Inc
T$25.00
^
D3/31'05
NReinvDiv
YBeta Mutual Fund
I20
Q1.25
T25
^
D6/1'05
NStkSplit
YAcme Widgets Inc
Q20
^
D7/1'05
NShrsIn
YGamma Corp
Q50
^
D7/2'05
NShrsOut
YAcme Widgets Inc
I15
Q10
^
D8/1'05
NBuyX
YAcme Widgets Inc
Q1,000
T$12,345.00
O45.00
LBrokerage Cash
$12,345.00
^
D8/2'05
NFoo
YAcme Widgets Inc
^
D8/3'05
NBuy
YAcme Widgets Inc
Q1O0
I10
^
D2/30/2005
NBuy
YAcme Widgets Inc
Q10
I10
^
D8/4'05
NXIn
T500
^
NSell
D9/1/2005
YBeta Mutual Fund
Q5
T110
O2)";

// BuyX: (12345 - 45) / 1000 = 12.3. The last sale: (110 + 2) / 5 = 22.4, and its N line
// comes before its D line.
const std::vector<std::string> kExpectedRows = {
    "23 Buy 2005-01-05 ACME (Acme Widgets Inc) shares 100 price 10.5 amount 0 commission 9.95 "
    "ratio 0:0 \"First lot\"",
    "32 Sell 2005-02-01 ACME (Acme Widgets Inc) shares 40 price 12 amount 0 commission 4.95 "
    "ratio 0:0 \"\"",
    "40 Dividend 2005-03-15 ACME (Acme Widgets Inc) shares 0 price 0 amount 25 commission 0 "
    "ratio 0:0 \"\"",
    "45 Reinvest 2005-03-31 BETFX (Beta Mutual Fund) shares 1.25 price 20 amount 25 "
    "commission 0 ratio 0:0 \"\"",
    "52 Split 2005-06-01 ACME (Acme Widgets Inc) shares 0 price 0 amount 0 commission 0 "
    "ratio 2:1 \"\"",
    "57 Buy 2005-07-01 Gamma Corp (Gamma Corp) shares 50 price 0 amount 0 commission 0 "
    "ratio 0:0 \"\"",
    "62 Sell 2005-07-02 ACME (Acme Widgets Inc) shares 10 price 15 amount 0 commission 0 "
    "ratio 0:0 \"\"",
    "68 Buy 2005-08-01 ACME (Acme Widgets Inc) shares 1000 price 12.3 amount 0 commission 45 "
    "ratio 0:0 \"\"",
    "97 Sell 2005-09-01 BETFX (Beta Mutual Fund) shares 5 price 22.4 amount 0 commission 2 "
    "ratio 0:0 \"\"",
};

const std::vector<std::string> kExpectedProblems = {
    "77 | line 77: the action \"Foo\" is unknown",
    "81 | line 81: the quantity \"1O0\" is no number",
    "87 | line 87: the date \"2/30/2005\" is no date",
    "93 | line 93: the action \"XIn\" is not recorded",
};

TEST(QifReader, ReadsAQuickenInvestmentAccount) {
    const ImportRows read = ReadQif(kQuickenExport);

    EXPECT_EQ(read.error, "");
    EXPECT_EQ(Describe(read.rows), kExpectedRows);
    EXPECT_EQ(Describe(read.problems), kExpectedProblems);
}

TEST(QifReader, ReadsCrLfLinesAfterAByteOrderMark) {
    std::string windows = "\xEF\xBB\xBF";
    for (const char c : std::string(kQuickenExport)) {
        if (c == '\n') {
            windows += '\r';
        }
        windows += c;
    }

    const ImportRows read = ReadQif(windows);

    EXPECT_EQ(read.error, "");
    EXPECT_EQ(Describe(read.rows), kExpectedRows);
    EXPECT_EQ(Describe(read.problems), kExpectedProblems);
}

TEST(QifReader, SecurityListAfterTheAccountStillNamesSymbols) {
    const ImportRows read = ReadQif(
        "!Type:Invst\nD1/5/2005\nNBuy\nYAcme Widgets Inc\nQ10\nI5\n^\n"
        "!Type:Security\nNAcme Widgets Inc\nSACME\nTStock\n^\n");

    ASSERT_EQ(read.rows.size(), 1u);
    EXPECT_EQ(read.rows[0].symbol, "ACME");
    EXPECT_EQ(read.rows[0].company, "Acme Widgets Inc");
}

// ---- dates ----

struct DateCase {
    const char* name;
    const char* text;
    bool dayFirst;
    std::optional<LocalDate> date;  // none: the date is a problem
};

class QifDateTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(QifDateTest, ReadsTheDateOrNamesIt) {
    const DateCase& param = GetParam();
    const std::string text =
        std::string("!Type:Invst\nD") + param.text + "\nNBuy\nYAcme\nQ1\nI1\n^\n";

    const ImportRows read = ReadQif(text, param.dayFirst);

    if (param.date) {
        ASSERT_EQ(read.rows.size(), 1u) << Describe(read.problems).front();
        EXPECT_EQ(read.rows[0].date,
                  LocalTimeOf(param.date->year, param.date->month, param.date->day));
    } else {
        ASSERT_EQ(read.problems.size(), 1u);
        EXPECT_EQ(read.problems[0].reason,
                  std::string("line 2: the date \"") + param.text + "\" is no date");
    }
}

constexpr LocalDate Date(int year, int month, int day) {
    return LocalDate{.year = year, .month = month, .day = day};
}

INSTANTIATE_TEST_SUITE_P(
    QifReader, QifDateTest,
    ::testing::Values(
        DateCase{"SlashFourDigitYear", "1/5/2005", false, Date(2005, 1, 5)},
        DateCase{"SlashTwoDigitYearOfThe1900s", "12/31/99", false, Date(1999, 12, 31)},
        DateCase{"PivotLastYearOfThe2000s", "1/5/49", false, Date(2049, 1, 5)},
        DateCase{"PivotFirstYearOfThe1900s", "1/5/50", false, Date(1950, 1, 5)},
        DateCase{"ApostropheYear", "1/5'05", false, Date(2005, 1, 5)},
        DateCase{"ApostropheYearAbovePivot", "1/5'51", false, Date(2051, 1, 5)},
        DateCase{"SpacesPadTheNumbers", " 1/ 5' 5", false, Date(2005, 1, 5)},
        DateCase{"Dashes", "12-31-2004", false, Date(2004, 12, 31)},
        DateCase{"YearFirst", "2005-01-31", false, Date(2005, 1, 31)},
        DateCase{"LeapDay", "2/29/2004", false, Date(2004, 2, 29)},
        DateCase{"DayFirst", "31/12/2004", true, Date(2004, 12, 31)},
        DateCase{"DayFirstApostrophe", "5/1'05", true, Date(2005, 1, 5)},
        DateCase{"DayFirstLeavesYearFirstAlone", "2005-01-31", true, Date(2005, 1, 31)},
        DateCase{"DayFirstDateReadMonthFirst", "31/12/2004", false, std::nullopt},
        DateCase{"NoLeapDay", "2/29/2005", false, std::nullopt},
        DateCase{"NoLeapDayIn1900", "2/29/1900", false, std::nullopt},
        DateCase{"ThirtiethOfFebruary", "2/30/2005", false, std::nullopt},
        DateCase{"MonthThirteen", "13/1/2005", false, std::nullopt},
        DateCase{"MonthZero", "0/1/2005", false, std::nullopt},
        DateCase{"DayThirtyTwo", "1/32/2005", false, std::nullopt},
        DateCase{"ThreeDigitYear", "1/5/205", false, std::nullopt},
        DateCase{"NoYear", "1/5", false, std::nullopt},
        DateCase{"FourParts", "1/5/2005/1", false, std::nullopt},
        DateCase{"MonthName", "Jan 5 2005", false, std::nullopt},
        DateCase{"HugeNumber", "1/5/99999999999999999999", false, std::nullopt}),
    CaseName());

// ---- split ratios ----

struct SplitCase {
    const char* name;
    const char* quantity;
    std::int32_t newShares;  // 0: the ratio is a problem
    std::int32_t oldShares;
    const char* problem;
};

class QifSplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(QifSplitTest, TurnsSharesPerTenIntoARatio) {
    const SplitCase& param = GetParam();
    const std::string text =
        std::string("!Type:Invst\nD6/1/2005\nNStkSplit\nYAcme\nQ") + param.quantity + "\n^\n";

    const ImportRows read = ReadQif(text);

    if (param.newShares > 0) {
        ASSERT_EQ(read.rows.size(), 1u) << Describe(read.problems).front();
        EXPECT_EQ(read.rows[0].action, ImportAction::kSplit);
        EXPECT_EQ(read.rows[0].newShares, param.newShares);
        EXPECT_EQ(read.rows[0].oldShares, param.oldShares);
    } else {
        ASSERT_EQ(read.problems.size(), 1u);
        EXPECT_EQ(read.problems[0].reason, param.problem);
    }
}

INSTANTIATE_TEST_SUITE_P(
    QifReader, QifSplitTest,
    ::testing::Values(
        SplitCase{"TwoForOne", "20", 2, 1, ""}, SplitCase{"ThreeForTwo", "15", 3, 2, ""},
        SplitCase{"FiveForFour", "12.5", 5, 4, ""}, SplitCase{"ThreeForOne", "30", 3, 1, ""},
        SplitCase{"OneForOne", "10", 1, 1, ""}, SplitCase{"ReverseOneForTwo", "5", 1, 2, ""},
        SplitCase{"ReverseOneForTen", "1", 1, 10, ""},
        SplitCase{"RoundedOneForThree", "3.33333", 1, 3, ""},
        SplitCase{"RoundedTenForThree", "33.3333", 10, 3, ""},
        SplitCase{"Zero", "0", 0, 0, "line 2: the split ratio \"0\" is not positive"},
        SplitCase{"Negative", "-20", 0, 0, "line 2: the split ratio \"-20\" is not positive"},
        SplitCase{"NoNumber", "2:1", 0, 0, "line 2: the split ratio \"2:1\" is no number"},
        SplitCase{"TooSmallForWholeShares", "0.0001", 0, 0,
                  "line 2: the split ratio \"0.0001\" is no ratio of whole shares"}),
    CaseName());

// ---- records that cannot be taken ----

struct RecordCase {
    const char* name;
    const char* record;  // the lines after "!Type:Invst", the first on line 2
    const char* problem;
};

class QifRecordProblemTest : public ::testing::TestWithParam<RecordCase> {};

TEST_P(QifRecordProblemTest, NamesWhatIsMissingOrWrong) {
    const ImportRows read = ReadQif(std::string("!Type:Invst\n") + GetParam().record);

    EXPECT_TRUE(read.rows.empty());
    EXPECT_EQ(Describe(read.problems), std::vector<std::string>{GetParam().problem});
}

INSTANTIATE_TEST_SUITE_P(
    QifReader, QifRecordProblemTest,
    ::testing::Values(
        RecordCase{"BuyWithoutQuantity", "D1/5/05\nNBuy\nYAcme\nI10\nT100\n^\n",
                   "2 | line 2: the record has no quantity"},
        RecordCase{"ReinvestWithoutQuantity", "D1/5/05\nNReinvDiv\nYAcme\nI10\nT100\n^\n",
                   "2 | line 2: the record has no quantity"},
        RecordCase{"ZeroQuantityCannotBePriced", "D1/5/05\nNBuy\nYAcme\nQ0\nT100\n^\n",
                   "2 | line 2: the quantity \"0\" is not positive"},
        RecordCase{"BuyWithoutPriceOrAmount", "D1/5/05\nNBuy\nYAcme\nQ10\n^\n",
                   "2 | line 2: the record has no price"},
        RecordCase{"BadCommission", "D1/5/05\nNSell\nYAcme\nQ10\nI5\nO$4.9x\n^\n",
                   "2 | line 2: the commission \"$4.9x\" is no number"},
        RecordCase{"BadPrice", "D1/5/05\nNBuy\nYAcme\nQ10\nIinf\n^\n",
                   "2 | line 2: the price \"inf\" is no number"},
        RecordCase{"DividendWithoutAmount", "D1/5/05\nNDiv\nYAcme\n^\n",
                   "2 | line 2: the record has no amount"},
        RecordCase{"InterestOnCash", "D1/5/05\nNIntInc\nT3.10\n^\n",
                   "2 | line 2: the record names no security"},
        RecordCase{"NoDate", "NBuy\nYAcme\nQ1\nI1\n^\n", "2 | line 2: the record has no date"},
        RecordCase{"NoAction", "D1/5/05\nYAcme\nQ1\nI1\n^\n",
                   "2 | line 2: the record has no action"},
        RecordCase{"ReturnOfCapital", "D1/5/05\nNRtrnCap\nYAcme\nT50\n^\n",
                   "2 | line 2: the action \"RtrnCap\" is not recorded"},
        RecordCase{"MarginInterest", "D1/5/05\nNMargInt\nT7\n^\n",
                   "2 | line 2: the action \"MargInt\" is not recorded"},
        RecordCase{"PayeeLineBeforeTheDate", "PBroker\nD1/5/05\nNBuy\nYAcme\nQ1\n^\n",
                   "3 | line 3: the record has no price"}),
    CaseName());

TEST(QifReader, ActionsInAnyCaseAndAmountInU) {
    const ImportRows read = ReadQif(
        "!Type:Invst\nD1/5/05\nNREINVDIV\nYAcme\nQ2\nU30.00\n^\n"
        "D1/6/05\nNcglongx\nYAcme\nU1,200.50\n^\n");

    EXPECT_EQ(Describe(read.problems), std::vector<std::string>{});
    ASSERT_EQ(read.rows.size(), 2u);
    EXPECT_EQ(read.rows[0].action, ImportAction::kReinvestDividend);
    EXPECT_FLOAT_EQ(read.rows[0].price, 15.0f);
    EXPECT_FLOAT_EQ(read.rows[0].amount, 30.0f);
    EXPECT_EQ(read.rows[1].action, ImportAction::kCashDividend);
    EXPECT_FLOAT_EQ(read.rows[1].amount, 1200.5f);
}

// ---- files that are not read ----

TEST(QifReader, RefusesATextWithoutTypeLine) {
    for (const char* text :
         {"", "Date,Action,Symbol\r\n1/5/2005,Buy,ACME\r\n", "D1/5/05\nNBuy\nYAcme\nQ1\nI1\n^\n"}) {
        const ImportRows read = ReadQif(text);
        EXPECT_EQ(read.error, "the file is no QIF file (no !Type line)") << text;
        EXPECT_TRUE(read.rows.empty());
    }
}

TEST(QifReader, RefusesAFileLargerThan64MiB) {
    std::string text = "!Type:Invst\n";
    text.resize(std::size_t{64} * 1024 * 1024 + 1, '\n');

    const ImportRows read = ReadQif(text);

    EXPECT_EQ(read.error, "the file is larger than 64 MiB");
    EXPECT_TRUE(read.rows.empty());
}

TEST(QifReader, BinaryJunkGivesProblemsNotACrash) {
    std::mt19937 random(20050105);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string text = "!Type:Invst\n";
    for (int i = 0; i < 200000; ++i) {
        const int b = byte(random);
        // Line ends, record ends and field codes often enough to make many records.
        text += b < 16 ? '\n' : b < 20 ? '^' : b < 40 ? "DNYIQTO"[b % 7] : static_cast<char>(b);
    }

    const ImportRows read = ReadQif(text);

    EXPECT_EQ(read.error, "");
    EXPECT_FALSE(read.problems.empty());
    for (const ImportProblem& problem : read.problems) {
        EXPECT_GT(problem.line, 1);
    }
}

}  // namespace

#include "core/exchange/Exports.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"
#include "core/settings/Settings.h"
#include "support/CaseName.h"
#include "support/DocBuilder.h"

namespace {

std::int64_t Day(int year, int month, int day) {
    return LocalTimeOf(year, month, day);
}

struct TermCase {
    const char* name;
    std::int64_t acquired;
    std::int64_t sold;
    bool longTerm;
};

class LongTermTest : public ::testing::TestWithParam<TermCase> {};

TEST_P(LongTermTest, HeldMoreThanOneYearIsLong) {
    EXPECT_EQ(IsLongTerm(GetParam().acquired, GetParam().sold), GetParam().longTerm);
}

INSTANTIATE_TEST_SUITE_P(
    Exports, LongTermTest,
    ::testing::Values(
        TermCase{"DayBeforeTheAnniversary", Day(2022, 3, 15), Day(2023, 3, 14), false},
        TermCase{"OnTheAnniversary", Day(2022, 3, 15), Day(2023, 3, 15), false},
        TermCase{"DayAfterTheAnniversary", Day(2022, 3, 15), Day(2023, 3, 16), true},
        TermCase{"LateOnTheAnniversary", Day(2022, 3, 15), LocalTimeOf(2023, 3, 15, 23, 59), false},
        TermCase{"LeapDayYearEndsOnTheTwentyEighth", Day(2020, 2, 29), Day(2021, 2, 28), false},
        TermCase{"LeapDayLongOnTheFirstOfMarch", Day(2020, 2, 29), Day(2021, 3, 1), true},
        TermCase{"YearsLater", Day(2001, 12, 31), Day(2010, 1, 1), true}),
    CaseName());

class ExportsTest : public ::testing::Test {
protected:
    Settings settings;
    CKx7Doc doc{settings};
};

// Worked by hand: a FIFO sale of 150 AB on 2023-03-16 at 30 with a commission of 15 took
// all of lot 1 (bought 2022-03-15, long) and half of lot 2 (bought 2023-02-01, short).
// Lot 1: proceeds 100 x 30 - 10 = 2990, cost 100 x 10 + 10 = 1010, gain 1980.
// Lot 2: proceeds 50 x 30 - 5 = 1495, cost 50 x 20 = 1000, gain 495.
// CD, sold on its anniversary at a loss: proceeds 40, cost 10 x 5 + 2 = 52, gain -12, short.
TEST_F(ExportsTest, RealizedGainsRowPerLotSoldWithItsTerm) {
    CPurchase& first = AddLot(doc, "AB", 100, 10, Day(2022, 3, 15));
    first.commission = 10;
    CPurchase& second = AddLot(doc, "AB", 100, 20, Day(2023, 2, 1));
    CPurchase& cd = AddLot(doc, "CD", 10, 5, Day(2022, 6, 1));
    cd.commission = 2;
    CPurchase& grant = AddGrant(doc, "EF", 100, 1, 0, Day(2020, 1, 1));
    first.AddSale(100, 30, Day(2023, 3, 16), 10, "", 1);
    second.AddSale(50, 30, Day(2023, 3, 16), 5, "", 1);
    cd.AddSale(10, 4, Day(2023, 6, 1), 0, "", 2);
    second.AddSale(10, 40, Day(2024, 1, 2), 0, "", 3);                    // another year
    grant.AddSale(100, CSale::kExpiredPrice, Day(2023, 7, 1), 0, "", 4);  // expired

    EXPECT_EQ(RealizedGainsCsv(doc, 2023),
              "Description,Date Acquired,Date Sold,Proceeds,Cost Basis,Adjustment,Gain or Loss,"
              "Term\r\n"
              "100 sh AB,2022-03-15,2023-03-16,2990.00,1010.00,0.00,1980.00,Long\r\n"
              "50 sh AB,2023-02-01,2023-03-16,1495.00,1000.00,0.00,495.00,Short\r\n"
              "10 sh CD,2022-06-01,2023-06-01,40.00,52.00,0.00,-12.00,Short\r\n");
    EXPECT_EQ(RealizedGainsCsv(doc, 2024),
              "Description,Date Acquired,Date Sold,Proceeds,Cost Basis,Adjustment,Gain or Loss,"
              "Term\r\n"
              "10 sh AB,2023-02-01,2024-01-02,400.00,200.00,0.00,200.00,Short\r\n");
}

TEST_F(ExportsTest, TransactionsOneRowEachInDateOrder) {
    CPurchase& lot = AddLot(doc, "AB", 100, 10.25f, Day(2022, 3, 15), "Alpha, Inc.");
    lot.commission = 9.95f;
    lot.comment = "first \"lot\"";
    CPurchase& grant = AddGrant(doc, "EF", 1000, 2.5f, 12, Day(2021, 1, 4));
    grant.grantId = "G-7";
    lot.AddSale(40, 12.5f, LocalTimeOf(2023, 1, 5, 10, 30), 4.95f, "", 1);
    doc.RecordDividend({.symbol = "AB",
                        .kind = DividendKind::kCash,
                        .amount = 12.5f,
                        .date = Day(2022, 6, 1),
                        .comment = ""});
    doc.AppendSplit({.symbol = "AB", .date = Day(2022, 9, 1), .newShares = 2, .oldShares = 1});

    EXPECT_EQ(TransactionsCsv(doc),
              "Date,Action,Symbol,Company,Shares,Price,Amount,Commission,Type,Vesting,Grant ID,"
              "Lot,Sale,Ratio,Comment\r\n"
              "2021-01-04,Grant,EF,Company,1000,2.5,,0,ISO,1YC,G-7,2,,,\r\n"
              "2022-03-15,Buy,AB,\"Alpha, Inc.\",100,10.25,,9.95,Direct Purchase,,,1,,,"
              "\"first \"\"lot\"\"\"\r\n"
              "2022-06-01,Dividend,AB,,,,12.5,,,,,,,,\r\n"
              "2022-09-01,Split,AB,,,,,,,,,,,2:1,\r\n"
              "2023-01-05T10:30:00,Sell,AB,\"Alpha, Inc.\",40,12.5,,4.95,,,,1,1,,\r\n");
}

// Holdings at the end of a day: a sale later that day counts, a purchase the next day does
// not; a grant counts its vested options at their value above the strike.
TEST_F(ExportsTest, HoldingsAsOfTheEndOfADay) {
    settings.ungroupOptions = true;
    CPurchase& lot = AddLot(doc, "AB", 100, 10, Day(2022, 3, 15));
    lot.commission = 10;
    lot.AddSale(40, 12, LocalTimeOf(2023, 1, 5, 15, 0), 0, "", 1);
    AddLot(doc, "AB", 50, 20, Day(2023, 1, 6));
    AddGrant(doc, "EF", 1000, 2, 12, Day(2021, 1, 4));  // vests in full after one year
    AddLot(doc, "GH", 10, 1, Day(2022, 1, 3));
    const PriceOn prices = [](std::string_view symbol) -> std::optional<float> {
        if (symbol == "AB") {
            return 15.0f;
        }
        if (symbol == "EF") {
            return 3.0f;
        }
        return std::nullopt;
    };

    EXPECT_EQ(HoldingsCsv(doc, Day(2023, 1, 5), prices),
              "Symbol,Company,Shares,Cost,Value,Gain\r\n"
              "AB,Company,60,606.00,900.00,294.00\r\n"
              "EF-O,Company,1000,0.00,1000.00,1000.00\r\n"
              "GH,Company,10,10.00,,\r\n");
}

}  // namespace

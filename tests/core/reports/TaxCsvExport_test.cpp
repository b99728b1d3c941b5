#include <gtest/gtest.h>

#include <string>

#include "core/model/Kx7Doc.h"
#include "core/reports/CsvText.h"
#include "core/reports/TaxReport.h"
#include "core/settings/Settings.h"
#include "support/DocBuilder.h"
#include "support/TestClock.h"

namespace {

TEST(CsvTextTest, QuotesOnlyTheFieldsThatNeedIt) {
    struct Case {
        std::string field;
        std::string written;
    };
    const Case cases[] = {
        {"plain", "plain"},
        {"", ""},
        {"Acme, Inc", "\"Acme, Inc\""},
        {"The \"Best\" Co", "\"The \"\"Best\"\" Co\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {"lone\nfeed", "\"lone\nfeed\""},
    };
    for (const Case& c : cases) {
        std::string out;
        AppendCsvField(out, c.field);
        EXPECT_EQ(out, c.written) << c.field;
    }
    std::string row;
    AppendCsvRow(row, {"a", "b,c", ""});
    EXPECT_EQ(row, "a,\"b,c\",\r\n");
}

TEST(TaxCsvExportTest, OneRowPerReportLineWithIsoDatesAndAHeader) {
    const Settings settings;  // month-first dates on the screen; the export is ISO anyway
    CKx7Doc doc(settings);
    CPurchase& first = AddLot(doc, "ACME", 100, 10, At(2019, 3, 4), "Acme, \"Best\" Tools");
    CPurchase& second = AddLot(doc, "ACME", 50, 12, At(2020, 7, 8), "Acme, \"Best\" Tools");
    CPurchase& other = AddLot(doc, "BLUE", 10, 5, At(2021, 1, 2), "Blue");
    // One sale drawing on both ACME lots, under one sale number; a sale of BLUE with its
    // commission.
    first.AddSale(100, 15, At(2021, 5, 6), 0, "", 1);
    second.AddSale(20, 15, At(2021, 5, 6), 0, "", 1);
    other.AddSale(10, 4, At(2021, 11, 30), 2, "", 2);
    for (CPurchase* lot : {&first, &second, &other}) {
        lot->RecomputeHeldShares();
    }

    EXPECT_EQ(BuildTaxCsvExport(doc, "2021", true, true),
              "Sale Date,Shares,Symbol,Company,Purchase Date,Cost Basis,Net Proceeds,Gain\r\n"
              "2021-05-06,120.0000,ACME,\"Acme, \"\"Best\"\" Tools\",Various,1240.00,1800.0000,"
              "560.0000\r\n"
              "2021-11-30,10.0000,BLUE,Blue,2021-01-02,50.00,38.0000,-12.0000\r\n");
    // Ungrouped, each lot's part of the sale is a row with its own purchase date.
    const std::string ungrouped = BuildTaxCsvExport(doc, "Show All", false, false);
    EXPECT_NE(ungrouped.find("2021-05-06,100.0000,ACME,\"Acme, \"\"Best\"\" Tools\",2019-03-04,"
                             "1000.00,1500.0000,500.0000\r\n"),
              std::string::npos);
    EXPECT_NE(ungrouped.find("2021-11-30,10.0000,BLUE,Blue,2021-01-02,50.00,40.0000,-10.0000"),
              std::string::npos);
    // A year without sales is the header alone.
    EXPECT_EQ(BuildTaxCsvExport(doc, "2018", true, true),
              "Sale Date,Shares,Symbol,Company,Purchase Date,Cost Basis,Net Proceeds,Gain\r\n");
}

}  // namespace

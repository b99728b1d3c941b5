// Every report of the fixture portfolio (ReportFixture.h), checked in full.

#include <gtest/gtest.h>

#include "core/reports/AvailableReport.h"
#include "core/reports/DetailsReport.h"
#include "core/reports/GainsReport.h"
#include "core/reports/HistoryReport.h"
#include "core/reports/OverviewReport.h"
#include "core/reports/SummaryReport.h"
#include "core/reports/TaxReport.h"
#include "core/reports/ValueSummary.h"
#include "reports/ReportFixture.h"
#include "support/CaseName.h"

namespace {

class FixtureReportsTest : public ::testing::Test {
protected:
    ReportFixture portfolio;
    CKx7Doc& doc = portfolio.doc;
};

// In date order the lots of sale 0 form one row at its date; its cost is that of both
// lots: 100 x 10 + 20 x 20 = 1400, its gain 120 x 15 - 1400 = 400 (28.57 %). The ACME
// dividend prints its share count.
TEST_F(FixtureReportsTest, SummaryByDateWithGroupedSales) {
    EXPECT_EQ(BuildSummaryReport(doc, "ACME", true, false, true),
              "Purchase\t01/10/20\t100.0000\t10.0000\t100.0000\t\t\t\r\n"
              "Purchase\t03/05/21\t50.0000\t20.0000\t150.0000\t\t\t\r\n"
              "Sale\t02/14/22\t120.0000\t15.0000\t30.0000\t28.57\t400.00\t\r\n"
              "Dividend\t09/01/23\t\t2.0000\t\t\t2.0000\t\r\n");
}

// Ungrouped, the sale shows one row per lot: 100 x (15 - 10) = 500 (50 %), and
// 20 x (15 - 20) = -100 (-25 %).
TEST_F(FixtureReportsTest, SummaryByDateWithoutGrouping) {
    EXPECT_EQ(BuildSummaryReport(doc, "ACME", true, false, false),
              "Purchase\t01/10/20\t100.0000\t10.0000\t100.0000\t\t\t\r\n"
              "Purchase\t03/05/21\t50.0000\t20.0000\t150.0000\t\t\t\r\n"
              "Sale\t02/14/22\t100.0000\t15.0000\t50.0000\t50.00\t500.00\t\r\n"
              "Sale\t02/14/22\t20.0000\t15.0000\t30.0000\t-25.00\t-100.00\t\r\n"
              "Dividend\t09/01/23\t\t2.0000\t\t\t2.0000\t\r\n");
}

// The grants of ACME, each followed by its sales: 150 x (30 - 5) = 3750 on a cost of
// 750, and the expired options. The dividends of ACME follow the options too.
TEST_F(FixtureReportsTest, SummaryOfTheOptionsByPurchase) {
    EXPECT_EQ(BuildSummaryReport(doc, "ACME-O", false, true, true),
              "Purchase\t06/01/19\t200.0000\t5.0000\t200.0000\t\t\t\r\n"
              "Sale\t08/01/23\t150.0000\t30.0000\t50.0000\t500.00\t3750.00\t\r\n"
              "Sale\t01/02/24\t50.0000\tEXPIRED\t0.0000\t\t\t\r\n"
              "Purchase\t06/15/23\t100.0000\t8.0000\t100.0000\t\t\t\r\n"
              "Sale\t06/15/24\t100.0000\t25.0000\t0.0000\t212.50\t1700.00\t\r\n"
              "Dividend\t09/01/23\t\t2.0000\t\t\t2.0000\t\r\n");
}

// Selling the balance: the 30 shares left, today at the market price 28: cost 750,
// gain 840 - 750 = 90 (12 %); the running count returns to 0.
TEST_F(FixtureReportsTest, SummaryByPurchaseWithTheBalanceSold) {
    EXPECT_EQ(BuildSummaryReport(doc, "BETA", false, true, true),
              "Purchase\t07/20/22\t40.0000\t25.0000\t40.0000\t\t\t\r\n"
              "Sale\t08/01/23\t10.0000\t30.0000\t30.0000\t20.00\t50.00\t\r\n"
              "Sale\t06/15/24\t30.0000\t28.0000\t0.0000\t12.00\t90.00\t\r\n"
              "Dividend\t03/15/23\t\t12.5000\t\t\t12.5000\t\r\n");
}

// Sale 0 merged: cost 100 x 10 + 10 (all of lot 0's commission) + 20 x 20 + 2 (20/50 of
// lot 1's 5) = 1412; net proceeds 1800 - 12 = 1788; gain 376. The options sale carries no
// commission; BETA: net 300 - 5 = 295, gain 45. Total 376 + 3750 + 45 = 4171. The expiry
// is left out; sales 1 and 3 share a date and keep document order.
TEST_F(FixtureReportsTest, TaxOfAllYearsGroupedWithCommissions) {
    EXPECT_EQ(BuildTaxReport(doc, "Show All", true, true, false),
              "02/14/22  120.00 shares of Acme Corp(ACME)\r\n"
              "Various                     1412.00     1788.0000      376.0000\r\n"
              "\r\n"
              "08/01/23  150.00 shares of Acme Corp(Options)(ACME)\r\n"
              "06/01/19                   750.00     4500.0000     3750.0000\r\n"
              "\r\n"
              "08/01/23  10.00 shares of Beta Industries(BETA)\r\n"
              "07/20/22                   250.00      295.0000       45.0000\r\n"
              "\r\n"
              "\r\n------------------\r\nSummary Results:\r\nTotal Gain: 4171.0000\r\n");
}

struct TaxCase {
    const char* name;
    const char* year;
    bool groupSales;
    bool deductCommission;
    bool csv;
    const char* text;
};

class FixtureTaxTest : public FixtureReportsTest, public ::testing::WithParamInterface<TaxCase> {};

TEST_P(FixtureTaxTest, BuildsTheYearAsAsked) {
    const TaxCase& c = GetParam();
    EXPECT_EQ(BuildTaxReport(doc, c.year, c.groupSales, c.deductCommission, c.csv), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FixtureTaxTest,
    ::testing::Values(
        // Without commissions cost is shares x purchase price, net proceeds shares x sale
        // price: 100 x (15 - 10) = 500 and 20 x (15 - 20) = -100, one row per lot.
        TaxCase{"UngroupedWithoutCommission", "2022", false, false, false,
                "02/14/22  100.00 shares of Acme Corp(ACME)\r\n"
                "01/10/20                  1000.00     1500.0000      500.0000\r\n"
                "\r\n"
                "02/14/22  20.00 shares of Acme Corp(ACME)\r\n"
                "03/05/21                   400.00      300.0000     -100.0000\r\n"
                "\r\n"
                "\r\n------------------\r\nSummary Results:\r\nTotal Gain: 400.0000\r\n"},
        // 2023: the options sale (3750) and BETA (300 - 250 - 5 = 45).
        TaxCase{"CsvWithCommission", "2023", true, true, true,
                "08/01/23 ,150.00 ,ACME ,06/01/19 ,750.00 ,4500.0000 ,3750.0000\r\n"
                "08/01/23 ,10.00 ,BETA ,07/20/22 ,250.00 ,295.0000 ,45.0000\r\n"
                "\r\n------------------\r\nSummary Results:\r\nTotal Gain: 3795.0000\r\n"},
        TaxCase{"CsvGroupedVarious", "2022 ", true, false, true,
                "02/14/22 ,120.00 ,ACME ,Various    ,1400.00 ,1800.0000 ,400.0000\r\n"
                "\r\n------------------\r\nSummary Results:\r\nTotal Gain: 400.0000\r\n"},
        // The only 2024 sale record is the expiry, which a tax report never shows.
        TaxCase{"OnlyTheExpiry", "2024", true, true, false,
                "\r\n------------------\r\nSummary Results:\r\nTotal Gain: 0.0000\r\n"},
        TaxCase{"AYearWithoutSales", "1999", true, true, false,
                "\r\n------------------\r\nSummary Results:\r\nTotal Gain: 0.0000\r\n"},
        TaxCase{"NotAYear", "abc", true, true, true,
                "\r\n------------------\r\nSummary Results:\r\nTotal Gain: 0.0000\r\n"}),
    CaseName{});

// Realized: ACME's lots and grants sold 100 x 10 + 20 x 20 + 150 x 5 = 2150 for
// 1500 + 300 + 4500 = 6300, the expiry left out; its 2 share dividends are worth 2 x 25.
// Gain 4200 (195.3488 %). BETA 250 for 300 with 12.50 cash: 62.50 (25 %).
TEST_F(FixtureReportsTest, RealizedGains) {
    const GainsReport report = BuildGainsReport(doc, "Realized");
    EXPECT_EQ(report.text,
              "ACME\t2150.0000\t6300.0000\t50.0000\t4200.0000\t195.3488\t\r\n"
              "BETA\t250.0000\t300.0000\t12.5000\t62.5000\t25.0000\t\r\n");
    EXPECT_EQ(report.total, 4262.5f);
}

// Potential: ACME holds 30 ordinary shares at 25 = 750, but its cost takes every lot of
// the symbol, the grant of 100 at 8 included: 20 x 30 + 8 x 100 = 1400; gain
// 750 - 1400 + 50 = -600. ACME-O holds the 100 vested options (12MM, over a year): worth
// 25 x 100 at a cost of 0, so no percentage. BETA: 30 x 28 = 840 against 750, + 12.50.
TEST_F(FixtureReportsTest, PotentialGains) {
    const GainsReport report = BuildGainsReport(doc, "Potential");
    EXPECT_EQ(report.text,
              "ACME\t1400.0000\t750.0000\t50.0000\t-600.0000\t-42.8571\t\r\n"
              "ACME-O\t0.0000\t2500.0000\t0.0000\t2500.0000\tNA\t\r\n"
              "BETA\t750.0000\t840.0000\t12.5000\t102.5000\t13.6667\t\r\n");
    EXPECT_EQ(report.total, 2002.5f);
}

// Combination: ACME 2150 + 1400 against 6300 + 750, + 50: gain 3550 (100 %); ACME-O has
// no cost and no row; BETA 1000 against 1140, + 12.50.
TEST_F(FixtureReportsTest, CombinedGains) {
    const GainsReport report = BuildGainsReport(doc, "Combination");
    EXPECT_EQ(report.text,
              "ACME\t3550.0000\t7050.0000\t50.0000\t3550.0000\t100.0000\t\r\n"
              "BETA\t1000.0000\t1140.0000\t12.5000\t152.5000\t15.2500\t\r\n");
    EXPECT_EQ(report.total, 3702.5f);
    EXPECT_EQ(BuildGainsReport(doc, "anything else").text, report.text);
}

// Value: ACME 30 x 25 = 750, ACME-O (25 - 8) x 100 = 1700, BETA 30 x 28 = 840.
TEST_F(FixtureReportsTest, ValueSummary) {
    const ValueSummary summary = ComputeValueSummary(doc);
    EXPECT_EQ(summary.totalValue, 3290.0f);
    EXPECT_EQ(summary.realizedGain, 4262.5f);
    EXPECT_EQ(summary.potentialGain, 2002.5f);
    EXPECT_EQ(ValueSummaryFigures(summary), "3,290.00\r\n4,262.50\r\n2,002.50\r\n");
}

// The one-walk value agrees with the document's own sum over its held symbols, with the
// grants listed apart and kept with their stock.
TEST_F(FixtureReportsTest, PortfolioValueAgreesWithTheDocument) {
    EXPECT_EQ(PortfolioValue(doc), doc.TotalValue());
    portfolio.settings.ungroupOptions = false;
    EXPECT_EQ(PortfolioValue(doc), 3290.0f);
    EXPECT_EQ(PortfolioValue(doc), doc.TotalValue());
}

// Sale 0 is one line of 120 shares at the first lot's price: 120 x 15 = 1800.
TEST_F(FixtureReportsTest, HistoryOfEverything) {
    EXPECT_EQ(BuildHistoryReport(doc, std::nullopt),
              "06/01/19  Pur      200.0000 Acme Corp                     5.0000     1000.00\r\n"
              "01/10/20  Pur      100.0000 Acme Corp                    10.0000     1000.00\r\n"
              "03/05/21  Pur       50.0000 Acme Corp                    20.0000     1000.00\r\n"
              "02/14/22  Sale     120.0000 Acme Corp                    15.0000     1800.00\r\n"
              "07/20/22  Pur       40.0000 Beta Industries              25.0000     1000.00\r\n"
              "06/15/23  Pur      100.0000 Acme Corp                     8.0000      800.00\r\n"
              "08/01/23  Sale     150.0000 Acme Corp                    30.0000     4500.00\r\n"
              "08/01/23  Sale      10.0000 Beta Industries              30.0000      300.00\r\n"
              "01/02/24  Exp.      50.0000 Acme Corp                         NA\r\n"
              "\r\n");
}

// 400 days back from 15 June 2024 is 12 May 2023: the sales of old lots are listed
// without their purchases.
TEST_F(FixtureReportsTest, HistoryOfATimeFrame) {
    EXPECT_EQ(BuildHistoryReport(doc, 400),
              "06/15/23  Pur      100.0000 Acme Corp                     8.0000      800.00\r\n"
              "08/01/23  Sale     150.0000 Acme Corp                    30.0000     4500.00\r\n"
              "08/01/23  Sale      10.0000 Beta Industries              30.0000      300.00\r\n"
              "01/02/24  Exp.      50.0000 Acme Corp                         NA\r\n"
              "\r\n");
    EXPECT_EQ(BuildHistoryReport(doc, 7), "\r\n");
}

TEST_F(FixtureReportsTest, AvailableReports) {
    EXPECT_EQ(BuildAvailableReport(doc),
              "ACME   03/05/2021     20.0000       30.0000\r\n"
              "BETA   07/20/2022     25.0000       30.0000\r\n"
              "ACME-O 06/15/2023      8.0000      100.0000\r\n");
    EXPECT_EQ(BuildAvailableReportForSymbol(doc, "ACME"),
              "ACME   03/05/2021     20.0000       30.0000\r\n");
    EXPECT_EQ(BuildAvailableReportForSymbol(doc, "ACME-O"),
              "ACME-O 06/15/2023      8.0000      100.0000\r\n");
    EXPECT_EQ(BuildAvailableReportForSymbol(doc, "NONE"), "");
}

// Grant G-2 was entered last but dated before the options sale, so it comes second.
TEST_F(FixtureReportsTest, OverviewOfEverySymbol) {
    const std::string acme =
        "ACME:Acme Corp\r\n"
        "    01/10/2020    100.0000     10.0000     100.0000\r\n"
        "    03/05/2021     50.0000     20.0000     150.0000\r\n"
        "    02/14/2022(   120.0000)    15.0000      30.0000\r\n";
    const std::string options =
        "ACME:Acme Corp  (Options)\r\n"
        "    06/01/2019    200.0000      5.0000     200.0000\r\n"
        "    06/15/2023    100.0000      8.0000     300.0000\r\n"
        "    08/01/2023(   150.0000)    30.0000     150.0000\r\n"
        "    01/02/2024(    50.0000)    EXPIRED     100.0000\r\n";
    const std::string beta =
        "BETA:Beta Industries\r\n"
        "    07/20/2022     40.0000     25.0000      40.0000\r\n"
        "    08/01/2023(    10.0000)    30.0000      30.0000\r\n";
    const std::string separator = "======================================================\r\n";

    EXPECT_EQ(BuildOverviewReport(doc, "ACME"), acme);
    EXPECT_EQ(BuildOverviewReport(doc, "ACME-O"), options);
    EXPECT_EQ(BuildOverviewReport(doc, "BETA"), beta);
    EXPECT_EQ(BuildOverviewOfSymbols(doc, doc.SymbolNames()),
              acme + separator + options + separator + beta + separator);
}

// "Beta Industries (BETA)" is 22 characters and loses its closing parenthesis.
TEST_F(FixtureReportsTest, DetailsList) {
    EXPECT_EQ(BuildDetailsList(doc),
              "Acme Corp (ACME)     01/10/2020     10.0000    100.0000\r\n"
              "Acme Corp (ACME)     03/05/2021     20.0000     50.0000\r\n"
              "Acme Corp (ACME-O)   06/01/2019      5.0000    200.0000\r\n"
              "Beta Industries (BETA07/20/2022     25.0000     40.0000\r\n"
              "Acme Corp (ACME-O)   06/15/2023      8.0000    100.0000\r\n");
}

TEST_F(FixtureReportsTest, DetailsOfALotWithAComment) {
    EXPECT_EQ(BuildPurchaseDetails(doc, 0),
              "Company      :Acme Corp"
              "\r\nSymbol       :ACME"
              "\r\nMarket Price :25.0000"
              "\r\n\r\nShares Purchased :100.0000"
              "\r\nPurchase Date    :01/10/2020"
              "\r\nPurchase Price   :10.0000"
              "\r\nPurchase Type    :Direct Purchase"
              "\r\nComment :\r\nfirst"
              "\r\n\r\nSale Record:\r\n"
              "             Shares      Market      Shares\r\n"
              " Date         Sold        Price        Left       Comment\r\n"
              "----------  ---------  ------------  ----------  -------------------\r\n"
              "                                       100.0000\r\n"
              "02/14/2022   100.0000       15.0000      0.0000  trim\r\n");
}

TEST_F(FixtureReportsTest, DetailsOfAGrantWithAnExpiry) {
    EXPECT_EQ(BuildPurchaseDetails(doc, 2),
              "Company      :Acme Corp"
              "\r\nSymbol       :ACME"
              "\r\nMarket Price :25.0000"
              "\r\n\r\nShares Purchased :200.0000"
              "\r\nPurchase Date    :06/01/2019"
              "\r\nPurchase Price   :5.0000"
              "\r\nPurchase Type    :ISO"
              "\r\n\r\nSale Record:\r\n"
              "             Shares      Market      Shares\r\n"
              " Date         Sold        Price        Left       Comment\r\n"
              "----------  ---------  ------------  ----------  -------------------\r\n"
              "                                       200.0000\r\n"
              "08/01/2023   150.0000       30.0000     50.0000  exercise\r\n"
              "01/02/2024    50.0000       EXPIRED      0.0000  expired\r\n");
}

// No sales and no comment: the text ends with the type line, without a line end.
TEST_F(FixtureReportsTest, DetailsWithoutSales) {
    EXPECT_EQ(BuildPurchaseDetails(doc, 4),
              "Company      :Acme Corp"
              "\r\nSymbol       :ACME"
              "\r\nMarket Price :25.0000"
              "\r\n\r\nShares Purchased :100.0000"
              "\r\nPurchase Date    :06/15/2023"
              "\r\nPurchase Price   :8.0000"
              "\r\nPurchase Type    :NQ");
    EXPECT_EQ(BuildPurchaseDetails(doc, 5), std::nullopt);
}

}  // namespace

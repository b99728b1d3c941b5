// Edge cases of the report builders, each on the smallest portfolio that shows it.

#include <gtest/gtest.h>

#include <string>

#include "core/model/Kx7Doc.h"
#include "core/reports/AvailableReport.h"
#include "core/reports/DetailsReport.h"
#include "core/reports/GainsReport.h"
#include "core/reports/HistoryReport.h"
#include "core/reports/OverviewReport.h"
#include "core/reports/ReportRowList.h"
#include "core/reports/SummaryReport.h"
#include "core/reports/TaxReport.h"
#include "core/settings/Settings.h"
#include "reports/ReportFixture.h"
#include "support/CaseName.h"
#include "support/DocBuilder.h"
#include "support/TestClock.h"

namespace {

class ReportEdgeTest : public ::testing::Test {
protected:
    ScopedClock clock{At(2024, 6, 15)};
    Settings settings;
    CKx7Doc doc{settings};
};

TEST_F(ReportEdgeTest, EmptyPortfolio) {
    EXPECT_EQ(BuildSummaryReport(doc, "ACME", true, false, true), "No data to display\r\n");
    EXPECT_EQ(BuildTaxReport(doc, "Show All", true, true, false),
              "\r\n------------------\r\nSummary Results:\r\nTotal Gain: 0.0000\r\n");
    for (const char* view : {"Realized", "Potential", "Combination"}) {
        const GainsReport gains = BuildGainsReport(doc, view);
        EXPECT_EQ(gains.text, "");
        EXPECT_EQ(gains.total, 0.0f);
    }
    EXPECT_EQ(BuildHistoryReport(doc, std::nullopt), "\r\n");
    EXPECT_EQ(BuildAvailableReport(doc), "");
    EXPECT_EQ(BuildOverviewReport(doc, "ACME"), "");
    EXPECT_EQ(BuildDetailsList(doc), "");
    EXPECT_EQ(BuildPurchaseDetails(doc, 0), std::nullopt);
}

struct NameCase {
    const char* name;
    std::string company;
    std::string column;
};

class HistoryNameTest : public ReportEdgeTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(HistoryNameTest, NameFillsTwentyFiveColumns) {
    doc.Purchase({.symbol = "N",
                  .companyName = GetParam().company,
                  .shares = 2,
                  .price = 3,
                  .date = At(2024, 6, 1),
                  .commission = 0,
                  .purchaseType = "",
                  .comment = ""});
    EXPECT_EQ(
        BuildHistoryReport(doc, std::nullopt),
        "06/01/24  Pur        2.0000 " + GetParam().column + "     3.0000        6.00\r\n\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HistoryNameTest,
    ::testing::Values(
        NameCase{"Short", "Short Co", "Short Co                 "},
        NameCase{"TwentyFour", "ABCDEFGHIJKLMNOPQRSTUVWX", "ABCDEFGHIJKLMNOPQRSTUVWX "},
        NameCase{"TwentyFive", "ABCDEFGHIJKLMNOPQRSTUVWXY", "ABCDEFGHIJKLMNOPQRSTUVWXY"},
        NameCase{"Thirty", "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234", "ABCDEFGHIJKLMNOPQRSTUVWXY"}),
    CaseName{});

// The cut-off second itself is inside the time frame; a sale of an old lot is listed
// without the lot.
TEST_F(ReportEdgeTest, HistoryCutOffIsInclusive) {
    const std::int64_t cutOff = At(2024, 6, 15) - 7 * 86400;
    CPurchase& inside = AddLot(doc, "IN", 1, 1, cutOff, "Inside");
    AddLot(doc, "OUT", 1, 1, cutOff - 1, "Outside");
    inside.AddSale(1, 2, cutOff + 60, 0, "", 0);
    doc.Purchases()[1]->AddSale(1, 2, cutOff + 60, 0, "", 1);
    EXPECT_EQ(BuildHistoryReport(doc, 7),
              "06/08/24  Pur        1.0000 Inside                        1.0000        1.00\r\n"
              "06/08/24  Sale       1.0000 Inside                        2.0000        2.00\r\n"
              "06/08/24  Sale       1.0000 Outside                       2.0000        2.00\r\n"
              "\r\n");
}

// The lots of one sale make one line, at the place and date of the first lot listed; a
// later sale dated earlier comes first, and equal dates keep the order of the lots.
TEST_F(ReportEdgeTest, HistoryMergesTheLotsOfOneSale) {
    CPurchase& alpha = AddLot(doc, "AL", 2, 1, At(2024, 6, 1), "Alpha");
    CPurchase& beta = AddLot(doc, "BE", 3, 1, At(2024, 6, 1), "Beta");
    alpha.AddSale(1, 4, At(2024, 6, 10), 0, "", 5);
    beta.AddSale(2, 4, At(2024, 6, 10), 0, "", 5);
    beta.AddSale(1, 3, At(2024, 6, 5), 0, "", 6);
    EXPECT_EQ(BuildHistoryReport(doc, std::nullopt),
              "06/01/24  Pur        2.0000 Alpha                         1.0000        2.00\r\n"
              "06/01/24  Pur        3.0000 Beta                          1.0000        3.00\r\n"
              "06/05/24  Sale       1.0000 Beta                          3.0000        3.00\r\n"
              "06/10/24  Sale       3.0000 Alpha                         4.0000       12.00\r\n"
              "\r\n");
}

// A 2YA grant of 100 dated a little over a year ago has 50 vested. With 49.999905 sold,
// 0.0000954 can be exercised: over the all-symbols threshold (0.00009), under the share
// threshold (0.0001) of the per-symbol list. 0.00005 is under both.
struct SliverCase {
    const char* name;
    float sold;
    bool listedByAll;
};

class AvailableSliverTest : public ReportEdgeTest,
                            public ::testing::WithParamInterface<SliverCase> {};

TEST_P(AvailableSliverTest, ThresholdsOfTheTwoLists) {
    CPurchase& grant = AddGrant(doc, "XYZ", 100, 5, 1, At(2023, 6, 1));
    grant.AddSale(GetParam().sold, 9, At(2023, 7, 1), 0, "", 0);
    const std::string all = BuildAvailableReport(doc);
    EXPECT_EQ(!all.empty(), GetParam().listedByAll) << all;
    if (GetParam().listedByAll) {
        EXPECT_EQ(all, "XYZ-O  06/01/2023      5.0000        0.0001\r\n");
    }
    EXPECT_EQ(BuildAvailableReportForSymbol(doc, "XYZ-O"), "");
}

INSTANTIATE_TEST_SUITE_P(Cases, AvailableSliverTest,
                         ::testing::Values(SliverCase{"JustOverTheListThreshold", 49.999905f, true},
                                           SliverCase{"UnderBoth", 49.99995f, false}),
                         CaseName{});

// With grants kept with their stock the symbol list has no "-O" entry, and an overview
// entry without the suffix takes ordinary lots only: an options-only symbol shows nothing
// but the separator.
TEST_F(ReportEdgeTest, OverviewOfAnOptionsOnlySymbolThroughAPlainEntry) {
    settings.ungroupOptions = false;
    AddGrant(doc, "OPT", 10, 1);
    ASSERT_EQ(doc.SymbolNames(), std::vector<std::string>{"OPT"});
    EXPECT_EQ(BuildOverviewReport(doc, "OPT"), "");
    EXPECT_EQ(BuildOverviewOfSymbols(doc, doc.SymbolNames()),
              "======================================================\r\n");
}

// A lot of 0 shares (as a damaged file may hold) gives no commission share rather than a
// division by zero.
TEST_F(ReportEdgeTest, TaxCommissionShareOfALotWithoutShares) {
    CPurchase& lot = AddLot(doc, "Z", 0, 2, At(2020, 1, 2), "Zero");
    lot.commission = 10;
    lot.AddSale(5, 3, At(2021, 1, 2), 1, "", 0);
    EXPECT_EQ(BuildTaxReport(doc, "2021", true, true, false),
              "01/02/21  5.00 shares of Zero(Z)\r\n"
              "01/02/20                    10.00       14.0000        4.0000\r\n"
              "\r\n"
              "\r\n------------------\r\nSummary Results:\r\nTotal Gain: 4.0000\r\n");
}

// A sale year is the local calendar year: 00:30 on 1 January in New York is still the
// old year in UTC, but the report files it under the new one.
TEST_F(ReportEdgeTest, TaxYearIsTheLocalYear) {
    CPurchase& lot = AddLot(doc, "Y", 10, 1, At(2020, 1, 2), "Year");
    lot.AddSale(1, 2, LocalTimeOf(2021, 1, 1, 0, 30), 0, "", 0);
    EXPECT_NE(BuildTaxReport(doc, "2021", true, false, false).find("01/01/21  1.00 shares"),
              std::string::npos);
    EXPECT_EQ(BuildTaxReport(doc, "2020", true, false, false).find("shares"), std::string::npos);
}

// Lots that share labels share them in the report too, and lots that differ in any label
// keep their own, however the lots and their sale dates interleave.
TEST_F(ReportEdgeTest, TaxLinesKeepEachLotsLabels) {
    const std::string longName(55, 'L');
    const struct {
        const char* symbol;
        std::string company;
        bool grant;
        int saleDay;
    } lots[] = {
        {"A", "Alpha", false, 6},        {"B", "Beta", false, 1},         {"A", "Alpha", false, 3},
        {"A", "Company", true, 4},       {"A", "Company", false, 5},      {"B", "Alpha", false, 2},
        {"L", longName + "x", false, 8}, {"L", longName + "y", false, 7}, {"A", "Alpha", false, 9},
    };
    for (const auto& lot : lots) {
        CPurchase& added = AddLot(doc, lot.symbol, 10, 1, At(2020, 1, 2), lot.company);
        if (lot.grant) {
            added.vestingSchedule = 0;
        }
        added.AddSale(1, 2, At(2021, 1, lot.saleDay), 0, "", 0);
    }
    const std::string text = BuildTaxReport(doc, "2021", false, false, false);
    const std::string cut(49, 'L');
    const std::string expected[] = {
        "01/01/21  1.00 shares of Beta(B)",        "01/02/21  1.00 shares of Alpha(B)",
        "01/03/21  1.00 shares of Alpha(A)",       "01/04/21  1.00 shares of Company(Options)(A)",
        "01/05/21  1.00 shares of Company(A)",     "01/06/21  1.00 shares of Alpha(A)",
        "01/07/21  1.00 shares of " + cut + "(L)", "01/08/21  1.00 shares of " + cut + "(L)",
        "01/09/21  1.00 shares of Alpha(A)",
    };
    std::size_t from = 0;
    for (const std::string& line : expected) {
        const std::size_t at = text.find(line + "\r\n", from);
        ASSERT_NE(at, std::string::npos) << line << " in\n" << text;
        from = at + line.size();
    }
}

TEST(TaxYearTest, ReadsTheNumberAtTheStart) {
    EXPECT_EQ(TaxYear("Show All"), std::nullopt);
    EXPECT_EQ(TaxYear("2005"), 2005);
    EXPECT_EQ(TaxYear("1987"), 1987);
    EXPECT_EQ(TaxYear("2031 and on"), 2031);
    EXPECT_EQ(TaxYear("show all"), 0);
    EXPECT_EQ(TaxYear("99999999999999"), 0);
}

// A sale from a lot bought at 0 has no percentage; its gain is all of the proceeds.
TEST_F(ReportEdgeTest, SummaryGainOnACostOfZero) {
    CPurchase& lot = AddLot(doc, "FREE", 10, 0, At(2020, 1, 2));
    lot.AddSale(4, 2.5f, At(2021, 1, 2), 0, "", 0);
    EXPECT_EQ(BuildSummaryReport(doc, "FREE", true, false, true),
              "Purchase\t01/02/20\t10.0000\t0.0000\t10.0000\t\t\t\r\n"
              "Sale\t01/02/21\t4.0000\t2.5000\t6.0000\tNA\t10.00\t\r\n");
}

// In date order with grouped sales the hypothetical balance rows of two lots share one
// key and merge: 5 at 10 and 3 at 20 sold today at 30 cost 110 and bring 240.
TEST_F(ReportEdgeTest, SummaryBalanceRowsMergeInDateOrder) {
    AddLot(doc, "BAL", 5, 10, At(2020, 1, 2)).marketPrice = 30;
    AddLot(doc, "BAL", 3, 20, At(2021, 1, 2)).marketPrice = 30;
    EXPECT_EQ(BuildSummaryReport(doc, "BAL", true, true, true),
              "Purchase\t01/02/20\t5.0000\t10.0000\t5.0000\t\t\t\r\n"
              "Purchase\t01/02/21\t3.0000\t20.0000\t8.0000\t\t\t\r\n"
              "Sale\t06/15/24\t8.0000\t30.0000\t0.0000\t118.18\t130.00\t\r\n");
}

// A symbol whose lots are all filtered out still shows its dividends.
TEST_F(ReportEdgeTest, SummaryOfDividendsOnly) {
    AddGrant(doc, "DIV", 10, 1);
    doc.RecordDividend({.symbol = "DIV",
                        .kind = DividendKind::kCash,
                        .amount = 1.25f,
                        .date = At(2023, 12, 31),
                        .comment = ""});
    EXPECT_EQ(BuildSummaryReport(doc, "DIV", true, false, true),
              "No data to display\r\nDividend\t12/31/23\t\t1.2500\t\t\t1.2500\t\r\n");
}

// Kept with their stock, the grants of ACME join its summary.
TEST(ReportFixtureTest, SummaryWithGrantsKeptWithTheirStock) {
    ReportFixture portfolio;
    portfolio.settings.ungroupOptions = false;
    EXPECT_EQ(BuildSummaryReport(portfolio.doc, "ACME", false, false, false),
              "Purchase\t01/10/20\t100.0000\t10.0000\t100.0000\t\t\t\r\n"
              "Sale\t02/14/22\t100.0000\t15.0000\t0.0000\t50.00\t500.00\t\r\n"
              "Purchase\t03/05/21\t50.0000\t20.0000\t50.0000\t\t\t\r\n"
              "Sale\t02/14/22\t20.0000\t15.0000\t30.0000\t-25.00\t-100.00\t\r\n"
              "Purchase\t06/01/19\t200.0000\t5.0000\t230.0000\t\t\t\r\n"
              "Sale\t08/01/23\t150.0000\t30.0000\t80.0000\t500.00\t3750.00\t\r\n"
              "Sale\t01/02/24\t50.0000\tEXPIRED\t30.0000\t\t\t\r\n"
              "Purchase\t06/15/23\t100.0000\t8.0000\t130.0000\t\t\t\r\n"
              "Dividend\t09/01/23\t\t2.0000\t\t\t2.0000\t\r\n");
}

struct DayFirstCase {
    const char* name;
    std::string (*build)(CKx7Doc&);
    const char* expected;  // a piece of the text
};

class DayFirstTest : public ::testing::TestWithParam<DayFirstCase> {};

// Day first everywhere but in the summary's dividend lines.
TEST_P(DayFirstTest, DatesFollowTheDateOrder) {
    ReportFixture portfolio;
    portfolio.settings.dateMonthFirst = false;
    const std::string text = GetParam().build(portfolio.doc);
    EXPECT_NE(text.find(GetParam().expected), std::string::npos) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DayFirstTest,
    ::testing::Values(
        DayFirstCase{"SummaryRows",
                     [](CKx7Doc& d) { return BuildSummaryReport(d, "ACME", true, false, true); },
                     "Sale\t14/02/22\t"},
        DayFirstCase{"SummaryDividends",
                     [](CKx7Doc& d) { return BuildSummaryReport(d, "ACME", true, false, true); },
                     "Dividend\t09/01/23\t"},
        DayFirstCase{"Tax", [](CKx7Doc& d) { return BuildTaxReport(d, "2023", true, true, true); },
                     "01/08/23 ,10.00 ,BETA ,20/07/22 ,"},
        DayFirstCase{"History", [](CKx7Doc& d) { return BuildHistoryReport(d, std::nullopt); },
                     "02/01/24  Exp. "},
        DayFirstCase{"Available", [](CKx7Doc& d) { return BuildAvailableReport(d); },
                     "ACME   05/03/2021"},
        DayFirstCase{"Overview", [](CKx7Doc& d) { return BuildOverviewReport(d, "BETA"); },
                     "    01/08/2023(    10.0000)"},
        DayFirstCase{"DetailsList", [](CKx7Doc& d) { return BuildDetailsList(d); },
                     "Acme Corp (ACME)     10/01/2020"},
        DayFirstCase{"Details", [](CKx7Doc& d) { return *BuildPurchaseDetails(d, 0); },
                     "Purchase Date    :10/01/2020\r\n"}),
    CaseName{});

// A long overview, past the size where the date order switches to counting passes, with
// dates out of order and repeated, sales drawing on two lots, and expired grants' rows,
// lists what the report row list does with the same rows added in document order.
TEST_F(ReportEdgeTest, LongOverviewListsAsTheRowListDoes) {
    constexpr int kLots = 300;
    constexpr std::int64_t kWeek = 7 * 86400;
    ReportRowList rows(true, true);
    for (int i = 0; i < kLots; ++i) {
        const std::int64_t bought = At(2000, 1, 3) + (i * 37 % 50) * kWeek;
        CPurchase& lot = AddLot(doc, "LONG", 10.0f + static_cast<float>(i % 7), 2.5f, bought);
        // Sale i draws on this lot and the one before; sale kLots + i on this lot alone.
        lot.AddSale(1.25f, 3.0f, bought + (i % 5) * kWeek, 0.0f, "", i / 2);
        const float price = i % 11 == 0 ? -1.0f : 4.0f;
        lot.AddSale(0.5f, price, bought + (i % 3) * kWeek, 0.0f, "", kLots + i);
        rows.AddOverviewRow(lot.date, lot.shares, lot.price, ReportRow::kPurchaseKey);
        for (const auto& sale : lot.sales) {
            rows.AddOverviewRow(sale.date, -sale.shares, sale.price, sale.saleNumber);
        }
    }
    std::string expected = "LONG:Company\r\n";
    RenderOverviewText(rows, settings.dateMonthFirst, expected);
    EXPECT_EQ(BuildOverviewReport(doc, "LONG"), expected);
}

}  // namespace

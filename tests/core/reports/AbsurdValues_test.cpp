// A file may carry values no form would accept (typed by another program, or damaged):
// infinite or not-a-number prices, counts and amounts, and dates at the ends of the range.
// The portfolio must still open and every report print.

#include <gtest/gtest.h>

#include <limits>

#include "core/figures/DashboardFigures.h"
#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/reports/AvailableReport.h"
#include "core/reports/DetailsReport.h"
#include "core/reports/GainsReport.h"
#include "core/reports/HistoryReport.h"
#include "core/reports/MoneyFormat.h"
#include "core/reports/OverviewReport.h"
#include "core/reports/SummaryReport.h"
#include "core/reports/TaxReport.h"
#include "core/reports/ValueSummary.h"
#include "core/settings/Settings.h"
#include "support/TestClock.h"

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
constexpr float kHuge = std::numeric_limits<float>::max();

TEST(AbsurdValuesTest, APortfolioOfAbsurdValuesOpensAndEveryReportPrints) {
    ScopedClock clock(At(2024, 6, 3, 15));
    Settings settings;
    CKx7Doc made(settings);
    made.Purchase({.symbol = "INF",
                   .companyName = "Infinite Inc",
                   .shares = kInf,
                   .price = kInf,
                   .date = At(2020, 1, 2),
                   .commission = kNan,
                   .purchaseType = "Direct Purchase",
                   .comment = ""});
    made.Purchase({.symbol = "NAN",
                   .companyName = "Nan Corp",
                   .shares = kNan,
                   .price = kNan,
                   .date = 0,
                   .commission = kInf,
                   .purchaseType = "Direct Purchase",
                   .comment = ""});
    made.Purchase({.symbol = "BIG",
                   .companyName = "Huge Ltd",
                   .shares = kHuge,
                   .price = kHuge,
                   .date = 0xFFFFFFFFLL,
                   .commission = kHuge,
                   .purchaseType = "Other",
                   .comment = ""});
    made.ReceiveGrant({.symbol = "BIG",
                       .companyName = "Huge Ltd",
                       .shares = kHuge,
                       .strikePrice = -kHuge,
                       .date = At(2020, 1, 2),
                       .optionType = "ISO",
                       .vestingSchedule = 5,
                       .grantId = "G",
                       .comment = ""});
    made.Purchase({.symbol = "NEG",
                   .companyName = "Negative",
                   .shares = -5,
                   .price = -kHuge,
                   .date = At(2020, 1, 2),
                   .commission = -1,
                   .purchaseType = "Other",
                   .comment = ""});
    made.Purchases()[0]->AddSale(kNan, kInf, At(2021, 1, 1), kHuge, "", 0);
    made.Purchases()[2]->AddSale(kHuge, kHuge, At(2021, 1, 1), kNan, "", 1);
    made.Purchases()[4]->AddSale(kInf, -kInf, 0xFFFFFFFFLL, 0, "", 2);
    made.RecordDividend({.symbol = "INF",
                         .kind = DividendKind::kShares,
                         .amount = kInf,
                         .date = At(2021, 3, 1),
                         .comment = ""});
    made.RecordDividend({.symbol = "NAN",
                         .kind = DividendKind::kCash,
                         .amount = kNan,
                         .date = At(2021, 3, 1),
                         .comment = ""});
    made.SetAlert("INF", {std::numeric_limits<double>::infinity(), kNan, 1e300, -1e300});
    made.SetMarketPrice("BIG", kInf);

    CKx7Doc doc(settings);
    const std::vector<std::uint8_t> bytes = StoreKx7(made);
    ASSERT_TRUE(LoadKx7(doc, bytes).Ok());
    // A negative sale price loads as an expiry (-1.0); from then on the bytes are stable.
    CKx7Doc again(settings);
    ASSERT_TRUE(LoadKx7(again, StoreKx7(doc)).Ok());
    EXPECT_EQ(StoreKx7(again), StoreKx7(doc));

    for (const std::string& symbol : doc.SymbolNames()) {
        for (const bool byDate : {true, false}) {
            EXPECT_FALSE(BuildSummaryReport(doc, symbol, byDate, true, true).empty()) << symbol;
        }
        EXPECT_FALSE(BuildOverviewReport(doc, symbol).empty()) << symbol;
        BuildAvailableReportForSymbol(doc, symbol);
    }
    for (const bool csv : {false, true}) {
        EXPECT_FALSE(BuildTaxReport(doc, "Show All", true, true, csv).empty());
        EXPECT_FALSE(BuildTaxReport(doc, "2021", false, false, csv).empty());
    }
    for (const char* view : {"Realized", "Potential", "Combination"}) {
        BuildGainsReport(doc, view);
    }
    EXPECT_FALSE(BuildHistoryReport(doc, std::nullopt).empty());
    EXPECT_FALSE(BuildHistoryReport(doc, 7).empty());
    BuildAvailableReport(doc);
    EXPECT_FALSE(BuildDetailsList(doc).empty());
    for (std::size_t i = 0; i < doc.Purchases().size(); ++i) {
        EXPECT_TRUE(BuildPurchaseDetails(doc, i).has_value());
    }
    ComputeValueSummary(doc);
    EXPECT_FALSE(FormatMoney(kInf).empty());
    EXPECT_FALSE(FormatMoney(kNan).empty());
    EXPECT_FALSE(FormatMoney(-kHuge).empty());
    ComputeDashboard(doc, true);
    doc.RecordTimelineSample();
}

}  // namespace

#include "core/figures/DashboardFigures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/figures/SymbolFigures.h"
#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/reports/GainsReport.h"
#include "core/reports/ValueSummary.h"
#include "support/DocBuilder.h"
#include "support/TestClock.h"

namespace {

// Lots whose per-symbol sums are easy to get wrong: grants beside ordinary lots, a lot
// whose own symbol carries "-O", a share-class ticker, a sold-out lot, expired options,
// a grant still vesting by the month, stored held shares that today's count changes,
// both kinds of dividend, and alerts that fire.
void BuildPortfolio(CKx7Doc& doc) {
    CPurchase& xyz = AddLot(doc, "XYZ", 100, 10.5f, At(2020, 1, 2));
    xyz.marketPrice = 12.25f;
    xyz.quoteDirection = 1;
    xyz.quoteChange = 0.5f;
    xyz.AddSale(30, 13.1f, At(2021, 3, 4), 9.99f, "", 0);
    xyz.RecomputeHeldShares();
    CPurchase& grant = AddGrant(doc, "XYZ", 480, 7.0f, 7, At(2022, 2, 10));  // 4YM, vesting
    grant.marketPrice = 12.25f;
    CPurchase& expired = AddGrant(doc, "XYZ", 50, 20.0f, 0, At(2010, 1, 1));
    expired.AddSale(50, -1.0f, At(2020, 1, 1), 0, "expired", 1);
    AddLot(doc, "XYZ-O", 10, 3.0f).marketPrice = 4.0f;
    AddLot(doc, "BRK-B", 7, 300.0f).marketPrice = 410.3f;
    CPurchase& gone = AddLot(doc, "OLD", 20, 5.0f);
    gone.AddSale(20, 6.0f, At(2019, 5, 6), 0, "", 2);
    gone.RecomputeHeldShares();
    // Stored as a file may hold it: more than the sales leave.
    CPurchase& stale = AddLot(doc, "ABC", 40, 2.5f, At(2015, 6, 7));
    stale.AddSale(15, 3.5f, At(2016, 1, 1), 0, "", 3);
    stale.marketPrice = 1.75f;
    stale.quoteDirection = -1;
    stale.quoteChange = -0.25f;
    CPurchase& second = AddLot(doc, "XYZ", 12, 11.0f, At(2023, 1, 1));
    second.marketPrice = 12.5f;
    second.quoteDirection = -1;
    second.quoteChange = -0.75f;
    doc.RecordDividend({.symbol = "XYZ",
                        .kind = DividendKind::kCash,
                        .amount = 25.5f,
                        .date = At(2021, 1, 1),
                        .comment = ""});
    doc.RecordDividend({.symbol = "XYZ",
                        .kind = DividendKind::kShares,
                        .amount = 2.0f,
                        .date = At(2022, 1, 1),
                        .comment = ""});
    doc.RecordDividend({.symbol = "OLD",
                        .kind = DividendKind::kCash,
                        .amount = 3.0f,
                        .date = At(2019, 1, 1),
                        .comment = ""});
    doc.SetAlert("ABC", AlertThresholds{2.0, -1.0, 10.0, -1.0});
    doc.SetAlert("XYZ", AlertThresholds{-1.0, 12.0, -1.0, 5.0});
    doc.SetAlert("XYZ-O", AlertThresholds{-1.0, 1.0, -1.0, -1.0});
}

// The same with lots never quoted (no market price), two symbols of equal value, a
// grant under water and an alert on a price that is missing.
void BuildMixedPortfolio(CKx7Doc& doc) {
    BuildPortfolio(doc);
    AddLot(doc, "NEW", 25, 4.0f, At(2024, 6, 1)).marketPrice = 0.0f;
    AddLot(doc, "TIE", 10, 1.0f).marketPrice = 3.0f;
    AddLot(doc, "TAB", 5, 1.0f).marketPrice = 6.0f;
    AddGrant(doc, "ABC", 100, 5.0f, 17, At(2020, 1, 1)).marketPrice = 1.75f;
    CPurchase& late = AddLot(doc, "TIE", 4, 2.0f);
    late.marketPrice = 3.5f;
    late.AddSale(4, 2.5f, At(2024, 1, 1), 0, "", 4);
    doc.SetAlert("NEW", AlertThresholds{1.0, -1.0, -1.0, -1.0});
}

struct Options {
    bool ungroup = false;
    bool valueShown = false;
};

class DashboardFiguresTest : public ::testing::TestWithParam<Options> {
protected:
    void SetUp() override {
        settings.ungroupOptions = GetParam().ungroup;
        BuildPortfolio(doc);
        BuildPortfolio(reference);
    }

    ScopedClock clock{At(2024, 6, 15)};
    Settings settings;
    CKx7Doc doc{settings};
    CKx7Doc reference{settings};
};

TEST_P(DashboardFiguresTest, AnswersAsTheDocumentQueries) {
    const SymbolFigures figures(doc);
    EXPECT_EQ(figures.HeldNames(), doc.SymbolNames(SymbolFilter::kHeldLots));
    EXPECT_EQ(figures.AllNames(), doc.SymbolNames());
    std::vector<std::string> asked = doc.SymbolNames();
    asked.insert(asked.end(), {"XYZ-O", "ABC-O", "BRK-B", "NONE", "", "-O"});
    float total = 0.0f;
    for (const std::string& symbol : doc.SymbolNames(SymbolFilter::kHeldLots)) {
        total += doc.SymbolValue(symbol);
    }
    EXPECT_EQ(figures.TotalValue(), total);
    EXPECT_EQ(doc.TotalValue(), total);
    for (const std::string& symbol : asked) {
        SCOPED_TRACE(symbol);
        EXPECT_EQ(figures.Value(symbol), doc.SymbolValue(symbol));
        EXPECT_EQ(figures.CostHeld(symbol), doc.CostSum(symbol, CostMode::kHeld));
        EXPECT_EQ(figures.MarketPrice(symbol), doc.MarketPrice(symbol));
        EXPECT_EQ(figures.QuoteDirection(symbol), doc.QuoteDirection(symbol));
        EXPECT_EQ(figures.QuoteChange(symbol), doc.QuoteChange(symbol));
    }
}

// The view's figures equal the queries made one after another in the view's order, once
// the held shares are brought up to today: the first figures count them as every later
// one does.
TEST_P(DashboardFiguresTest, EqualsTheQueriesInPaintOrder) {
    const bool valueShown = GetParam().valueShown;
    const DashboardFigures figures = ComputeDashboard(doc, valueShown);
    reference.BringHeldSharesUpToDate();

    EXPECT_EQ(figures.alerts, EvaluateAlerts(reference));
    if (valueShown) {
        EXPECT_EQ(figures.values.totalValue, reference.TotalValue());
        EXPECT_EQ(figures.values.realizedGain, BuildRealizedGains(reference).total);
        EXPECT_EQ(figures.values.potentialGain, BuildPotentialGains(reference).total);
    }
    const PortfolioSnapshot snapshot = TakePortfolioSnapshot(reference);
    ASSERT_EQ(figures.snapshot.entries.size(), snapshot.entries.size());
    for (std::size_t i = 0; i < snapshot.entries.size(); ++i) {
        EXPECT_EQ(figures.snapshot.entries[i].symbol, snapshot.entries[i].symbol);
        EXPECT_EQ(figures.snapshot.entries[i].value, snapshot.entries[i].value);
    }
    EXPECT_EQ(figures.snapshot.total, snapshot.total);
    EXPECT_EQ(figures.holdings, BuildHoldingRows(reference, snapshot));
    for (std::size_t i = 0; i < doc.Purchases().size(); ++i) {
        EXPECT_EQ(doc.Purchases()[i]->availableShares, reference.Purchases()[i]->availableShares);
    }
    for (const std::string& symbol : reference.SymbolNames()) {
        EXPECT_EQ(doc.AlertState(symbol), reference.AlertState(symbol)) << symbol;
    }
}

INSTANTIATE_TEST_SUITE_P(Settings, DashboardFiguresTest,
                         ::testing::Values(Options{false, false}, Options{false, true},
                                           Options{true, false}, Options{true, true}),
                         [](const ::testing::TestParamInfo<Options>& param) {
                             return std::string(param.param.ungroup ? "Ungrouped" : "Grouped") +
                                    (param.param.valueShown ? "WithValues" : "WithoutValues");
                         });

// The figures of a mixed portfolio, written out: sums that add in another order, or ties
// that sort another way, change them. The total value is the snapshot's total, since both
// count the held shares as of today.
struct PinnedPaint {
    bool ungroup;
    float totalValue;
    float realizedGain;
    float potentialGain;
    float snapshotTotal;
    std::vector<SnapshotEntry> entries;
    // Symbol text, value, price and change of each holding row.
    std::vector<std::vector<std::string>> holdings;
};

const PinnedPaint kPinnedPaints[] = {
    {false,
     7930.84961f,
     168.0f,
     6435.34961f,
     7930.84961f,
     {{"BRK-B", 2872.09985f},
      {"XYZ", 2477.5f},
      {"XYZ-O", 2477.5f},
      {"ABC", 43.75f},
      {"TAB", 30.0f},
      {"TIE", 30.0f},
      {"NEW", 0.0f}},
     {{" BRK-B", "2872.10", "410.30", "0.00"},
      {" XYZ+", "2477.50", "12.25", "-0.75"},
      {" XYZ-O+", "2477.50", "12.25", "0.00"},
      {" ABC-", "43.75", "1.75", "0.00"},
      {" TAB", "30.00", "6.00", "0.00"},
      {" TIE", "30.00", "3.00", "0.00"},
      {" NEW-", "0.00", "0.00", "0.00"}}},
    {true,
     5453.34961f,
     168.0f,
     2000.84985f,
     5453.34961f,
     {{"BRK-B", 2872.09985f},
      {"XYZ-O", 1470.0f},
      {"XYZ", 1007.5f},
      {"ABC", 43.75f},
      {"TAB", 30.0f},
      {"TIE", 30.0f},
      {"ABC-O", 0.0f},
      {"NEW", 0.0f}},
     {{" BRK-B", "2872.10", "410.30", "0.00"},
      {" XYZ-O+", "1470.00", "12.25", "0.00"},
      {" XYZ+", "1007.50", "12.25", "-0.75"},
      {" ABC-", "43.75", "1.75", "0.00"},
      {" TAB", "30.00", "6.00", "0.00"},
      {" TIE", "30.00", "3.00", "0.00"},
      {" ABC-O", "0.00", "1.75", "0.00"},
      {" NEW-", "0.00", "0.00", "0.00"}}},
};

TEST(DashboardPinnedTest, PaintsTheMixedPortfolioAsWrittenOut) {
    for (const PinnedPaint& pinned : kPinnedPaints) {
        SCOPED_TRACE(pinned.ungroup ? "ungrouped" : "grouped");
        const ScopedClock clock{At(2024, 6, 15)};
        Settings settings;
        settings.ungroupOptions = pinned.ungroup;
        CKx7Doc doc{settings};
        BuildMixedPortfolio(doc);

        const DashboardFigures figures = ComputeDashboard(doc, true);

        EXPECT_EQ(figures.values.totalValue, pinned.totalValue);
        EXPECT_EQ(figures.values.realizedGain, pinned.realizedGain);
        EXPECT_EQ(figures.values.potentialGain, pinned.potentialGain);
        EXPECT_EQ(figures.snapshot.total, pinned.snapshotTotal);
        ASSERT_EQ(figures.snapshot.entries.size(), pinned.entries.size());
        for (std::size_t i = 0; i < pinned.entries.size(); ++i) {
            EXPECT_EQ(figures.snapshot.entries[i].symbol, pinned.entries[i].symbol) << i;
            EXPECT_EQ(figures.snapshot.entries[i].value, pinned.entries[i].value) << i;
        }
        std::vector<std::vector<std::string>> holdings;
        for (const HoldingRow& row : figures.holdings) {
            holdings.push_back({row.symbolText, row.value, row.price, row.change});
        }
        EXPECT_EQ(holdings, pinned.holdings);
        std::vector<std::vector<std::string>> alerts;
        for (const AlertRow& row : figures.alerts) {
            alerts.push_back({row.symbol, row.target, row.current});
        }
        EXPECT_EQ(alerts, (std::vector<std::vector<std::string>>{{" ABC", "2.00", "1.75"},
                                                                 {" ABC", "92.22%", "10.00%"},
                                                                 {" NEW", "1.00", "0.00"},
                                                                 {" XYZ", "12.00", "12.25"},
                                                                 {" XYZ-O", "1.00", "12.25"}}));
    }
}

// A portfolio saved a year ago and opened today: the grant has vested further since its
// held shares were stored. The first figures already count that, so they equal every
// later one, and the command line's value summary says the same.
TEST(DashboardFirstFiguresTest, AFileOpenedLaterShowsTodaysValueAtOnce) {
    Settings settings;
    CKx7Doc written{settings};
    {
        const ScopedClock then{At(2023, 6, 15)};
        BuildPortfolio(written);
        written.BringHeldSharesUpToDate();
    }
    const std::vector<std::uint8_t> bytes = StoreKx7(written);

    const ScopedClock now{At(2024, 6, 15)};
    CKx7Doc opened{settings};
    ASSERT_TRUE(LoadKx7(opened, bytes).error.empty());
    const DashboardFigures first = ComputeDashboard(opened, true);
    const DashboardFigures later = ComputeDashboard(opened, true);
    EXPECT_EQ(first.values.totalValue, later.values.totalValue);
    EXPECT_EQ(first.values.totalValue, first.snapshot.total);
    EXPECT_EQ(first.alerts, later.alerts);

    CKx7Doc command{settings};
    ASSERT_TRUE(LoadKx7(command, bytes).error.empty());
    const ValueSummary summary = ComputeValueSummary(command);
    EXPECT_EQ(summary.totalValue, first.values.totalValue);
    EXPECT_EQ(summary.realizedGain, first.values.realizedGain);
    EXPECT_EQ(summary.potentialGain, first.values.potentialGain);
}

}  // namespace

#include "core/figures/DashboardCache.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"
#include "support/DocBuilder.h"
#include "support/TestClock.h"

namespace {

const std::int64_t kNow = At(2024, 6, 15);

// Ordinary lots with a sale, a grant still vesting by the month, a dividend and alerts:
// every panel of the dashboard has something to show.
void BuildPortfolio(CKx7Doc& doc) {
    CPurchase& xyz = AddLot(doc, "XYZ", 100, 10.5f, At(2020, 1, 2));
    xyz.marketPrice = 12.25f;
    xyz.quoteDirection = 1;
    xyz.AddSale(30, 13.1f, At(2021, 3, 4), 9.99f, "", 0);
    xyz.RecomputeHeldShares();
    AddGrant(doc, "XYZ", 480, 7.0f, 7, At(2022, 2, 10)).marketPrice = 12.25f;
    AddLot(doc, "ABC", 40, 2.5f, At(2015, 6, 7)).marketPrice = 1.75f;
    AddLot(doc, "BRK-B", 7, 300.0f).marketPrice = 410.3f;
    doc.RecordDividend({.symbol = "XYZ",
                        .kind = DividendKind::kCash,
                        .amount = 25.5f,
                        .date = At(2021, 1, 1),
                        .comment = ""});
    doc.SetAlert("ABC", AlertThresholds{2.0, -1.0, 10.0, -1.0});
    doc.SetAlert("XYZ", AlertThresholds{-1.0, 12.0, -1.0, 5.0});
}

void ExpectSameFigures(const PaintFigures& shown, const PaintFigures& fresh) {
    EXPECT_EQ(shown.dashboard.alerts, fresh.dashboard.alerts);
    EXPECT_EQ(shown.dashboard.values.totalValue, fresh.dashboard.values.totalValue);
    EXPECT_EQ(shown.dashboard.values.realizedGain, fresh.dashboard.values.realizedGain);
    EXPECT_EQ(shown.dashboard.values.potentialGain, fresh.dashboard.values.potentialGain);
    EXPECT_EQ(shown.dashboard.holdings, fresh.dashboard.holdings);
    EXPECT_EQ(shown.dashboard.snapshot.total, fresh.dashboard.snapshot.total);
    ASSERT_EQ(shown.pie.slices.size(), fresh.pie.slices.size());
    for (std::size_t i = 0; i < fresh.pie.slices.size(); ++i) {
        EXPECT_EQ(shown.pie.slices[i].label, fresh.pie.slices[i].label);
        EXPECT_EQ(shown.pie.slices[i].sweep, fresh.pie.slices[i].sweep);
    }
    EXPECT_EQ(shown.pie.other.has_value(), fresh.pie.other.has_value());
    EXPECT_EQ(shown.sliceDirections, fresh.sliceDirections);
}

// A document painted through a cache beside a twin that is computed afresh each time;
// every step is made on both.
class DashboardCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        BuildPortfolio(doc);
        BuildPortfolio(twin);
    }

    // A change the revision does not see: the cache can only pick it up through another
    // part of its key.
    void ChangeUnseen() {
        doc.Purchases().back()->marketPrice = 500.0f;
        twin.Purchases().back()->marketPrice = 500.0f;
    }

    ScopedClock clock{kNow};
    Settings settings;
    CKx7Doc doc{settings};
    CKx7Doc twin{settings};
    DashboardCache cache;
};

TEST_F(DashboardCacheTest, AnUnchangedDocumentGetsTheLastFigures) {
    const PaintFigures& first = cache.Figures(doc, true);
    const std::vector<HoldingRow> painted = first.dashboard.holdings;
    ExpectSameFigures(first, ComputePaintFigures(twin, true));
    ChangeUnseen();
    const PaintFigures& again = cache.Figures(doc, true);
    EXPECT_EQ(&again, &first);
    EXPECT_EQ(again.dashboard.holdings, painted);
    EXPECT_NE(ComputePaintFigures(twin, true).dashboard.holdings, painted);
}

struct KeyChange {
    const char* name;
    // Made on the document and on its twin alike.
    std::function<void(CKx7Doc&)> onDocument;
    std::function<void(Settings&, ScopedClock&)> onSettings;
    bool valueShown = true;
};

void PrintTo(const KeyChange& change, std::ostream* out) {
    *out << change.name;
}

const KeyChange kKeyChanges[] = {
    {"MarkedModified", [](CKx7Doc& doc) { doc.SetModified(); }, {}},
    {"PriceSet", [](CKx7Doc& doc) { doc.SetMarketPrice("ABC", 1.5f); }, {}},
    {"QuoteApplied", [](CKx7Doc& doc) { doc.ApplyQuote("XYZ", 13.0f, -1, -0.5f, 0.0f); }, {}},
    {"SymbolChanged", [](CKx7Doc& doc) { doc.ChangeSymbol("ABC", "ABD", "Company"); }, {}},
    {"AlertSet",
     [](CKx7Doc& doc) {
         doc.SetAlert("BRK-B", AlertThresholds{-1.0, 400.0, -1.0, -1.0});
     },
     {}},
    {"Sold",
     [](CKx7Doc& doc) {
         doc.Sell({.symbol = "XYZ",
                   .shares = 5,
                   .price = 14.0f,
                   .date = kNow,
                   .commission = 0.0f,
                   .method = SaleMethod::kFifo,
                   .comment = ""});
     },
     {}},
    {"Split", [](CKx7Doc& doc) { doc.StockSplit("BRK-B", 2, 1, kNow); }, {}},
    {"DividendRecorded",
     [](CKx7Doc& doc) {
         doc.RecordDividend({.symbol = "ABC",
                             .kind = DividendKind::kCash,
                             .amount = 3.0f,
                             .date = kNow,
                             .comment = ""});
     },
     {}},
    {"OptionsExpired", [](CKx7Doc& doc) { doc.ExpireOptions("XYZ-O", kNow, ""); }, {}},
    // Asking for every option held stores them in the grant, unvested ones included.
    {"HeldOptionsAsked", [](CKx7Doc& doc) { doc.OptionSharesHeld("XYZ-O"); }, {}},
    {"RecordAppended", [](CKx7Doc& doc) { AddLot(doc, "NEW", 5, 1.0f).marketPrice = 2.0f; }, {}},
    {"AnotherPortfolioLoaded",
     [](CKx7Doc& doc) {
         doc.ClearContents();
         AddLot(doc, "ONE", 3, 1.0f).marketPrice = 2.0f;
     },
     {}},
    {"NewPortfolio", [](CKx7Doc& doc) { doc.NewDocument(); }, {}},
    {"ClockOneSecondOn", {}, [](Settings&, ScopedClock& clock) { clock.Set(kNow + 1); }},
    {"ClockAMonthOn", {}, [](Settings&, ScopedClock& clock) { clock.Set(At(2024, 7, 15)); }},
    {"OptionsUngrouped",
     {},
     [](Settings& settings, ScopedClock&) { settings.ungroupOptions = !settings.ungroupOptions; }},
    {"PieGrouping",
     {},
     [](Settings& settings, ScopedClock&) { settings.pieGrouping = PieGrouping::kBySymbol; }},
    {"PieRecordCount", {}, [](Settings& settings, ScopedClock&) { settings.pieRecordCount = 1; }},
    {"ValueHidden", {}, {}, false},
};

class DashboardCacheKeyTest : public DashboardCacheTest,
                              public ::testing::WithParamInterface<KeyChange> {};

// Whatever part of the key moves, the view gets the figures a fresh computation gives,
// the change the revision does not see included.
TEST_P(DashboardCacheKeyTest, EachPartOfTheKeyTakesFreshFigures) {
    const KeyChange& change = GetParam();
    const std::vector<HoldingRow> painted = cache.Figures(doc, true).dashboard.holdings;
    ComputePaintFigures(twin, true);
    ChangeUnseen();
    if (change.onDocument) {
        change.onDocument(doc);
        change.onDocument(twin);
    }
    if (change.onSettings) {
        change.onSettings(settings, clock);
    }
    const PaintFigures& shown = cache.Figures(doc, change.valueShown);
    ExpectSameFigures(shown, ComputePaintFigures(twin, change.valueShown));
    EXPECT_NE(shown.dashboard.holdings, painted);
}

INSTANTIATE_TEST_SUITE_P(Changes, DashboardCacheKeyTest, ::testing::ValuesIn(kKeyChanges),
                         [](const ::testing::TestParamInfo<KeyChange>& param) {
                             return std::string(param.param.name);
                         });

// Two documents at the same revision are not taken for one another.
TEST_F(DashboardCacheTest, AnotherDocumentTakesItsOwnFigures) {
    CKx7Doc other{settings};
    BuildPortfolio(other);
    other.Purchases().back()->marketPrice = 500.0f;
    twin.Purchases().back()->marketPrice = 500.0f;
    ASSERT_EQ(other.Revision(), doc.Revision());
    cache.Figures(doc, true);
    const PaintFigures& shown = cache.Figures(other, true);
    ExpectSameFigures(shown, ComputePaintFigures(twin, true));
    EXPECT_NE(shown.dashboard.holdings, ComputePaintFigures(doc, true).dashboard.holdings);
}

}  // namespace

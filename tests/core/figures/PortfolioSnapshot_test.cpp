#include "core/figures/PortfolioSnapshot.h"

#include <gtest/gtest.h>

#include "core/figures/AlertRows.h"
#include "core/model/Kx7Doc.h"
#include "support/DocBuilder.h"

namespace {

std::vector<std::string> Symbols(const PortfolioSnapshot& snapshot) {
    std::vector<std::string> symbols;
    for (const SnapshotEntry& entry : snapshot.entries) {
        symbols.push_back(entry.symbol);
    }
    return symbols;
}

class SnapshotTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddLot(doc, "MMM", 10, 1).marketPrice = 5;  // 50
        AddLot(doc, "AAA", 10, 1).marketPrice = 2;  // 20
        AddLot(doc, "ZZZ", 10, 1).marketPrice = 9;  // 90
        AddLot(doc, "BBB", 10, 1).marketPrice = 2;  // 20
        AddLot(doc, "OLD", 10, 1).availableShares = 0;
    }

    Settings settings;
    CKx7Doc doc{settings};
};

TEST_F(SnapshotTest, OrdersByValueForPercentAndValue) {
    for (const PieGrouping grouping : {PieGrouping::kByPercent, PieGrouping::kByValue}) {
        settings.pieGrouping = grouping;
        const PortfolioSnapshot snapshot = TakePortfolioSnapshot(doc);
        EXPECT_EQ(Symbols(snapshot), (std::vector<std::string>{"ZZZ", "MMM", "AAA", "BBB"}));
        EXPECT_FLOAT_EQ(snapshot.total, 180.0f);
    }
}

TEST_F(SnapshotTest, KeepsSymbolOrderForSymbol) {
    settings.pieGrouping = PieGrouping::kBySymbol;
    EXPECT_EQ(Symbols(TakePortfolioSnapshot(doc)),
              (std::vector<std::string>{"AAA", "BBB", "MMM", "ZZZ"}));
}

TEST_F(SnapshotTest, HoldingRowsCarryColoursMarksAndChange) {
    settings.pieGrouping = PieGrouping::kBySymbol;
    doc.Purchases()[0]->quoteDirection = 1;  // MMM
    doc.Purchases()[0]->quoteChange = 0.25f;
    doc.Purchases()[1]->quoteDirection = -1;  // AAA
    doc.Purchases()[1]->quoteChange = -1.5f;
    doc.SetAlert("AAA", {.lowMark = 3.0});
    doc.SetAlert("ZZZ", {.highMark = 8.0});
    EvaluateAlerts(doc);

    const std::vector<HoldingRow> rows = BuildHoldingRows(doc, TakePortfolioSnapshot(doc));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (HoldingRow{" AAA-", true, view_palette::SliceColour(0), "20.00", "2.00",
                                   "-1.50", view_palette::kFalling}));
    EXPECT_EQ(rows[1], (HoldingRow{" BBB", false, view_palette::SliceColour(1), "20.00", "2.00",
                                   "0.00", view_palette::kUnchanged}));
    EXPECT_EQ(rows[2].change, "0.25");
    EXPECT_EQ(rows[2].changeBackground, view_palette::kRising);
    EXPECT_EQ(rows[3].symbolText, " ZZZ+");
    EXPECT_TRUE(rows[3].bold);
}

TEST(SliceColourTest, RepeatsTheTablePastThirtyRows) {
    EXPECT_EQ(view_palette::SliceColour(0), (Rgb{80, 255, 80}));
    EXPECT_EQ(view_palette::SliceColour(29), (Rgb{237, 142, 180}));
    EXPECT_EQ(view_palette::SliceColour(30), view_palette::SliceColour(0));
    EXPECT_EQ(view_palette::SliceColour(11), view_palette::SliceColour(23));
}

}  // namespace

#include "core/reports/GainTotals.h"

#include <gtest/gtest.h>

#include "core/model/Kx7Doc.h"
#include "core/reports/GainsFigures.h"
#include "support/DocBuilder.h"
#include "support/TestClock.h"

namespace {

void Sell(CPurchase& lot, float shares, float price) {
    lot.AddSale(shares, price, At(2024, 3, 1), 0.0f, "", 1);
    lot.RecomputeHeldShares();
}

class GainTotalsTest : public ::testing::Test {
protected:
    ScopedClock clock{At(2024, 6, 3)};
    Settings settings;
    CKx7Doc doc{settings};
};

TEST_F(GainTotalsTest, EmptyPortfolioHasNoGains) {
    EXPECT_EQ(RealizedGainTotal(doc), 0.0f);
    EXPECT_EQ(PotentialGainTotal(doc), 0.0f);
}

// AAA: 10 bought at 5, 4 sold at 8, 6 held at 10, cash dividend 3.
// BBB: sold out, 2 bought at 20 and sold at 15.
// CCC: held only, 1 at 100 now worth 90.
TEST_F(GainTotalsTest, SumsRealizedAndPotentialRows) {
    CPurchase& aaa = AddLot(doc, "AAA", 10, 5);
    Sell(aaa, 4, 8);
    aaa.marketPrice = 10;
    doc.AppendDividend(std::make_unique<CDividend>("AAA", DividendKind::kCash, 3.0f, 0, ""));
    CPurchase& bbb = AddLot(doc, "BBB", 2, 20);
    Sell(bbb, 2, 15);
    bbb.marketPrice = 30;
    AddLot(doc, "CCC", 1, 100).marketPrice = 90;

    // Realised: AAA 32 - 20 + 3, BBB 30 - 40; CCC sold nothing.
    EXPECT_FLOAT_EQ(RealizedGainTotal(doc), 15.0f - 10.0f);
    // Potential: AAA 60 - 30 + 3, CCC 90 - 100; BBB holds nothing.
    EXPECT_FLOAT_EQ(PotentialGainTotal(doc), 33.0f - 10.0f);
}

TEST_F(GainTotalsTest, ExpiredOptionsAddNothingRealized) {
    CPurchase& grant = AddGrant(doc, "XYZ", 100, 5, 0, At(2020, 1, 1));
    grant.AddSale(100, CSale::kExpiredPrice, At(2024, 1, 1), 0.0f, "", 1);
    grant.RecomputeHeldShares();
    EXPECT_EQ(RealizedCost(doc, "XYZ"), 0.0f);
    EXPECT_EQ(RealizedGainTotal(doc), 0.0f);
}

// The gains reports take their symbol list from the figures of their own walk; it must
// be the document's list, grants listed apart or not, including a grant-only symbol and
// an ordinary symbol that is spelt like a grant's listed name.
TEST_F(GainTotalsTest, FiguresListTheDocumentsSymbols) {
    AddLot(doc, "BBB", 10, 1, At(2020, 1, 1));
    AddLot(doc, "AAA", 10, 1, At(2020, 2, 1));
    AddGrant(doc, "AAA", 100, 5, 0, At(2020, 3, 1));
    AddGrant(doc, "GRN", 100, 5, 0, At(2020, 4, 1));
    AddLot(doc, "GRN-O", 10, 1, At(2020, 5, 1));
    AddLot(doc, "BBB", 10, 1, At(2020, 6, 1));
    for (const bool ungroup : {false, true}) {
        settings.ungroupOptions = ungroup;
        GainsFigures figures(ungroup);
        for (const auto& lot : doc.Purchases()) {
            figures.AddLot(*lot);
        }
        EXPECT_EQ(figures.SymbolNames(), doc.SymbolNames()) << "ungroup " << ungroup;
    }
    EXPECT_TRUE(GainsFigures(false).SymbolNames().empty());
}

}  // namespace

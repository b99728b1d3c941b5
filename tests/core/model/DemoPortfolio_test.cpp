#include "core/model/DemoPortfolio.h"

#include <gtest/gtest.h>

#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"

namespace {

TEST(DemoPortfolioTest, HoldsEveryKindOfRecord) {
    Settings settings;
    CKx7Doc doc(settings);
    BuildDemoPortfolio(doc);

    EXPECT_EQ(doc.SymbolNames(),
              (std::vector<std::string>{"ACME", "ACME-O", "BLUE", "CRNR", "DLTA"}));
    EXPECT_EQ(doc.Dividends().size(), 3u);
    EXPECT_EQ(doc.Splits().size(), 1u);
    EXPECT_EQ(doc.Alerts().size(), 2u);
    EXPECT_EQ(doc.OwnerName(), "Pat Example");
    EXPECT_EQ(doc.NextSaleNumber(), 4);

    // The lot-by-lot sale drew on both CRNR lots; the FIFO sale spanned two ACME lots.
    EXPECT_EQ(doc.Purchases()[5]->sales.size(), 1u);
    EXPECT_EQ(doc.Purchases()[6]->sales.size(), 2u);
    EXPECT_EQ(doc.Purchases()[0]->sales.size(), 1u);
    EXPECT_EQ(doc.Purchases()[1]->sales.size(), 1u);
    EXPECT_EQ(doc.Purchases()[8]->availableShares, 900.0f);
    EXPECT_EQ(doc.Purchases()[7]->shares, 160.0f);
    EXPECT_GT(doc.TotalValue(), 0.0f);
}

}  // namespace

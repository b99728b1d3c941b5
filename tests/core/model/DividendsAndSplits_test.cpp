#include <gtest/gtest.h>

#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"
#include "support/CaseName.h"
#include "support/TestClock.h"

namespace {

class EventTest : public ::testing::Test {
protected:
    Settings settings;
    CKx7Doc doc{settings};
};

TEST_F(EventTest, RecordDividendAddsNoSharesButCounts) {
    doc.Purchase({.symbol = "XYZ",
                  .companyName = "Xyz",
                  .shares = 100,
                  .price = 10,
                  .date = At(2020, 1, 2),
                  .commission = 0,
                  .purchaseType = "Direct Purchase",
                  .comment = ""});
    doc.RecordDividend({.symbol = "XYZ",
                        .kind = DividendKind::kShares,
                        .amount = 3,
                        .date = At(2020, 6, 1),
                        .comment = "stock dividend"});
    ASSERT_EQ(doc.Dividends().size(), 1u);
    EXPECT_EQ(doc.Dividends()[0]->dividendKind, DividendKind::kShares);
    EXPECT_EQ(doc.Dividends()[0]->comment, "stock dividend");
    EXPECT_EQ(doc.Purchases()[0]->availableShares, 100.0f);
    EXPECT_EQ(doc.Purchases().size(), 1u);
    EXPECT_EQ(doc.RecordCount(), 2);
}

struct SplitCase {
    const char* name;
    int newShares;
    int oldShares;
    float shares, price, market, saleShares, salePrice, held;
};

class SplitTest : public ::testing::TestWithParam<SplitCase> {};

// A lot of 100 bought at 50, market 80, with a sale of 40 at 60 and an expiry of 10.
TEST_P(SplitTest, AdjustsEveryLotAndSaleOfTheSymbol) {
    const SplitCase& c = GetParam();
    Settings settings;
    CKx7Doc doc(settings);
    CPurchase& lot = doc.Purchase({.symbol = "XYZ",
                                   .companyName = "Xyz",
                                   .shares = 100,
                                   .price = 50,
                                   .date = At(2020, 1, 2),
                                   .commission = 0,
                                   .purchaseType = "Direct Purchase",
                                   .comment = ""});
    lot.marketPrice = 80;
    doc.Sell({.symbol = "XYZ",
              .shares = 40,
              .price = 60,
              .date = At(2020, 5, 1),
              .commission = 0,
              .method = SaleMethod::kFifo,
              .comment = ""});
    lot.AddSale(10, CSale::kExpiredPrice, At(2020, 6, 1), 0, "", 9);
    lot.RecomputeHeldShares();
    doc.Purchase({.symbol = "XYZW",
                  .companyName = "Other",
                  .shares = 100,
                  .price = 50,
                  .date = At(2020, 1, 2),
                  .commission = 0,
                  .purchaseType = "Direct Purchase",
                  .comment = ""});

    doc.StockSplit("XYZ", c.newShares, c.oldShares, At(2019, 1, 1));
    EXPECT_FLOAT_EQ(lot.shares, c.shares) << c.name;
    EXPECT_FLOAT_EQ(lot.price, c.price) << c.name;
    EXPECT_FLOAT_EQ(lot.marketPrice, c.market) << c.name;
    EXPECT_FLOAT_EQ(lot.availableShares, c.held) << c.name;
    EXPECT_FLOAT_EQ(lot.sales[0].shares, c.saleShares) << c.name;
    EXPECT_FLOAT_EQ(lot.sales[0].price, c.salePrice) << c.name;
    EXPECT_EQ(lot.sales[1].price, -1.0f) << c.name;
    EXPECT_FLOAT_EQ(lot.sales[1].shares, 10 * static_cast<float>(c.newShares) / c.oldShares);
    EXPECT_EQ(doc.Purchases()[1]->shares, 100.0f);

    ASSERT_EQ(doc.Splits().size(), 1u);
    EXPECT_EQ(doc.Splits()[0].symbol, "XYZ");
    EXPECT_EQ(doc.Splits()[0].newShares, c.newShares);
    EXPECT_EQ(doc.Splits()[0].oldShares, c.oldShares);
    EXPECT_EQ(doc.Splits()[0].date, At(2019, 1, 1));
}

INSTANTIATE_TEST_SUITE_P(Ratios, SplitTest,
                         ::testing::Values(SplitCase{"two_for_one", 2, 1, 200, 25, 40, 80, 30, 100},
                                           SplitCase{"three_for_two", 3, 2, 150, 50 / 1.5f,
                                                     80 / 1.5f, 60, 60 / 1.5f, 75},
                                           SplitCase{"one_for_four", 1, 4, 25, 200, 320, 10, 240,
                                                     12.5f}),
                         CaseName{});

TEST_F(EventTest, ASplitWithoutAPositiveRatioChangesNothing) {
    doc.Purchase({.symbol = "XYZ",
                  .companyName = "Xyz",
                  .shares = 100,
                  .price = 50,
                  .date = At(2020, 1, 2),
                  .commission = 0,
                  .purchaseType = "Direct Purchase",
                  .comment = ""});
    doc.SetModified(false);
    doc.StockSplit("XYZ", 2, 0, At(2021, 1, 1));
    doc.StockSplit("XYZ", 0, 2, At(2021, 1, 1));
    doc.StockSplit("XYZ", -2, 1, At(2021, 1, 1));
    EXPECT_EQ(doc.Purchases()[0]->shares, 100.0f);
    EXPECT_EQ(doc.Purchases()[0]->price, 50.0f);
    EXPECT_TRUE(doc.Splits().empty());
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(EventTest, ChangeSymbolRenamesStockAndGrantsOnly) {
    doc.Purchase({.symbol = "XYZ",
                  .companyName = "Xyz",
                  .shares = 100,
                  .price = 50,
                  .date = At(2020, 1, 2),
                  .commission = 0,
                  .purchaseType = "Direct Purchase",
                  .comment = ""});
    doc.ReceiveGrant({.symbol = "XYZ",
                      .companyName = "Xyz",
                      .shares = 100,
                      .strikePrice = 5,
                      .date = At(2020, 1, 2),
                      .optionType = "ISO",
                      .vestingSchedule = 3,
                      .grantId = "",
                      .comment = ""});
    doc.Purchase({.symbol = "XYZW",
                  .companyName = "Xyzw",
                  .shares = 100,
                  .price = 50,
                  .date = At(2020, 1, 2),
                  .commission = 0,
                  .purchaseType = "Direct Purchase",
                  .comment = ""});
    doc.RecordDividend({.symbol = "XYZ",
                        .kind = DividendKind::kCash,
                        .amount = 5,
                        .date = At(2020, 6, 1),
                        .comment = ""});
    doc.StockSplit("XYZ", 2, 1, At(2020, 7, 1));
    doc.SetAlert("XYZ", {1, 2, 3, 4});

    doc.ChangeSymbol("XYZ-O", "ABC", "Abc Holdings");
    EXPECT_EQ(doc.Purchases()[0]->symbol, "ABC");
    EXPECT_EQ(doc.Purchases()[1]->symbol, "ABC");
    EXPECT_EQ(doc.Purchases()[1]->companyName, "Abc Holdings");
    EXPECT_EQ(doc.Purchases()[2]->symbol, "XYZW");
    EXPECT_EQ(doc.Dividends()[0]->symbol, "XYZ");
    EXPECT_EQ(doc.Splits()[0].symbol, "XYZ");
    EXPECT_EQ(doc.Alerts()[0].symbol, "XYZ");

    doc.ChangeSymbol("ABC", "DEF-O", "Def");
    EXPECT_EQ(doc.Purchases()[0]->symbol, "DEF");
}

}  // namespace

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/model/DemoPortfolio.h"
#include "core/model/DocumentChange.h"
#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "support/DocBuilder.h"
#include "support/ScriptedLotChooser.h"
#include "support/TestClock.h"

namespace {

class RecordingObserver final : public DocumentObserver {
public:
    void Changed(const ChangeSet& changes) override { heard.push_back(changes); }

    std::vector<ChangeSet> heard;
};

// A portfolio with a lot, a sale, a grant and a dividend of XYZ, watched from here on.
class DocumentObserverTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.Purchase({.symbol = "XYZ",
                      .companyName = "XYZ Corp",
                      .shares = 100,
                      .price = 10.0f,
                      .date = At(2020, 1, 2),
                      .commission = 5.0f,
                      .purchaseType = "Direct Purchase",
                      .comment = ""});
        doc.Purchase({.symbol = "ABC",
                      .companyName = "ABC Inc",
                      .shares = 50,
                      .price = 20.0f,
                      .date = At(2021, 3, 4),
                      .commission = 0.0f,
                      .purchaseType = "Direct Purchase",
                      .comment = ""});
        doc.Sell({.symbol = "XYZ",
                  .shares = 10,
                  .price = 12.0f,
                  .date = At(2022, 5, 6),
                  .commission = 0.0f,
                  .method = SaleMethod::kFifo,
                  .comment = ""});
        doc.ReceiveGrant({.symbol = "XYZ",
                          .companyName = "XYZ Corp",
                          .shares = 200,
                          .strikePrice = 8.0f,
                          .date = At(2020, 6, 1),
                          .optionType = "ISO",
                          .vestingSchedule = 12,
                          .grantId = "G1",
                          .comment = ""});
        doc.RecordDividend({.symbol = "XYZ",
                            .kind = DividendKind::kCash,
                            .amount = 25.0f,
                            .date = At(2022, 7, 1),
                            .comment = ""});
        doc.AddObserver(observer);
    }
    void TearDown() override { doc.RemoveObserver(observer); }

    ScopedClock clock{At(2024, 6, 15)};
    Settings settings;
    CKx7Doc doc{settings};
    RecordingObserver observer;
};

struct OperationCase {
    const char* name;
    std::function<void(CKx7Doc&)> operation;
    ChangeKind kind;
    std::vector<std::string> symbols;
};

TEST_F(DocumentObserverTest, EveryOperationIsHeardOnceWithItsKindAndSymbols) {
    ScriptedLotChooser chooser(std::vector<float>{5.0f});
    // In this order, each on the portfolio the ones before it left.
    const std::vector<OperationCase> cases = {
        {"purchase",
         [](CKx7Doc& d) {
             d.Purchase({.symbol = "NEW",
                         .companyName = "New Co",
                         .shares = 10,
                         .price = 1.0f,
                         .date = At(2024, 1, 1),
                         .commission = 0.0f,
                         .purchaseType = "Direct Purchase",
                         .comment = ""});
         },
         ChangeKind::kLots,
         {"NEW"}},
        {"grant",
         [](CKx7Doc& d) {
             d.ReceiveGrant({.symbol = "ABC",
                             .companyName = "ABC Inc",
                             .shares = 10,
                             .strikePrice = 1.0f,
                             .date = At(2024, 1, 1),
                             .optionType = "NQ",
                             .vestingSchedule = 0,
                             .grantId = "G2",
                             .comment = ""});
         },
         ChangeKind::kLots,
         {"ABC"}},
        {"fifo sale",
         [](CKx7Doc& d) {
             d.Sell({.symbol = "XYZ",
                     .shares = 5,
                     .price = 11.0f,
                     .date = At(2024, 2, 1),
                     .commission = 0.0f,
                     .method = SaleMethod::kFifo,
                     .comment = ""});
         },
         ChangeKind::kSales,
         {"XYZ"}},
        {"lifo sale of grants",
         [](CKx7Doc& d) {
             d.Sell({.symbol = "XYZ-O",
                     .shares = 5,
                     .price = 11.0f,
                     .date = At(2024, 2, 1),
                     .commission = 0.0f,
                     .method = SaleMethod::kLifo,
                     .comment = ""});
         },
         ChangeKind::kSales,
         {"XYZ"}},
        {"lot-by-lot sale",
         [&chooser](CKx7Doc& d) {
             d.SetCustomLotChooser(&chooser);
             d.Sell({.symbol = "ABC",
                     .shares = 5,
                     .price = 21.0f,
                     .date = At(2024, 2, 1),
                     .commission = 0.0f,
                     .method = SaleMethod::kCustom,
                     .comment = ""});
             d.SetCustomLotChooser(nullptr);
         },
         ChangeKind::kSales,
         {"ABC"}},
        {"expiry",
         [](CKx7Doc& d) { d.ExpireOptions("XYZ-O", At(2024, 3, 1), ""); },
         ChangeKind::kSales,
         {"XYZ"}},
        {"dividend",
         [](CKx7Doc& d) {
             d.RecordDividend({.symbol = "ABC",
                               .kind = DividendKind::kShares,
                               .amount = 2.0f,
                               .date = At(2024, 4, 1),
                               .comment = ""});
         },
         ChangeKind::kDividends,
         {"ABC"}},
        {"split",
         [](CKx7Doc& d) { d.StockSplit("XYZ", 2, 1, At(2024, 5, 1)); },
         ChangeKind::kSplits,
         {"XYZ"}},
        {"symbol change",
         [](CKx7Doc& d) { d.ChangeSymbol("ABC", "ABD", "ABD Inc"); },
         ChangeKind::kSymbols,
         {"ABC", "ABD"}},
        {"manual price",
         [](CKx7Doc& d) { d.SetMarketPrice("XYZ", 13.0f); },
         ChangeKind::kPrices,
         {"XYZ"}},
        {"quote",
         [](CKx7Doc& d) { d.ApplyQuote("ABC", 22.0f, 1, 0.5f, 0.0f); },
         ChangeKind::kPrices,
         {"ABC"}},
        {"alert",
         [](CKx7Doc& d) { d.SetAlert("XYZ", {.lowMark = 9.0}); },
         ChangeKind::kAlerts,
         {"XYZ"}},
        {"alert removed", [](CKx7Doc& d) { d.RemoveAlert("XYZ"); }, ChangeKind::kAlerts, {"XYZ"}},
        {"information",
         [](CKx7Doc& d) { d.SetPortfolioInformation("Pat", "Growth"); },
         ChangeKind::kInformation,
         {}},
        {"purchase edited",
         [](CKx7Doc& d) {
             d.EditPurchase(*d.Purchases()[1], {.shares = 60,
                                                .price = 19.0f,
                                                .date = At(2021, 3, 5),
                                                .commission = 1.0f,
                                                .purchaseType = "Other",
                                                .comment = "fixed"});
         },
         ChangeKind::kLots,
         {"ABD"}},
        {"sale edited",
         [](CKx7Doc& d) {
             d.EditSale(d.Purchases()[0]->sales[0], {.shares = 12,
                                                     .price = 12.5f,
                                                     .date = At(2022, 5, 7),
                                                     .commission = 0.0f,
                                                     .comment = ""});
         },
         ChangeKind::kSales,
         {"XYZ"}},
        {"dividend edited",
         [](CKx7Doc& d) {
             d.EditDividend(*d.Dividends()[0], {.dividendKind = DividendKind::kCash,
                                                .amount = 30.0f,
                                                .date = At(2022, 7, 2),
                                                .comment = ""});
         },
         ChangeKind::kDividends,
         {"XYZ"}},
        {"sale removed",
         [](CKx7Doc& d) { d.RemoveSale(d.Purchases()[0]->sales[0]); },
         ChangeKind::kSales,
         {"XYZ"}},
        {"dividend removed",
         [](CKx7Doc& d) { d.RemoveDividend(*d.Dividends()[0]); },
         ChangeKind::kDividends,
         {"XYZ"}},
        {"purchase removed",
         [](CKx7Doc& d) { d.RemovePurchase(*d.Purchases()[1]); },
         ChangeKind::kLots,
         {"ABD"}},
    };
    for (const OperationCase& c : cases) {
        SCOPED_TRACE(c.name);
        doc.SetModified(false);
        observer.heard.clear();
        const std::uint64_t revision = doc.Revision();

        c.operation(doc);

        ASSERT_EQ(observer.heard.size(), 1U);
        const ChangeSet& heard = observer.heard.front();
        EXPECT_TRUE(heard.Has(c.kind));
        EXPECT_TRUE(heard.ChangesRecords());
        EXPECT_EQ(heard.Symbols(), c.symbols);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_GT(doc.Revision(), revision);
    }
}

TEST_F(DocumentObserverTest, ABatchIsHeardOnceWithEverythingItChanged) {
    {
        const CKx7Doc::ChangeBatch batch(doc);
        doc.ApplyQuote("XYZ", 11.0f, 1, 1.0f, 0.0f);
        {
            const CKx7Doc::ChangeBatch inner(doc);
            doc.ApplyQuote("ABC", 21.0f, -1, -1.0f, 0.0f);
        }
        doc.TouchLastUpdate();
        EXPECT_TRUE(observer.heard.empty());
    }
    ASSERT_EQ(observer.heard.size(), 1U);
    EXPECT_TRUE(observer.heard[0].Has(ChangeKind::kPrices));
    EXPECT_TRUE(observer.heard[0].Has(ChangeKind::kTimeline));
    EXPECT_EQ(observer.heard[0].Symbols(), (std::vector<std::string>{"XYZ", "ABC"}));
}

TEST_F(DocumentObserverTest, AFileReadIsOneReplacement) {
    CKx7Doc demo(settings);
    BuildDemoPortfolio(demo);
    const std::vector<std::uint8_t> bytes = StoreKx7(demo);

    ASSERT_TRUE(LoadKx7(doc, bytes).error.empty());

    ASSERT_EQ(observer.heard.size(), 1U);
    EXPECT_TRUE(observer.heard[0].Has(ChangeKind::kReplaced));
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(DocumentObserverTest, TheFlagAloneAndTheIntradaySamplesAreNoRecordChange) {
    doc.SetModified(false);
    doc.RecordTimelineSample();
    ASSERT_EQ(observer.heard.size(), 2U);
    EXPECT_TRUE(observer.heard[0].Has(ChangeKind::kModified));
    EXPECT_FALSE(observer.heard[0].ChangesRecords());
    EXPECT_TRUE(observer.heard[1].Has(ChangeKind::kTimeline));
    EXPECT_FALSE(observer.heard[1].ChangesRecords());
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(DocumentObserverTest, ARemovedObserverHearsNothingMore) {
    RecordingObserver second;
    doc.AddObserver(second);
    doc.SetMarketPrice("XYZ", 1.0f);
    doc.RemoveObserver(second);
    doc.SetMarketPrice("XYZ", 2.0f);
    EXPECT_EQ(second.heard.size(), 1U);
    EXPECT_EQ(observer.heard.size(), 2U);
}

// Vesting moves with the clock: the held shares follow it, and a second call with the
// clock unchanged changes nothing, not even the revision.
TEST_F(DocumentObserverTest, HeldSharesAreBroughtUpToTodayOnce) {
    CPurchase& grant = *doc.Purchases()[2];
    clock.Set(At(2020, 6, 2));
    doc.BringHeldSharesUpToDate();
    const float early = grant.availableShares;
    clock.Set(At(2023, 6, 2));
    doc.BringHeldSharesUpToDate();
    EXPECT_GT(grant.availableShares, early);

    const std::uint64_t revision = doc.Revision();
    doc.BringHeldSharesUpToDate();
    EXPECT_EQ(doc.Revision(), revision);
    EXPECT_TRUE(observer.heard.empty());
}

}  // namespace

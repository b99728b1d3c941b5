#include <gtest/gtest.h>

#include "core/figures/CustomLotTable.h"

#include <limits>
#include <ostream>

#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"
#include "support/CaseName.h"
#include "support/ScriptedLotChooser.h"
#include "support/TestClock.h"

namespace {

struct Record {
    int lot;  // index into the purchase list
    float shares;
    float commission;

    friend bool operator==(const Record&, const Record&) = default;
};

std::ostream& operator<<(std::ostream& out, const Record& record) {
    return out << "{lot " << record.lot << ", " << record.shares << " sh, commission "
               << record.commission << "}";
}

// Every sale record of the document in lot order, with the lot it hangs under.
std::vector<Record> SaleRecords(const CKx7Doc& doc) {
    std::vector<Record> records;
    for (std::size_t i = 0; i < doc.Purchases().size(); ++i) {
        for (const auto& sale : doc.Purchases()[i]->sales) {
            records.push_back({static_cast<int>(i), sale.shares, sale.commission});
        }
    }
    return records;
}

std::vector<float> Held(const CKx7Doc& doc) {
    std::vector<float> held;
    for (const auto& lot : doc.Purchases()) {
        held.push_back(lot->availableShares);
    }
    return held;
}

class SaleTest : public ::testing::Test {
protected:
    // L1 100, L2 50, L3 70 of XYZ, and 10 of another symbol in between.
    void SetUp() override {
        doc.Purchase({.symbol = "XYZ",
                      .companyName = "Xyz Corp",
                      .shares = 100,
                      .price = 10,
                      .date = At(2020, 1, 2),
                      .commission = 5,
                      .purchaseType = "Direct Purchase",
                      .comment = ""});
        doc.Purchase({.symbol = "XYZ",
                      .companyName = "Xyz Corp",
                      .shares = 50,
                      .price = 12,
                      .date = At(2020, 2, 3),
                      .commission = 5,
                      .purchaseType = "Direct Purchase",
                      .comment = ""});
        doc.Purchase({.symbol = "ABC",
                      .companyName = "Abc Inc",
                      .shares = 10,
                      .price = 3,
                      .date = At(2020, 2, 4),
                      .commission = 5,
                      .purchaseType = "Direct Purchase",
                      .comment = ""});
        doc.Purchase({.symbol = "XYZ",
                      .companyName = "Xyz Corp",
                      .shares = 70,
                      .price = 11,
                      .date = At(2019, 3, 4),
                      .commission = 5,
                      .purchaseType = "Direct Purchase",
                      .comment = ""});
        doc.SetNextSaleNumber(7);
        doc.SetModified(false);
    }

    Settings settings;
    CKx7Doc doc{settings};
};

TEST_F(SaleTest, PurchaseAppendsCountsAndMarks) {
    EXPECT_EQ(doc.RecordCount(), 4);
    const CPurchase& lot = *doc.Purchases()[0];
    EXPECT_EQ(lot.symbol, "XYZ");
    EXPECT_EQ(lot.commission, 5.0f);
    EXPECT_EQ(lot.availableShares, 100.0f);
    EXPECT_FALSE(lot.IsGrant());
}

struct OrderCase {
    const char* name;
    SaleMethod method;
    float shares;
    std::vector<Record> records;
    std::vector<float> held;
};

class SaleOrderTest : public SaleTest, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(SaleOrderTest, WalksTheListInItsOrderNotByDate) {
    const OrderCase& c = GetParam();
    doc.Sell({.symbol = "XYZ",
              .shares = c.shares,
              .price = 20,
              .date = At(2021, 1, 1),
              .commission = 9.5f,
              .method = c.method,
              .comment = "sold"});
    EXPECT_EQ(SaleRecords(doc), c.records);
    EXPECT_EQ(Held(doc), c.held);
    for (const auto& lot : doc.Purchases()) {
        for (const auto& sale : lot->sales) {
            EXPECT_EQ(sale.saleNumber, 7);
            EXPECT_EQ(sale.price, 20.0f);
            EXPECT_EQ(sale.comment, "sold");
            EXPECT_EQ(sale.purchase, lot.get());
        }
    }
    EXPECT_EQ(doc.NextSaleNumber(), 8);
    EXPECT_EQ(doc.RecordCount(), 4 + static_cast<int>(c.records.size()));
    EXPECT_TRUE(doc.IsModified());
}

INSTANTIATE_TEST_SUITE_P(
    Methods, SaleOrderTest,
    ::testing::Values(
        OrderCase{
            "fifo_120", SaleMethod::kFifo, 120, {{0, 100, 9.5f}, {1, 20, 0}}, {0, 30, 10, 70}},
        OrderCase{"lifo_120", SaleMethod::kLifo, 120, {{1, 50, 0}, {3, 70, 9.5f}}, {100, 0, 10, 0}},
        OrderCase{"fifo_exact_lot", SaleMethod::kFifo, 100, {{0, 100, 9.5f}}, {0, 50, 10, 70}},
        OrderCase{"more_than_held",
                  SaleMethod::kFifo,
                  500,
                  {{0, 100, 9.5f}, {1, 50, 0}, {3, 70, 0}},
                  {0, 0, 10, 0}},
        OrderCase{"zero_shares_make_no_record", SaleMethod::kLifo, 0, {}, {100, 50, 10, 70}}),
    CaseName{});

TEST_F(SaleTest, SellingAnUnknownSymbolStillUsesASaleNumber) {
    doc.Sell({.symbol = "QQQ",
              .shares = 10,
              .price = 20,
              .date = 0,
              .commission = 0,
              .method = SaleMethod::kFifo,
              .comment = ""});
    EXPECT_TRUE(SaleRecords(doc).empty());
    EXPECT_EQ(doc.NextSaleNumber(), 8);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(SaleTest, SoldOutLotsAreSkipped) {
    doc.Sell({.symbol = "XYZ",
              .shares = 100,
              .price = 20,
              .date = 0,
              .commission = 1,
              .method = SaleMethod::kFifo,
              .comment = ""});
    doc.Sell({.symbol = "XYZ",
              .shares = 10,
              .price = 20,
              .date = 0,
              .commission = 2,
              .method = SaleMethod::kFifo,
              .comment = ""});
    const std::vector<Record> expected{{0, 100, 1}, {1, 10, 2}};
    EXPECT_EQ(SaleRecords(doc), expected);
    EXPECT_EQ(doc.Purchases()[1]->sales[0].saleNumber, 8);
}

// Which lots a FIFO sale may draw on: XYZ stock (100), an XYZ grant (40 exercisable).
struct SuffixSaleCase {
    const char* name;
    bool ungroup;
    const char* symbol;
    std::vector<Record> records;
};

class SuffixSaleTest : public ::testing::TestWithParam<SuffixSaleCase> {};

TEST_P(SuffixSaleTest, SuffixedSymbolsSellGrantsOnly) {
    const SuffixSaleCase& c = GetParam();
    Settings settings;
    settings.ungroupOptions = c.ungroup;
    CKx7Doc doc(settings);
    doc.ReceiveGrant({.symbol = "XYZ",
                      .companyName = "Xyz",
                      .shares = 40,
                      .strikePrice = 5,
                      .date = At(2010, 1, 1),
                      .optionType = "ISO",
                      .vestingSchedule = 17,
                      .grantId = "G1",
                      .comment = ""});
    doc.Purchase({.symbol = "XYZ",
                  .companyName = "Xyz",
                  .shares = 100,
                  .price = 10,
                  .date = At(2020, 1, 2),
                  .commission = 0,
                  .purchaseType = "Direct Purchase",
                  .comment = ""});
    doc.Sell({.symbol = c.symbol,
              .shares = 120,
              .price = 20,
              .date = At(2021, 1, 1),
              .commission = 0,
              .method = SaleMethod::kFifo,
              .comment = ""});
    EXPECT_EQ(SaleRecords(doc), c.records) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Ungroup, SuffixSaleTest,
    ::testing::Values(SuffixSaleCase{"grants_of_suffixed", true, "XYZ-O", {{0, 40, 0}}},
                      SuffixSaleCase{"stock_only_when_ungrouped", true, "XYZ", {{1, 100, 0}}},
                      SuffixSaleCase{"all_when_grouped", false, "XYZ", {{0, 40, 0}, {1, 80, 0}}},
                      SuffixSaleCase{"suffixed_when_grouped", false, "XYZ-O", {{0, 40, 0}}}),
    CaseName{});

TEST_F(SaleTest, CustomSaleShowsTheLotsAndTakesTheChosenCounts) {
    ScriptedLotChooser chooser(std::vector<float>{0, 30, 20});
    doc.SetCustomLotChooser(&chooser);
    doc.Sell({.symbol = "XYZ",
              .shares = 50,
              .price = 20,
              .date = At(2021, 1, 1),
              .commission = 9.5f,
              .method = SaleMethod::kCustom,
              .comment = "chosen"});

    ASSERT_EQ(chooser.asked, 1);
    EXPECT_EQ(chooser.shown.heading, "Selling 50.0000 shares of Xyz Corp");
    EXPECT_EQ(chooser.shown.ofText, "of 50.0000");
    EXPECT_EQ(chooser.ShownLines(),
              "01/02/2020    100.0000       10.0000;"
              "02/03/2020     50.0000       12.0000;"
              "03/04/2019     70.0000       11.0000;");
    EXPECT_EQ(chooser.shown.initialState, -1.0f);
    EXPECT_EQ(chooser.shown.sharesToSell, 50.0f);

    // The lot given 0 gets no record; the commission goes to the first nonzero one.
    const std::vector<Record> expected{{1, 30, 9.5f}, {3, 20, 0}};
    EXPECT_EQ(SaleRecords(doc), expected);
    EXPECT_EQ(Held(doc), (std::vector<float>{100, 20, 10, 50}));
    EXPECT_EQ(doc.NextSaleNumber(), 8);
    EXPECT_EQ(doc.RecordCount(), 6);
}

TEST_F(SaleTest, CustomSaleListsDatesDayFirstWhenSet) {
    settings.dateMonthFirst = false;
    ScriptedLotChooser chooser(std::nullopt);
    doc.SetCustomLotChooser(&chooser);
    doc.Sell({.symbol = "XYZ",
              .shares = 5,
              .price = 20,
              .date = 0,
              .commission = 0,
              .method = SaleMethod::kCustom,
              .comment = ""});
    EXPECT_EQ(CustomLotTable(chooser.shown).Line(1), "03/02/2020     50.0000       12.0000");
}

TEST_F(SaleTest, CancelledCustomSaleChangesNothing) {
    ScriptedLotChooser chooser(std::nullopt);
    doc.SetCustomLotChooser(&chooser);
    doc.Sell({.symbol = "XYZ",
              .shares = 50,
              .price = 20,
              .date = 0,
              .commission = 0,
              .method = SaleMethod::kCustom,
              .comment = ""});
    EXPECT_EQ(chooser.asked, 1);
    EXPECT_TRUE(SaleRecords(doc).empty());
    EXPECT_EQ(doc.NextSaleNumber(), 7);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(SaleTest, CustomSaleIgnoresCountsThatCannotComeFromTheForm) {
    ScriptedLotChooser chooser(std::vector<float>{-5, std::numeric_limits<float>::quiet_NaN()});
    doc.SetCustomLotChooser(&chooser);
    doc.Sell({.symbol = "XYZ",
              .shares = 5,
              .price = 20,
              .date = 0,
              .commission = 0,
              .method = SaleMethod::kCustom,
              .comment = ""});
    EXPECT_TRUE(SaleRecords(doc).empty());
    EXPECT_EQ(Held(doc), (std::vector<float>{100, 50, 10, 70}));
}

TEST(CustomSaleKindTest, SuffixedSymbolChoosesAmongGrantsWhateverTheSetting) {
    Settings settings;
    settings.ungroupOptions = false;
    CKx7Doc doc(settings);
    doc.Purchase({.symbol = "XYZ",
                  .companyName = "Xyz",
                  .shares = 100,
                  .price = 10,
                  .date = At(2020, 1, 2),
                  .commission = 0,
                  .purchaseType = "Direct Purchase",
                  .comment = ""});
    doc.ReceiveGrant({.symbol = "XYZ",
                      .companyName = "Xyz",
                      .shares = 40,
                      .strikePrice = 5,
                      .date = At(2010, 1, 1),
                      .optionType = "ISO",
                      .vestingSchedule = 17,
                      .grantId = "G1",
                      .comment = ""});
    ScriptedLotChooser chooser(std::vector<float>{15});
    doc.SetCustomLotChooser(&chooser);
    doc.Sell({.symbol = "XYZ-O",
              .shares = 15,
              .price = 20,
              .date = 0,
              .commission = 0,
              .method = SaleMethod::kCustom,
              .comment = ""});
    EXPECT_EQ(chooser.ShownLines(), "01/01/2010     40.0000        5.0000;");
    EXPECT_EQ(SaleRecords(doc), (std::vector<Record>{{1, 15, 0}}));

    doc.Sell({.symbol = "XYZ",
              .shares = 15,
              .price = 20,
              .date = 0,
              .commission = 0,
              .method = SaleMethod::kCustom,
              .comment = ""});
    EXPECT_EQ(chooser.ShownLines(), "01/02/2020    100.0000       10.0000;");
}

TEST_F(SaleTest, CustomSaleWithoutAChooserIsCancelled) {
    doc.Sell({.symbol = "XYZ",
              .shares = 50,
              .price = 20,
              .date = 0,
              .commission = 0,
              .method = SaleMethod::kCustom,
              .comment = ""});
    EXPECT_TRUE(SaleRecords(doc).empty());
    EXPECT_EQ(doc.NextSaleNumber(), 7);
}

}  // namespace

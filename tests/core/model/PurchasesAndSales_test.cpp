#include <gtest/gtest.h>

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
            records.push_back({static_cast<int>(i), sale->shares, sale->commission});
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
        doc.Purchase("XYZ", "Xyz Corp", 100, 10, At(2020, 1, 2), 5, "Direct Purchase", "");
        doc.Purchase("XYZ", "Xyz Corp", 50, 12, At(2020, 2, 3), 5, "Direct Purchase", "");
        doc.Purchase("ABC", "Abc Inc", 10, 3, At(2020, 2, 4), 5, "Direct Purchase", "");
        doc.Purchase("XYZ", "Xyz Corp", 70, 11, At(2019, 3, 4), 5, "Direct Purchase", "");
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
    int method;
    float shares;
    std::vector<Record> records;
    std::vector<float> held;
};

class SaleOrderTest : public SaleTest, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(SaleOrderTest, WalksTheListInItsOrderNotByDate) {
    const OrderCase& c = GetParam();
    doc.Sell("XYZ", c.shares, 20, At(2021, 1, 1), 9.5f, c.method, "sold");
    EXPECT_EQ(SaleRecords(doc), c.records);
    EXPECT_EQ(Held(doc), c.held);
    for (const auto& lot : doc.Purchases()) {
        for (const auto& sale : lot->sales) {
            EXPECT_EQ(sale->saleNumber, 7);
            EXPECT_EQ(sale->price, 20.0f);
            EXPECT_EQ(sale->comment, "sold");
            EXPECT_EQ(sale->purchase, lot.get());
        }
    }
    EXPECT_EQ(doc.NextSaleNumber(), 8);
    EXPECT_EQ(doc.RecordCount(), 4 + static_cast<int>(c.records.size()));
    EXPECT_TRUE(doc.IsModified());
}

INSTANTIATE_TEST_SUITE_P(
    Methods, SaleOrderTest,
    ::testing::Values(
        OrderCase{"fifo_120", CKx7Doc::kFifo, 120, {{0, 100, 9.5f}, {1, 20, 0}}, {0, 30, 10, 70}},
        OrderCase{"lifo_120", CKx7Doc::kLifo, 120, {{1, 50, 0}, {3, 70, 9.5f}}, {100, 0, 10, 0}},
        OrderCase{"fifo_exact_lot", CKx7Doc::kFifo, 100, {{0, 100, 9.5f}}, {0, 50, 10, 70}},
        OrderCase{"more_than_held",
                  CKx7Doc::kFifo,
                  500,
                  {{0, 100, 9.5f}, {1, 50, 0}, {3, 70, 0}},
                  {0, 0, 10, 0}},
        OrderCase{"zero_shares_make_no_record", CKx7Doc::kLifo, 0, {}, {100, 50, 10, 70}}),
    CaseName{});

TEST_F(SaleTest, AnUnknownMethodDoesNothing) {
    doc.Sell("XYZ", 10, 20, 0, 0, 3, "");
    EXPECT_TRUE(SaleRecords(doc).empty());
    EXPECT_EQ(doc.NextSaleNumber(), 7);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(SaleTest, SellingAnUnknownSymbolStillUsesASaleNumber) {
    doc.Sell("QQQ", 10, 20, 0, 0, CKx7Doc::kFifo, "");
    EXPECT_TRUE(SaleRecords(doc).empty());
    EXPECT_EQ(doc.NextSaleNumber(), 8);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(SaleTest, SoldOutLotsAreSkipped) {
    doc.Sell("XYZ", 100, 20, 0, 1, CKx7Doc::kFifo, "");
    doc.Sell("XYZ", 10, 20, 0, 2, CKx7Doc::kFifo, "");
    const std::vector<Record> expected{{0, 100, 1}, {1, 10, 2}};
    EXPECT_EQ(SaleRecords(doc), expected);
    EXPECT_EQ(doc.Purchases()[1]->sales[0]->saleNumber, 8);
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
    doc.ReceiveGrant("XYZ", "Xyz", 40, 5, At(2010, 1, 1), "ISO", 17, "G1", "");
    doc.Purchase("XYZ", "Xyz", 100, 10, At(2020, 1, 2), 0, "Direct Purchase", "");
    doc.Sell(c.symbol, 120, 20, At(2021, 1, 1), 0, CKx7Doc::kFifo, "");
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
    doc.Sell("XYZ", 50, 20, At(2021, 1, 1), 9.5f, CKx7Doc::kCustom, "chosen");

    ASSERT_EQ(chooser.asked, 1);
    EXPECT_EQ(chooser.shown.heading, "Selling 50.0000 shares of Xyz Corp");
    EXPECT_EQ(chooser.shown.ofText, "of 50.0000");
    EXPECT_EQ(chooser.shown.lotList,
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
    doc.Sell("XYZ", 5, 20, 0, 0, CKx7Doc::kCustom, "");
    EXPECT_EQ(CKx7Doc::ListItem(chooser.shown.lotList, 1), "03/02/2020     50.0000       12.0000");
}

TEST_F(SaleTest, CancelledCustomSaleChangesNothing) {
    ScriptedLotChooser chooser(std::nullopt);
    doc.SetCustomLotChooser(&chooser);
    doc.Sell("XYZ", 50, 20, 0, 0, CKx7Doc::kCustom, "");
    EXPECT_EQ(chooser.asked, 1);
    EXPECT_TRUE(SaleRecords(doc).empty());
    EXPECT_EQ(doc.NextSaleNumber(), 7);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(SaleTest, CustomSaleIgnoresCountsThatCannotComeFromTheForm) {
    ScriptedLotChooser chooser(std::vector<float>{-5, std::numeric_limits<float>::quiet_NaN()});
    doc.SetCustomLotChooser(&chooser);
    doc.Sell("XYZ", 5, 20, 0, 0, CKx7Doc::kCustom, "");
    EXPECT_TRUE(SaleRecords(doc).empty());
    EXPECT_EQ(Held(doc), (std::vector<float>{100, 50, 10, 70}));
}

TEST(CustomSaleKindTest, SuffixedSymbolChoosesAmongGrantsWhateverTheSetting) {
    Settings settings;
    settings.ungroupOptions = false;
    CKx7Doc doc(settings);
    doc.Purchase("XYZ", "Xyz", 100, 10, At(2020, 1, 2), 0, "Direct Purchase", "");
    doc.ReceiveGrant("XYZ", "Xyz", 40, 5, At(2010, 1, 1), "ISO", 17, "G1", "");
    ScriptedLotChooser chooser(std::vector<float>{15});
    doc.SetCustomLotChooser(&chooser);
    doc.Sell("XYZ-O", 15, 20, 0, 0, CKx7Doc::kCustom, "");
    EXPECT_EQ(chooser.shown.lotList, "01/01/2010     40.0000        5.0000;");
    EXPECT_EQ(SaleRecords(doc), (std::vector<Record>{{1, 15, 0}}));

    doc.Sell("XYZ", 15, 20, 0, 0, CKx7Doc::kCustom, "");
    EXPECT_EQ(chooser.shown.lotList, "01/02/2020    100.0000       10.0000;");
}

TEST_F(SaleTest, CustomSaleWithoutAChooserIsCancelled) {
    doc.Sell("XYZ", 50, 20, 0, 0, CKx7Doc::kCustom, "");
    EXPECT_TRUE(SaleRecords(doc).empty());
    EXPECT_EQ(doc.NextSaleNumber(), 7);
}

}  // namespace

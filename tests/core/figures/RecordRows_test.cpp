#include "core/figures/RecordRows.h"

#include <gtest/gtest.h>

#include "support/DocBuilder.h"
#include "support/TestClock.h"

namespace {

class RecordRowsTest : public testing::Test {
protected:
    RecordRowsTest() {
        CPurchase& xyz = AddLot(doc, "XYZ", 100.0f, 10.0f, At(2001, 3, 1));
        xyz.AddSale(40.0f, 12.5f, At(2002, 4, 2), 5.0f, "", 0);
        xyz.RecomputeHeldShares();
        AddLot(doc, "ABC", 50.0f, 20.0f, At(2003, 5, 3));
        doc.RecordDividend({.symbol = "XYZ",
                            .kind = DividendKind::kCash,
                            .amount = 2.5f,
                            .date = At(2004, 6, 4),
                            .comment = ""});
        doc.RecordDividend({.symbol = "ABC",
                            .kind = DividendKind::kShares,
                            .amount = 3.0f,
                            .date = At(2005, 7, 5),
                            .comment = ""});
        doc.SetModified(false);
    }

    Settings settings;
    CKx7Doc doc{settings};
};

std::vector<std::array<std::string, 5>> Columns(const std::vector<RecordRow>& rows) {
    std::vector<std::array<std::string, 5>> columns;
    for (const RecordRow& row : rows) {
        columns.push_back(row.columns);
    }
    return columns;
}

TEST_F(RecordRowsTest, AllListsPurchasesWithTheirSalesThenDividends) {
    const std::vector<std::array<std::string, 5>> expected{
        {"XYZ", "Purchase", "2001/03/01", "10.00 ", "100.0000 "},
        {"XYZ", "Sale", "2002/04/02", "12.50 ", "40.0000 "},
        {"ABC", "Purchase", "2003/05/03", "20.00 ", "50.0000 "},
        {"XYZ", "Dividend", "2004/06/04", "2.50 ", "Cash"},
        {"ABC", "Dividend", "2005/07/05", "Shares", "3.00 "},
    };
    EXPECT_EQ(Columns(BuildRecordRows(doc, kAllRecords)), expected);
}

TEST_F(RecordRowsTest, FilterKeepsOneSymbol) {
    const std::vector<RecordRow> rows = BuildRecordRows(doc, "ABC");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].kind, RecordKind::Purchase);
    EXPECT_EQ(rows[1].kind, RecordKind::Dividend);
    EXPECT_EQ(rows[0].background.red, 0x8E);
    EXPECT_EQ(rows[1].background.blue, 0xF9);
}

TEST_F(RecordRowsTest, RemovingASaleGivesItsSharesBack) {
    CPurchase& xyz = *doc.Purchases()[0];
    doc.RemoveSale(xyz.sales[0]);
    EXPECT_TRUE(xyz.sales.empty());
    EXPECT_FLOAT_EQ(xyz.availableShares, 100.0f);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(RecordRowsTest, RemovingAPurchaseTakesItsSalesAlong) {
    doc.RemovePurchase(*doc.Purchases()[0]);
    ASSERT_EQ(doc.Purchases().size(), 1u);
    EXPECT_EQ(doc.Purchases()[0]->symbol, "ABC");
    EXPECT_EQ(BuildRecordRows(doc, "XYZ").size(), 1u);  // only its dividend is left
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(RecordRowsTest, RemovingADividend) {
    doc.RemoveDividend(*doc.Dividends()[1]);
    ASSERT_EQ(doc.Dividends().size(), 1u);
    EXPECT_EQ(doc.Dividends()[0]->symbol, "XYZ");
}

}  // namespace

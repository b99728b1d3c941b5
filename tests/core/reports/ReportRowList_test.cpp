#include "core/reports/ReportRowList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "support/CaseName.h"

namespace {

std::vector<std::int64_t> Dates(const ReportRowList& list) {
    std::vector<std::int64_t> dates;
    for (const ReportRow& row : list.Rows()) {
        dates.push_back(row.date);
    }
    return dates;
}

std::vector<float> Shares(const ReportRowList& list) {
    std::vector<float> shares;
    for (const ReportRow& row : list.Rows()) {
        shares.push_back(row.shares);
    }
    return shares;
}

TEST(ReportRowListTest, ConstructorsSetTheFlags) {
    const ReportRowList merged(true);
    EXPECT_TRUE(merged.MergeSales());
    EXPECT_TRUE(merged.DateOrdered());
    EXPECT_FALSE(merged.CsvLayout());

    const ReportRowList appended(false, false);
    EXPECT_FALSE(appended.MergeSales());
    EXPECT_FALSE(appended.DateOrdered());

    const ReportRowList csv(false, true, true);
    EXPECT_TRUE(csv.CsvLayout());
}

TEST(ReportRowListTest, NewRowFiguresCostAndProceeds) {
    ReportRowList list(true);
    list.AddRow("Acme", "ACME", 100, 200, 10, 2.5f, 4.0f, 1.5f, 3.0f, 7);
    const ReportRow row = list.Rows().at(0);
    EXPECT_EQ(row.name, "Acme");
    EXPECT_EQ(row.symbolText, "ACME");
    EXPECT_EQ(row.purchaseDate, 100);
    EXPECT_EQ(row.date, 200);
    EXPECT_EQ(row.cost, 26.5f);  // 10 x 2.5 + 1.5
    EXPECT_EQ(row.proceeds, 40.0f);
    EXPECT_EQ(row.saleCommission, 3.0f);
    EXPECT_EQ(row.groupKey, 7);
}

// The lots of one sale merge into the first row added for it: figures add up, the
// first row keeps its date, prices, labels and place; differing purchase dates give 0.
TEST(ReportRowListTest, MergeSumsIntoTheFirstRowOfTheSale) {
    ReportRowList list(true);
    list.AddRow("First", "F", 100, 500, 10, 2.0f, 5.0f, 1.0f, 4.0f, 3);
    list.AddRow("Other", "", 0, 400, 1, 1.0f, 0, 0, 0, ReportRow::kPurchaseKey);
    list.AddRow("Second", "S", 100, 900, 20, 3.0f, 6.0f, 2.0f, 1.0f, 3);
    ASSERT_EQ(list.Size(), 2u);
    ReportRow merged = list.Rows().at(1);
    EXPECT_EQ(merged.name, "First");
    EXPECT_EQ(merged.symbolText, "F");
    EXPECT_EQ(merged.date, 500);
    EXPECT_EQ(merged.purchaseDate, 100);  // both lots bought the same day
    EXPECT_EQ(merged.price, 2.0f);
    EXPECT_EQ(merged.salePrice, 5.0f);
    EXPECT_EQ(merged.shares, 30.0f);
    EXPECT_EQ(merged.saleCommission, 5.0f);
    EXPECT_EQ(merged.cost, 21.0f + 62.0f);       // (10 x 2 + 1) + (20 x 3 + 2)
    EXPECT_EQ(merged.proceeds, 50.0f + 120.0f);  // 10 x 5 + 20 x 6

    list.AddRow("Third", "T", 200, 100, 1, 1.0f, 1.0f, 0, 0, 3);
    merged = list.Rows().at(1);
    EXPECT_EQ(merged.purchaseDate, 0);
    EXPECT_EQ(merged.date, 500);
    EXPECT_EQ(list.Size(), 2u);
}

struct MergeCase {
    const char* name;
    bool mergeSales;
    std::vector<std::int64_t> keys;
    std::vector<float> shares;  // the rows that result, in list order
};

class ReportRowListMergeTest : public ::testing::TestWithParam<MergeCase> {};

TEST_P(ReportRowListMergeTest, MergesOnlyEqualSaleKeys) {
    const MergeCase& c = GetParam();
    ReportRowList list(c.mergeSales, false);
    float shares = 1;
    for (const std::int64_t key : c.keys) {
        list.AddRow("", "", 0, 0, shares, 1, 1, 0, 0, key);
        shares *= 2;
    }
    EXPECT_EQ(Shares(list), c.shares);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReportRowListMergeTest,
    ::testing::Values(
        MergeCase{"PurchasesNeverMerge", true, {-1, -1, -1}, {1, 2, 4}},
        MergeCase{"EqualSaleKeysMerge", true, {5, 6, 5, 6}, {5, 10}},
        MergeCase{"NoMergingWithoutTheFlag", false, {5, 5, 5}, {1, 2, 4}},
        MergeCase{"BalanceRowsMergeTogether",
                  true,
                  {ReportRow::kBalanceKey, 3, ReportRow::kBalanceKey},
                  {5, 2}},
        // A real sale numbered 9999 stays apart from the hypothetical balance rows.
        MergeCase{"SaleNumber9999IsNotABalance", true, {9999, ReportRow::kBalanceKey}, {1, 2}}),
    CaseName{});

TEST(ReportRowListTest, DateOrderKeepsInsertionOrderForEqualDates) {
    ReportRowList list(false);
    const std::vector<std::pair<std::int64_t, float>> added{{30, 1}, {10, 2}, {30, 3}, {20, 4},
                                                            {10, 5}, {40, 6}, {30, 7}};
    for (const auto& [date, shares] : added) {
        list.AddRow("", "", 0, date, shares, 1, 1, 0, 0, ReportRow::kPurchaseKey);
    }
    EXPECT_EQ(Dates(list), (std::vector<std::int64_t>{10, 10, 20, 30, 30, 30, 40}));
    EXPECT_EQ(Shares(list), (std::vector<float>{2, 5, 4, 1, 3, 7, 6}));
}

TEST(ReportRowListTest, WithoutDateOrderRowsAreAppended) {
    ReportRowList list(false, false);
    for (const std::int64_t date : {30, 10, 20}) {
        list.AddRow("", "", 0, date, 1, 1, 1, 0, 0, ReportRow::kPurchaseKey);
    }
    EXPECT_EQ(Dates(list), (std::vector<std::int64_t>{30, 10, 20}));
}

TEST(ReportRowListTest, AddFormsFillTheirFields) {
    ReportRowList list(false, false);
    list.AddHistoryRow("Name", 5, -3, 2, 11);
    list.AddOverviewRow(6, 4, 1.5f, -1);
    list.AddSummaryRow(7, 2, 3, 4, 12);
    const std::vector<ReportRow> rows = list.Rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, "Name");
    EXPECT_EQ(rows[0].symbolText, "");
    EXPECT_EQ(rows[0].purchaseDate, 0);
    EXPECT_EQ(rows[0].cost, -6.0f);
    EXPECT_EQ(rows[0].salePrice, 0.0f);
    EXPECT_EQ(rows[1].name, "");
    EXPECT_EQ(rows[1].cost, 6.0f);
    EXPECT_EQ(rows[2].salePrice, 4.0f);
    EXPECT_EQ(rows[2].proceeds, 8.0f);
    EXPECT_EQ(rows[2].cost, 6.0f);
}

TEST(ReportRowListTest, LabelsAreCutToTheirWidths) {
    ReportRowList list(false);
    const std::string longName(80, 'n');
    const std::string longSymbol(80, 's');
    list.AddRow(longName, longSymbol, 0, 0, 1, 1, 1, 0, 0, 1);
    // Cut by characters: an accented name is not split inside a letter.
    std::string accented;
    for (int i = 0; i < 60; ++i) {
        accented += "\xC3\xA9";  // é
    }
    list.AddRow(accented, "", 0, 0, 1, 1, 1, 0, 0, 2);
    const std::vector<ReportRow> rows = list.Rows();
    EXPECT_EQ(rows[0].name, std::string(49, 'n'));
    EXPECT_EQ(rows[0].symbolText, std::string(61, 's'));
    EXPECT_EQ(rows[1].name, accented.substr(0, 98));
}

// A list long enough to be sorted by counting passes: dates of every size and sign, many
// of them equal, come out as a stable sort by date puts them.
TEST(ReportRowListTest, LongListsComeOutAsAStableSortByDate) {
    std::mt19937 random(3u);
    std::uniform_int_distribution<std::int64_t> nearDates(-5, 5);
    std::uniform_int_distribution<std::int64_t> anyDate(std::numeric_limits<std::int64_t>::min(),
                                                        std::numeric_limits<std::int64_t>::max());
    std::vector<std::pair<std::int64_t, float>> added;
    ReportRowList list(false);
    for (int i = 0; i < 5000; ++i) {
        const std::int64_t date = i % 3 == 0 ? anyDate(random) : 1700000000 + nearDates(random);
        const auto tag = static_cast<float>(i);
        list.AddOverviewRow(date, tag, 1.0f, ReportRow::kPurchaseKey);
        added.emplace_back(date, tag);
    }
    std::stable_sort(added.begin(), added.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::int64_t> expectedDates;
    std::vector<float> expectedTags;
    for (const auto& [date, tag] : added) {
        expectedDates.push_back(date);
        expectedTags.push_back(tag);
    }
    EXPECT_EQ(Dates(list), expectedDates);
    EXPECT_EQ(Shares(list), expectedTags);
}

}  // namespace

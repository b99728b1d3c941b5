#include "core/model/Kx7Doc.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/model/OptionSuffix.h"
#include "support/CaseName.h"
#include "support/DocBuilder.h"
#include "support/TestClock.h"

namespace {

class DocTest : public ::testing::Test {
protected:
    Settings settings;
    CKx7Doc doc{settings};
};

struct SymbolListCase {
    const char* name;
    bool ungroup;
    std::optional<SymbolFilter> filter;
    const char* expected;
};

class SymbolListTest : public ::testing::TestWithParam<SymbolListCase> {};

// Lots: abc (held), ABC (sold out), XYZ (held), a grant of XYZ, a grant of QQQ (sold out).
TEST_P(SymbolListTest, ListsDistinctSortedNames) {
    const SymbolListCase& c = GetParam();
    Settings settings;
    settings.ungroupOptions = c.ungroup;
    CKx7Doc doc(settings);
    AddLot(doc, "abc", 10, 1);
    AddLot(doc, "XYZ", 10, 1);
    AddLot(doc, "ABC", 10, 1).availableShares = 0.0001f;
    AddGrant(doc, "XYZ", 100, 5);
    AddGrant(doc, "QQQ", 100, 5).availableShares = 0;
    AddLot(doc, "XYZ", 5, 1);

    std::string text;
    for (const std::string& name : doc.SymbolNames(c.filter)) {
        text += name + ";";
    }
    EXPECT_EQ(text, c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Filters, SymbolListTest,
    ::testing::Values(
        SymbolListCase{"all_ungrouped", true, std::nullopt, "ABC;QQQ-O;XYZ;XYZ-O;abc;"},
        SymbolListCase{"all_grouped", false, std::nullopt, "ABC;QQQ;XYZ;abc;"},
        SymbolListCase{"held_ungrouped", true, SymbolFilter::kHeldLots, "XYZ;XYZ-O;abc;"},
        SymbolListCase{"held_grouped", false, SymbolFilter::kHeldLots, "XYZ;abc;"},
        SymbolListCase{"grants_ungrouped", true, SymbolFilter::kGrants, "QQQ-O;XYZ-O;"},
        SymbolListCase{"grants_grouped", false, SymbolFilter::kGrants, "QQQ;XYZ;"}),
    CaseName{});

TEST_F(DocTest, ManySymbolsAreAllListed) {
    for (int i = 0; i < 250; ++i) {
        AddLot(doc, "S" + std::to_string(1000 + i), 1, 1);
    }
    const std::vector<std::string> names = doc.SymbolNames();
    ASSERT_EQ(names.size(), 250U);
    EXPECT_EQ(names[249], "S1249");
}

struct SuffixCase {
    const char* symbol;
    bool suffixed;
    const char* stripped;
};

class OptionSuffixTest : public ::testing::TestWithParam<SuffixCase> {};

TEST_P(OptionSuffixTest, OnlyTheProgramsOwnSuffixCounts) {
    const SuffixCase& c = GetParam();
    EXPECT_EQ(HasOptionSuffix(c.symbol), c.suffixed) << c.symbol;
    EXPECT_EQ(StripOptionSuffix(c.symbol), c.stripped) << c.symbol;
}

INSTANTIATE_TEST_SUITE_P(
    Symbols, OptionSuffixTest,
    ::testing::Values(SuffixCase{"XYZ-O", true, "XYZ"}, SuffixCase{"A-O", true, "A"},
                      SuffixCase{"-O", false, "-O"}, SuffixCase{"BRK-B", false, "BRK-B"},
                      SuffixCase{"A-B", false, "A-B"}, SuffixCase{"XYZ-o", false, "XYZ-o"},
                      SuffixCase{"XYZ", false, "XYZ"}, SuffixCase{"", false, ""}));

TEST_F(DocTest, ShareClassTickerIsAnOrdinarySymbol) {
    AddLot(doc, "BRK-B", 10, 300).marketPrice = 350;
    EXPECT_EQ(doc.MarketPrice("BRK-B"), 350.0f);
    EXPECT_EQ(doc.SymbolValue("BRK-B"), 3500.0f);
    EXPECT_EQ(doc.ExercisableShares("BRK-B"), 10.0f);
}

struct ValueCase {
    const char* name;
    bool ungroup;
    const char* symbol;
    float value;
};

class SymbolValueTest : public ::testing::TestWithParam<ValueCase> {};

// XYZ: a lot of 10 at market 30, and a grant of 100 with strike 20 at market 30.
TEST_P(SymbolValueTest, UngroupSettingKeepsStockAndGrantsApart) {
    const ValueCase& c = GetParam();
    Settings settings;
    settings.ungroupOptions = c.ungroup;
    CKx7Doc doc(settings);
    AddLot(doc, "XYZ", 10, 25).marketPrice = 30;
    AddGrant(doc, "XYZ", 100, 20).marketPrice = 30;
    EXPECT_EQ(doc.SymbolValue(c.symbol), c.value) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Ungroup, SymbolValueTest,
                         ::testing::Values(ValueCase{"stock_apart", true, "XYZ", 300},
                                           ValueCase{"grant_apart", true, "XYZ-O", 1000},
                                           ValueCase{"together", false, "XYZ", 1300},
                                           ValueCase{"suffix_grouped", false, "XYZ-O", 1300},
                                           ValueCase{"unknown", true, "QQQ", 0}),
                         CaseName{});

TEST_F(DocTest, TotalValueSumsTheHeldSymbols) {
    AddLot(doc, "AAA", 10, 5).marketPrice = 6;
    AddLot(doc, "BBB", 4, 5).marketPrice = 10;
    AddGrant(doc, "BBB", 100, 8).marketPrice = 10;
    AddLot(doc, "CCC", 10, 5).availableShares = 0;
    EXPECT_EQ(doc.TotalValue(), 60.0f + 40.0f + 200.0f);
    settings.ungroupOptions = false;
    EXPECT_EQ(doc.TotalValue(), 300.0f);
}

TEST_F(DocTest, PriceAndNameQueriesStripTheSuffixAndTakeTheFirstLot) {
    AddLot(doc, "XYZ", 10, 25, 0, "Xyz First").marketPrice = 31;
    AddLot(doc, "XYZ", 10, 25, 0, "Xyz Second").marketPrice = 32;
    std::string name = "unchanged";
    EXPECT_TRUE(doc.CompanyName("XYZ-O", name));
    EXPECT_EQ(name, "Xyz First");
    name = "unchanged";
    EXPECT_FALSE(doc.CompanyName("QQQ", name));
    EXPECT_EQ(name, "unchanged");
    EXPECT_EQ(doc.MarketPrice("XYZ-O"), 31.0f);
    EXPECT_EQ(doc.MarketPrice(""), 0.0f);
    EXPECT_EQ(doc.MarketPrice("QQQ"), 0.0f);
}

TEST_F(DocTest, QuoteDirectionAndChangeComeFromTheLastExactLot) {
    AddLot(doc, "XYZ", 10, 25);
    doc.ApplyQuote("XYZ", 26, 1, 1.5f, 6.1f);
    AddLot(doc, "XYZ", 10, 25).quoteDirection = -1;
    EXPECT_EQ(doc.QuoteDirection("XYZ"), -1);
    EXPECT_EQ(doc.QuoteChange("XYZ"), 0.0f);
    EXPECT_EQ(doc.QuoteDirection("XYZ-O"), 0);
    EXPECT_EQ(doc.Purchases()[0]->quoteExtra, 6.1f);
    EXPECT_EQ(doc.Purchases()[0]->marketPrice, 26.0f);
}

TEST_F(DocTest, SetMarketPriceReachesEveryLotOfTheExactSymbol) {
    AddLot(doc, "XYZ", 10, 25);
    AddGrant(doc, "XYZ", 10, 25);
    AddLot(doc, "XYZW", 10, 25);
    doc.SetMarketPrice("XYZ", 40);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.Purchases()[0]->marketPrice, 40.0f);
    EXPECT_EQ(doc.Purchases()[1]->marketPrice, 40.0f);
    EXPECT_EQ(doc.Purchases()[2]->marketPrice, 25.0f);
}

TEST_F(DocTest, CostSumModes) {
    CPurchase& first = AddLot(doc, "XYZ", 100, 10);
    first.availableShares = 60;
    AddLot(doc, "XYZ", 50, 20);
    AddLot(doc, "XYZ-O", 50, 1000);  // stored under another symbol: not counted
    EXPECT_EQ(doc.CostSum("XYZ", CostMode::kHeld), 600.0f + 1000.0f);
    EXPECT_EQ(doc.CostSum("XYZ", CostMode::kSold), 400.0f);
    EXPECT_EQ(doc.CostSum("XYZ", CostMode::kAll), 2000.0f);
}

TEST_F(DocTest, DividendTotalValuesShareDividendsAtTheMarketPrice) {
    AddLot(doc, "XYZ", 100, 10).marketPrice = 12;
    doc.AppendDividend(std::make_unique<CDividend>("XYZ", DividendKind::kCash, 50.0f, 0, ""));
    doc.AppendDividend(std::make_unique<CDividend>("XYZ", DividendKind::kShares, 2.0f, 0, ""));
    doc.AppendDividend(std::make_unique<CDividend>("QQQ", DividendKind::kCash, 99.0f, 0, ""));
    EXPECT_EQ(doc.DividendTotal("XYZ"), 74.0f);
    EXPECT_EQ(doc.DividendTotal("QQQ"), 99.0f);
}

TEST_F(DocTest, OptionSharesHeldIgnoresVesting) {
    CPurchase& grant = AddGrant(doc, "XYZ", 1000, 5, 3, At(2020, 1, 1));
    grant.AddSale(100, 9, At(2021, 6, 1), 0, "", 0);
    AddLot(doc, "XYZ", 50, 5);
    EXPECT_EQ(doc.OptionSharesHeld("XYZ-O"), 900.0f);
    EXPECT_EQ(doc.OptionSharesHeld("XYZ"), 900.0f);
}

TEST_F(DocTest, ExercisableSharesOfASymbolFollowTheClock) {
    ScopedClock clock(At(2021, 1, 2));
    AddGrant(doc, "XYZ", 1000, 5, 3, At(2020, 1, 1));  // 4YA: a quarter after one year
    AddLot(doc, "XYZ", 50, 5);
    EXPECT_EQ(doc.ExercisableShares("XYZ-O"), 250.0f);
    EXPECT_EQ(doc.ExercisableShares("XYZ"), 50.0f);
    EXPECT_EQ(doc.Purchases()[0]->availableShares, 250.0f);
    settings.ungroupOptions = false;
    EXPECT_EQ(doc.ExercisableShares("XYZ"), 300.0f);
}

TEST_F(DocTest, AlertsAreSetReplacedAndRemoved) {
    EXPECT_EQ(doc.AlertOf("XYZ"), AlertThresholds{});
    doc.SetAlert("XYZ", {10, 20, -1, 5});
    doc.SetAlert("ABC", {1, 2, 3, 4});
    doc.SetAlertState("XYZ", 3);
    EXPECT_EQ(doc.AlertState("XYZ"), 3);
    doc.SetModified(false);

    doc.SetAlert("XYZ", {11, 21, 2, -1});
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(doc.Alerts().size(), 2u);
    EXPECT_EQ(doc.Alerts()[0].symbol, "XYZ");
    EXPECT_EQ(doc.AlertOf("XYZ"), (AlertThresholds{11, 21, 2, -1}));
    EXPECT_EQ(doc.AlertState("XYZ"), 0);

    doc.SetModified(false);
    doc.SetAlertState("ABC", 1);
    EXPECT_FALSE(doc.IsModified());

    doc.RemoveAlert("XYZ");
    EXPECT_EQ(doc.AlertOf("XYZ"), AlertThresholds{});
    ASSERT_EQ(doc.Alerts().size(), 1u);
    doc.SetModified(false);
    doc.RemoveAlert("NOPE");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.AlertState("NOPE"), 0);
}

TEST_F(DocTest, ClearContentsKeepsOwnerObjectiveAndSaleNumbering) {
    doc.SetPortfolioInformation("Pat", "Retire early");
    doc.SetNextSaleNumber(17);
    CPurchase& lot = AddLot(doc, "XYZ", 10, 5);
    lot.AddSale(5, 6, 0, 0, "", 16);
    doc.AppendDividend(std::make_unique<CDividend>("XYZ", DividendKind::kCash, 5.0f, 0, ""));
    doc.AppendSplit({"XYZ", 0, 2, 1});
    doc.SetAlert("XYZ", {1, 2, 3, 4});
    doc.AddToRecordCount(3);
    doc.TouchLastUpdate();
    doc.RecordTimelineSample();

    doc.NewDocument();
    EXPECT_TRUE(doc.Purchases().empty());
    EXPECT_TRUE(doc.Dividends().empty());
    EXPECT_TRUE(doc.Splits().empty());
    EXPECT_TRUE(doc.Alerts().empty());
    EXPECT_EQ(doc.RecordCount(), 0);
    EXPECT_EQ(doc.LastUpdateTime(), 0);
    EXPECT_EQ(doc.TimelineCount(), 0);
    EXPECT_EQ(doc.TimelineValue(0), -1.0f);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.Title(), "Untitled");

    EXPECT_EQ(doc.OwnerName(), "Pat");
    EXPECT_EQ(doc.PortfolioObjective(), "Retire early");
    EXPECT_EQ(doc.NextSaleNumber(), 17);
}

TEST_F(DocTest, TitleIsTheFileName) {
    doc.SetPathName("/home/pat/money/retire.kx7");
    EXPECT_EQ(doc.Title(), "retire.kx7");
}

TEST_F(DocTest, SetPortfolioInformationMarksModified) {
    doc.SetPortfolioInformation("Pat", "Growth");
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocTest, TouchLastUpdateUsesTheClockAndDoesNotModify) {
    ScopedClock clock(At(2024, 5, 3, 10));
    doc.TouchLastUpdate();
    EXPECT_EQ(doc.LastUpdateTime(), At(2024, 5, 3, 10));
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(DocTest, TimelineSeriesRestartsOnANewCalendarDate) {
    AddLot(doc, "XYZ", 10, 5).marketPrice = 10;
    ScopedClock clock(At(2024, 4, 3, 10));
    doc.RecordTimelineSample();
    doc.SetMarketPrice("XYZ", 11);
    clock.Set(At(2024, 4, 3, 11));
    doc.RecordTimelineSample();
    EXPECT_EQ(doc.TimelineCount(), 2);
    EXPECT_EQ(doc.TimelineValue(0), 100.0f);
    EXPECT_EQ(doc.TimelineValue(1), 110.0f);
    EXPECT_EQ(doc.TimelineValue(2), -1.0f);
    EXPECT_EQ(doc.TimelineValue(3), -1.0f);
    EXPECT_EQ(doc.TimelineFirstTime(), At(2024, 4, 3, 10));
    EXPECT_EQ(doc.TimelineLastTime(), At(2024, 4, 3, 11));

    // The same day of the next month is another date: a new series.
    clock.Set(At(2024, 5, 3, 10));
    doc.RecordTimelineSample();
    EXPECT_EQ(doc.TimelineCount(), 1);
    EXPECT_EQ(doc.TimelineFirstTime(), At(2024, 5, 3, 10));

    clock.Set(At(2024, 5, 4, 0) + 1);
    doc.RecordTimelineSample();
    EXPECT_EQ(doc.TimelineCount(), 1);
}

TEST_F(DocTest, TimelineHasNoFixedLength) {
    ScopedClock clock(At(2024, 4, 3, 9));
    for (int i = 0; i < 600; ++i) {
        doc.RecordTimelineSample();
    }
    EXPECT_EQ(doc.TimelineCount(), 600);
    EXPECT_EQ(doc.TimelineValue(599), 0.0f);
    EXPECT_EQ(doc.TimelineValue(600), -1.0f);
}

TEST_F(DocTest, QueriesOnAnEmptyPortfolioGiveTheirNoneValues) {
    EXPECT_TRUE(doc.SymbolNames().empty());
    EXPECT_EQ(doc.TotalValue(), 0.0f);
    EXPECT_EQ(doc.SymbolValue("XYZ"), 0.0f);
    EXPECT_EQ(doc.ExercisableShares("XYZ"), 0.0f);
    EXPECT_EQ(doc.DividendTotal("XYZ"), 0.0f);
    EXPECT_EQ(doc.QuoteChange("XYZ"), 0.0f);
}

}  // namespace

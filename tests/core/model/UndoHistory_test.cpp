#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/quotes/QuoteUpdate.h"
#include "core/settings/Settings.h"
#include "support/CaseName.h"
#include "support/ScriptedLotChooser.h"
#include "support/TestClock.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Two symbols with lots, a grant, sales, dividends, a split and alerts, saved.
void FillPortfolio(CKx7Doc& doc) {
    doc.SetPortfolioInformation("Pat", "Growth");
    for (const int year : {2001, 2002, 2003}) {
        doc.Purchase({.symbol = "XYZ",
                      .companyName = "Xyz Corp",
                      .shares = 100.0f,
                      .price = static_cast<float>(year - 1990),
                      .date = At(year, 3, 1),
                      .commission = 5.0f,
                      .purchaseType = "Direct Purchase",
                      .comment = "lot"});
    }
    doc.Purchase({.symbol = "ABC",
                  .companyName = "Abc Inc",
                  .shares = 40.0f,
                  .price = 20.0f,
                  .date = At(2004, 5, 3),
                  .commission = 0.0f,
                  .purchaseType = "Direct Purchase",
                  .comment = ""});
    doc.ReceiveGrant({.symbol = "XYZ",
                      .companyName = "Xyz Corp",
                      .shares = 400.0f,
                      .strikePrice = 8.0f,
                      .date = At(2002, 1, 15),
                      .optionType = "ISO",
                      .vestingSchedule = 3,
                      .grantId = "G1",
                      .comment = ""});
    doc.Sell({.symbol = "XYZ",
              .shares = 150.0f,
              .price = 30.0f,
              .date = At(2005, 6, 1),
              .commission = 9.0f,
              .method = SaleMethod::kFifo,
              .comment = "first"});
    doc.RecordDividend({.symbol = "ABC",
                        .kind = DividendKind::kCash,
                        .amount = 12.5f,
                        .date = At(2005, 7, 1),
                        .comment = "q2"});
    doc.SetAlert("XYZ", {.lowMark = 10.0, .highMark = 50.0});
    doc.SetAlert("ABC", {.percentDown = 5.0, .percentUp = 7.0});
    doc.SetMarketPrice("XYZ", 31.0f);
    doc.SetModified(false);
}

// Entries with every field given, the ones a case does not care about left plain.
PurchaseEntry Lot(std::string symbol, float shares, float price, std::int64_t date = 0) {
    return {.symbol = std::move(symbol),
            .companyName = "Co",
            .shares = shares,
            .price = price,
            .date = date,
            .commission = 0.0f,
            .purchaseType = "Direct Purchase",
            .comment = ""};
}

SaleEntry SaleOf(std::string symbol, float shares, float price, SaleMethod method,
                 std::int64_t date = 0) {
    return {.symbol = std::move(symbol),
            .shares = shares,
            .price = price,
            .date = date,
            .commission = 1.0f,
            .method = method,
            .comment = ""};
}

QuoteResult Found(std::string symbol, float price, bool fullQuote = false) {
    QuoteResult result;
    result.symbol = std::move(symbol);
    result.outcome = QuoteOutcome::kFound;
    result.fullQuote = fullQuote;
    result.price = price;
    return result;
}

CPurchase& LotAt(CKx7Doc& doc, std::size_t index) {
    return *doc.Purchases().at(index);
}

struct OperationCase {
    const char* name;
    std::function<void(CKx7Doc&)> apply;
};

class UndoOperationTest : public ::testing::TestWithParam<OperationCase> {
protected:
    ScopedClock clock{At(2006, 5, 17, 14)};
    Settings settings;
    CKx7Doc doc{settings};
    ScriptedLotChooser chooser{std::vector<float>{10.0f, 0.0f, 30.0f}};
};

// Undo gives back the saved bytes and the saved state; redo gives the bytes after.
TEST_P(UndoOperationTest, UndoRestoresTheBytesAndRedoMakesThemAgain) {
    doc.SetCustomLotChooser(&chooser);
    FillPortfolio(doc);
    doc.ClearHistory();
    const Bytes before = StoreKx7(doc);
    const std::int32_t recordsBefore = doc.RecordCount();

    GetParam().apply(doc);
    const Bytes after = StoreKx7(doc);
    const std::int32_t recordsAfter = doc.RecordCount();
    ASSERT_NE(after, before) << "the operation changed nothing";
    ASSERT_TRUE(doc.CanUndo());
    EXPECT_TRUE(doc.IsModified());

    doc.Undo();
    EXPECT_EQ(StoreKx7(doc), before);
    EXPECT_EQ(doc.RecordCount(), recordsBefore);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.CanUndo());

    doc.Redo();
    EXPECT_EQ(StoreKx7(doc), after);
    EXPECT_EQ(doc.RecordCount(), recordsAfter);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(doc.CanRedo());

    // And back once more: the steps hold up to being taken again.
    doc.Undo();
    EXPECT_EQ(StoreKx7(doc), before);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, UndoOperationTest,
    ::testing::Values(
        OperationCase{"purchase",
                      [](CKx7Doc& d) {
                          d.Purchase({.symbol = "NEW",
                                      .companyName = "New Co",
                                      .shares = 5.0f,
                                      .price = 3.0f,
                                      .date = At(2006, 1, 2),
                                      .commission = 1.0f,
                                      .purchaseType = "Direct Purchase",
                                      .comment = ""});
                      }},
        OperationCase{"grant",
                      [](CKx7Doc& d) {
                          d.ReceiveGrant({.symbol = "ABC",
                                          .companyName = "Abc Inc",
                                          .shares = 100.0f,
                                          .strikePrice = 2.0f,
                                          .date = At(2006, 1, 2),
                                          .optionType = "NQ",
                                          .vestingSchedule = 0,
                                          .grantId = "G2",
                                          .comment = ""});
                      }},
        OperationCase{"fifo_sale",
                      [](CKx7Doc& d) {
                          d.Sell({.symbol = "XYZ",
                                  .shares = 120.0f,
                                  .price = 33.0f,
                                  .date = At(2006, 2, 1),
                                  .commission = 4.0f,
                                  .method = SaleMethod::kFifo,
                                  .comment = ""});
                      }},
        OperationCase{"lifo_sale",
                      [](CKx7Doc& d) {
                          d.Sell({.symbol = "XYZ",
                                  .shares = 120.0f,
                                  .price = 33.0f,
                                  .date = At(2006, 2, 1),
                                  .commission = 4.0f,
                                  .method = SaleMethod::kLifo,
                                  .comment = ""});
                      }},
        OperationCase{"lot_by_lot_sale",
                      [](CKx7Doc& d) {
                          d.Sell({.symbol = "XYZ",
                                  .shares = 40.0f,
                                  .price = 33.0f,
                                  .date = At(2006, 2, 1),
                                  .commission = 4.0f,
                                  .method = SaleMethod::kCustom,
                                  .comment = "chosen"});
                      }},
        OperationCase{"expiry",
                      [](CKx7Doc& d) { d.ExpireOptions("XYZ-O", At(2006, 3, 1), "gone"); }},
        OperationCase{"cash_dividend",
                      [](CKx7Doc& d) {
                          d.RecordDividend({.symbol = "XYZ",
                                            .kind = DividendKind::kCash,
                                            .amount = 3.0f,
                                            .date = At(2006, 1, 5),
                                            .comment = ""});
                      }},
        OperationCase{"share_dividend",
                      [](CKx7Doc& d) {
                          d.RecordDividend({.symbol = "ABC",
                                            .kind = DividendKind::kShares,
                                            .amount = 2.0f,
                                            .date = At(2006, 1, 5),
                                            .comment = ""});
                      }},
        OperationCase{"split", [](CKx7Doc& d) { d.StockSplit("XYZ", 3, 2, At(2006, 1, 9)); }},
        OperationCase{"symbol_change",
                      [](CKx7Doc& d) { d.ChangeSymbol("XYZ", "XYN", "Xyz New Corp"); }},
        OperationCase{"purchase_edit",
                      [](CKx7Doc& d) {
                          d.EditPurchase(LotAt(d, 1), {.shares = 90.0f,
                                                       .price = 11.0f,
                                                       .date = At(2002, 3, 2),
                                                       .commission = 1.0f,
                                                       .purchaseType = "Gift",
                                                       .comment = "fixed"});
                      }},
        OperationCase{"sale_edit",
                      [](CKx7Doc& d) {
                          d.EditSale(LotAt(d, 1).sales.at(0), {.shares = 20.0f,
                                                               .price = 29.0f,
                                                               .date = At(2005, 6, 2),
                                                               .commission = 0.0f,
                                                               .comment = "fixed"});
                      }},
        OperationCase{"dividend_edit",
                      [](CKx7Doc& d) {
                          d.EditDividend(*d.Dividends().at(0),
                                         {.dividendKind = DividendKind::kShares,
                                          .amount = 1.0f,
                                          .date = At(2005, 7, 2),
                                          .comment = "shares"});
                      }},
        OperationCase{"purchase_removal", [](CKx7Doc& d) { d.RemovePurchase(LotAt(d, 0)); }},
        OperationCase{"sale_removal", [](CKx7Doc& d) { d.RemoveSale(LotAt(d, 0).sales.at(0)); }},
        OperationCase{"dividend_removal",
                      [](CKx7Doc& d) { d.RemoveDividend(*d.Dividends().at(0)); }},
        OperationCase{"new_alert", [](CKx7Doc& d) { d.SetAlert("NEW", {.lowMark = 1.0}); }},
        OperationCase{"changed_alert", [](CKx7Doc& d) { d.SetAlert("XYZ", {.highMark = 60.0}); }},
        OperationCase{"alert_removal", [](CKx7Doc& d) { d.RemoveAlert("XYZ"); }},
        OperationCase{"information",
                      [](CKx7Doc& d) { d.SetPortfolioInformation("Sam", "Income"); }},
        OperationCase{"manual_price", [](CKx7Doc& d) { d.SetMarketPrice("ABC", 22.5f); }},
        OperationCase{"quote", [](CKx7Doc& d) { d.ApplyQuote("XYZ", 32.0f, -1, 0.5f, 1.0f); }},
        OperationCase{"price_update",
                      [](CKx7Doc& d) {
                          QuoteResult xyz = Found("XYZ", 35.0f, true);
                          xyz.direction = 1;
                          xyz.change = 2.0f;
                          ApplyQuoteResults(d, {xyz, Found("ABC", 19.0f)});
                      }},
        OperationCase{"import_of_several_records",
                      [](CKx7Doc& d) {
                          const CKx7Doc::UndoStep step(d, "Import");
                          d.Purchase({.symbol = "IMP",
                                      .companyName = "Imported",
                                      .shares = 10.0f,
                                      .price = 1.0f,
                                      .date = At(2006, 1, 2),
                                      .commission = 0.0f,
                                      .purchaseType = "Direct Purchase",
                                      .comment = ""});
                          d.Sell({.symbol = "IMP",
                                  .shares = 4.0f,
                                  .price = 2.0f,
                                  .date = At(2006, 1, 3),
                                  .commission = 0.0f,
                                  .method = SaleMethod::kFifo,
                                  .comment = ""});
                          d.RemovePurchase(LotAt(d, 3));
                          d.StockSplit("IMP", 2, 1, At(2006, 1, 4));
                      }}),
    CaseName());

TEST(UndoHistoryTest, LabelsNameTheStepAndAnImportIsOne) {
    const Settings settings;
    CKx7Doc doc(settings);
    doc.Purchase(Lot("XYZ", 1.0f, 1.0f));
    {
        const CKx7Doc::UndoStep step(doc, "Import");
        doc.Purchase(Lot("A", 1.0f, 1.0f));
        doc.Purchase(Lot("B", 1.0f, 1.0f));
    }
    EXPECT_EQ(doc.HistoryLabels(), (std::vector<std::string>{"Purchase of XYZ", "Import"}));
    EXPECT_EQ(doc.UndoLabel(), "Import");
    doc.Undo();
    EXPECT_EQ(doc.Purchases().size(), 1u);
    EXPECT_EQ(doc.RedoLabel(), "Import");
    EXPECT_EQ(doc.UndoLabel(), "Purchase of XYZ");
}

TEST(UndoHistoryTest, ARunOfPriceUpdatesIsOneStep) {
    const ScopedClock clock(At(2006, 5, 17, 14));
    const Settings settings;
    CKx7Doc doc(settings);
    FillPortfolio(doc);
    doc.ClearHistory();
    const Bytes before = StoreKx7(doc);
    const auto update = [&doc](const char* symbol, float price) {
        ApplyQuoteResults(doc, {Found(symbol, price)});
    };
    update("XYZ", 35.0f);
    update("ABC", 19.0f);
    update("XYZ", 36.0f);
    const Bytes after = StoreKx7(doc);
    EXPECT_EQ(doc.HistoryLabels(), (std::vector<std::string>{"Price Update"}));
    doc.Undo();
    EXPECT_EQ(StoreKx7(doc), before);
    doc.Redo();
    EXPECT_EQ(StoreKx7(doc), after);

    // Another step, or a save, ends the run.
    doc.SetMarketPrice("ABC", 18.0f);
    update("ABC", 17.0f);
    doc.SetModified(false);
    update("ABC", 16.0f);
    doc.SetMarketPrice("ABC", 15.0f);
    doc.SetMarketPrice("ABC", 14.0f);
    EXPECT_EQ(doc.HistoryLabels(),
              (std::vector<std::string>{"Price Update", "Price of ABC", "Price Update",
                                        "Price Update", "Price of ABC", "Price of ABC"}));
}

TEST(UndoHistoryTest, AnOperationThatChangesNothingIsNoStep) {
    const Settings settings;
    CKx7Doc doc(settings);
    ScriptedLotChooser cancelled(std::nullopt);
    doc.SetCustomLotChooser(&cancelled);
    doc.Purchase(Lot("XYZ", 10.0f, 1.0f));
    doc.Sell(SaleOf("XYZ", 5.0f, 1.0f, SaleMethod::kCustom));
    doc.StockSplit("XYZ", 0, 1, 0);
    doc.ExpireOptions("XYZ-O", 0, "");
    EXPECT_EQ(doc.HistoryLabels(), (std::vector<std::string>{"Purchase of XYZ"}));
}

TEST(UndoHistoryTest, TheSavedStateIsUnmodifiedWhicheverWayItIsReached) {
    const Settings settings;
    CKx7Doc doc(settings);
    const auto buy = [&doc](const char* symbol) { doc.Purchase(Lot(symbol, 1.0f, 1.0f)); };
    buy("A");
    buy("B");
    doc.SetModified(false);  // saved here
    buy("C");
    doc.Undo();
    EXPECT_FALSE(doc.IsModified());
    doc.Undo();
    EXPECT_TRUE(doc.IsModified());
    doc.Redo();
    EXPECT_FALSE(doc.IsModified());
    doc.Redo();
    EXPECT_TRUE(doc.IsModified());

    // A new step after undoing past the saved state leaves no way back to it.
    doc.Undo();
    doc.Undo();
    buy("D");
    EXPECT_FALSE(doc.CanRedo());
    doc.Undo();
    EXPECT_TRUE(doc.IsModified());
}

TEST(UndoHistoryTest, OpeningOrStartingAnotherPortfolioForgetsTheSteps) {
    const Settings settings;
    CKx7Doc doc(settings);
    doc.Purchase(Lot("A", 1.0f, 1.0f));
    const Bytes file = StoreKx7(doc);
    ASSERT_TRUE(LoadKx7(doc, file).Ok());
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(doc.IsModified());

    doc.Purchase(Lot("B", 1.0f, 1.0f));
    doc.NewDocument();
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_TRUE(doc.Purchases().empty());
}

TEST(UndoHistoryTest, AChangeMadeOutsideTheOperationsEndsTheHistory) {
    const Settings settings;
    CKx7Doc doc(settings);
    doc.Purchase(Lot("A", 1.0f, 1.0f));
    doc.Purchases()[0]->comment = "changed in place";
    doc.MarkChanged(ChangeSet(ChangeKind::kLots, "A"));
    EXPECT_FALSE(doc.CanUndo());
}

TEST(UndoHistoryTest, UndoAndRedoAreAnnouncedWithWhatTheyChanged) {
    const Settings settings;
    CKx7Doc doc(settings);
    struct Heard final : DocumentObserver {
        std::vector<ChangeSet> changes;
        void Changed(const ChangeSet& set) override { changes.push_back(set); }
    } heard;
    doc.Purchase(Lot("A", 1.0f, 1.0f));
    doc.AddObserver(heard);
    const std::uint64_t revision = doc.Revision();
    doc.Undo();
    doc.Redo();
    doc.RemoveObserver(heard);
    ASSERT_EQ(heard.changes.size(), 2u);
    for (const ChangeSet& changes : heard.changes) {
        EXPECT_TRUE(changes.Has(ChangeKind::kLots));
        EXPECT_TRUE(changes.Has(ChangeKind::kModified));
        EXPECT_EQ(changes.Symbols(), (std::vector<std::string>{"A"}));
    }
    EXPECT_GT(doc.Revision(), revision);
}

// Random operations of every kind, all undone and all redone.
TEST(UndoHistoryTest, HundredsOfRandomOperationsUndoAndRedoToTheSameBytes) {
    const ScopedClock clock(At(2010, 1, 1));
    const Settings settings;
    CKx7Doc doc(settings);
    ScriptedLotChooser chooser(std::vector<float>{1.0f, 2.0f, 1.5f});
    doc.SetCustomLotChooser(&chooser);
    FillPortfolio(doc);
    doc.ClearHistory();
    const Bytes original = StoreKx7(doc);

    std::mt19937 random(20261211);
    const std::vector<std::string> symbols{"XYZ", "ABC", "XYZ-O", "NEW"};
    const auto pick = [&random](std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
    };
    const auto amount = [&random] {
        return static_cast<float>(std::uniform_int_distribution<int>(1, 40)(random));
    };
    int steps = 0;
    while (steps < 300) {
        const std::string& symbol = symbols[pick(symbols.size())];
        const std::size_t kind = pick(12);
        const std::size_t lots = doc.Purchases().size();
        switch (kind) {
            case 0: {
                const float shares = amount();
                const float price = amount();
                doc.Purchase(Lot(symbol == "XYZ-O" ? "XYZ" : symbol, shares, price,
                                 At(2007, 1, 1) + static_cast<std::int64_t>(steps)));
                break;
            }
            case 1:
            case 2: {
                const float shares = amount();
                const float price = amount();
                doc.Sell(SaleOf(symbol, shares, price, static_cast<SaleMethod>(pick(3)),
                                At(2008, 1, 1)));
                break;
            }
            case 3: {
                DividendEntry dividend;
                dividend.symbol = symbol;
                dividend.kind = static_cast<DividendKind>(pick(2));
                dividend.amount = amount();
                doc.RecordDividend(dividend);
                break;
            }
            case 4:
                doc.StockSplit(symbol, static_cast<std::int32_t>(pick(3) + 1), 1, At(2008, 2, 1));
                break;
            case 5:
                doc.SetMarketPrice(symbol, amount());
                break;
            case 6:
                doc.SetAlert(symbol, {.lowMark = amount()});
                break;
            case 7:
                doc.RemoveAlert(symbol);
                break;
            case 8:
                if (lots > 0) {
                    doc.RemovePurchase(*doc.Purchases()[pick(lots)]);
                }
                break;
            case 9:
                if (lots > 0) {
                    CPurchase& lot = *doc.Purchases()[pick(lots)];
                    if (!lot.sales.empty()) {
                        doc.RemoveSale(lot.sales[pick(lot.sales.size())]);
                    }
                }
                break;
            case 10:
                if (lots > 0) {
                    CPurchase& lot = *doc.Purchases()[pick(lots)];
                    PurchaseEdit edit;
                    edit.shares = amount();
                    edit.price = amount();
                    doc.EditPurchase(lot, edit);
                }
                break;
            default:
                doc.ExpireOptions(symbol, At(2009, 1, 1), "");
                break;
        }
        steps = static_cast<int>(doc.HistoryDone());
    }
    const Bytes final = StoreKx7(doc);

    while (doc.CanUndo()) {
        doc.Undo();
    }
    EXPECT_EQ(StoreKx7(doc), original);
    EXPECT_FALSE(doc.IsModified());
    while (doc.CanRedo()) {
        doc.Redo();
    }
    EXPECT_EQ(StoreKx7(doc), final);
}

}  // namespace

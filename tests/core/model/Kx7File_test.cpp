#include "core/model/Kx7File.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/ArchiveWriter.h"
#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"
#include "support/CaseName.h"
#include "support/TestClock.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A portfolio with every kind of record, a grant, an expiry and text outside Windows-1252.
void FillRich(CKx7Doc& doc) {
    doc.SetPortfolioInformation("J\xC3\xBCrgen", "Soci\xC3\xA9t\xC3\xA9 \xE6\xA0\xAA\xE5\xBC\x8F");
    doc.SetNextSaleNumber(3);
    CPurchase& lot = doc.AppendPurchase(std::make_unique<CPurchase>(
        "ABC", "ABC Corp", 100.0f, 12.5f, At(2004, 3, 1, 10), 9.95f, "Direct Purchase", "first"));
    lot.AddSale(40.0f, 20.25f, At(2005, 6, 2, 11), 7.0f, "part", 0);
    lot.AddSale(10.0f, 21.0f, At(2005, 7, 2, 11), 0.0f, "", 1);
    lot.availableShares = 50.0f;
    lot.marketPrice = 22.75f;
    CPurchase& grant = doc.AppendPurchase(std::make_unique<CPurchase>(
        "XYZ", "XYZ Inc", 1000.0f, 5.0f, At(2003, 1, 15, 9), 0.0f, "ISO", ""));
    grant.vestingSchedule = 3;
    grant.grantId = "G-17";
    grant.AddSale(250.0f, -1.0f, At(2006, 1, 15, 9), 0.0f, "expired", 2);
    grant.availableShares = 750.0f;
    doc.AppendSplit({"ABC", At(2005, 1, 3, 12), 2, 1});
    doc.SetAlert("ABC", {10.0, 30.5, -1.0, 12.25});
    doc.SetAlert("XYZ", {-1.0, 8.0, 5.0, -1.0});
    doc.AppendDividend(
        std::make_unique<CDividend>("ABC", DividendKind::kCash, 42.5f, At(2005, 3, 3, 12), "Q1"));
    doc.AppendDividend(std::make_unique<CDividend>("XYZ", DividendKind::kShares, 3.0f,
                                                   At(2005, 4, 3, 12), "\xE2\x82\xAC"));
}

class Kx7FileTest : public ::testing::Test {
protected:
    Settings settings;
    CKx7Doc doc{settings};
};

TEST_F(Kx7FileTest, EmptyPortfolioBytes) {
    Bytes expected{0x0F};
    for (const char c : std::string("Version 5.1.0.0")) {
        expected.push_back(static_cast<std::uint8_t>(c));
    }
    expected.insert(expected.end(), {0, 0, 0, 0, 0x00, 0x00, 0x09});
    for (const char c : std::string("ENDOFDATA")) {
        expected.push_back(static_cast<std::uint8_t>(c));
    }
    EXPECT_EQ(StoreKx7(doc), expected);
}

TEST_F(Kx7FileTest, RichPortfolioRoundTripsByteForByte) {
    FillRich(doc);
    const Bytes stored = StoreKx7(doc);

    CKx7Doc loaded(settings);
    loaded.SetModified(true);
    loaded.SetLastUpdateTime(1234);
    const Kx7ReadResult read = LoadKx7(loaded, stored);
    ASSERT_TRUE(read.Ok()) << read.error;
    EXPECT_EQ(read.warning, "");
    EXPECT_EQ(read.generation, 5000);
    EXPECT_EQ(StoreKx7(loaded), stored);

    EXPECT_FALSE(loaded.IsModified());
    EXPECT_EQ(loaded.LastUpdateTime(), 0);
    EXPECT_EQ(loaded.OwnerName(), doc.OwnerName());
    EXPECT_EQ(loaded.PortfolioObjective(), doc.PortfolioObjective());
    EXPECT_EQ(loaded.Dividends()[1]->comment, "\xE2\x82\xAC");
    // Two lots and three sales; the loaded dividends are not counted.
    EXPECT_EQ(loaded.RecordCount(), 5);
    ASSERT_EQ(loaded.Purchases().size(), 2u);
    const CPurchase& grant = *loaded.Purchases()[1];
    EXPECT_EQ(grant.vestingSchedule, 3);
    EXPECT_EQ(grant.grantId, "G-17");
    ASSERT_EQ(grant.sales.size(), 1u);
    EXPECT_EQ(grant.sales[0].purchase, &grant);
    EXPECT_EQ(loaded.AlertOf("XYZ"), (AlertThresholds{-1.0, 8.0, 5.0, -1.0}));
}

struct GenerationCase {
    const char* name;
    const char* version;
    std::int32_t generation;
};

class GenerationTest : public ::testing::TestWithParam<GenerationCase> {};

TEST_P(GenerationTest, DerivedFromTheMajorVersion) {
    EXPECT_EQ(FileGeneration(GetParam().version), GetParam().generation);
}

INSTANTIATE_TEST_SUITE_P(Versions, GenerationTest,
                         ::testing::Values(GenerationCase{"current", "Version 5.1.0.0", 5000},
                                           GenerationCase{"first", "Version 2.0.0.0", 2000},
                                           GenerationCase{"minor_ignored", "Version 2.9.1.1", 2000},
                                           GenerationCase{"four", "Version 4.9.0.0", 4000},
                                           GenerationCase{"newer", "Version 12.0", 12000},
                                           GenerationCase{"zero", "Version 0.5", 0},
                                           GenerationCase{"huge", "Version 99999999999999",
                                                          2147483000},
                                           GenerationCase{"no_number", "Version x", 9999},
                                           GenerationCase{"lower_case", "version 5.1.0.0", 9999},
                                           GenerationCase{"empty", "", 9999}),
                         CaseName{});

// A file of an older layout, written value by value.
struct OldFile {
    CArchiveWriter out;
    bool textDates;
    bool saleNumbers;
    bool doubles;

    void Date(std::int64_t time, const char* text) {
        if (textDates) {
            out.WriteString(text);
        } else {
            out.WriteTime(time);
        }
    }
    void Lot(const char* symbol, float held, const char* date) {
        out.WriteString("Purchase");
        out.WriteString(symbol);
        out.WriteString("Co");
        Date(At(1999, 12, 31, 0), date);
        for (const float value : {9.0f, 4.0f, 100.0f, held, 1.0f}) {
            out.WriteFloat(value);
        }
        out.WriteString("Direct Purchase");
        out.WriteString("");
    }
    void Sale(float price, std::int32_t number) {
        out.WriteString("Sale");
        out.WriteFloat(10.0f);
        out.WriteFloat(price);
        Date(At(2000, 2, 1, 0), "2/1/2000");
        out.WriteFloat(0.0f);
        out.WriteString("");
        if (saleNumbers) {
            out.WriteInt(number);
        }
    }
    void Alert(const char* symbol, double low) {
        out.WriteString("Alerts");
        out.WriteString(symbol);
        for (const double value : {low, -1.0, 2.5, -1.0}) {
            if (doubles) {
                out.WriteDouble(value);
            } else {
                out.WriteFloat(static_cast<float>(value));
            }
        }
    }
};

struct OldLayoutCase {
    const char* name;
    const char* version;
    bool hasNextSaleNumber;
    bool textDates;
    bool saleNumbers;
    bool doubles;
    std::vector<std::int32_t> saleNumbersAfterLoad;
    std::int32_t nextSaleNumberAfterLoad;
};

class OldLayoutTest : public ::testing::TestWithParam<OldLayoutCase> {};

TEST_P(OldLayoutTest, LoadsWithTheLayoutOfItsGeneration) {
    const OldLayoutCase& c = GetParam();
    OldFile file{{}, c.textDates, c.saleNumbers, c.doubles};
    file.out.WriteString(c.version);
    if (c.hasNextSaleNumber) {
        file.out.WriteInt(7);
    }
    file.out.WriteString("Owner");
    file.out.WriteString("Growth");
    file.Lot("ABC", 42.0f, "12/31/1999");
    file.Sale(12.0f, 20);
    file.Sale(-3.5f, 21);
    file.Lot("DEF", 100.0f, " 12/ 31/1999");
    file.Sale(13.0f, 22);
    file.Alert("ABC", 1.25);
    file.Alert("ABC", 2.75);  // replaces the first
    file.out.WriteString("ENDOFDATA");

    Settings settings;
    CKx7Doc doc(settings);
    const Kx7ReadResult read = LoadKx7(doc, file.out.Bytes());
    ASSERT_TRUE(read.Ok()) << read.error;
    EXPECT_EQ(read.warning, "");
    EXPECT_EQ(doc.OwnerName(), "Owner");
    EXPECT_EQ(doc.PortfolioObjective(), "Growth");
    ASSERT_EQ(doc.Purchases().size(), 2u);
    const CPurchase& lot = *doc.Purchases()[0];
    EXPECT_EQ(lot.date, At(1999, 12, 31, 0));
    EXPECT_EQ(doc.Purchases()[1]->date, At(1999, 12, 31, 0));
    // Stored values, although the sales say 80 shares are left.
    EXPECT_EQ(lot.availableShares, 42.0f);
    EXPECT_EQ(lot.marketPrice, 9.0f);
    ASSERT_EQ(lot.sales.size(), 2u);
    EXPECT_EQ(lot.sales[0].date, At(2000, 2, 1, 0));
    EXPECT_EQ(lot.sales[1].price, -1.0f);
    std::vector<std::int32_t> numbers;
    for (const auto& l : doc.Purchases()) {
        for (const auto& s : l->sales) {
            numbers.push_back(s.saleNumber);
        }
    }
    EXPECT_EQ(numbers, c.saleNumbersAfterLoad);
    EXPECT_EQ(doc.NextSaleNumber(), c.nextSaleNumberAfterLoad);
    ASSERT_EQ(doc.Alerts().size(), 1u);
    EXPECT_EQ(doc.AlertOf("ABC"), (AlertThresholds{2.75, -1.0, 2.5, -1.0}));
    EXPECT_EQ(doc.RecordCount(), 5);
    EXPECT_FALSE(doc.IsModified());
}

INSTANTIATE_TEST_SUITE_P(
    Generations, OldLayoutTest,
    ::testing::Values(
        OldLayoutCase{"v2", "Version 2.0.0.0", false, true, false, false, {0, 1, 2}, 3},
        OldLayoutCase{"v1", "Version 1.0.0.0", true, true, false, false, {7, 8, 9}, 10},
        OldLayoutCase{"v2_later", "Version 2.5.0.0", false, true, false, false, {0, 1, 2}, 3},
        OldLayoutCase{"v4_9", "Version 4.9.0.0", true, false, true, false, {20, 21, 22}, 7},
        OldLayoutCase{"v5", "Version 5.0.0.0", true, false, true, true, {20, 21, 22}, 7},
        OldLayoutCase{"unknown", "Kx7 portfolio", true, false, true, true, {20, 21, 22}, 7}),
    CaseName{});

TEST(OldDateTest, UnreadableDateTextGivesTimeZero) {
    CArchiveWriter out;
    out.WriteString("Version 1.0.0.0");
    out.WriteInt(0);
    out.WriteString("");
    out.WriteString("");
    out.WriteString("Purchase");
    out.WriteString("ABC");
    out.WriteString("Co");
    out.WriteString("1999-12-31");
    for (int i = 0; i < 5; ++i) {
        out.WriteFloat(1.0f);
    }
    out.WriteString("");
    out.WriteString("");
    out.WriteString("ENDOFDATA");
    Settings settings;
    CKx7Doc doc(settings);
    ASSERT_TRUE(LoadKx7(doc, out.Bytes()).Ok());
    EXPECT_EQ(doc.Purchases().at(0)->date, 0);
}

// The end of the file as the current writer lays it out, after the given groups.
Bytes CurrentFile(const std::function<void(CArchiveWriter&)>& groups) {
    CArchiveWriter out;
    out.WriteString("Version 5.1.0.0");
    out.WriteInt(0);
    out.WriteString("");
    out.WriteString("");
    groups(out);
    return out.TakeBytes();
}

TEST_F(Kx7FileTest, AlertsTagFollowedByTheEndIsAccepted) {
    const Bytes bytes = CurrentFile([](CArchiveWriter& out) {
        out.WriteString("Alerts");
        out.WriteString("ENDOFDATA");
    });
    const Kx7ReadResult read = LoadKx7(doc, bytes);
    ASSERT_TRUE(read.Ok());
    EXPECT_EQ(read.warning, "");
    EXPECT_TRUE(doc.Alerts().empty());
}

TEST_F(Kx7FileTest, BytesAfterTheEndAreIgnored) {
    FillRich(doc);
    Bytes bytes = StoreKx7(doc);
    bytes.insert(bytes.end(), {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'j', 'u', 'n', 'k'});
    CKx7Doc loaded(settings);
    const Kx7ReadResult read = LoadKx7(loaded, bytes);
    ASSERT_TRUE(read.Ok());
    EXPECT_EQ(read.warning, "");
    EXPECT_EQ(loaded.Dividends().size(), 2u);
}

// A group out of order ends the reading: what came before is kept, and the caller learns
// that the rest was not read.
TEST_F(Kx7FileTest, UnexpectedTagKeepsWhatWasReadAndWarns) {
    const Bytes bytes = CurrentFile([](CArchiveWriter& out) {
        out.WriteString("Dividend");
        out.WriteString("ABC");
        out.WriteTime(1000);
        out.WriteFloat(2.0f);
        out.WriteInt(1);
        out.WriteString("");
        out.WriteString("SplitList");  // byte 48: splits come before dividends
        out.WriteString("ABC");
        out.WriteTime(1000);
        out.WriteInt(2);
        out.WriteInt(1);
        out.WriteString("ENDOFDATA");
    });
    const Kx7ReadResult read = LoadKx7(doc, bytes);
    ASSERT_TRUE(read.Ok());
    EXPECT_EQ(read.warning,
              "Part of the file could not be read: the portfolio data stops at an unexpected "
              "entry at byte 48.");
    EXPECT_EQ(doc.Dividends().size(), 1u);
    EXPECT_TRUE(doc.Splits().empty());
    EXPECT_FALSE(doc.IsModified());
}

// Every proper prefix of a valid file ends inside a value (the end tag is the last value).
TEST_F(Kx7FileTest, TruncationAtEveryByteFailsAndLeavesAnEmptyPortfolio) {
    CKx7Doc source(settings);
    FillRich(source);
    source.SetPortfolioInformation("o", "");
    while (source.Purchases().size() > 1) {
        source.Purchases().pop_back();
    }
    source.Purchases()[0]->sales.erase(source.Purchases()[0]->sales.begin() + 1,
                                       source.Purchases()[0]->sales.end());
    doc.SetPortfolioInformation("Before", "Kept");
    doc.SetNextSaleNumber(11);
    const Bytes bytes = StoreKx7(source);
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        const Kx7ReadResult read = LoadKx7(doc, std::span<const std::uint8_t>(bytes.data(), size));
        ASSERT_EQ(read.error, kUnexpectedFileFormat) << "size " << size;
        ASSERT_TRUE(doc.Purchases().empty()) << "size " << size;
        ASSERT_TRUE(doc.Dividends().empty() && doc.Splits().empty() && doc.Alerts().empty());
        ASSERT_EQ(doc.RecordCount(), 0);
        ASSERT_EQ(doc.OwnerName(), "Before");
        ASSERT_EQ(doc.NextSaleNumber(), 11);
        ASSERT_FALSE(doc.IsModified());
    }
    EXPECT_TRUE(LoadKx7(doc, bytes).Ok());
}

// A tag is recognised by its text, whichever of the file's text forms holds it.
TEST_F(Kx7FileTest, TagsInTheWideFormAreRecognised) {
    Bytes bytes = CurrentFile([](CArchiveWriter&) {});
    const auto append = [&bytes](std::initializer_list<Bytes> parts) {
        for (const Bytes& part : parts) {
            bytes.insert(bytes.end(), part.begin(), part.end());
        }
    };
    // The framing the writer gives text outside the code page.
    const auto wideText = [](std::string_view text) {
        Bytes framed{0xFF, 0xFE, 0xFF, static_cast<std::uint8_t>(text.size())};
        for (const char c : text) {
            framed.push_back(static_cast<std::uint8_t>(c));
            framed.push_back(0);
        }
        return framed;
    };
    const Bytes dividend = [] {
        CArchiveWriter out;
        out.WriteString("ABC");
        out.WriteTime(1000);
        out.WriteFloat(2.0f);
        out.WriteInt(1);
        out.WriteString("");
        return out.TakeBytes();
    }();
    append({wideText("Dividend"), dividend, wideText("Dividend"), dividend, wideText("ENDOFDATA")});
    const Kx7ReadResult read = LoadKx7(doc, bytes);
    ASSERT_TRUE(read.Ok());
    EXPECT_EQ(read.warning, "");
    EXPECT_EQ(doc.Dividends().size(), 2u);
}

TEST_F(Kx7FileTest, LoadedSalesBelongToTheirLotInFileOrder) {
    FillRich(doc);
    CKx7Doc loaded(settings);
    ASSERT_TRUE(LoadKx7(loaded, StoreKx7(doc)).Ok());
    ASSERT_EQ(loaded.Purchases().size(), 2u);
    for (const auto& lot : loaded.Purchases()) {
        for (const auto& sale : lot->sales) {
            EXPECT_EQ(sale.purchase, lot.get());
        }
    }
    EXPECT_EQ(loaded.Purchases()[0]->sales.size(), 2u);
    EXPECT_EQ(loaded.Purchases()[0]->sales[1].saleNumber, 1);
    EXPECT_EQ(loaded.Purchases()[1]->sales.size(), 1u);
    // A record deleted from the loaded portfolio leaves the rest whole.
    loaded.Purchases()[0]->sales.erase(loaded.Purchases()[0]->sales.begin());
    loaded.Purchases().erase(loaded.Purchases().begin() + 1);
    EXPECT_EQ(loaded.Purchases()[0]->sales.at(0).comment, "");
    EXPECT_EQ(loaded.Purchases()[0]->sales.at(0).purchase, loaded.Purchases()[0].get());
}

// Texts of every length and code page in the fields of lots and sales, where the writer
// takes a quicker way for short plain ones.
struct RecordTextCase {
    const char* name;
    std::string text;
};

class RecordTextTest : public ::testing::TestWithParam<RecordTextCase> {};

TEST_P(RecordTextTest, LotsAndSalesKeepTheirTexts) {
    const std::string& text = GetParam().text;
    const Settings settings;
    CKx7Doc doc(settings);
    CPurchase& lot = doc.AppendPurchase(
        std::make_unique<CPurchase>(text, text, 10.0f, 2.0f, 1000, 0.5f, text, text));
    lot.AddSale(4.0f, 3.0f, 2000, 0.25f, text, 7);
    lot.AddSale(1.0f, 3.5f, 3000, 0.0f, "plain", 8);
    CPurchase& grant = doc.AppendPurchase(
        std::make_unique<CPurchase>("G", text, 5.0f, 1.0f, 1000, 0.0f, "ISO", text));
    grant.vestingSchedule = 2;
    grant.grantId = text;

    const Bytes bytes = StoreKx7(doc);
    CKx7Doc loaded(settings);
    ASSERT_TRUE(LoadKx7(loaded, bytes).Ok());
    ASSERT_EQ(loaded.Purchases().size(), 2u);
    const CPurchase& read = *loaded.Purchases()[0];
    EXPECT_EQ(read.symbol, text);
    EXPECT_EQ(read.companyName, text);
    EXPECT_EQ(read.purchaseType, text);
    EXPECT_EQ(read.comment, text);
    ASSERT_EQ(read.sales.size(), 2u);
    EXPECT_EQ(read.sales[0].comment, text);
    EXPECT_EQ(read.sales[0].saleNumber, 7);
    EXPECT_EQ(read.sales[1].comment, "plain");
    EXPECT_EQ(read.sales[1].date, 3000);
    EXPECT_EQ(loaded.Purchases()[1]->grantId, text);
    EXPECT_EQ(loaded.Purchases()[1]->comment, text);
    EXPECT_EQ(StoreKx7(loaded), bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RecordTextTest,
    ::testing::Values(RecordTextCase{"empty", ""}, RecordTextCase{"short", "ABC Corp"},
                      RecordTextCase{"longest_one_byte_prefix", std::string(254, 'x')},
                      RecordTextCase{"shortest_word_prefix", std::string(255, 'x')},
                      RecordTextCase{"long", std::string(70000, 'y')},
                      RecordTextCase{"code_page", "Soci\xC3\xA9t\xC3\xA9 \xE2\x82\xAC"},
                      RecordTextCase{"wide", "\xE6\xA0\xAA\xE5\xBC\x8F"}),
    CaseName{});

TEST_F(Kx7FileTest, HugeStringPrefixIsRefused) {
    Bytes bytes{0x0F};
    for (const char c : std::string("Version 5.1.0.0")) {
        bytes.push_back(static_cast<std::uint8_t>(c));
    }
    bytes.insert(bytes.end(), {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    bytes.resize(100, 'a');
    const Kx7ReadResult read = LoadKx7(doc, bytes);
    EXPECT_EQ(read.error, kUnexpectedFileFormat);
}

// Seeds for the file reader's fuzz target, written when a directory is named.
TEST(Kx7FuzzSeeds, WritesSeedFiles) {
    const char* dir = std::getenv("VELMORA_FUZZ_SEEDS");
    if (dir == nullptr) {
        GTEST_SKIP() << "VELMORA_FUZZ_SEEDS not set";
    }
    const std::filesystem::path folder = std::filesystem::path(dir) / "kx7_reader";
    std::filesystem::create_directories(folder);
    Settings settings;
    CKx7Doc doc(settings);
    const auto write = [&](const char* name, const Bytes& bytes) {
        std::ofstream(folder / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    };
    write("empty.kx7", StoreKx7(doc));
    FillRich(doc);
    write("rich.kx7", StoreKx7(doc));
    OldFile old{{}, true, false, false};
    old.out.WriteString("Version 2.0.0.0");
    old.out.WriteString("");
    old.out.WriteString("");
    old.Lot("ABC", 90.0f, "12/31/1999");
    old.Sale(-2.0f, 0);
    old.Alert("ABC", 1.0);
    old.out.WriteString("ENDOFDATA");
    write("v2.kx7", old.out.Bytes());
}

}  // namespace

#include "core/model/SymbolSlots.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Symbols that share long ends and differ in one middle byte, the empty symbol, ones
// that differ only in length or in a byte past the eighth, and a byte of zero.
std::vector<std::string> AwkwardSymbols() {
    std::vector<std::string> symbols{
        "",      "A",   "AB",   "ABCDEFGH", "ABCDEFGHI", "ABCDEFGHJ", std::string("A\0", 2),
        "BRK-B", "XYZ", "XYZ-O"};
    for (int i = 0; i < 600; ++i) {
        symbols.push_back("LONGPREFIX" + std::to_string(i) + "LONGSUFFIX");
    }
    return symbols;
}

TEST(SymbolSlotsTest, NumbersSymbolsInTheOrderFirstMet) {
    const std::vector<std::string> symbols = AwkwardSymbols();
    SymbolSlots slots;
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        ASSERT_EQ(slots.Insert(symbols[i]), i) << i;
        // Met again right away and after others: the same slot, nothing added.
        ASSERT_EQ(slots.Insert(symbols[i]), i);
        ASSERT_EQ(slots.Insert(symbols[i / 2]), i / 2);
    }
    ASSERT_EQ(slots.Count(), symbols.size());
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        EXPECT_EQ(slots.Find(symbols[i]), i) << i;
        EXPECT_EQ(slots.Name(static_cast<std::uint32_t>(i)), symbols[i]);
    }
    for (const std::string missing :
         {"B", "ABCDEFG", "ABCDEFGHIJ", "LONGPREFIX600LONGSUFFIX", "LONGPREFIX1LONGSUFFI", "xyz"}) {
        EXPECT_EQ(slots.Find(missing), SymbolSlots::kNone) << missing;
    }
}

TEST(SymbolSlotsTest, AnEmptyTableFindsNothing) {
    const SymbolSlots slots;
    EXPECT_EQ(slots.Find(""), SymbolSlots::kNone);
    EXPECT_EQ(slots.Find("XYZ"), SymbolSlots::kNone);
    EXPECT_EQ(slots.Count(), 0u);
}

// A hint is taken only when its slot holds the symbol; any other hint costs a lookup and
// never a wrong number.
TEST(SymbolSlotsTest, TakesAHintOnlyWhenItsSlotHoldsTheSymbol) {
    SymbolSlots slots;
    slots.Insert("XYZ");
    slots.Insert("ABCDEFGHIJ");
    struct Case {
        const char* symbol;
        std::uint32_t hint;
        std::uint32_t slot;
    };
    const Case cases[] = {
        {"XYZ", 0, 0},        {"ABCDEFGHIJ", 1, 1}, {"XYZ", 1, 0},
        {"ABCDEFGHIJ", 0, 1}, {"XYZ", 7, 0},        {"XYZ", SymbolSlots::kNone, 0},
        {"ABCDEFGHIK", 1, 2}, {"NEW", 0, 3},        {"NEW", 3, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(slots.Insert(c.symbol, c.hint), c.slot) << c.symbol << " hint " << c.hint;
    }
    EXPECT_EQ(slots.Count(), 4u);
}

}  // namespace

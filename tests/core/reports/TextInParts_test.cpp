#include "core/reports/TextInParts.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/model/Kx7Doc.h"
#include "core/reports/HistoryReport.h"
#include "core/settings/Settings.h"
#include "support/CaseName.h"
#include "support/DocBuilder.h"

namespace {

// Enough text for as many parts as the machine has cores.
constexpr std::size_t kLargeText = std::size_t{64} << 20;

std::string Item(std::size_t i) {
    return std::to_string(i) + ";";
}

struct PartsCase {
    std::string name;
    std::size_t count = 0;
    std::size_t estimatedBytes = 0;
    std::vector<std::size_t> weights;
};

class TextInPartsTest : public testing::TestWithParam<PartsCase> {};

// Whatever the parts, every item is appended once, in order, after what the text held.
TEST_P(TextInPartsTest, AppendsEveryItemOnceInOrder) {
    const PartsCase& param = GetParam();
    std::string expected = "head:";
    for (std::size_t i = 0; i < param.count; ++i) {
        expected += Item(i);
    }
    std::string text = "head:";
    AppendInParts(
        text, param.count, param.estimatedBytes,
        [](std::size_t first, std::size_t last, std::string& part) {
            for (std::size_t i = first; i < last; ++i) {
                part += Item(i);
            }
        },
        param.weights);
    EXPECT_EQ(text, expected);
}

std::vector<std::size_t> Weights(std::size_t count, std::size_t first, std::size_t others) {
    std::vector<std::size_t> weights(count, others);
    if (count > 0) {
        weights[0] = first;
    }
    return weights;
}

INSTANTIATE_TEST_SUITE_P(
    Parts, TextInPartsTest,
    testing::Values(
        PartsCase{"nothing", 0, kLargeText, {}}, PartsCase{"one item", 1, kLargeText, {}},
        PartsCase{"small text in one part", 1000, 1000, {}},
        PartsCase{"fewer items than cores could take", 3, kLargeText, {}},
        PartsCase{"many items", 100000, kLargeText, {}},
        PartsCase{"by even weights", 1000, kLargeText, Weights(1000, 1, 1)},
        PartsCase{"one item outweighs the rest", 1000, kLargeText, Weights(1000, 1000000, 1)},
        PartsCase{"weights of nothing", 1000, kLargeText, Weights(1000, 0, 0)},
        PartsCase{"weights of the wrong length ignored", 1000, kLargeText, Weights(10, 5, 5)}),
    CaseName());

// A part that fails fails the whole text, whichever thread wrote it, and nothing waits
// for ever.
TEST(TextInPartsFailureTest, AFailingPartFailsTheText) {
    for (const std::size_t failing : {std::size_t{0}, std::size_t{999}}) {
        std::string text;
        EXPECT_THROW(
            AppendInParts(text, 1000, kLargeText,
                          [failing](std::size_t first, std::size_t last, std::string& part) {
                              if (failing >= first && failing < last) {
                                  throw std::runtime_error("no room");
                              }
                              part += "x";
                          }),
            std::runtime_error);
    }
}

// A history long enough to be written on several cores reads the shared portfolio from
// all of them at once (which the thread checker watches) and comes out whole and the same
// every time.
TEST(TextInPartsReportTest, ALargeHistoryIsWholeAndTheSameEveryTime) {
    const Settings settings;
    CKx7Doc doc(settings);
    constexpr int kLots = 120000;
    constexpr std::int64_t kDay = 86400;
    for (int i = 0; i < kLots; ++i) {
        AddLot(doc, "S" + std::to_string(i % 50), 10.0f + static_cast<float>(i % 7), 1.25f,
               946702800 + (i * 7919 % 9000) * kDay, "Company " + std::to_string(i % 50));
    }
    const std::string first = BuildHistoryReport(doc, std::nullopt);
    std::size_t lines = 0;
    for (std::size_t at = first.find("\r\n"); at != std::string::npos;
         at = first.find("\r\n", at + 2)) {
        ++lines;
    }
    // One line a lot and the closing empty line.
    EXPECT_EQ(lines, static_cast<std::size_t>(kLots) + 1);
    EXPECT_GT(first.size(), std::size_t{8} << 20);
    EXPECT_EQ(BuildHistoryReport(doc, std::nullopt), first);
    // Written again into the memory of a text given back, which still holds the old one.
    std::string shown = first;
    GiveBackReportText(std::move(shown));
    EXPECT_EQ(BuildHistoryReport(doc, std::nullopt), first);
}

// The largest text given back is kept and comes back empty with its room; a smaller one
// does not take its place.
TEST(ReportTextMemoryTest, TheLargestTextGivenBackComesBackEmpty) {
    std::string large(std::size_t{4} << 20, 'x');
    const std::size_t room = large.capacity();
    GiveBackReportText(std::move(large));
    GiveBackReportText(std::string(1000, 'y'));
    std::string taken = TakeReportText();
    EXPECT_TRUE(taken.empty());
    EXPECT_GE(taken.capacity(), room);
    // Taken, it is no longer kept.
    EXPECT_LT(TakeReportText().capacity(), room);
}

}  // namespace

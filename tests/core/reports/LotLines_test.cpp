#include "core/reports/LotLines.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/model/Purchase.h"

namespace {

struct Line {
    std::int32_t saleNumber = 0;
    std::uint32_t labels = 0;
    float amount = 0;
    std::int64_t lot = 0;  // the lot that gave the line
};

// Numbers each symbol the first time a walk meets it.
class SymbolLabels {
public:
    std::uint32_t LabelOf(const std::string& symbol) {
        const auto [found, added] =
            m_numbers.try_emplace(symbol, static_cast<std::uint32_t>(m_list.size()));
        if (added) {
            m_list.push_back(symbol);
        }
        return found->second;
    }
    const std::vector<std::string>& List() const { return m_list; }

private:
    std::unordered_map<std::string, std::uint32_t> m_numbers;
    std::vector<std::string> m_list;
};

using Lines = LotLines<Line, SymbolLabels>;

// Enough lots for a part on each of several cores. Sale numbers recur far apart, so that
// many sales take lots in more than one part; some are too large for an array of sale
// numbers, and some are numbered like a purchase, which merges with nothing. The amounts
// range over many magnitudes, so that summing them in another order shows.
std::vector<std::unique_ptr<CPurchase>> ScatteredSales() {
    constexpr int kLots = 60000;
    std::mt19937 random(11u);
    std::uniform_int_distribution<int> sales(0, 3);
    std::uniform_int_distribution<std::int32_t> number(0, 40000);
    std::uniform_real_distribution<float> amount(-1.0f, 1.0f);
    std::uniform_int_distribution<int> magnitude(-3, 9);
    std::uniform_int_distribution<int> kind(0, 19);
    std::vector<std::unique_ptr<CPurchase>> lots;
    for (int i = 0; i < kLots; ++i) {
        auto lot = std::make_unique<CPurchase>("S" + std::to_string(i % 97), "", 1.0f, 1.0f, i,
                                               0.0f, "", "");
        for (int s = sales(random); s > 0; --s) {
            std::int32_t saleNumber = number(random);
            if (const int k = kind(random); k == 0) {
                saleNumber = -1;
            } else if (k == 1) {
                saleNumber = 2000000000 - saleNumber;
            }
            const float shares = amount(random) * std::pow(10.0f, magnitude(random));
            lot->AddSale(shares, 1.0f, i, 0.0f, "", saleNumber);
        }
        lots.push_back(std::move(lot));
    }
    return lots;
}

void CollectSales(std::span<const std::unique_ptr<CPurchase>> lots, SymbolLabels& labels,
                  const auto& add) {
    for (const auto& lot : lots) {
        const std::uint32_t label = labels.LabelOf(lot->symbol);
        for (const auto& sale : lot->sales) {
            add(Line{sale->saleNumber, label, sale->shares, lot->date});
        }
    }
}

void MergeLine(Line& merged, const Line& line) {
    merged.amount += line.amount;
}

// One walk in document order, merging as it goes: what the parts must add up to.
std::vector<Line> OneWalk(const std::vector<std::unique_ptr<CPurchase>>& lots, bool mergeSales) {
    std::vector<Line> lines;
    std::unordered_map<std::int32_t, std::size_t> first;
    for (const auto& lot : lots) {
        for (const auto& sale : lot->sales) {
            const Line line{sale->saleNumber, 0, sale->shares, lot->date};
            if (mergeSales && line.saleNumber != -1) {
                const auto [found, added] = first.try_emplace(line.saleNumber, lines.size());
                if (!added) {
                    MergeLine(lines[found->second], line);
                    continue;
                }
            }
            lines.push_back(line);
        }
    }
    return lines;
}

void Collect(Lines& lines, const std::vector<std::unique_ptr<CPurchase>>& lots,
             std::optional<std::size_t> expectedLines) {
    lines.Collect(
        lots, expectedLines,
        [](std::span<const std::unique_ptr<CPurchase>> part, SymbolLabels& labels,
           const auto& add) { CollectSales(part, labels, add); },
        MergeLine);
}

void ExpectLines(const Lines& lines, const std::vector<Line>& expected,
                 const std::vector<std::unique_ptr<CPurchase>>& lots) {
    const std::vector<Line>& got = lines.Lines();
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE("line " + std::to_string(i));
        ASSERT_EQ(got[i].saleNumber, expected[i].saleNumber);
        ASSERT_EQ(got[i].lot, expected[i].lot);
        // The same sum in the same order, to the bit.
        ASSERT_EQ(std::bit_cast<std::uint32_t>(got[i].amount),
                  std::bit_cast<std::uint32_t>(expected[i].amount));
        ASSERT_EQ(lines.LabelOf(got[i]), lots[static_cast<std::size_t>(got[i].lot)]->symbol);
    }
}

class LotLinesTest : public testing::TestWithParam<bool> {};

TEST_P(LotLinesTest, PartsAddUpToOneWalkInDocumentOrder) {
    const bool mergeSales = GetParam();
    const std::vector<std::unique_ptr<CPurchase>> lots = ScatteredSales();
    const std::vector<Line> expected = OneWalk(lots, mergeSales);
    Lines lines(mergeSales);
    Collect(lines, lots, std::nullopt);
    ExpectLines(lines, expected, lots);
}

TEST_P(LotLinesTest, ReservedAndKeptTablesChangeNothing) {
    const bool mergeSales = GetParam();
    const std::vector<std::unique_ptr<CPurchase>> lots = ScatteredSales();
    const std::vector<Line> expected = OneWalk(lots, mergeSales);
    // Twice, the second time in the tables the first one left.
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE("pass " + std::to_string(pass));
        Lines lines(mergeSales);
        Collect(lines, lots, expected.size() + 5);
        ExpectLines(lines, expected, lots);
    }
}

INSTANTIATE_TEST_SUITE_P(MergedAndNot, LotLinesTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& param) {
                             return param.param ? std::string("Merged") : std::string("Apart");
                         });

TEST(LotLinesTest, NoLotsGiveNoLines) {
    const std::vector<std::unique_ptr<CPurchase>> lots;
    Lines lines(true);
    Collect(lines, lots, std::size_t{0});
    EXPECT_TRUE(lines.Lines().empty());
}

}  // namespace

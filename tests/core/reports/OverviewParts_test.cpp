#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/model/Kx7Doc.h"
#include "core/reports/OverviewReport.h"
#include "core/settings/Settings.h"
#include "support/DocBuilder.h"

namespace {

// Enough lots for the overview of every symbol to be gathered on several cores; each
// symbol's lots, grants among them, lie all through the document, and sales of several
// lots share their numbers.
void AddScatteredLots(CKx7Doc& doc) {
    constexpr int kLots = 50000;
    constexpr std::int64_t kDay = 86400;
    constexpr std::int64_t kStart = 946702800;  // 1 January 2000 in New York
    std::mt19937 random(5u);
    std::uniform_int_distribution<int> symbol(0, 60);
    std::uniform_int_distribution<int> day(0, 9000);
    std::uniform_int_distribution<int> sales(0, 3);
    std::uniform_int_distribution<std::int32_t> saleNumber(1, 30000);
    for (int i = 0; i < kLots; ++i) {
        const std::string name = "S" + std::to_string(symbol(random));
        const std::int64_t date = kStart + day(random) * kDay;
        CPurchase& lot = i % 9 == 0 ? AddGrant(doc, name, 40.0f, 2.5f, 1, date)
                                    : AddLot(doc, name, 40.0f, 1.25f, date, "Company " + name);
        for (int s = sales(random); s > 0; --s) {
            lot.AddSale(1.5f, 3.0f, date + day(random) * kDay, 0.0f, "", saleNumber(random));
        }
    }
}

// Each symbol's overview in the list of all is the overview of that symbol alone, which
// one walk over the lots gathers.
TEST(OverviewPartsTest, EverySymbolAsItsOwnOverview) {
    for (const bool ungroupOptions : {true, false}) {
        SCOPED_TRACE(ungroupOptions ? "grants apart" : "grants with their symbol");
        Settings settings;
        settings.ungroupOptions = ungroupOptions;
        CKx7Doc doc(settings);
        AddScatteredLots(doc);
        const std::vector<std::string> symbols = doc.SymbolNames();
        std::string expected;
        for (const std::string& symbol : symbols) {
            expected += BuildOverviewReport(doc, symbol);
            expected += kOverviewSeparator;
        }
        EXPECT_EQ(BuildOverviewOfSymbols(doc, symbols), expected);
        // Again, in the tables the first one left.
        EXPECT_EQ(BuildOverviewOfSymbols(doc, symbols), expected);
    }
}

}  // namespace

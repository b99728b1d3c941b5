#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/exchange/CsvImport.h"
#include "core/exchange/Exports.h"
#include "core/exchange/ImportPlan.h"
#include "core/model/DemoPortfolio.h"
#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"
#include "core/reports/AvailableReport.h"
#include "core/reports/DetailsReport.h"
#include "core/reports/GainsReport.h"
#include "core/reports/HistoryReport.h"
#include "core/reports/OverviewReport.h"
#include "core/reports/SummaryReport.h"
#include "core/reports/TaxReport.h"
#include "core/settings/Settings.h"
#include "support/DocBuilder.h"
#include "support/TestClock.h"

namespace {

CsvMapping MappingNamed(const std::string& name) {
    for (CsvMapping& mapping : ShippedCsvMappings()) {
        if (mapping.name == name) {
            return mapping;
        }
    }
    ADD_FAILURE() << "no mapping " << name;
    return {};
}

// Every report the program shows, over every symbol, as one text.
std::string EveryReport(CKx7Doc& doc) {
    std::string all = BuildHistoryReport(doc, std::nullopt) + BuildDetailsList(doc) +
                      BuildTaxReport(doc, "Show All", true, true, false) +
                      BuildTaxReport(doc, "Show All", false, false, true) +
                      BuildRealizedGains(doc).text + BuildPotentialGains(doc).text +
                      BuildCombinedGains(doc).text + BuildAvailableReport(doc);
    for (const std::string& symbol : doc.SymbolNames()) {
        all += BuildOverviewReport(doc, symbol) +
               BuildSummaryReport(doc, symbol, true, true, true) +
               BuildSummaryReport(doc, symbol, false, false, false);
    }
    return all;
}

class ImportTest : public ::testing::Test {
protected:
    ScopedClock clock{LocalTimeOf(2024, 6, 5, 12, 0)};
    Settings settings;
};

// The transactions of the demo portfolio, exported and imported into an empty portfolio
// with the Velmora mapping, make the same records: the same export and the same reports
// once the market prices (which are no transactions) are the same.
TEST_F(ImportTest, VelmoraExportRoundTrips) {
    CKx7Doc original(settings);
    BuildDemoPortfolio(original);
    const std::string exported = TransactionsCsv(original);

    CKx7Doc imported(settings);
    const ImportRows read = ReadCsvImport(exported, MappingNamed("Velmora"));
    ASSERT_EQ(read.error, "");
    ASSERT_TRUE(read.problems.empty()) << read.problems.front().reason;
    const ImportPlan plan = PlanImport(imported, read, ImportMatching::kAsTheFileSays);
    EXPECT_EQ(plan.skipped, 0);
    ApplyImport(imported, plan, ImportMatching::kAsTheFileSays);
    for (const std::string& symbol : original.SymbolNames()) {
        imported.SetMarketPrice(symbol, original.MarketPrice(symbol));
    }

    EXPECT_EQ(TransactionsCsv(imported), exported);
    EXPECT_EQ(EveryReport(imported), EveryReport(original));
}

// One import is one step to undo, and undoing it leaves the portfolio as it was.
TEST_F(ImportTest, OneImportIsOneUndoStep) {
    CKx7Doc doc(settings);
    AddLot(doc, "ZZ", 5, 1, LocalTimeOf(2020, 1, 2));
    doc.ClearHistory();
    CKx7Doc source(settings);
    BuildDemoPortfolio(source);
    const ImportRows read = ReadCsvImport(TransactionsCsv(source), MappingNamed("Velmora"));
    ApplyImport(doc, PlanImport(doc, read, ImportMatching::kAsTheFileSays),
                ImportMatching::kAsTheFileSays);
    ASSERT_TRUE(doc.CanUndo());
    EXPECT_EQ(doc.UndoLabel(), "Import");

    doc.Undo();

    EXPECT_FALSE(doc.CanUndo());
    EXPECT_EQ(doc.Purchases().size(), std::size_t{1});
    EXPECT_TRUE(doc.Dividends().empty());
}

// A broker's file: rows the preview skips say why, and nothing is recorded twice.
TEST_F(ImportTest, PreviewSkipsWhatCannotBeRecordedAndSaysWhy) {
    CKx7Doc doc(settings);
    AddLot(doc, "AB", 10, 20, LocalTimeOf(2023, 1, 3));
    const std::string file =
        "Transactions for account XXXX-1234\n"
        "\"Date\",\"Action\",\"Symbol\",\"Description\",\"Quantity\",\"Price\",\"Fees & "
        "Comm\",\"Amount\"\n"
        "\"01/03/2023\",\"Buy\",\"AB\",\"AB INC\",\"10\",\"$20.00\",\"\",\"-$200.00\"\n"
        "\"02/01/2023\",\"Buy\",\"CD\",\"CD CORP\",\"1,000\",\"$5.00\",\"$4.95\",\"-$5,004.95\"\n"
        "\"03/15/2023\",\"Sell\",\"CD\",\"CD CORP\",\"1,500\",\"$6.00\",\"\",\"$9,000.00\"\n"
        "\"03/16/2023\",\"Sell\",\"CD\",\"CD CORP\",\"400\",\"$6.00\",\"$4.95\",\"$2,395.05\"\n"
        "\"04/01/2023\",\"Qualified Dividend\",\"CD\",\"CD CORP\",\"\",\"\",\"\",\"$12.34\"\n"
        "\"04/02/2023\",\"Journal\",\"CD\",\"\",\"\",\"\",\"\",\"$1.00\"\n"
        "\"02/30/2023\",\"Buy\",\"CD\",\"\",\"1\",\"$1.00\",\"\",\"\"\n"
        "\"05/01/2023\",\"Buy\",\"CD\",\"\",\"1O\",\"$1.00\",\"\",\"\"\n"
        "Total,,,,,,,\"$1,234.00\"\n";
    const ImportRows read = ReadCsvImport(file, MappingNamed("Schwab transactions"));
    ASSERT_EQ(read.error, "");
    std::vector<std::string> unread;
    for (const ImportProblem& problem : read.problems) {
        unread.push_back(problem.reason);
    }
    EXPECT_EQ(unread, (std::vector<std::string>{"line 8: the action \"Journal\" is unknown",
                                                "line 9: the date \"02/30/2023\" is no date",
                                                "line 10: the shares \"1O\" is no number",
                                                "line 11: the action \"\" is unknown"}));

    const ImportPlan plan = PlanImport(doc, read, ImportMatching::kFifo);
    std::vector<std::string> skipped;
    for (const PlannedRow& row : plan.rows) {
        skipped.push_back(row.skipped);
    }
    EXPECT_EQ(skipped,
              (std::vector<std::string>{
                  "the portfolio already has this record (same date, symbol, shares and price)", "",
                  "a sale of 1500.0000 shares, but only 1000.0000 are held then", "", ""}));
    EXPECT_EQ(plan.recorded, 3);
    EXPECT_EQ(plan.skipped, 6);
    EXPECT_DOUBLE_EQ(plan.bought, 5000.0);
    EXPECT_DOUBLE_EQ(plan.sold, 2400.0);

    EXPECT_EQ(ApplyImport(doc, plan, ImportMatching::kFifo), 3);
    EXPECT_EQ(doc.Purchases().size(), std::size_t{2});
    EXPECT_FLOAT_EQ(doc.Purchases().back()->commission, 4.95f);
    EXPECT_FLOAT_EQ(doc.Purchases().back()->sales.front().shares, 400.0f);
    EXPECT_FLOAT_EQ(doc.Dividends().front()->amount, 12.34f);
}

TEST_F(ImportTest, FileWithoutTheMappingsColumnsIsRefusedWhole) {
    const ImportRows read = ReadCsvImport("a,b,c\n1,2,3\n", MappingNamed("Velmora"));
    EXPECT_EQ(read.error, "no line names the column \"Date\" of the mapping \"Velmora\"");
    EXPECT_TRUE(read.rows.empty());
}

}  // namespace

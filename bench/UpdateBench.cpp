// The update run's work on one page: reading a page that quotes 100 symbols, and storing
// the quotes in the "lifetime" portfolio.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "BenchPortfolios.h"
#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/quotes/QuoteParsers.h"
#include "core/quotes/QuoteUpdate.h"
#include "core/settings/Settings.h"

namespace {

constexpr int kPageSymbols = 100;

std::vector<std::string> PageSymbols() {
    std::vector<std::string> symbols = BenchPortfolio(0).SymbolNames(SymbolFilter::kHeldLots);
    symbols.resize(kPageSymbols);
    return symbols;
}

// A quote page of the shape the automatic update reads, one line per symbol.
std::string QuotePage(const std::vector<std::string>& symbols) {
    std::string page = "<html><body><table>\n";
    int n = 0;
    for (const std::string& symbol : symbols) {
        ++n;
        page += "<tr><td><a href=\"/q?s=" + symbol + "\">" + symbol + "</a></td><td><b>" +
                std::to_string(10 + n) + "." + std::to_string(n % 100) + "</b>, " +
                std::to_string(9 + n) + ".75 - " + (n % 3 == 0 ? "-" : "") + "0." +
                std::to_string(n % 90 + 10) + "</td></tr>\n";
    }
    return page + "</table></body></html>\n";
}

void BM_Update_ParsePage(benchmark::State& state) {
    const std::vector<std::string> symbols = PageSymbols();
    const std::string page = QuotePage(symbols);
    for (auto _ : state) {
        auto results = ParseQuotePage(QuoteParser::kYahooWorker, page, symbols);
        benchmark::DoNotOptimize(results);
    }
}

void BM_Update_ApplyPage(benchmark::State& state) {
    const std::vector<std::string> symbols = PageSymbols();
    const std::vector<QuoteResult> results =
        ParseQuotePage(QuoteParser::kYahooWorker, QuotePage(symbols), symbols);
    // A copy of its own, read from the file: the quotes change the prices.
    static const Settings settings;
    CKx7Doc doc(settings);
    OpenKx7File(doc, BenchPortfolioFile(state.range(0)));
    for (auto _ : state) {
        auto lines = ApplyQuoteResults(doc, results);
        FinishQuoteUpdate(doc);
        benchmark::DoNotOptimize(lines);
    }
}

BENCHMARK(BM_Update_ParsePage)
    ->ArgName("size")
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_Update_ApplyPage)
    ->ArgName("size")
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

}  // namespace

#pragma once

#include <cstdint>
#include <string_view>

class CKx7Doc;

// How large a generated portfolio is: distinct symbols, lots (grants among them), sale
// records and dividends.
struct PortfolioSize {
    std::string_view name;
    int symbols = 0;
    int lots = 0;
    int saleRecords = 0;
    int dividends = 0;

    int Records() const { return lots + saleRecords + dividends; }
};

// Monthly reinvestment in a few dozen funds for thirty years, with trading besides.
inline constexpr PortfolioSize kLifetimePortfolio{"lifetime", 200, 50000, 150000, 20000};
// One tenth of that, over the same thirty years.
inline constexpr PortfolioSize kTenthPortfolio{"tenth", 20, 5000, 15000, 2000};
// Far beyond any person: a million records in all.
inline constexpr PortfolioSize kExtremePortfolio{"extreme", 1000, 250000, 650000, 100000};

// The size of that name ("lifetime", "tenth", "extreme"), or nullptr.
const PortfolioSize* PortfolioSizeNamed(std::string_view name);

// Fills a cleared document with a portfolio of `size`, the same for the same seed: lots
// bought over thirty years in date order, most of them in a few dozen funds bought every
// month, every twelfth an option grant under one of the vesting schedules; sales matched
// first in first out, last in first out or lot by lot, some drawing on several lots under
// one sale number; grants that expired; cash and share dividends; splits; alerts (some of
// them firing); long company names.
void BuildLargePortfolio(CKx7Doc& doc, const PortfolioSize& size, std::uint32_t seed = 12345u);

#include "core/model/DemoPortfolio.h"

#include <vector>

#include "core/model/CustomLotChooser.h"
#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"

namespace {

// Takes fixed counts, as a person choosing lots in the form would.
class FixedChoice final : public CustomLotChooser {
public:
    explicit FixedChoice(std::vector<float> counts) : m_counts(std::move(counts)) {}
    std::optional<std::vector<float>> ChooseLots(const CustomSaleRequest&) override {
        return m_counts;
    }

private:
    std::vector<float> m_counts;
};

std::int64_t Day(int year, int month, int day) {
    return LocalTimeOf(year, month, day, 10, 30);
}

}  // namespace

void BuildDemoPortfolio(CKx7Doc& doc) {
    doc.SetPortfolioInformation("Pat Example", "Long-term growth with some income");

    doc.Purchase({.symbol = "ACME",
                  .companyName = "Acme Widgets Inc",
                  .shares = 100,
                  .price = 18.25f,
                  .date = Day(2015, 3, 2),
                  .commission = 7.95f,
                  .purchaseType = "Direct Purchase",
                  .comment = "first lot"});
    doc.Purchase({.symbol = "ACME",
                  .companyName = "Acme Widgets Inc",
                  .shares = 50,
                  .price = 22.10f,
                  .date = Day(2016, 8, 15),
                  .commission = 7.95f,
                  .purchaseType = "Direct Purchase",
                  .comment = ""});
    doc.Purchase({.symbol = "ACME",
                  .companyName = "Acme Widgets Inc",
                  .shares = 75,
                  .price = 27.40f,
                  .date = Day(2018, 1, 9),
                  .commission = 7.95f,
                  .purchaseType = "Payroll Ded Investment",
                  .comment = ""});
    doc.Purchase({.symbol = "BLUE",
                  .companyName = "Blue Harbor Utilities",
                  .shares = 200,
                  .price = 41.00f,
                  .date = Day(2014, 6, 20),
                  .commission = 9.99f,
                  .purchaseType = "Direct Purchase",
                  .comment = ""});
    doc.Purchase({.symbol = "BLUE",
                  .companyName = "Blue Harbor Utilities",
                  .shares = 4.2315f,
                  .price = 44.12f,
                  .date = Day(2015, 6, 20),
                  .commission = 0,
                  .purchaseType = "Dividend Reinvestment",
                  .comment = "reinvested"});
    doc.Purchase({.symbol = "CRNR",
                  .companyName = "Cornerstone Materials Corp",
                  .shares = 300,
                  .price = 12.50f,
                  .date = Day(2017, 4, 3),
                  .commission = 9.99f,
                  .purchaseType = "Direct Purchase",
                  .comment = ""});
    doc.Purchase({.symbol = "CRNR",
                  .companyName = "Cornerstone Materials Corp",
                  .shares = 150,
                  .price = 15.75f,
                  .date = Day(2019, 11, 12),
                  .commission = 9.99f,
                  .purchaseType = "Direct Purchase",
                  .comment = ""});
    doc.Purchase({.symbol = "DLTA",
                  .companyName = "Delta Freight Lines",
                  .shares = 80,
                  .price = 63.20f,
                  .date = Day(2020, 2, 27),
                  .commission = 4.95f,
                  .purchaseType = "Other",
                  .comment = ""});

    doc.ReceiveGrant({.symbol = "ACME",
                      .companyName = "Acme Widgets Inc",
                      .shares = 1200,
                      .strikePrice = 20.00f,
                      .date = Day(2021, 1, 15),
                      .optionType = "ISO",
                      .vestingSchedule = 5,
                      .grantId = "2021-ISO-114",
                      .comment = "new-hire grant"});
    doc.ReceiveGrant({.symbol = "ACME",
                      .companyName = "Acme Widgets Inc",
                      .shares = 400,
                      .strikePrice = 31.50f,
                      .date = Day(2023, 1, 15),
                      .optionType = "NQ",
                      .vestingSchedule = 3,
                      .grantId = "2023-NQ-027",
                      .comment = ""});

    doc.Sell({.symbol = "ACME",
              .shares = 120,
              .price = 31.05f,
              .date = Day(2019, 5, 6),
              .commission = 7.95f,
              .method = SaleMethod::kFifo,
              .comment = "rebalance"});
    doc.Sell({.symbol = "CRNR",
              .shares = 100,
              .price = 17.80f,
              .date = Day(2021, 3, 1),
              .commission = 9.99f,
              .method = SaleMethod::kLifo,
              .comment = ""});
    {
        FixedChoice choice({30, 20});
        doc.SetCustomLotChooser(&choice);
        doc.Sell({.symbol = "CRNR",
                  .shares = 50,
                  .price = 19.25f,
                  .date = Day(2022, 9, 14),
                  .commission = 9.99f,
                  .method = SaleMethod::kCustom,
                  .comment = "tax lots"});
        doc.SetCustomLotChooser(nullptr);
    }
    doc.Sell({.symbol = "ACME-O",
              .shares = 300,
              .price = 35.00f,
              .date = Day(2022, 8, 1),
              .commission = 0,
              .method = SaleMethod::kFifo,
              .comment = "exercise and sell"});

    doc.RecordDividend({.symbol = "BLUE",
                        .kind = DividendKind::kCash,
                        .amount = 164.00f,
                        .date = Day(2015, 6, 20),
                        .comment = "quarterly"});
    doc.RecordDividend({.symbol = "BLUE",
                        .kind = DividendKind::kCash,
                        .amount = 168.20f,
                        .date = Day(2015, 9, 20),
                        .comment = "quarterly"});
    doc.RecordDividend({.symbol = "DLTA",
                        .kind = DividendKind::kShares,
                        .amount = 2.0f,
                        .date = Day(2021, 12, 1),
                        .comment = "stock dividend"});

    doc.StockSplit("DLTA", 2, 1, Day(2022, 6, 1));

    doc.SetAlert("ACME", {25.0, 45.0, 10.0, -1.0});
    doc.SetAlert("CRNR", {-1.0, 30.0, -1.0, 15.0});

    const std::vector<std::pair<const char*, float>> prices{
        {"ACME", 38.40f}, {"BLUE", 47.85f}, {"CRNR", 21.30f}, {"DLTA", 35.10f}};
    for (const auto& [symbol, price] : prices) {
        doc.SetMarketPrice(symbol, price);
    }
}

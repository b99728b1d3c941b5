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

    doc.Purchase("ACME", "Acme Widgets Inc", 100, 18.25f, Day(2015, 3, 2), 7.95f, "Direct Purchase",
                 "first lot");
    doc.Purchase("ACME", "Acme Widgets Inc", 50, 22.10f, Day(2016, 8, 15), 7.95f, "Direct Purchase",
                 "");
    doc.Purchase("ACME", "Acme Widgets Inc", 75, 27.40f, Day(2018, 1, 9), 7.95f,
                 "Payroll Ded Investment", "");
    doc.Purchase("BLUE", "Blue Harbor Utilities", 200, 41.00f, Day(2014, 6, 20), 9.99f,
                 "Direct Purchase", "");
    doc.Purchase("BLUE", "Blue Harbor Utilities", 4.2315f, 44.12f, Day(2015, 6, 20), 0,
                 "Dividend Reinvestment", "reinvested");
    doc.Purchase("CRNR", "Cornerstone Materials Corp", 300, 12.50f, Day(2017, 4, 3), 9.99f,
                 "Direct Purchase", "");
    doc.Purchase("CRNR", "Cornerstone Materials Corp", 150, 15.75f, Day(2019, 11, 12), 9.99f,
                 "Direct Purchase", "");
    doc.Purchase("DLTA", "Delta Freight Lines", 80, 63.20f, Day(2020, 2, 27), 4.95f, "Other", "");

    doc.ReceiveGrant("ACME", "Acme Widgets Inc", 1200, 20.00f, Day(2021, 1, 15), "ISO", 5,
                     "2021-ISO-114", "new-hire grant");
    doc.ReceiveGrant("ACME", "Acme Widgets Inc", 400, 31.50f, Day(2023, 1, 15), "NQ", 3,
                     "2023-NQ-027", "");

    doc.Sell("ACME", 120, 31.05f, Day(2019, 5, 6), 7.95f, CKx7Doc::kFifo, "rebalance");
    doc.Sell("CRNR", 100, 17.80f, Day(2021, 3, 1), 9.99f, CKx7Doc::kLifo, "");
    {
        FixedChoice choice({30, 20});
        doc.SetCustomLotChooser(&choice);
        doc.Sell("CRNR", 50, 19.25f, Day(2022, 9, 14), 9.99f, CKx7Doc::kCustom, "tax lots");
        doc.SetCustomLotChooser(nullptr);
    }
    doc.Sell("ACME-O", 300, 35.00f, Day(2022, 8, 1), 0, CKx7Doc::kFifo, "exercise and sell");

    doc.RecordDividend("BLUE", CDividend::kCash, 164.00f, Day(2015, 6, 20), "quarterly");
    doc.RecordDividend("BLUE", CDividend::kCash, 168.20f, Day(2015, 9, 20), "quarterly");
    doc.RecordDividend("DLTA", CDividend::kShares, 2.0f, Day(2021, 12, 1), "stock dividend");

    doc.StockSplit("DLTA", 2, 1, Day(2022, 6, 1));

    doc.SetAlert("ACME", {25.0, 45.0, 10.0, -1.0});
    doc.SetAlert("CRNR", {-1.0, 30.0, -1.0, 15.0});

    const std::vector<std::pair<const char*, float>> prices{
        {"ACME", 38.40f}, {"BLUE", 47.85f}, {"CRNR", 21.30f}, {"DLTA", 35.10f}};
    for (const auto& [symbol, price] : prices) {
        doc.SetMarketPrice(symbol, price);
    }
}

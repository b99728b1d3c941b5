#include "LargePortfolio.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "model/Kx7Doc.h"
#include "model/LocalTime.h"

namespace {

constexpr int kSymbols = 200;

// A fixed pseudo-random sequence, so runs compare like with like.
class Sequence {
public:
    std::uint32_t Next() {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    int Below(int limit) { return static_cast<int>(Next() % static_cast<std::uint32_t>(limit)); }

private:
    std::uint32_t m_state = 12345u;
};

std::string SymbolName(int index) {
    char name[8];
    std::snprintf(name, sizeof name, "S%03d", index);
    return name;
}

}  // namespace

void BuildLargePortfolio(CKx7Doc& doc, int records) {
    Sequence random;
    const std::int64_t start = LocalTimeOf(2000, 1, 3, 10);
    constexpr std::int64_t kDay = 86400;
    const auto randomDate = [&] { return start + random.Below(24 * 365) * kDay; };

    int made = 0;
    CPurchase* previous = nullptr;
    for (int k = 0; made < records; ++k) {
        const int symbol = random.Below(kSymbols);
        const std::string name = SymbolName(symbol);
        const std::string company = "Company number " + std::to_string(symbol) + " Holdings";
        const float shares = static_cast<float>(10 + random.Below(500));
        const float price = static_cast<float>(1 + random.Below(20000)) / 100.0f;
        const std::int64_t date = randomDate();
        std::string grantId = "G";
        grantId += std::to_string(k);
        CPurchase& lot =
            k % 10 == 9
                ? doc.ReceiveGrant(name, company, shares, price, date, "ISO", 5, grantId, "")
                : doc.Purchase(name, company, shares, price, date, 4.95f, "Direct Purchase", "");
        lot.marketPrice = price * 1.25f;
        ++made;

        // Sales are hung under the lots directly: the sale operations look for lots from the
        // head of the list, which would make building a large portfolio slow.
        if (k % 2 == 1 && previous != nullptr && made + 2 <= records) {
            const std::int32_t number = doc.NextSaleNumber();
            const std::int64_t saleDate = randomDate();
            const float salePrice = price * 1.1f;
            previous->AddSale(previous->shares / 2, salePrice, saleDate, 9.99f, "", number);
            previous->RecomputeHeldShares();
            lot.AddSale(lot.shares / 4, salePrice, saleDate, 0.0f, "", number);
            lot.RecomputeHeldShares();
            doc.SetNextSaleNumber(number + 1);
            made += 2;
        }
        if (lot.IsGrant() && k % 40 == 39 && made < records) {
            lot.AddSale(lot.RecomputeHeldShares(), -1.0f, date + 400 * kDay, 0.0f, "expired",
                        doc.NextSaleNumber());
            lot.RecomputeHeldShares();
            doc.SetNextSaleNumber(doc.NextSaleNumber() + 1);
            ++made;
        }
        if (k % 100 == 0) {
            doc.RecordDividend(name, k % 200 == 0 ? CDividend::kCash : CDividend::kShares,
                               k % 200 == 0 ? 25.0f : 2.0f, randomDate(), "");
        }
        previous = &lot;
    }
}

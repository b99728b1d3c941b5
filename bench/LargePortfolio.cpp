#include "LargePortfolio.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"

namespace {

constexpr std::int64_t kDay = 86400;
constexpr int kYears = 30;
constexpr int kFunds = 40;  // the symbols bought every month

// A fixed pseudo-random sequence, so runs compare like with like.
class Sequence {
public:
    explicit Sequence(std::uint32_t seed) : m_state(seed) {}
    std::uint32_t Next() {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    int Below(int limit) { return static_cast<int>(Next() % static_cast<std::uint32_t>(limit)); }
    // Uniform in [low, high).
    float Between(float low, float high) {
        return low + (high - low) * static_cast<float>(Next() % 10000u) / 10000.0f;
    }

private:
    std::uint32_t m_state;
};

constexpr std::array<std::string_view, 16> kWords{
    "Consolidated", "Northern",  "Pacific",        "Atlantic",       "General",    "American",
    "Continental",  "Precision", "Semiconductor",  "Pharmaceutical", "Industries", "Technologies",
    "Resources",    "Financial", "Communications", "Diversified"};

// Three letters from the index, and a share-class ticker now and then.
std::string SymbolName(int index) {
    std::string name;
    int rest = index;
    for (int i = 0; i < 3; ++i) {
        name.insert(name.begin(), static_cast<char>('A' + rest % 26));
        rest /= 26;
    }
    if (index % 97 == 13) {
        name += "-B";
    }
    return name;
}

std::string CompanyName(int index) {
    std::string name(kWords[static_cast<std::size_t>(index) % kWords.size()]);
    name += ' ';
    name += kWords[static_cast<std::size_t>(index / 3 + 5) % kWords.size()];
    name += ' ';
    name += kWords[static_cast<std::size_t>(index / 7 + 11) % kWords.size()];
    name += " Holdings Incorporated";
    return name;
}

struct SymbolState {
    std::string name;
    std::string company;
    float basePrice = 0;
    std::vector<CPurchase*> lots;  // ordinary lots, in list order
    std::size_t fifoStart = 0;     // lots before it hold nothing
};

class Generator {
public:
    Generator(CKx7Doc& doc, const PortfolioSize& size, std::uint32_t seed)
        : m_doc(doc), m_size(size), m_random(seed), m_start(LocalTimeOf(1994, 1, 3, 10)) {
        for (int i = 0; i < size.symbols; ++i) {
            SymbolState state;
            state.name = SymbolName(i);
            state.company = CompanyName(i);
            state.basePrice = m_random.Between(5.0f, 120.0f);
            m_symbols.push_back(std::move(state));
        }
    }

    void Run() {
        for (int k = 0; k < m_size.lots; ++k) {
            // Lots in date order over thirty years, each at some hour of its day.
            m_now = m_start + static_cast<std::int64_t>(k) * kYears * 365 / m_size.lots * kDay +
                    m_random.Below(8) * 3600;
            AddLot(k);
            while (m_saleRecords < Due(m_size.saleRecords, k) && Sell()) {
            }
            while (m_dividends < Due(m_size.dividends, k)) {
                AddDividend();
            }
        }
        AddSplitsAndAlerts();
        SetMarketPrices();
    }

private:
    // How many of `total` should exist once lot k is made.
    int Due(int total, int k) const {
        return static_cast<int>(static_cast<std::int64_t>(total) * (k + 1) / m_size.lots);
    }

    float PriceOf(const SymbolState& symbol, std::int64_t time) const {
        const double years = static_cast<double>(time - m_start) / (365.0 * kDay);
        return symbol.basePrice * static_cast<float>(std::pow(1.07, years));
    }

    int PickSymbol() {
        const int funds = std::min(kFunds, m_size.symbols);
        return m_random.Below(10) < 6 ? m_random.Below(funds) : m_random.Below(m_size.symbols);
    }

    void AddLot(int k) {
        const int index = PickSymbol();
        SymbolState& symbol = m_symbols[static_cast<std::size_t>(index)];
        const float price = PriceOf(symbol, m_now) * m_random.Between(0.9f, 1.1f);
        const float shares = static_cast<float>(5 + m_random.Below(300));
        if (k % 12 == 11) {
            const auto schedule = static_cast<std::int32_t>(m_random.Below(18));
            CPurchase& grant = m_doc.ReceiveGrant({.symbol = symbol.name,
                                                   .companyName = symbol.company,
                                                   .shares = shares * 10.0f,
                                                   .strikePrice = price,
                                                   .date = m_now,
                                                   .optionType = k % 24 == 11 ? "ISO" : "NQ",
                                                   .vestingSchedule = schedule,
                                                   .grantId = "GR-" + std::to_string(k),
                                                   .comment = ""});
            // Grants ten years old expire; some of their options were never exercised.
            if (m_now < m_start + 20 * 365 * kDay && m_random.Below(3) == 0 &&
                m_saleRecords < m_size.saleRecords) {
                AddSaleRecord(grant, grant.shares * m_random.Between(0.2f, 1.0f), -1.0f,
                              m_now + 3650 * kDay, 0.0f, "expired", NewSaleNumber());
            }
            return;
        }
        const bool reinvested = index < kFunds && m_random.Below(2) == 0;
        CPurchase& lot = m_doc.Purchase(
            {.symbol = symbol.name,
             .companyName = symbol.company,
             .shares = shares,
             .price = price,
             .date = m_now,
             .commission = reinvested ? 0.0f : 9.99f,
             .purchaseType = reinvested ? "Dividend Reinvestment" : "Direct Purchase",
             .comment = reinvested ? "" : "bought on the dip"});
        symbol.lots.push_back(&lot);
    }

    std::int32_t NewSaleNumber() {
        const std::int32_t number = m_doc.NextSaleNumber();
        m_doc.SetNextSaleNumber(number + 1);
        return number;
    }

    void AddSaleRecord(CPurchase& lot, float shares, float price, std::int64_t date,
                       float commission, const char* comment, std::int32_t number) {
        lot.AddSale(shares, price, date, commission, comment, number);
        lot.RecomputeHeldShares();
        m_doc.AddToRecordCount(1);
        ++m_saleRecords;
    }

    // One sale of a symbol with shares held: first in first out, last in first out or a
    // choice of lots, drawing on one lot or, now and then, on several.
    bool Sell() {
        for (int attempt = 0; attempt < 20; ++attempt) {
            SymbolState& symbol = m_symbols[static_cast<std::size_t>(PickSymbol())];
            const int method = m_random.Below(10);
            const bool lastFirst = method >= 6 && method < 9;
            std::vector<CPurchase*> order = HeldLots(symbol, lastFirst);
            if (order.empty()) {
                continue;
            }
            if (method == 9) {
                for (std::size_t i = order.size(); i > 1; --i) {
                    std::swap(order[i - 1],
                              order[static_cast<std::size_t>(m_random.Below(static_cast<int>(i)))]);
                }
            }
            const int wholeLots = m_random.Below(4) == 0 ? 1 + m_random.Below(3) : 0;
            const float price = PriceOf(symbol, m_now) * m_random.Between(0.95f, 1.05f);
            const std::int32_t number = NewSaleNumber();
            float commission = 9.99f;
            for (std::size_t i = 0; i < order.size() && m_saleRecords < m_size.saleRecords; ++i) {
                CPurchase& lot = *order[i];
                const bool last = static_cast<int>(i) >= wholeLots || i + 1 == order.size();
                const float held = lot.availableShares;
                const float taken = last ? std::max(1.0f, std::floor(held * 0.3f)) : held;
                AddSaleRecord(lot, std::min(taken, held), price, m_now, commission, "", number);
                commission = 0.0f;
                if (last) {
                    break;
                }
            }
            return true;
        }
        return false;
    }

    // Up to eight lots holding shares, oldest first, or newest first.
    static std::vector<CPurchase*> HeldLots(SymbolState& symbol, bool lastFirst) {
        constexpr std::size_t kMost = 8;
        while (symbol.fifoStart < symbol.lots.size() &&
               !HasShares(symbol.lots[symbol.fifoStart]->availableShares)) {
            ++symbol.fifoStart;
        }
        std::vector<CPurchase*> held;
        const std::size_t count = symbol.lots.size() - symbol.fifoStart;
        for (std::size_t n = 0; n < count && held.size() < kMost; ++n) {
            const std::size_t i = lastFirst ? symbol.lots.size() - 1 - n : symbol.fifoStart + n;
            if (HasShares(symbol.lots[i]->availableShares)) {
                held.push_back(symbol.lots[i]);
            }
        }
        return held;
    }

    void AddDividend() {
        const SymbolState& symbol = m_symbols[static_cast<std::size_t>(PickSymbol())];
        const bool cash = m_random.Below(5) != 0;
        m_doc.RecordDividend(
            {.symbol = symbol.name,
             .kind = cash ? DividendKind::kCash : DividendKind::kShares,
             .amount = cash ? m_random.Between(5.0f, 400.0f) : m_random.Between(0.5f, 8.0f),
             .date = m_now,
             .comment = cash ? "quarterly" : ""});
        ++m_dividends;
    }

    void AddSplitsAndAlerts() {
        for (int i = 0; i < m_size.symbols; i += 23) {
            const SymbolState& symbol = m_symbols[static_cast<std::size_t>(i)];
            m_doc.AppendSplit(
                SplitEntry{symbol.name, m_start + (i % kYears) * 365 * kDay, 2 + i % 2, 1});
        }
        for (int i = 0; i < m_size.symbols; i += 7) {
            const SymbolState& symbol = m_symbols[static_cast<std::size_t>(i)];
            const double price = PriceOf(symbol, m_now);
            AlertThresholds marks;
            if (i % 2 == 0) {
                marks.lowMark = price * (i % 4 == 0 ? 1.1 : 0.8);
                marks.highMark = price * 1.3;
            } else {
                marks.percentDown = 20.0;
                marks.percentUp = 50.0 + i % 50;
            }
            m_doc.SetAlert(symbol.name, marks);
        }
    }

    // Every lot of a symbol carries its last quote, as an update leaves it (set in one
    // walk: the document's own update walks every lot per symbol).
    void SetMarketPrices() {
        struct Quote {
            float price = 0;
            float change = 0;
            float extra = 0;
        };
        std::unordered_map<std::string, Quote> quotes;
        for (const SymbolState& symbol : m_symbols) {
            Quote& quote = quotes[symbol.name];
            quote.price = PriceOf(symbol, m_now);
            quote.change = m_random.Between(-2.0f, 2.0f);
            quote.extra = m_random.Between(0.0f, 5.0f);
        }
        for (const auto& lot : m_doc.Purchases()) {
            const Quote& quote = quotes[lot->symbol];
            lot->marketPrice = quote.price;
            lot->quoteDirection = quote.change > 0 ? 1 : -1;
            lot->quoteChange = quote.change;
            lot->quoteExtra = quote.extra;
        }
    }

    CKx7Doc& m_doc;
    const PortfolioSize& m_size;
    Sequence m_random;
    const std::int64_t m_start;
    std::int64_t m_now = 0;
    std::vector<SymbolState> m_symbols;
    int m_saleRecords = 0;
    int m_dividends = 0;
};

}  // namespace

const PortfolioSize* PortfolioSizeNamed(std::string_view name) {
    for (const PortfolioSize* size : {&kLifetimePortfolio, &kTenthPortfolio, &kExtremePortfolio}) {
        if (size->name == name) {
            return size;
        }
    }
    return nullptr;
}

void BuildLargePortfolio(CKx7Doc& doc, const PortfolioSize& size, std::uint32_t seed) {
    Generator(doc, size, seed).Run();
}

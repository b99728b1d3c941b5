#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What kind of thing in the portfolio changed. A change set holds several at once.
enum class ChangeKind : std::uint32_t {
    kLots = 1U << 0,         // purchases and grants added, edited or removed
    kSales = 1U << 1,        // sales and expiries
    kDividends = 1U << 2,    // cash and share dividends
    kSplits = 1U << 3,       // stock splits
    kSymbols = 1U << 4,      // a symbol renamed
    kPrices = 1U << 5,       // market prices and quotes
    kAlerts = 1U << 6,       // alert thresholds (not their fired state)
    kInformation = 1U << 7,  // owner and objective
    kTimeline = 1U << 8,     // the intraday samples and the last update time: not saved
    kReplaced = 1U << 9,     // everything: cleared, loaded or started anew
    kModified = 1U << 10,    // only the modified flag, as after a save
};

// What one operation changed: its kinds and the symbols it touched. No symbols with
// kReplaced (or an operation that touches all) means every symbol.
class ChangeSet {
public:
    ChangeSet() = default;
    explicit ChangeSet(ChangeKind kind, std::string_view symbol = {}) { Add(kind, symbol); }

    void Add(ChangeKind kind, std::string_view symbol = {}) {
        m_kinds |= static_cast<std::uint32_t>(kind);
        if (!symbol.empty()) {
            m_symbols.emplace_back(symbol);
        }
    }
    void Merge(const ChangeSet& other) {
        m_kinds |= other.m_kinds;
        m_symbols.insert(m_symbols.end(), other.m_symbols.begin(), other.m_symbols.end());
    }
    // The same, naming each symbol once, for a set that keeps taking in others.
    void MergeDistinct(const ChangeSet& other) {
        m_kinds |= other.m_kinds;
        for (const std::string& symbol : other.m_symbols) {
            if (std::find(m_symbols.begin(), m_symbols.end(), symbol) == m_symbols.end()) {
                m_symbols.push_back(symbol);
            }
        }
    }

    bool Has(ChangeKind kind) const { return (m_kinds & static_cast<std::uint32_t>(kind)) != 0; }
    bool Empty() const { return m_kinds == 0; }
    // The portfolio's content changed, not only its flag or the intraday samples.
    bool ChangesRecords() const {
        constexpr auto kNotRecords = static_cast<std::uint32_t>(ChangeKind::kTimeline) |
                                     static_cast<std::uint32_t>(ChangeKind::kModified);
        return (m_kinds & ~kNotRecords) != 0;
    }
    const std::vector<std::string>& Symbols() const { return m_symbols; }

private:
    std::uint32_t m_kinds = 0;
    std::vector<std::string> m_symbols;
};

// Told of every change to the portfolio, after it is made. Observers are called on the
// thread that changed the document (the UI thread) and must not change it themselves.
class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;
    virtual void Changed(const ChangeSet& changes) = 0;
};

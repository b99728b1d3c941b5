#include "core/quotes/PriceHistoryKeeper.h"

std::vector<std::string> PriceHistoryKeeper::Open(const std::string& portfolioPath) {
    m_path = PriceHistoryPath(portfolioPath);
    LoadedPriceHistory loaded = LoadPriceHistory(m_path);
    m_history = std::move(loaded.history);
    if (PriceHistoryWantsCompacting(loaded)) {
        if (std::string error = WritePriceHistory(m_path, m_history); !error.empty()) {
            loaded.problems.push_back(std::move(error));
        }
    }
    return std::move(loaded.problems);
}

void PriceHistoryKeeper::Clear() {
    m_path.clear();
    m_history = PriceHistory();
}

std::string PriceHistoryKeeper::SavedAs(const std::string& portfolioPath) {
    const std::string path = PriceHistoryPath(portfolioPath);
    if (path == m_path) {
        return {};
    }
    m_path = path;
    return m_history.Empty() ? std::string() : WritePriceHistory(m_path, m_history);
}

std::string PriceHistoryKeeper::Record(const std::vector<QuoteResult>& results, std::int64_t now) {
    const PriceDay today = PriceDayAt(now);
    std::vector<PriceEntry> entries;
    for (const QuoteResult& result : results) {
        if (result.outcome == QuoteOutcome::kFound) {
            entries.push_back({.symbol = result.symbol, .day = today, .close = result.price});
        }
    }
    return Record(entries);
}

std::string PriceHistoryKeeper::Record(const std::vector<PriceEntry>& entries) {
    std::vector<PriceEntry> kept;
    for (const PriceEntry& entry : entries) {
        if (m_history.Record(entry.symbol, entry.day, entry.close)) {
            kept.push_back(entry);
        }
    }
    if (m_path.empty() || kept.empty()) {
        return {};
    }
    return AppendPrices(m_path, kept);
}

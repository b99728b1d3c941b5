#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/quotes/PriceHistory.h"
#include "core/quotes/QuoteParsers.h"

// The price history of the open portfolio: read from the file beside it when it opens, and
// added to as prices come, on disk at once while the portfolio has a file. Prices that
// come before the portfolio has a file are kept until it is first saved.
class PriceHistoryKeeper {
public:
    // Reads the history beside the portfolio, dropping replaced lines from a file that has
    // many; returns what could not be read.
    std::vector<std::string> Open(const std::string& portfolioPath);
    // A new portfolio: no history.
    void Clear();
    // The portfolio was saved under `portfolioPath`: its history goes with it. Returns the
    // error, or an empty text.
    std::string SavedAs(const std::string& portfolioPath);
    // Keeps each found price as the close so far of the day of `now`. Returns the error of
    // writing it down, or an empty text.
    std::string Record(const std::vector<QuoteResult>& results, std::int64_t now);
    // Keeps closes as they are, such as a fetched history. Returns the error, or empty.
    std::string Record(const std::vector<PriceEntry>& entries);

    const PriceHistory& History() const { return m_history; }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;  // the history file; empty while the portfolio has none
    PriceHistory m_history;
};

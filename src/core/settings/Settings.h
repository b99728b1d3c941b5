#pragma once

#include <string>
#include <vector>

#include "core/quotes/QuoteSource.h"
#include "core/settings/QuoteServer.h"

// How the holdings list and the pie chart are ordered, in the order of the "Show by:" list.
enum class PieGrouping { kByPercent = 0, kByValue = 1, kBySymbol = 2 };

// The process-wide preferences. The application owns one; the document and the views
// read it; the preferences dialog changes it in place.
struct Settings {
    bool chartShown = true;      // the intraday timeline is drawn; not stored
    bool valueShown = true;      // the value summary is drawn; not stored
    bool dateMonthFirst = true;  // "%m/%d/%Y" when true, "%d/%m/%Y" otherwise
    int pieRecordCount = 20;     // slices of the pie chart
    PieGrouping pieGrouping = PieGrouping::kByPercent;
    bool ungroupOptions = true;  // grants listed apart under "<symbol>-O"
    QuoteServer quoteSource = QuoteServer::kYahoo;
    bool autoUpdate = false;
    int updateInterval = 3;  // index into the refresh-time list (3 = 10 minutes)
    // One whole price update ends after this many seconds, however the servers behave.
    int quoteDeadlineSeconds = 60;
    // The user's own quote sources, and the names of the sources asked in turn until one
    // gives a symbol's price. An empty chain asks the server of `quoteSource` alone.
    std::vector<QuoteSource> quoteSources;
    std::vector<std::string> quoteChain;

    static constexpr int kShortestQuoteDeadline = 5;
    static constexpr int kLongestQuoteDeadline = 3600;
};

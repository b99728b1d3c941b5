#pragma once

// The services prices are fetched from, in the order of the quote-server list. A value
// outside the list names no source and fetches nothing.
enum class QuoteSource { kAmex = 0, kYahoo = 1, kNasdaq = 2 };

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
    QuoteSource quoteSource = QuoteSource::kYahoo;
    bool autoUpdate = false;
    int updateInterval = 3;  // index into the refresh-time list (3 = 10 minutes)
    // One whole price update ends after this many seconds, however the servers behave.
    int quoteDeadlineSeconds = 60;

    static constexpr int kShortestQuoteDeadline = 5;
    static constexpr int kLongestQuoteDeadline = 3600;
};

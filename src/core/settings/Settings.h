#pragma once

// The process-wide preferences. The application owns one; the document and the views
// read it; the preferences dialog changes it in place.
struct Settings {
    // Quote sources, the order of the quote-server list.
    static constexpr int kAmex = 0;
    static constexpr int kYahoo = 1;
    static constexpr int kNasdaq = 2;

    // Pie grouping, the order of the "Show by:" list.
    static constexpr int kByPercent = 0;
    static constexpr int kByValue = 1;
    static constexpr int kBySymbol = 2;

    bool chartShown = true;      // the intraday timeline is drawn; not stored
    bool valueShown = true;      // the value summary is drawn; not stored
    bool dateMonthFirst = true;  // "%m/%d/%Y" when true, "%d/%m/%Y" otherwise
    int pieRecordCount = 20;     // slices of the pie chart
    int pieGrouping = kByPercent;
    bool ungroupOptions = true;  // grants listed apart under "<symbol>-O"
    int quoteSource = kYahoo;
    bool autoUpdate = false;
    int updateInterval = 3;  // index into the refresh-time list (3 = 10 minutes)
    // One whole price update ends after this many seconds, however the servers behave.
    int quoteDeadlineSeconds = 60;

    static constexpr int kShortestQuoteDeadline = 5;
    static constexpr int kLongestQuoteDeadline = 3600;
};

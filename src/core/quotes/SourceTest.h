#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "core/quotes/SourceAnswer.h"

class HostPacer;
class PageFetcher;
struct QuoteHosts;
struct QuoteSource;

// What one test of a source saw: the address asked, the answer as it came (or why none
// came), and what was read of it for the symbol.
struct SourceTestReport {
    std::string url;
    std::string failure;  // why no answer came; empty when one did
    std::string answer;   // the start of the answer, as much as a person reads
    std::size_t answerBytes = 0;
    SourceQuote quote;
};

// The most of an answer a report keeps.
inline constexpr std::size_t kShownAnswerBytes = 4000;

// Fetches one symbol from a source, as the update would, in the host's turn.
SourceTestReport TestQuoteSource(PageFetcher& fetcher, const QuoteHosts& hosts,
                                 const QuoteSource& source, const std::string& symbol,
                                 HostPacer& pacer, const std::function<bool()>& keepGoing = {});

// The report as lines a person reads: the address, the answer, each figure read, and the
// price or exactly which rule found none.
std::string SourceTestText(const SourceTestReport& report);

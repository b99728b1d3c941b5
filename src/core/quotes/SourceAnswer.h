#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct QuoteSource;
struct SourceRequest;

// One symbol's figures as a source's answer gave them, or the rule that found none.
struct SourceQuote {
    std::string held;
    bool found = false;
    float price = 0.0f;
    std::optional<float> change;
    std::int64_t time = 0;  // seconds since 1970; 0 when the answer gives none
    std::string currency;
    std::string reason;  // why there is no price, naming the rule that failed
    // Every figure read, by the name of its field, as the answer wrote it.
    std::vector<std::pair<std::string, std::string>> read;
};

// Reads the answer to one request: one entry for each symbol it asked for, in order.
std::vector<SourceQuote> ReadSourceAnswer(const QuoteSource& source, const SourceRequest& request,
                                          std::string_view body);

// A symbol's daily closes as a history answer gave them: (time, close) in the answer's
// order, a date without a time standing at noon UTC of its day. Rows without a price are
// left out; `problem` says why nothing could be read.
struct SourceCloses {
    std::vector<std::pair<std::int64_t, float>> closes;
    std::string problem;
};
SourceCloses ReadSourceHistory(const QuoteSource& source, std::string_view body);

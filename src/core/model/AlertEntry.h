#pragma once

#include <cstdint>
#include <string>

// A threshold of this value is not set.
inline constexpr double kAlertNotSet = -1.0;

struct AlertThresholds {
    double lowMark = kAlertNotSet;
    double highMark = kAlertNotSet;
    double percentDown = kAlertNotSet;
    double percentUp = kAlertNotSet;

    friend bool operator==(const AlertThresholds&, const AlertThresholds&) = default;
};

// The price alert of one symbol. `alertState` belongs to the current run only.
struct AlertEntry {
    std::string symbol;
    double lowMark = kAlertNotSet;
    double highMark = kAlertNotSet;
    double percentDown = kAlertNotSet;
    double percentUp = kAlertNotSet;
    std::int32_t alertState = 0;

    AlertThresholds Thresholds() const { return {lowMark, highMark, percentDown, percentUp}; }

    friend bool operator==(const AlertEntry&, const AlertEntry&) = default;
};

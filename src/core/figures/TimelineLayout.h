#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/figures/ViewGeometry.h"

class CKx7Doc;

struct TimelineLabel {
    std::string text;
    ViewRect box;

    friend bool operator==(const TimelineLabel&, const TimelineLabel&) = default;
};

// What the timeline panel draws of the day's samples. With fewer than two samples there
// is no graph (`graph` is false). A flat series gets one centred label and a middle line.
struct TimelineLayout {
    bool graph = false;
    bool flat = false;
    int sampleCount = 0;
    std::optional<TimelineLabel> minLabel;
    std::optional<TimelineLabel> maxLabel;
    TimelineLabel firstLabel;       // the first sample (the flat series' only label)
    ViewPoint lineFrom;             // the reference line at the first sample,
    ViewPoint lineTo;               // or the flat series' middle line
    std::vector<ViewPoint> series;  // empty for a flat series
    TimelineLabel firstTime;        // left-aligned "%d:%02d"
    TimelineLabel lastTime;         // right-aligned "%d:%02d"
};

TimelineLayout LayoutTimeline(const CKx7Doc& doc, const ViewRect& body);

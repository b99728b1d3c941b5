#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/figures/ViewGeometry.h"

struct PortfolioSnapshot;

// A wedge of the pie, drawn counter-clockwise from the radial through `from` to the
// radial through `to`; equal points make the whole ellipse.
struct PieWedge {
    ViewPoint from;
    ViewPoint to;

    friend bool operator==(const PieWedge&, const PieWedge&) = default;
};

struct PieSlice {
    std::string label;        // the symbol as held in the snapshot, or "Other"
    ViewRect labelBox;        // 28 x 10 around the label point
    int colourIndex = 0;      // slice colour table index; -1 for "Other"
    double startAngle = 0.0;  // degrees counter-clockwise from twelve o'clock
    double sweep = 0.0;
    std::optional<PieWedge> wedge;  // none for a sliver below 0.5 %
};

// Everything the pie panel draws, computed from the snapshot: one slice per shown
// symbol (at most `recordCount`), then "Other" for the rest. An empty portfolio, or one
// whose total is not above 0, gets the full circle and no slices.
struct PieLayout {
    ViewRect bounds;  // the pie's bounding box
    ViewPoint centre;
    bool fullCircle = false;
    std::vector<PieSlice> slices;
    std::optional<PieSlice> other;
};

PieLayout LayoutPie(const PortfolioSnapshot& snapshot, int recordCount, const ViewRect& body);

// The point where the radial at `angle` (degrees counter-clockwise from twelve o'clock)
// meets the bounding box, by octant; nothing at 361 degrees or more.
std::optional<ViewPoint> PieEdgePoint(double angle, ViewPoint centre, int radiusX, int radiusY,
                                      const ViewRect& bounds);

// "Last Update: %d:%02d %s" with a 12-hour clock; empty when there was no update.
std::string LastUpdateText(std::int64_t lastUpdateTime);

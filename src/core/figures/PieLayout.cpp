#include "core/figures/PieLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "core/figures/PortfolioSnapshot.h"
#include "core/model/LocalTime.h"

namespace {

constexpr double kDegreesToRadians = 0.01745327777777778;
constexpr double kSliverFraction = 0.005;

ViewRect LabelBox(double angle, ViewPoint centre, int labelRadiusX, int labelRadiusY) {
    const double radians = angle * (1.0 / 180.0) * 3.14159;
    const double x = labelRadiusX * -std::sin(radians) + centre.x;
    const double y = labelRadiusY * -std::cos(radians) + centre.y;
    return {static_cast<int>(x - 14), static_cast<int>(y - 5), static_cast<int>(x + 14),
            static_cast<int>(y + 5)};
}

int Truncate(double value) {
    return static_cast<int>(value);
}

}  // namespace

std::optional<ViewPoint> PieEdgePoint(double angle, ViewPoint centre, int radiusX, int radiusY,
                                      const ViewRect& bounds) {
    const auto tangent = [](double degrees) { return std::tan(degrees * kDegreesToRadians); };
    if (angle < 45) {
        return ViewPoint{Truncate(centre.x - tangent(angle) * radiusX), bounds.top};
    }
    if (angle < 90) {
        return ViewPoint{bounds.left, Truncate(centre.y - tangent(90 - angle) * radiusY)};
    }
    if (angle < 135) {
        return ViewPoint{bounds.left, Truncate(centre.y + tangent(angle - 90) * radiusY)};
    }
    if (angle < 180) {
        return ViewPoint{Truncate(centre.x - tangent(180 - angle) * radiusX), bounds.bottom};
    }
    if (angle < 225) {
        return ViewPoint{Truncate(centre.x + tangent(angle - 180) * radiusX), bounds.bottom};
    }
    if (angle < 270) {
        return ViewPoint{bounds.right, Truncate(centre.y + tangent(270 - angle) * radiusY)};
    }
    if (angle < 315) {
        return ViewPoint{bounds.right, Truncate(centre.y - tangent(angle - 270) * radiusY)};
    }
    if (angle < 361) {
        return ViewPoint{Truncate(centre.x + tangent(360 - angle) * radiusX), bounds.top};
    }
    return std::nullopt;
}

PieLayout LayoutPie(const PortfolioSnapshot& snapshot, int recordCount, const ViewRect& body) {
    PieLayout layout;
    layout.centre = {body.left + body.Width() / 2, body.top + body.Height() / 2};
    const int radiusX = body.Width() / 2 - 20;
    const int radiusY = body.Height() / 2 - 20;
    layout.bounds = {layout.centre.x - radiusX, layout.centre.y - radiusY,
                     layout.centre.x + radiusX, layout.centre.y + radiusY};
    const int labelRadiusX = body.Width() / 2 - 10;
    const int labelRadiusY = radiusY + 10;

    const int count = static_cast<int>(snapshot.entries.size());
    // Fractions of a total that is not above 0 mean nothing; such a portfolio is drawn
    // like an empty one.
    if (count == 0 || !(snapshot.total > 0.0f)) {
        layout.fullCircle = true;
        return layout;
    }
    const int shown = recordCount < count ? std::max(recordCount, 0) : count;
    const ViewPoint twelve{layout.centre.x - 1, layout.bounds.top};
    ViewPoint edge = twelve;
    double angle = 0.0;
    for (int i = 0; i < shown; ++i) {
        const SnapshotEntry& entry = snapshot.entries[static_cast<std::size_t>(i)];
        // A negative value gets no wedge and takes nothing from the circle.
        const double fraction = entry.value > 0.0f ? entry.value / snapshot.total : 0.0;
        const double sweep = fraction * 360.0;
        PieSlice slice;
        slice.label = entry.symbol;
        slice.colourIndex = i;
        slice.startAngle = angle;
        slice.sweep = sweep;
        slice.labelBox = LabelBox(angle + sweep / 2, layout.centre, labelRadiusX, labelRadiusY);
        const double next = angle + sweep;
        if (fraction >= kSliverFraction) {
            if (const auto point =
                    PieEdgePoint(next, layout.centre, radiusX, radiusY, layout.bounds)) {
                slice.wedge = PieWedge{edge, *point};
                edge = *point;
            }
        }
        layout.slices.push_back(std::move(slice));
        angle = next;
    }
    if (shown < count) {
        PieSlice other;
        other.label = "Other";
        other.colourIndex = -1;
        other.startAngle = angle;
        other.sweep = 360.0 - angle;
        other.labelBox =
            LabelBox(angle + (360.0 - angle) / 2, layout.centre, labelRadiusX, labelRadiusY);
        other.wedge = PieWedge{edge, twelve};
        layout.other = std::move(other);
    }
    return layout;
}

std::string LastUpdateText(std::int64_t lastUpdateTime) {
    if (lastUpdateTime == 0) {
        return {};
    }
    const std::tm local = ToLocalTm(lastUpdateTime);
    int hour = local.tm_hour;
    const char* half = hour < 12 ? "am" : "pm";
    if (hour == 0) {
        hour = 12;
    } else if (hour > 12) {
        hour -= 12;
    }
    char text[64];
    std::snprintf(text, sizeof text, "Last Update: %d:%02d %s", hour, local.tm_min, half);
    return text;
}

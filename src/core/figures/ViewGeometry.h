#pragma once

// The main view is a dashboard of fixed pixel geometry; these are its rectangles and
// colours, shared by the drawing code and the layout computations.

struct ViewPoint {
    int x = 0;
    int y = 0;

    friend bool operator==(const ViewPoint&, const ViewPoint&) = default;
};

struct ViewRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool Contains(ViewPoint point) const {
        return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
    }

    friend bool operator==(const ViewRect&, const ViewRect&) = default;
};

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

namespace view_layout {

inline constexpr ViewRect kValueLabels{10, 10, 120, 75};
inline constexpr ViewRect kValueFigures{121, 10, 230, 75};

inline constexpr ViewRect kHoldingsHeader{10, 65, 250, 85};
inline constexpr ViewRect kHoldingsBody{10, kHoldingsHeader.bottom, 250,
                                        kHoldingsHeader.bottom + 230};
inline constexpr ViewRect kAlertHeader{10, kHoldingsBody.bottom + 10, 250,
                                       kHoldingsBody.bottom + 30};
inline constexpr ViewRect kAlertBody{10, kAlertHeader.bottom, 250, kAlertHeader.bottom + 70};
inline constexpr ViewRect kPieHeader{260, 10, 560, 30};
inline constexpr ViewRect kPieBody{260, 30, 560, 330};
inline constexpr ViewRect kTimelineHeader{260, kPieBody.bottom + 10, 560, kPieBody.bottom + 30};
inline constexpr ViewRect kTimelineBody{260, kTimelineHeader.bottom, 560,
                                        kTimelineHeader.bottom + 70};

// The alert panel's "Edit" link: the 40 pixels left of the header's right edge less 5.
inline constexpr ViewRect kAlertLink{kAlertHeader.right - 45, kAlertHeader.top,
                                     kAlertHeader.right - 5, kAlertHeader.bottom};

}  // namespace view_layout

namespace view_palette {

inline constexpr Rgb kOutline{50, 200, 85};
inline constexpr Rgb kHeaderFill{255, 255, 255};
inline constexpr Rgb kBodyFill{230, 230, 230};
inline constexpr Rgb kLink{60, 60, 200};
inline constexpr Rgb kLinkPressed{200, 200, 200};
inline constexpr Rgb kAlertLow{255, 80, 80};
inline constexpr Rgb kAlertHigh{10, 170, 10};
inline constexpr Rgb kRising{10, 170, 10};
inline constexpr Rgb kFalling{200, 10, 10};
inline constexpr Rgb kUnchanged{200, 200, 200};
inline constexpr Rgb kEmptyPie{40, 255, 255};
inline constexpr Rgb kOtherSlice{210, 210, 210};
inline constexpr Rgb kTimelinePen{150, 55, 155};

// The colour of holdings row and pie slice `index`; the table repeats past its end.
Rgb SliceColour(int index);

// Text colour of a quote direction: rising green, falling red, otherwise black.
Rgb DirectionTextColour(int direction);

}  // namespace view_palette

#include "core/figures/ViewGeometry.h"

#include <array>

namespace view_palette {

namespace {

constexpr std::array<Rgb, 30> kSliceColours{{
    {80, 255, 80},   {120, 120, 255}, {255, 255, 40},  {255, 40, 255},  {40, 255, 255},
    {198, 198, 50},  {198, 50, 198},  {50, 198, 198},  {118, 198, 255}, {198, 118, 255},
    {255, 198, 118}, {255, 108, 168}, {20, 170, 200},  {200, 170, 20},  {170, 20, 200},
    {20, 200, 170},  {80, 220, 110},  {220, 110, 80},  {110, 80, 220},  {235, 68, 255},
    {40, 40, 255},   {80, 168, 80},   {255, 168, 168}, {255, 108, 168}, {10, 168, 255},
    {168, 108, 255}, {168, 170, 108}, {10, 170, 168},  {108, 20, 200},  {237, 142, 180},
}};

}  // namespace

Rgb SliceColour(int index) {
    const int size = static_cast<int>(kSliceColours.size());
    const int wrapped = ((index % size) + size) % size;
    return kSliceColours[static_cast<std::size_t>(wrapped)];
}

Rgb DirectionTextColour(int direction) {
    if (direction == 1) {
        return {10, 170, 10};
    }
    if (direction == -1) {
        return {200, 10, 10};
    }
    return {0, 0, 0};
}

}  // namespace view_palette

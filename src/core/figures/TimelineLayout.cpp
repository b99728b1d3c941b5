#include "core/figures/TimelineLayout.h"

#include <algorithm>
#include <cstdio>

#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"

namespace {

std::string WholeNumber(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.0f", static_cast<double>(value));
    return text;
}

std::string ClockText(std::int64_t time) {
    const std::tm local = ToLocalTm(time);
    char text[16];
    std::snprintf(text, sizeof text, "%d:%02d", local.tm_hour, local.tm_min);
    return text;
}

ViewRect Shrunk(const ViewRect& rect, int by) {
    return {rect.left + by, rect.top + by, rect.right - by, rect.bottom - by};
}

}  // namespace

TimelineLayout LayoutTimeline(const CKx7Doc& doc, const ViewRect& body) {
    TimelineLayout layout;
    std::vector<float> samples;
    for (int i = 0;; ++i) {
        const float value = doc.TimelineValue(i);
        if (value == -1.0f) {
            break;
        }
        samples.push_back(value);
    }
    layout.sampleCount = static_cast<int>(samples.size());
    if (samples.size() <= 1) {
        return layout;
    }
    layout.graph = true;
    const auto [lowest, highest] = std::minmax_element(samples.begin(), samples.end());
    const float min = *lowest;
    const float max = *highest;
    const float first = samples.front();

    if (max > min) {
        const int height = body.Height() - 20;
        const double step =
            static_cast<double>(body.Width() - 30) / static_cast<double>(samples.size() - 1);
        const auto heightOf = [&](float value) {
            return static_cast<int>(static_cast<double>(height) * (value - min) / (max - min));
        };
        layout.minLabel = TimelineLabel{
            WholeNumber(min), {body.left, body.bottom - 30, body.left + 28, body.bottom - 20}};
        layout.maxLabel = TimelineLabel{WholeNumber(max),
                                        {body.left, body.top - 1, body.left + 28, body.top + 9}};
        const int firstHeight = heightOf(first);
        layout.firstLabel = {WholeNumber(first),
                             {body.left, body.bottom - firstHeight - 25, body.left + 28,
                              body.bottom - firstHeight - 15}};
        layout.lineFrom = {body.left + 30, body.bottom - firstHeight - 20};
        layout.lineTo = {body.right, body.bottom - firstHeight - 20};
        for (std::size_t i = 0; i < samples.size(); ++i) {
            layout.series.push_back(
                {body.left + 30 + static_cast<int>(static_cast<double>(i) * step),
                 body.bottom - heightOf(samples[i]) - 20});
        }
    } else {
        layout.flat = true;
        layout.firstLabel = {WholeNumber(first),
                             {body.left, body.top + 10, body.left + 28, body.bottom - 30}};
        const int middle = body.top + (body.Height() - 20) / 2;
        layout.lineFrom = {body.left + 30, middle};
        layout.lineTo = {body.right, middle};
    }
    layout.firstTime = {ClockText(doc.TimelineFirstTime()),
                        Shrunk({body.left + 30, body.bottom - 12, body.right, body.bottom}, 1)};
    layout.lastTime = {ClockText(doc.TimelineLastTime()),
                       Shrunk({body.left, body.bottom - 12, body.right, body.bottom}, 1)};
    return layout;
}

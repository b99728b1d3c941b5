#include "core/reports/TextInParts.h"

#include <algorithm>
#include <vector>

#include "core/model/LargeBuffer.h"
#include "core/reports/KeptTable.h"
#include "core/reports/WorkInParts.h"

namespace {

// Below this much text per part a thread costs more than it saves.
constexpr std::size_t kLeastPartBytes = std::size_t{4} << 20;

std::size_t PartCount(std::size_t count, std::size_t estimatedBytes) {
    return std::min(WorkParts(estimatedBytes / kLeastPartBytes), std::max<std::size_t>(count, 1));
}

// The texts of parts after the first, kept from one report to the next.
KeptBuffers<std::string>& Spares() {
    static KeptBuffers<std::string> spares(8);
    return spares;
}

KeptBuffers<std::string>& WholeTexts() {
    static KeptBuffers<std::string> texts(1);
    return texts;
}

// Where each part starts, and the end of the last: even counts of items, or even weights.
std::vector<std::size_t> PartStarts(std::size_t count, std::size_t parts,
                                    std::span<const std::size_t> itemWeights) {
    std::vector<std::size_t> starts(parts + 1, count);
    if (itemWeights.size() != count) {
        for (std::size_t part = 0; part < parts; ++part) {
            starts[part] = count * part / parts;
        }
        return starts;
    }
    std::size_t total = 0;
    for (const std::size_t weight : itemWeights) {
        total += weight;
    }
    starts[0] = 0;
    std::size_t part = 1;
    std::size_t running = 0;
    for (std::size_t item = 0; item < count && part < parts; ++item) {
        // A part ends once it holds its share of the weight.
        while (part < parts && running >= total / parts * part) {
            starts[part++] = item;
        }
        running += itemWeights[item];
    }
    return starts;
}

}  // namespace

void AppendInParts(std::string& out, std::size_t count, std::size_t estimatedBytes,
                   const AppendRange& appendRange, std::span<const std::size_t> itemWeights) {
    ReserveLargeBuffer(out, out.size() + estimatedBytes);
    const std::size_t parts = PartCount(count, estimatedBytes);
    const std::vector<std::size_t> starts = PartStarts(count, parts, itemWeights);
    const auto partStart = [&starts](std::size_t part) { return starts[part]; };

    // Part 0 goes straight into `out`; the others into texts of their own, appended after.
    std::vector<std::string> texts(parts);
    RunInParts(parts, [&](std::size_t part) {
        if (part == 0) {
            appendRange(partStart(0), partStart(1), out);
            return;
        }
        std::string& text = texts[part];
        text = Spares().Take();
        text.clear();
        ReserveLargeBuffer(text, estimatedBytes / parts + estimatedBytes / (4 * parts));
        appendRange(partStart(part), partStart(part + 1), text);
    });
    for (std::size_t part = 1; part < parts; ++part) {
        out += texts[part];
        Spares().Give(std::move(texts[part]));
    }
}

std::string TakeReportText() {
    std::string text = WholeTexts().Take();
    text.clear();
    return text;
}

void GiveBackReportText(std::string&& text) {
    WholeTexts().Give(std::move(text));
}

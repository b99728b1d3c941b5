#pragma once

#include <cstddef>
#include <functional>

// Parts for work worth splitting `items` ways at most (items of a size where one thread
// each pays): one per core, at most eight, and at least one.
std::size_t WorkParts(std::size_t items);

// Below this many lots a walk over them is not worth a thread.
inline constexpr std::size_t kLeastPartLots = 16384;

// The items of part `part` of `items` split into `parts` even parts: first to last-1.
struct PartItems {
    std::size_t first = 0;
    std::size_t last = 0;
};
inline PartItems ItemsOfPart(std::size_t items, std::size_t part, std::size_t parts) {
    return PartItems{items * part / parts, items * (part + 1) / parts};
}

// Runs `run(part)` for parts 0 to parts-1 at the same time: part 0 on the calling thread,
// the others on threads of their own, or after part 0 in turn when no thread is to be
// had. Returns once every part is done; an exception of a part is passed on then.
void RunInParts(std::size_t parts, const std::function<void(std::size_t part)>& run);

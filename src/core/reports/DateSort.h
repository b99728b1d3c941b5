#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <utility>
#include <vector>

#include "core/reports/KeptTable.h"
#include "core/reports/WorkInParts.h"

namespace date_sort {

// Below this many rows a comparison sort beats counting passes.
inline constexpr std::size_t kRadixLeast = 512;
inline constexpr int kDigitBits = 11;
inline constexpr std::uint64_t kSecondsPerDay = 86400;
// Dates spanning up to this many days are sorted by day in one counting pass: some 180
// years, a table of half a megabyte.
inline constexpr std::uint64_t kMostDays = std::uint64_t{1} << 16;
// Below this many entries for each, more threads cost more than they save.
inline constexpr std::size_t kLeastPartEntries = std::size_t{1} << 16;

template <typename Entry>
bool Earlier(const Entry& a, const Entry& b) {
    return a.date < b.date;
}

template <typename Entry>
void StableSortRange(std::span<Entry> entries) {
    std::stable_sort(entries.begin(), entries.end(), Earlier<Entry>);
}

// Sorts `entries` by date, equal dates kept in order, with `room` (as many entries) to
// merge into: the short ranges of one day each, which std::stable_sort would each give
// a buffer of their own.
template <typename Entry>
void MergeSortRange(std::span<Entry> entries, std::span<Entry> room) {
    constexpr std::size_t kRun = 8;
    const std::size_t size = entries.size();
    for (std::size_t start = 0; start < size; start += kRun) {
        const auto first = entries.begin() + static_cast<std::ptrdiff_t>(start);
        const auto last =
            entries.begin() + static_cast<std::ptrdiff_t>(std::min(start + kRun, size));
        for (auto next = first + 1; next < last; ++next) {
            // Past every entry that is not later, so equal dates keep their order.
            const auto place = std::upper_bound(first, next, *next, Earlier<Entry>);
            std::rotate(place, next, next + 1);
        }
    }
    Entry* from = entries.data();
    Entry* to = room.data();
    for (std::size_t width = kRun; width < size; width *= 2) {
        for (std::size_t start = 0; start < size; start += 2 * width) {
            const std::size_t middle = std::min(start + width, size);
            const std::size_t end = std::min(start + 2 * width, size);
            // std::merge takes the first range's entry of two equal ones first.
            std::merge(from + start, from + middle, from + middle, from + end, to + start,
                       Earlier<Entry>);
        }
        std::swap(from, to);
    }
    if (from != entries.data()) {
        std::copy(from, from + size, entries.data());
    }
}

// One counting pass by day (whole days from the earliest date), then each day's entries in
// order of their times. Report dates are mostly dates at midnight, so a day's entries are
// nearly always in order already and the second step only looks. Large tables are
// counted, moved and put in order on every core: each part counts and moves a slice of
// the entries, and its entries of a day go after those of the slices before, so equal
// dates keep their order.
template <typename Entry>
void SortByDay(std::vector<Entry>& entries, std::uint64_t base, std::uint64_t days) {
    const auto dayOf = [base](const Entry& entry) {
        return (static_cast<std::uint64_t>(entry.date) - base) / kSecondsPerDay;
    };
    const std::size_t parts = WorkParts(entries.size() / kLeastPartEntries);
    const auto sliceStart = [&entries, parts](std::size_t part) {
        return entries.size() * part / parts;
    };
    // Each part's count of entries by day, then where its next entry of the day goes.
    std::vector<std::vector<std::uint32_t>> places(parts);
    RunInParts(parts, [&](std::size_t part) {
        std::vector<std::uint32_t>& counts = places[part];
        counts.resize(days);
        for (std::size_t i = sliceStart(part); i < sliceStart(part + 1); ++i) {
            ++counts[dayOf(entries[i])];
        }
    });
    std::uint32_t running = 0;
    for (std::size_t day = 0; day < days; ++day) {
        for (std::vector<std::uint32_t>& partPlaces : places) {
            running += std::exchange(partPlaces[day], running);
        }
    }
    KeptTable<Entry> scratch(entries.size());
    std::vector<Entry>& other = *scratch;
    RunInParts(parts, [&](std::size_t part) {
        std::vector<std::uint32_t>& partPlaces = places[part];
        for (std::size_t i = sliceStart(part); i < sliceStart(part + 1); ++i) {
            other[partPlaces[dayOf(entries[i])]++] = entries[i];
        }
    });
    entries.swap(other);
    // The last slice's entries of a day come last, so its places are now where days end.
    const std::vector<std::uint32_t>& ends = places[parts - 1];
    const auto dayStart = [&ends](std::size_t day) -> std::size_t {
        return day == 0 ? 0 : ends[day - 1];
    };
    // Each part puts in order the days that start within its slice. The entries as they
    // were are no longer needed: their table is the room for merging.
    RunInParts(parts, [&](std::size_t part) {
        const auto firstDayFrom = [&](std::size_t at) -> std::size_t {
            if (at == 0) {
                return 0;
            }
            const auto found = std::lower_bound(ends.begin(), ends.end(), at);
            return std::min<std::size_t>(static_cast<std::size_t>(found - ends.begin()) + 1, days);
        };
        const std::size_t lastDay = part + 1 == parts ? days : firstDayFrom(sliceStart(part + 1));
        for (std::size_t day = firstDayFrom(sliceStart(part)); day < lastDay; ++day) {
            const std::size_t start = dayStart(day);
            const std::size_t size = ends[day] - start;
            const std::span<Entry> range(entries.data() + start, size);
            if (size > 1 && !std::is_sorted(range.begin(), range.end(), Earlier<Entry>)) {
                MergeSortRange(range, std::span<Entry>(other.data() + start, size));
            }
        }
    });
}

// Passes of a least significant digit first counting sort over the dates' offsets from
// the earliest, as many as the span of dates needs: for dates far apart.
template <typename Entry>
void SortByDigits(std::vector<Entry>& entries, std::uint64_t base, std::uint64_t span) {
    const auto offset = [base](const Entry& entry) {
        return static_cast<std::uint64_t>(entry.date) - base;
    };
    constexpr std::size_t kDigits = std::size_t{1} << kDigitBits;
    constexpr std::uint64_t kDigitMask = kDigits - 1;
    std::vector<int> shifts;
    for (int shift = 0; shift < std::numeric_limits<std::uint64_t>::digits && (span >> shift) != 0;
         shift += kDigitBits) {
        shifts.push_back(shift);
    }
    // Every pass's counts in one read of the entries.
    std::vector<std::size_t> starts(shifts.size() * kDigits);
    for (const Entry& entry : entries) {
        const std::uint64_t value = offset(entry);
        for (std::size_t pass = 0; pass < shifts.size(); ++pass) {
            ++starts[pass * kDigits + ((value >> shifts[pass]) & kDigitMask)];
        }
    }
    KeptTable<Entry> scratch(entries.size());
    std::vector<Entry>& other = *scratch;
    for (std::size_t pass = 0; pass < shifts.size(); ++pass) {
        std::size_t* const passStarts = starts.data() + pass * kDigits;
        std::size_t start = 0;
        for (std::size_t digit = 0; digit < kDigits; ++digit) {
            start += std::exchange(passStarts[digit], start);
        }
        const int shift = shifts[pass];
        for (const Entry& entry : entries) {
            other[passStarts[(offset(entry) >> shift) & kDigitMask]++] = entry;
        }
        entries.swap(other);
    }
}

}  // namespace date_sort

// Sorts entries by date, keeping the order of equal dates, in time linear in the number of
// entries: by day in one counting pass when the dates span less than some 180 years, by
// counting passes over the digits of the dates otherwise.
template <typename Entry>
void SortByDate(std::vector<Entry>& entries) {
    if (entries.size() < date_sort::kRadixLeast) {
        date_sort::StableSortRange(std::span<Entry>(entries));
        return;
    }
    const auto [least, most] =
        std::minmax_element(entries.begin(), entries.end(), date_sort::Earlier<Entry>);
    const auto base = static_cast<std::uint64_t>(least->date);
    const std::uint64_t span = static_cast<std::uint64_t>(most->date) - base;
    const std::uint64_t days = span / date_sort::kSecondsPerDay + 1;
    // Day counts are 32-bit.
    if (days <= date_sort::kMostDays &&
        entries.size() < std::numeric_limits<std::uint32_t>::max()) {
        date_sort::SortByDay(entries, base, days);
    } else {
        date_sort::SortByDigits(entries, base, span);
    }
}

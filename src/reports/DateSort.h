#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <utility>
#include <vector>

#include "model/LargeBuffer.h"

namespace date_sort {

// Below this many rows a comparison sort beats counting passes.
inline constexpr std::size_t kRadixLeast = 512;
inline constexpr int kDigitBits = 11;
inline constexpr std::uint64_t kSecondsPerDay = 86400;
// Dates spanning up to this many days are sorted by day in one counting pass: some 180
// years, a table of half a megabyte.
inline constexpr std::uint64_t kMostDays = std::uint64_t{1} << 16;

template <typename Entry>
void StableSortRange(std::span<Entry> entries) {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.date < b.date; });
}

// An empty table of `size` entries to move entries into, advised as a large buffer.
template <typename Entry>
std::vector<Entry> ScratchTable(std::size_t size) {
    std::vector<Entry> table;
    ReserveLargeTable(table, size);
    table.resize(size);
    return table;
}

// One counting pass by day (whole days from the earliest date), then each day's entries in
// order of their times. Report dates are mostly dates at midnight, so a day's entries are
// nearly always in order already and the second step only looks.
template <typename Entry>
void SortByDay(std::vector<Entry>& entries, std::uint64_t base, std::uint64_t days) {
    const auto dayOf = [base](const Entry& entry) {
        return (static_cast<std::uint64_t>(entry.date) - base) / kSecondsPerDay;
    };
    std::vector<std::uint32_t> ends(days + 1);
    for (const Entry& entry : entries) {
        ++ends[dayOf(entry) + 1];
    }
    for (std::size_t day = 1; day <= days; ++day) {
        ends[day] += ends[day - 1];
    }
    // ends[day] is now where the day starts; the moves leave it where the day ends.
    std::vector<Entry> other = ScratchTable<Entry>(entries.size());
    for (const Entry& entry : entries) {
        other[ends[dayOf(entry)]++] = entry;
    }
    entries.swap(other);
    std::size_t start = 0;
    for (std::size_t day = 0; day < days; ++day) {
        const std::span<Entry> range(entries.data() + start, ends[day] - start);
        start = ends[day];
        if (range.size() > 1 &&
            !std::is_sorted(range.begin(), range.end(),
                            [](const Entry& a, const Entry& b) { return a.date < b.date; })) {
            StableSortRange(range);
        }
    }
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
    std::vector<Entry> other = ScratchTable<Entry>(entries.size());
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
        std::minmax_element(entries.begin(), entries.end(),
                            [](const Entry& a, const Entry& b) { return a.date < b.date; });
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

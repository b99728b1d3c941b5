#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace date_sort {

// Below this many rows a comparison sort beats counting passes.
inline constexpr std::size_t kRadixLeast = 512;
inline constexpr int kDigitBits = 11;

}  // namespace date_sort

// Sorts entries by date, keeping the order of equal dates: passes of a least significant
// digit first counting sort over the dates' offsets from the earliest, as many as the span
// of dates needs (three for a century of times in seconds). Linear in the number of rows.
template <typename Entry>
void SortByDate(std::vector<Entry>& entries) {
    if (entries.size() < date_sort::kRadixLeast) {
        std::stable_sort(entries.begin(), entries.end(),
                         [](const Entry& a, const Entry& b) { return a.date < b.date; });
        return;
    }
    const auto [least, most] =
        std::minmax_element(entries.begin(), entries.end(),
                            [](const Entry& a, const Entry& b) { return a.date < b.date; });
    const auto base = static_cast<std::uint64_t>(least->date);
    const std::uint64_t span = static_cast<std::uint64_t>(most->date) - base;
    const auto offset = [base](const Entry& entry) {
        return static_cast<std::uint64_t>(entry.date) - base;
    };

    constexpr std::size_t kDigits = std::size_t{1} << date_sort::kDigitBits;
    constexpr std::uint64_t kDigitMask = kDigits - 1;
    std::vector<int> shifts;
    for (int shift = 0; shift < std::numeric_limits<std::uint64_t>::digits && (span >> shift) != 0;
         shift += date_sort::kDigitBits) {
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
    std::vector<Entry> other(entries.size());
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

#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Asks the system to back the whole huge pages inside a buffer of many megabytes with huge
// pages. Such a buffer is filled at once, and the faults of its small pages would otherwise
// cost about as long as filling it. Only advice, so a system without them goes on as before.
void AdviseHugePages(const void* data, std::size_t bytes);

// Makes room for `bytes` in `buffer` ahead of filling it, advised as above.
void ReserveLargeBuffer(std::vector<std::uint8_t>& buffer, std::size_t bytes);
// The same for a text of many megabytes, such as a report.
void ReserveLargeBuffer(std::string& text, std::size_t bytes);
// The same for `count` entries of a table.
template <typename Entry>
void ReserveLargeTable(std::vector<Entry>& entries, std::size_t count) {
    if (count <= entries.capacity()) {
        return;
    }
    entries.reserve(count);
    AdviseHugePages(entries.data(), count * sizeof(Entry));
}

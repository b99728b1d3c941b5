#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Makes room for `bytes` in `buffer` ahead of filling it. A buffer of many megabytes is
// asked to be backed by huge pages where the system offers them: it is filled at once, and
// the faults of its small pages would otherwise cost about as long as reading or storing the
// portfolio's values. Only advice, so a system without them goes on as before.
void ReserveLargeBuffer(std::vector<std::uint8_t>& buffer, std::size_t bytes);

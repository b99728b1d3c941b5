#include "model/LargeBuffer.h"

#include <sys/mman.h>

void ReserveLargeBuffer(std::vector<std::uint8_t>& buffer, std::size_t bytes) {
    if (bytes <= buffer.capacity()) {
        return;
    }
    buffer.reserve(bytes);
    // Advice covers whole huge pages inside the buffer; its ends keep small pages.
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    const auto start = reinterpret_cast<std::uintptr_t>(buffer.data());
    const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (start + bytes) & ~(kHugePage - 1);
    if (end > first) {
        ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
    }
}

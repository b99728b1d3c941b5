#include "core/model/LargeBuffer.h"

#include <sys/mman.h>

#include <cstddef>

// Advice covers whole huge pages inside the buffer; its ends keep small pages.
void AdviseHugePages(const void* data, std::size_t bytes) {
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (start + bytes) & ~(kHugePage - 1);
    if (end > first) {
        // The address is made from `data`, not from the integer, so it keeps its provenance.
        auto* const bytesAt = const_cast<std::byte*>(static_cast<const std::byte*>(data));
        ::madvise(bytesAt + (first - start), end - first, MADV_HUGEPAGE);
    }
}

void ReserveLargeBuffer(std::vector<std::uint8_t>& buffer, std::size_t bytes) {
    if (bytes <= buffer.capacity()) {
        return;
    }
    buffer.reserve(bytes);
    AdviseHugePages(buffer.data(), bytes);
}

void ReserveLargeBuffer(std::string& text, std::size_t bytes) {
    if (bytes <= text.capacity()) {
        return;
    }
    text.reserve(bytes);
    AdviseHugePages(text.data(), bytes);
}

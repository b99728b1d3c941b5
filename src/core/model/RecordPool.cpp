#include "core/model/RecordPool.h"

#include <algorithm>
#include <new>
#include <type_traits>

#include "core/model/LargeBuffer.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#endif

static_assert(std::is_trivially_destructible_v<RecordPool>,
              "a pool must outlive every record, so it is never destroyed");

namespace {

// Chunks grow with the portfolio, from a few kilobytes for a small one to this.
constexpr std::size_t kFirstChunkBlocks = 64;
constexpr std::size_t kLargestChunkBytes = std::size_t{4} << 20;
constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

// Chunks start on a cache line and so do the blocks after the header, so that a record of
// a line's size takes one line rather than parts of two.
constexpr std::size_t kCacheLine = 64;
constexpr std::size_t kHeaderBytes = kCacheLine;

// Under AddressSanitizer a block not handed out is unreadable, so that a record used after
// it was deleted is caught as it would be with blocks of their own.
void MarkUnusable([[maybe_unused]] void* block, [[maybe_unused]] std::size_t bytes) {
#if defined(__SANITIZE_ADDRESS__)
    __asan_poison_memory_region(block, bytes);
#endif
}

void MarkUsable([[maybe_unused]] void* block, [[maybe_unused]] std::size_t bytes) {
#if defined(__SANITIZE_ADDRESS__)
    __asan_unpoison_memory_region(block, bytes);
#endif
}

}  // namespace

void* RecordPool::Allocate() {
    const std::lock_guard lock(m_mutex);
    void* block = m_freeBlocks;
    if (block != nullptr) {
        MarkUsable(block, m_blockSize);
        m_freeBlocks = *static_cast<void**>(block);
    } else {
        if (m_unused == m_unusedEnd) {
            NextChunk();
        }
        block = m_unused;
        m_unused += m_blockSize;
        MarkUsable(block, m_blockSize);
    }
    ++m_live;
    return block;
}

void RecordPool::Free(void* block) noexcept {
    if (block == nullptr) {
        return;
    }
    const std::lock_guard lock(m_mutex);
    *static_cast<void**>(block) = m_freeBlocks;
    m_freeBlocks = block;
    MarkUnusable(block, m_blockSize);
    if (--m_live == 0) {
        StartOver();
    }
}

void RecordPool::NextChunk() {
    static_assert(sizeof(Chunk) <= kHeaderBytes);
    if (m_currentChunk != nullptr && m_currentChunk->next != nullptr) {
        UseChunk(m_currentChunk->next);
        return;
    }
    const std::size_t largest =
        std::max<std::size_t>(1, (kLargestChunkBytes - kHeaderBytes) / m_blockSize);
    const std::size_t previous = m_lastChunk == nullptr ? 0 : m_lastChunk->blocks;
    const std::size_t blocks = std::min(largest, std::max(kFirstChunkBlocks, 2 * previous));
    const std::size_t bytes = kHeaderBytes + blocks * m_blockSize;
    // The largest chunks lie on whole huge pages: a walk over a million records then
    // needs few address translations, which stay in the processor's caches, and the
    // system hands out their memory a huge page at a time. The advice comes before the
    // first write, which would otherwise have the start backed by small pages.
    const std::size_t alignment = bytes >= kHugePageBytes ? kHugePageBytes : kCacheLine;
    void* const memory = ::operator new (bytes, std::align_val_t{alignment});
    AdviseHugePages(memory, bytes);
    auto* const chunk = new (memory) Chunk{nullptr, blocks};
    (m_lastChunk == nullptr ? m_firstChunk : m_lastChunk->next) = chunk;
    m_lastChunk = chunk;
    MarkUnusable(reinterpret_cast<std::byte*>(chunk) + kHeaderBytes, blocks * m_blockSize);
    UseChunk(chunk);
}

void RecordPool::UseChunk(Chunk* chunk) {
    m_currentChunk = chunk;
    m_unused = reinterpret_cast<std::byte*>(chunk) + kHeaderBytes;
    m_unusedEnd = m_unused + chunk->blocks * m_blockSize;
}

void RecordPool::StartOver() noexcept {
    m_freeBlocks = nullptr;
    if (m_firstChunk != nullptr) {
        UseChunk(m_firstChunk);
    }
}

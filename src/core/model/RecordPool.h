#pragma once

#include <cstddef>
#include <mutex>

// Blocks of one size for the portfolio's records, handed out from large chunks. Loading a
// file of a million records then takes a few dozen allocations instead of a million, the
// records of one kind lie side by side in the order they were made, which every walk over
// them profits from, and freeing them leaves no million small blocks for the C allocator to
// sort through later. A freed block goes to the next record. Once every block is free again,
// as when a portfolio is closed, the chunks are handed out from their start once more: the
// next portfolio reuses them instead of asking for new memory, and the memory of the largest
// portfolio opened stays with the program.
//
// Meant for a constinit object that is never destroyed, so that records freed while the
// program ends still find their pool.
class RecordPool {
public:
    constexpr RecordPool(std::size_t blockSize, std::size_t alignment)
        : m_blockSize(BlockSize(blockSize, alignment)) {}

    void* Allocate();
    // `block` came from Allocate, or is nullptr.
    void Free(void* block) noexcept;

private:
    static constexpr std::size_t BlockSize(std::size_t size, std::size_t alignment) {
        const std::size_t step = alignment > sizeof(void*) ? alignment : sizeof(void*);
        return (size + step - 1) / step * step;
    }

    struct Chunk {
        Chunk* next;         // the chunk made after this one
        std::size_t blocks;  // after the header
    };

    // Moves on to the next chunk, made now if there is none.
    void NextChunk();
    void StartOver() noexcept;
    void UseChunk(Chunk* chunk);

    std::mutex m_mutex;
    const std::size_t m_blockSize;
    void* m_freeBlocks = nullptr;   // each holds the address of the next
    std::byte* m_unused = nullptr;  // the current chunk's blocks never handed out
    std::byte* m_unusedEnd = nullptr;
    Chunk* m_firstChunk = nullptr;
    Chunk* m_lastChunk = nullptr;
    Chunk* m_currentChunk = nullptr;
    std::size_t m_live = 0;
};

// The base of a record class whose objects, made with new or std::make_unique and owned by
// std::unique_ptr as usual, come from a pool of that class's own.
template <typename Record>
class PooledRecord {
public:
    static void* operator new(std::size_t size) {
        // A class derived from the record would not fit the blocks.
        if (size != sizeof(Record)) {
            return ::operator new(size);
        }
        return Pool().Allocate();
    }
    static void operator delete(void* block, std::size_t size) noexcept {
        if (size != sizeof(Record)) {
            ::operator delete(block);
            return;
        }
        Pool().Free(block);
    }

private:
    static RecordPool& Pool() {
        static_assert(alignof(Record) <= alignof(std::max_align_t));
        constinit static RecordPool pool(sizeof(Record), alignof(Record));
        return pool;
    }
};

#pragma once

#include <algorithm>
#include <cstddef>
#include <limits>
#include <mutex>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/model/LargeBuffer.h"
#include "core/reports/WorkInParts.h"

// Large buffers (tables, texts) kept from one report for the next. Fresh memory of tens
// of megabytes costs about as much to be handed zeroed pages by the system as filling it
// does, and a person opens the same large reports again and again. The largest buffers
// are kept, at most `most` of them; each comes back with its room and whatever it held.
template <typename Buffer>
class KeptBuffers {
public:
    explicit KeptBuffers(std::size_t most) : m_most(most) {}

    // The largest buffer kept, for the work that is to hold the most; an empty one when
    // none is.
    Buffer Take() {
        const std::lock_guard lock(m_mutex);
        if (m_buffers.empty()) {
            return {};
        }
        const auto largest = std::max_element(m_buffers.begin(), m_buffers.end(), Smaller);
        Buffer buffer = std::move(*largest);
        m_buffers.erase(largest);
        return buffer;
    }

    void Give(Buffer&& buffer) noexcept {
        const std::lock_guard lock(m_mutex);
        if (buffer.capacity() == 0) {
            return;
        }
        if (m_buffers.size() >= m_most) {
            const auto smallest = std::min_element(m_buffers.begin(), m_buffers.end(), Smaller);
            if (smallest->capacity() < buffer.capacity()) {
                *smallest = std::move(buffer);
            }
            return;
        }
        // Keeping it only saves the next report work; without room it is let go.
        try {
            m_buffers.push_back(std::move(buffer));
        } catch (const std::bad_alloc&) {
        }
    }

private:
    static bool Smaller(const Buffer& a, const Buffer& b) { return a.capacity() < b.capacity(); }

    std::mutex m_mutex;
    const std::size_t m_most;
    std::vector<Buffer> m_buffers;
};

// A report's table of many entries, taken from the kept tables of its entry type and
// given back when done. As many of each type are kept as one report holds at once: one
// per core and one more (its lines, gathered in parts).
template <typename Entry>
class KeptTable {
public:
    KeptTable() : m_entries(Kept().Take()) { m_entries.clear(); }
    // A table of `size` entries for the caller to overwrite every one of. The entries a
    // kept table still holds are not made again: tens of megabytes written for nothing.
    explicit KeptTable(std::size_t size) : m_entries(Kept().Take()) {
        static_assert(std::is_trivially_copyable_v<Entry>);
        ReserveLargeTable(m_entries, size);
        m_entries.resize(size);
    }
    ~KeptTable() { Kept().Give(std::move(m_entries)); }
    KeptTable(const KeptTable&) = delete;
    KeptTable& operator=(const KeptTable&) = delete;

    std::vector<Entry>& operator*() { return m_entries; }
    const std::vector<Entry>& operator*() const { return m_entries; }
    std::vector<Entry>* operator->() { return &m_entries; }
    const std::vector<Entry>* operator->() const { return &m_entries; }

private:
    static KeptBuffers<std::vector<Entry>>& Kept() {
        static KeptBuffers<std::vector<Entry>> kept(
            std::max<std::size_t>(2, WorkParts(std::numeric_limits<std::size_t>::max()) + 1));
        return kept;
    }

    std::vector<Entry> m_entries;
};

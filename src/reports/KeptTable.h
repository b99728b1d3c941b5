#pragma once

#include <mutex>
#include <new>
#include <utility>
#include <vector>

// A report's table of many entries whose memory is kept for the next report. Fresh memory
// of tens of megabytes costs about as much to be handed zeroed pages by the system as
// filling it does, and a person opens the same large reports again and again. The table
// starts empty; at most two tables of each entry type are kept, each the size of the
// largest report's.
template <typename Entry>
class KeptTable {
public:
    KeptTable() : m_entries(Kept().Take()) {}
    ~KeptTable() { Kept().Give(std::move(m_entries)); }
    KeptTable(const KeptTable&) = delete;
    KeptTable& operator=(const KeptTable&) = delete;

    std::vector<Entry>& operator*() { return m_entries; }
    const std::vector<Entry>& operator*() const { return m_entries; }
    std::vector<Entry>* operator->() { return &m_entries; }
    const std::vector<Entry>* operator->() const { return &m_entries; }

private:
    class Store {
    public:
        std::vector<Entry> Take() {
            const std::lock_guard lock(m_mutex);
            if (m_tables.empty()) {
                return {};
            }
            std::vector<Entry> table = std::move(m_tables.back());
            m_tables.pop_back();
            table.clear();
            return table;
        }

        void Give(std::vector<Entry>&& table) noexcept {
            constexpr std::size_t kMostKept = 2;
            const std::lock_guard lock(m_mutex);
            if (m_tables.size() >= kMostKept || table.capacity() == 0) {
                return;
            }
            // Keeping it only saves the next report work; without room it is let go.
            try {
                m_tables.push_back(std::move(table));
            } catch (const std::bad_alloc&) {
            }
        }

    private:
        std::mutex m_mutex;
        std::vector<std::vector<Entry>> m_tables;
    };

    static Store& Kept() {
        static Store store;
        return store;
    }

    std::vector<Entry> m_entries;
};

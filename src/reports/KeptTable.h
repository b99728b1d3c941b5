#pragma once

#include <algorithm>
#include <mutex>
#include <new>
#include <utility>
#include <vector>

// A report's table of many entries whose memory is kept for the next report. Fresh memory
// of tens of megabytes costs about as much to be handed zeroed pages by the system as
// filling it does, and a person opens the same large reports again and again. The table
// starts empty; the two largest tables of each entry type are kept.
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
            // The largest, for the table that is to hold the most.
            const auto largest = std::max_element(
                m_tables.begin(), m_tables.end(),
                [](const auto& a, const auto& b) { return a.capacity() < b.capacity(); });
            std::vector<Entry> table = std::move(*largest);
            m_tables.erase(largest);
            table.clear();
            return table;
        }

        void Give(std::vector<Entry>&& table) noexcept {
            constexpr std::size_t kMostKept = 2;
            const std::lock_guard lock(m_mutex);
            if (table.capacity() == 0) {
                return;
            }
            // The largest tables are the ones worth keeping.
            if (m_tables.size() >= kMostKept) {
                const auto smallest = std::min_element(
                    m_tables.begin(), m_tables.end(),
                    [](const auto& a, const auto& b) { return a.capacity() < b.capacity(); });
                if (smallest->capacity() < table.capacity()) {
                    *smallest = std::move(table);
                }
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

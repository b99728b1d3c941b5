#include "core/reports/LabelStore.h"

#include <algorithm>
#include <cstring>

std::string_view LabelStore::Keep(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    if (text == m_last) {
        return m_last;
    }
    if (const auto found = m_kept.find(text); found != m_kept.end()) {
        m_last = *found;
        return m_last;
    }
    if (text.size() > m_left) {
        const std::size_t size = std::max(kBlockSize, text.size());
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(size));
        m_free = m_blocks.back().get();
        m_left = size;
    }
    std::memcpy(m_free, text.data(), text.size());
    m_last = std::string_view(m_free, text.size());
    m_free += text.size();
    m_left -= text.size();
    m_kept.insert(m_last);
    return m_last;
}

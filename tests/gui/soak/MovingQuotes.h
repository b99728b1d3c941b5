#pragma once

#include <algorithm>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "core/support/LoopbackHttpServer.h"

// Quote pages in the form the automatic update reads, whose prices move with every
// request; once frozen they repeat each symbol's last price. Prices are quarters, which a
// float holds exactly, so the price stored can be compared with the one served.
class MovingQuotes {
public:
    // Answers a request such as "/d?s=ABC+DEF&f=1lc"; called on the server's thread.
    CannedReply Answer(const std::string& target) {
        const std::lock_guard lock(m_mutex);
        ++m_requests;
        std::string page;
        for (const std::string& symbol : SymbolsOf(target)) {
            if (!m_frozen || m_lastServed.count(symbol) == 0) {
                m_lastServed[symbol] = NextPrice(symbol);
            }
            char line[96];
            std::snprintf(line, sizeof line, "%s <b>%.2f</b>, %.2f - 0.25\n", symbol.c_str(),
                          static_cast<double>(m_lastServed[symbol]),
                          static_cast<double>(m_lastServed[symbol]) + 0.25);
            page += line;
        }
        return CannedReply::Page(page);
    }

    void Freeze() {
        const std::lock_guard lock(m_mutex);
        m_frozen = true;
    }

    std::map<std::string, float> LastServed() const {
        const std::lock_guard lock(m_mutex);
        return m_lastServed;
    }

    int Requests() const {
        const std::lock_guard lock(m_mutex);
        return m_requests;
    }

private:
    static std::vector<std::string> SymbolsOf(const std::string& target) {
        std::vector<std::string> symbols;
        const std::size_t start = target.find("s=");
        if (start == std::string::npos) {
            return symbols;
        }
        const std::string list = target.substr(start + 2, target.find('&', start) - start - 2);
        std::size_t from = 0;
        while (from <= list.size()) {
            const std::size_t plus = std::min(list.find('+', from), list.size());
            if (plus > from) {
                symbols.push_back(list.substr(from, plus - from));
            }
            from = plus + 1;
        }
        return symbols;
    }

    // Between 5 and 105, different for each symbol and each request.
    float NextPrice(const std::string& symbol) const {
        unsigned spread = 0;
        for (const char c : symbol) {
            spread = spread * 31 + static_cast<unsigned char>(c);
        }
        return 5.0f +
               0.25f * static_cast<float>((spread + 7u * static_cast<unsigned>(m_requests)) % 400u);
    }

    mutable std::mutex m_mutex;
    int m_requests = 0;
    bool m_frozen = false;
    std::map<std::string, float> m_lastServed;
};

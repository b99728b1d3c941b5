#include "core/reports/DayTexts.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <map>
#include <mutex>
#include <utility>

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// Day numbers stay far from overflow: times within some thirty million years.
constexpr std::int64_t kDayKeyedTimes = std::int64_t{1} << 50;
// Zone offsets stay within a day and a half; the key keeps them in its low bits.
constexpr int kOffsetBits = 18;
constexpr long kOffsetBias = long{1} << (kOffsetBits - 1);
// A span of some 180 years: an array of a megabyte at most.
constexpr std::int64_t kMostDays = std::int64_t{1} << 16;

std::int64_t FloorDiv(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return quotient * divisor > value ? quotient - 1 : quotient;
}

std::optional<std::int64_t> DayKey(std::int64_t day, long offset) {
    if (offset <= -kOffsetBias || offset >= kOffsetBias) {
        return std::nullopt;
    }
    return day * (std::int64_t{1} << kOffsetBits) + (offset + kOffsetBias);
}

}  // namespace

std::optional<std::int64_t> LocalDayNumber(std::int64_t time, long offset) {
    if (time <= -kDayKeyedTimes || time >= kDayKeyedTimes || offset <= -kOffsetBias ||
        offset >= kOffsetBias) {
        return std::nullopt;
    }
    return FloorDiv(time + offset, kSecondsPerDay);
}

std::optional<DayTexts::Day> DayTexts::FindIn(const OffsetDays& days, std::int64_t time) const {
    const std::optional<std::int64_t> day = LocalDayNumber(time, days.offset);
    if (!day) {
        return std::nullopt;
    }
    const std::int64_t start = *day * kSecondsPerDay - days.offset;
    const std::int64_t index = *day - days.firstDay;
    if (index >= 0 && static_cast<std::uint64_t>(index) < days.texts.size() &&
        days.texts[static_cast<std::size_t>(index)].data() != nullptr) {
        return Day{days.texts[static_cast<std::size_t>(index)], start};
    }
    if (const std::optional<std::int64_t> key = DayKey(*day, days.offset)) {
        if (const std::string_view* found = m_farDays.Find(*key)) {
            return Day{*found, start};
        }
    }
    return std::nullopt;
}

std::optional<DayTexts::Day> DayTexts::Find(std::int64_t time, std::size_t& hint) const {
    if (hint < m_offsets.size()) {
        if (const auto found = FindIn(m_offsets[hint], time)) {
            return found;
        }
    }
    for (std::size_t i = 0; i < m_offsets.size(); ++i) {
        if (i == hint) {
            continue;
        }
        if (const auto found = FindIn(m_offsets[i], time)) {
            hint = i;
            return found;
        }
    }
    return std::nullopt;
}

bool DayTexts::KeepNear(OffsetDays& days, std::int64_t day, std::string_view text) {
    if (days.texts.empty()) {
        days.firstDay = day;
        days.texts.resize(1);
    }
    const auto size = static_cast<std::int64_t>(days.texts.size());
    const std::int64_t end = days.firstDay + size;
    if (day < days.firstDay) {
        if (end - day > kMostDays) {
            return false;
        }
        // Grow by at least the size held, so that days met in falling order cost no more
        // than days met in rising order.
        const std::int64_t first = std::max(std::min(day, days.firstDay - size), end - kMostDays);
        days.texts.insert(days.texts.begin(), static_cast<std::size_t>(days.firstDay - first),
                          std::string_view());
        days.firstDay = first;
    } else if (day >= end) {
        if (day - days.firstDay >= kMostDays) {
            return false;
        }
        days.texts.resize(static_cast<std::size_t>(
            std::min(std::max(day - days.firstDay + 1, 2 * size), kMostDays)));
    }
    days.texts[static_cast<std::size_t>(day - days.firstDay)] = text;
    return true;
}

std::string_view DayTexts::Add(long offset, std::int64_t day, std::string_view text) {
    const std::optional<std::int64_t> key = DayKey(day, offset);
    const std::string_view kept = m_texts.Keep(text);
    // An empty text has no copy to tell it from a day not recorded.
    if (!key || kept.data() == nullptr) {
        return kept;
    }
    auto days = std::find_if(m_offsets.begin(), m_offsets.end(),
                             [offset](const OffsetDays& met) { return met.offset == offset; });
    if (days == m_offsets.end()) {
        days = m_offsets.insert(m_offsets.end(), OffsetDays{offset, 0, {}});
    }
    if (!KeepNear(*days, day, kept)) {
        m_farDays.Insert(*key, kept);
    }
    ++m_count;
    return kept;
}

void DayTexts::AddNearDaysOf(const DayTexts& other) {
    for (const OffsetDays& days : other.m_offsets) {
        for (std::size_t i = 0; i < days.texts.size(); ++i) {
            if (days.texts[i].data() != nullptr) {
                Add(days.offset, days.firstDay + static_cast<std::int64_t>(i), days.texts[i]);
            }
        }
    }
}

namespace {

// The shared days by pattern and zone. A process meets few of either; a test suite that
// goes through many zones empties the store now and then rather than let it grow.
class DayTextStore {
public:
    std::shared_ptr<const DayTexts> Days(const std::string& key) {
        const std::lock_guard lock(m_mutex);
        const auto found = m_days.find(key);
        return found != m_days.end() ? found->second : Empty();
    }

    void Share(const std::string& key, const DayTexts& learned) {
        const std::lock_guard lock(m_mutex);
        constexpr std::size_t kMostKeys = 16;
        auto found = m_days.find(key);
        if (found == m_days.end()) {
            if (m_days.size() >= kMostKeys) {
                m_days.clear();
            }
            found = m_days.emplace(key, Empty()).first;
        }
        // The published days never change: reports that hold them read without a lock.
        auto merged = std::make_shared<DayTexts>();
        merged->AddNearDaysOf(*found->second);
        merged->AddNearDaysOf(learned);
        found->second = std::move(merged);
    }

private:
    static std::shared_ptr<const DayTexts> Empty() {
        static const auto empty = std::make_shared<const DayTexts>();
        return empty;
    }

    std::mutex m_mutex;
    std::map<std::string, std::shared_ptr<const DayTexts>> m_days;
};

DayTextStore& Store() {
    static DayTextStore store;
    return store;
}

// The pattern and the zone the C library converts in. tzset() first, so that a zone set
// in the environment since the last conversion is the one both the key and the
// conversions use.
std::string KeyOf(const char* pattern) {
    ::tzset();
    std::string key(pattern);
    key += '\0';
    if (const char* zone = std::getenv("TZ")) {
        key += '=';
        key += zone;
    }
    return key;
}

}  // namespace

SharedDayTexts::SharedDayTexts(const char* pattern)
    : m_key(KeyOf(pattern)), m_days(Store().Days(m_key)) {}

void SharedDayTexts::Share(const DayTexts& learned) const {
    if (!learned.Empty()) {
        Store().Share(m_key, learned);
    }
}

#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/reports/IntKeyTable.h"
#include "core/reports/LabelStore.h"

// The local day number of `time` under zone offset `offset` (seconds east of UTC), for
// times within some thirty million years; none beyond.
std::optional<std::int64_t> LocalDayNumber(std::int64_t time, long offset);

// The texts of whole local days in one date pattern: every time of a day whose zone offset
// holds from its first second to its last shows the same text.
class DayTexts {
public:
    // A recorded day: its text, and its first second, from which every time of the next
    // 86400 seconds shows that text.
    struct Day {
        std::string_view text;
        std::int64_t start = 0;
    };
    // The day around `time`, if recorded. `hint` names the zone offset to try first (times
    // come in runs of one season) and is set to the one that served.
    std::optional<Day> Find(std::int64_t time, std::size_t& hint) const;
    // Records a copy of `text` for local day number `day` under zone offset `offset`
    // (seconds east of UTC); returns the copy.
    std::string_view Add(long offset, std::int64_t day, std::string_view text);
    // Records the days of `other` that lie in its arrays (the days near the others).
    void AddNearDaysOf(const DayTexts& other);
    bool Empty() const { return m_count == 0; }

private:
    // The days of one zone offset. The days of a report mostly lie within a few decades,
    // and an array by day number stays in the processor's caches where a hash table of
    // the same days does not; days far from those go to m_farDays.
    struct OffsetDays {
        long offset = 0;
        std::int64_t firstDay = 0;            // the day number of texts[0]
        std::vector<std::string_view> texts;  // an empty view for a day not recorded
    };
    // Records the text of `day` in the offset's array, unless it lies too far from the
    // days there.
    static bool KeepNear(OffsetDays& days, std::int64_t day, std::string_view text);
    std::optional<Day> FindIn(const OffsetDays& days, std::int64_t time) const;

    std::vector<OffsetDays> m_offsets;  // the offsets met, usually standard and summer time
    // By local day number and the offset that holds through the day.
    IntKeyTable<std::string_view> m_farDays;
    LabelStore m_texts;
    std::size_t m_count = 0;
};

// The days converted so far in one pattern under the zone in force when this was made,
// shared by every report of the process: a portfolio's reports show the same few thousand
// days again and again, and a day costs three local time conversions.
class SharedDayTexts {
public:
    explicit SharedDayTexts(const char* pattern);

    // The days shared when this was made; they do not change while it is kept.
    const DayTexts& Days() const { return *m_days; }
    // Adds the days a report converted for the next reports in the same pattern and zone.
    void Share(const DayTexts& learned) const;

private:
    std::string m_key;  // the pattern and the zone
    std::shared_ptr<const DayTexts> m_days;
};

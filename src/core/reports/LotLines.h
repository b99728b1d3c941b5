#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/model/LargeBuffer.h"
#include "core/reports/GroupRows.h"
#include "core/reports/KeptTable.h"
#include "core/reports/ReportRow.h"
#include "core/reports/WorkInParts.h"

class CPurchase;

// A report's lines gathered from every lot in document order, the lines of one sale's
// lots merged into the line of its first lot, which keeps its place. A lifetime
// portfolio's hundreds of thousands of sales are walked on every core.
//
// `Line` has `std::int32_t saleNumber`, the sale whose lines merge (ReportRow::kPurchaseKey
// for a line that merges with none), and `std::uint32_t labels`, the number of its label.
// `Labels` numbers the labels of the lots one walk meets; `List()` gives them by number.
template <typename Line, typename Labels>
class LotLines {
public:
    using Label =
        typename std::remove_cvref_t<decltype(std::declval<const Labels&>().List())>::value_type;

    explicit LotLines(bool mergeSales) : m_mergeSales(mergeSales) {}

    // `collect(lots, labels, add)` calls add(line) for the lines of `lots` in document
    // order, numbering their labels with `labels`. Each part of the lots goes into a table
    // of its own (the first into the lines themselves); the parts' lines are then added in
    // document order, a sale's later lines merged into its first by `merge(first, later)`,
    // so that every merged line sums its lots in the same order as one walk would.
    // `expectedLines`, when known, is about how many lines the walk gives.
    template <typename CollectPart, typename MergeLine>
    void Collect(std::span<const std::unique_ptr<CPurchase>> lots,
                 std::optional<std::size_t> expectedLines, const CollectPart& collect,
                 const MergeLine& merge) {
        const std::size_t parts = WorkParts(lots.size() / kLeastPartLots);
        std::deque<KeptTable<Line>> partLines(parts - 1);
        if (expectedLines) {
            ReserveLargeTable(*m_lines, *expectedLines);
            m_saleLines.Expect(*expectedLines);
            for (KeptTable<Line>& table : partLines) {
                ReserveLargeTable(*table, *expectedLines / parts + *expectedLines / (4 * parts));
            }
        }
        const auto tableOf = [&](std::size_t part) -> std::vector<Line>& {
            return part == 0 ? *m_lines : *partLines[part - 1];
        };
        std::deque<Labels> partLabels(parts);
        RunInParts(parts, [&](std::size_t part) {
            std::vector<Line>& lines = tableOf(part);
            const PartItems items = ItemsOfPart(lots.size(), part, parts);
            collect(lots.subspan(items.first, items.last - items.first), partLabels[part],
                    [&lines](const Line& line) { lines.push_back(line); });
        });

        // The first part's lines are merged where they stand, each kept line moving down
        // over the merged ones; the other parts' follow them.
        std::size_t kept = 0;
        for (std::size_t part = 0; part < parts; ++part) {
            const auto labelsBase = static_cast<std::uint32_t>(m_labels.size());
            const auto& labels = partLabels[part].List();
            m_labels.insert(m_labels.end(), labels.begin(), labels.end());
            const std::vector<Line>& lines = tableOf(part);
            if (part == 0 && !m_mergeSales) {
                // Already in place, numbered from the first label.
                kept = lines.size();
                continue;
            }
            for (std::size_t i = 0; i < lines.size(); ++i) {
                // The sale numbers jump about: ask for their rows well before they are read.
                if (m_mergeSales && i + kLookAhead < lines.size()) {
                    m_saleLines.Prefetch(lines[i + kLookAhead].saleNumber);
                }
                Line line = lines[i];
                line.labels += labelsBase;
                kept = Add(line, kept, merge);
            }
        }
        m_lines->resize(kept);
        m_partLabels = std::move(partLabels);
    }

    std::vector<Line>& Lines() { return *m_lines; }
    const std::vector<Line>& Lines() const { return *m_lines; }
    const Label& LabelOf(const Line& line) const { return m_labels[line.labels]; }

private:
    static constexpr std::size_t kLookAhead = 16;

    // Adds `line` after the `kept` lines so far, into a line already added or in the next
    // place; returns how many lines are kept now.
    template <typename MergeLine>
    std::size_t Add(const Line& line, std::size_t kept, const MergeLine& merge) {
        std::vector<Line>& lines = *m_lines;
        if (m_mergeSales && line.saleNumber != ReportRow::kPurchaseKey) {
            if (const std::optional<std::size_t> found = m_saleLines.Find(line.saleNumber)) {
                merge(lines[*found], line);
                return kept;
            }
            m_saleLines.Insert(line.saleNumber, kept);
        }
        if (kept < lines.size()) {
            lines[kept] = line;
        } else {
            lines.push_back(line);
        }
        return kept + 1;
    }

    bool m_mergeSales;
    KeptTable<Line> m_lines;
    GroupRows m_saleLines;
    std::vector<Label> m_labels;      // every part's, each part's after the one before
    std::deque<Labels> m_partLabels;  // hold what the labels refer to
};

#include "core/model/UndoHistory.h"

#include <algorithm>

namespace {

const std::string kNoLabel;

}  // namespace

bool UndoHistory::Begin(std::string label, bool joinsRun) {
    if (m_depth++ > 0) {
        return false;
    }
    m_open = Step{std::move(label), joinsRun, {}, {}};
    m_touched.clear();
    return true;
}

void UndoHistory::Add(std::unique_ptr<StateSwap> swap) {
    m_open.swaps.push_back(std::move(swap));
}

void UndoHistory::End() {
    if (--m_depth > 0) {
        return;
    }
    m_touched.clear();
    Step step = std::move(m_open);
    m_open = Step{};
    if (!step.changes.ChangesRecords()) {
        // Nothing was changed (a sale of no shares, a lot-by-lot sale cancelled), so the
        // values it kept are the present ones: dropping them loses nothing.
        return;
    }
    std::erase_if(step.swaps, [](const auto& swap) { return swap->ChangesNothing(); });
    if (JoinLast(step)) {
        return;
    }
    m_steps.erase(m_steps.begin() + static_cast<std::ptrdiff_t>(m_done), m_steps.end());
    if (m_clean && *m_clean > m_done) {
        m_clean.reset();
    }
    m_steps.push_back(std::move(step));
    ++m_done;
    if (m_steps.size() > kMostSteps) {
        m_steps.erase(m_steps.begin());
        --m_done;
        if (m_clean) {
            m_clean = *m_clean > 0 ? std::optional<std::size_t>(*m_clean - 1) : std::nullopt;
        }
    }
}

bool UndoHistory::JoinLast(Step& step) {
    // Not over the saved state, which undo must still reach, nor under steps to redo.
    if (!step.joinsRun || m_done == 0 || m_done != m_steps.size() || m_clean == m_done ||
        step.swaps.empty()) {
        return false;
    }
    Step& last = m_steps[m_done - 1];
    const auto named = [](const auto& swap) { return !swap->Part().empty(); };
    if (!last.joinsRun || last.label != step.label ||
        !std::all_of(step.swaps.begin(), step.swaps.end(), named) ||
        !std::all_of(last.swaps.begin(), last.swaps.end(), named)) {
        return false;
    }
    // A part the last step holds already is held as it was before the run; undo puts it
    // back to that and redo to whatever it is when undone.
    for (auto& swap : step.swaps) {
        const bool held = std::any_of(last.swaps.begin(), last.swaps.end(), [&](const auto& each) {
            return each->Part() == swap->Part();
        });
        if (!held) {
            last.swaps.push_back(std::move(swap));
        }
    }
    last.changes.MergeDistinct(step.changes);
    return true;
}

const std::string& UndoHistory::UndoLabel() const {
    return CanUndo() ? m_steps[m_done - 1].label : kNoLabel;
}

const std::string& UndoHistory::RedoLabel() const {
    return CanRedo() ? m_steps[m_done].label : kNoLabel;
}

std::optional<ChangeSet> UndoHistory::Undo() {
    if (Recording() || !CanUndo()) {
        return std::nullopt;
    }
    Step& step = m_steps[--m_done];
    for (auto swap = step.swaps.rbegin(); swap != step.swaps.rend(); ++swap) {
        (*swap)->Apply();
    }
    return step.changes;
}

std::optional<ChangeSet> UndoHistory::Redo() {
    if (Recording() || !CanRedo()) {
        return std::nullopt;
    }
    Step& step = m_steps[m_done++];
    for (const auto& swap : step.swaps) {
        swap->Apply();
    }
    return step.changes;
}

std::vector<std::string> UndoHistory::Labels() const {
    std::vector<std::string> labels;
    labels.reserve(m_steps.size());
    for (const Step& step : m_steps) {
        labels.push_back(step.label);
    }
    return labels;
}

void UndoHistory::Clear(bool clean) {
    m_steps.clear();
    m_done = 0;
    m_clean = clean ? std::optional<std::size_t>(0) : std::nullopt;
}

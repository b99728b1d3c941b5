#pragma once

#include <concepts>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/model/DocumentChange.h"

// One reversible part of an undo step. Apply exchanges the portfolio's present state of
// that part with the state the object holds, so the same object undoes and, applied
// again, redoes. A step's parts are applied last first to undo and first first to redo,
// which passes through the same states both ways.
class StateSwap {
public:
    virtual ~StateSwap() = default;
    virtual void Apply() = 0;
    // Holds the same as the portfolio: the step needs no place for it.
    virtual bool ChangesNothing() const { return false; }
    // A name for the part of the portfolio it holds, where steps of the same kind may
    // share one object per part (the prices of one symbol); empty for any other.
    virtual std::string_view Part() const { return {}; }
};

// A value that stays where it is (a record owned through a pointer, a counter, a text).
template <typename Value>
class ValueSwap final : public StateSwap {
public:
    ValueSwap(Value& target, Value saved) : m_target(target), m_saved(std::move(saved)) {}
    void Apply() override { std::swap(m_target, m_saved); }
    bool ChangesNothing() const override {
        if constexpr (std::equality_comparable<Value>) {
            return m_target == m_saved;
        }
        return false;
    }

private:
    Value& m_target;
    Value m_saved;
};

// An element of a list added or removed at `index`: while it is in the list the object
// holds nothing, and while it is out the object holds it (the same record, so pointers to
// it stay good).
template <typename List>
class ListEdit final : public StateSwap {
public:
    ListEdit(List& list, std::size_t index) : m_list(list), m_index(index) {}
    void Apply() override {
        if (m_held) {
            m_list.insert(m_list.begin() + static_cast<std::ptrdiff_t>(m_index),
                          std::move(*m_held));
            m_held.reset();
            return;
        }
        m_held = std::move(m_list[m_index]);
        m_list.erase(m_list.begin() + static_cast<std::ptrdiff_t>(m_index));
    }

private:
    List& m_list;
    std::size_t m_index;
    std::optional<typename List::value_type> m_held;
};

// An element of a list held by value, found again by its place.
template <typename List>
class ElementSwap final : public StateSwap {
public:
    ElementSwap(List& list, std::size_t index)
        : m_list(list), m_index(index), m_saved(list[index]) {}
    void Apply() override { std::swap(m_list[m_index], m_saved); }

private:
    List& m_list;
    std::size_t m_index;
    typename List::value_type m_saved;
};

// The undo and redo steps of one portfolio. A step gathers the parts an operation changed
// before it changes them, so it holds what the operation touched, not the portfolio.
class UndoHistory {
public:
    // Steps kept; the oldest goes first.
    static constexpr std::size_t kMostSteps = 500;

    // Opens a step, or joins the one open; true when this opened it. See End for
    // `joinsRun`.
    bool Begin(std::string label, bool joinsRun = false);
    bool Recording() const { return m_depth > 0; }
    // True the first time `record` is named in the open step: its state then is the one to
    // keep.
    bool FirstTouch(const void* record) { return m_touched.insert(record).second; }
    void Add(std::unique_ptr<StateSwap> swap);
    void NoteChanges(const ChangeSet& changes) { m_open.changes.Merge(changes); }
    // Closes the step when this is the outermost end. A step that changed nothing is
    // dropped; one that did becomes the step to undo, and the steps to redo are gone. A
    // step made only of named parts joins the step before it when that has the same
    // label and was opened with `joinsRun` too, so a run of price updates is one step
    // holding each symbol's prices once.
    void End();

    bool CanUndo() const { return m_done > 0; }
    bool CanRedo() const { return m_done < m_steps.size(); }
    const std::string& UndoLabel() const;
    const std::string& RedoLabel() const;
    // Each applies one step and gives what it changed; nothing while a step is open.
    std::optional<ChangeSet> Undo();
    std::optional<ChangeSet> Redo();

    // Every step's label, oldest first, and how many of them are done.
    std::vector<std::string> Labels() const;
    std::size_t DoneCount() const { return m_done; }

    // The portfolio as it is now is the saved one.
    void MarkClean() { m_clean = m_done; }
    // The portfolio changed in a way the history cannot put back: no state it reaches is
    // the saved one any more.
    void MarkNeverClean() { m_clean.reset(); }
    bool AtClean() const { return m_clean == m_done; }
    // Forgets every step; the portfolio as it is now counts as saved or not by `clean`.
    void Clear(bool clean);

private:
    struct Step;
    // Joins `step` to the last one done when it may; true when it did.
    bool JoinLast(Step& step);

    struct Step {
        std::string label;
        bool joinsRun = false;
        std::vector<std::unique_ptr<StateSwap>> swaps;
        ChangeSet changes;
    };

    std::vector<Step> m_steps;
    std::size_t m_done = 0;
    std::optional<std::size_t> m_clean = 0;
    Step m_open;
    int m_depth = 0;
    std::unordered_set<const void*> m_touched;
};

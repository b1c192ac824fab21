// The operator's gestures, to take back and to make again. Only gestures are
// kept: a change the switcher made by itself is never a step.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>

#include "Gesture.h"

class UndoHistory {
public:
    static constexpr std::size_t DefaultCapacity = 200;

    explicit UndoHistory(std::size_t capacity = DefaultCapacity) : m_capacity(capacity) {}

    // A new gesture drops whatever could have been redone, and the oldest
    // step once the history is full.
    void record(Gesture gesture);
    void clear();

    bool canUndo() const { return m_next > 0; }
    bool canRedo() const { return m_next < m_steps.size(); }
    // The step an undo or a redo would take, without taking it.
    const Gesture* nextUndo() const;
    const Gesture* nextRedo() const;
    // Takes the step: the gesture to send back (its "before" gains) or
    // again (its "after" gains).
    std::optional<Gesture> undo();
    std::optional<Gesture> redo();

    std::size_t size() const { return m_steps.size(); }

private:
    std::size_t m_capacity;
    std::deque<Gesture> m_steps;
    std::size_t m_next = 0;  // steps before this one can be undone
};

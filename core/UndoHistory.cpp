#include "UndoHistory.h"

#include <utility>

void UndoHistory::record(Gesture gesture) {
    if (gesture.changes.empty() || m_capacity == 0) return;
    m_steps.erase(m_steps.begin() + static_cast<std::ptrdiff_t>(m_next), m_steps.end());
    m_steps.push_back(std::move(gesture));
    if (m_steps.size() > m_capacity) m_steps.pop_front();
    m_next = m_steps.size();
}

void UndoHistory::clear() {
    m_steps.clear();
    m_next = 0;
}

const Gesture* UndoHistory::nextUndo() const { return canUndo() ? &m_steps[m_next - 1] : nullptr; }

const Gesture* UndoHistory::nextRedo() const { return canRedo() ? &m_steps[m_next] : nullptr; }

std::optional<Gesture> UndoHistory::undo() {
    if (!canUndo()) return std::nullopt;
    return m_steps[--m_next];
}

std::optional<Gesture> UndoHistory::redo() {
    if (!canRedo()) return std::nullopt;
    return m_steps[m_next++];
}

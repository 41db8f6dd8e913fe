#pragma once

#include <functional>
#include <vector>

/// Undo and redo as two stacks of actions. An action registered while undoing goes on the redo
/// stack (it redoes what was undone); one registered while redoing, or by a new change, goes on
/// the undo stack, and a new change empties the redo stack.
class NSUndoManager {
  public:
    void registerUndo(std::function<void()> action);
    bool canUndo() const { return !undoStack_.empty(); }
    bool canRedo() const { return !redoStack_.empty(); }
    /// Each does nothing when there is nothing to undo (redo).
    void undo();
    void redo();
    bool isUndoing() const { return state_ == State::undoing; }
    bool isRedoing() const { return state_ == State::redoing; }
    void removeAllActions();

  private:
    enum class State { idle, undoing, redoing };
    void run(std::vector<std::function<void()>>& stack, State state);

    std::vector<std::function<void()>> undoStack_;
    std::vector<std::function<void()>> redoStack_;
    State state_ = State::idle;
};

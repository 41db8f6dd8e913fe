#include "Platform/AppKit/NSUndoManager.h"

void NSUndoManager::registerUndo(std::function<void()> action) {
    switch (state_) {
        case State::undoing:
            redoStack_.push_back(std::move(action));
            break;
        case State::redoing:
            undoStack_.push_back(std::move(action));
            break;
        case State::idle:
            undoStack_.push_back(std::move(action));
            redoStack_.clear();
            break;
    }
}

void NSUndoManager::undo() {
    run(undoStack_, State::undoing);
}

void NSUndoManager::redo() {
    run(redoStack_, State::redoing);
}

void NSUndoManager::run(std::vector<std::function<void()>>& stack, State state) {
    if (stack.empty() || state_ != State::idle) return;
    auto action = std::move(stack.back());
    stack.pop_back();
    state_ = state;
    action();
    state_ = State::idle;
}

void NSUndoManager::removeAllActions() {
    undoStack_.clear();
    redoStack_.clear();
}

#pragma once

#include <functional>
#include <memory>

/// A block of work that can be cancelled before it runs. Copies share one item, so the copy
/// handed to a queue and the copy kept for cancelling are the same work.
class DispatchWorkItem {
  public:
    explicit DispatchWorkItem(std::function<void()> block);

    /// Runs the block on the calling thread unless the item was cancelled.
    void perform() const;
    /// The item will not run when its time comes; a running block is not interrupted.
    void cancel() const;
    bool isCancelled() const;

  private:
    struct State;
    std::shared_ptr<State> state_;
};

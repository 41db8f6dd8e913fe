#include "Base/Foundation/DispatchWorkItem.h"

#include <atomic>

struct DispatchWorkItem::State {
    std::function<void()> block;
    std::atomic<bool> cancelled{false};
};

DispatchWorkItem::DispatchWorkItem(std::function<void()> block)
    : state_(std::make_shared<State>()) {
    state_->block = std::move(block);
}

void DispatchWorkItem::perform() const {
    if (!isCancelled() && state_->block) state_->block();
}

void DispatchWorkItem::cancel() const {
    state_->cancelled.store(true, std::memory_order_release);
}

bool DispatchWorkItem::isCancelled() const {
    return state_->cancelled.load(std::memory_order_acquire);
}

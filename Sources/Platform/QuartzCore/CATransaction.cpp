#include "Platform/QuartzCore/CATransaction.h"

#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "Base/Foundation/DispatchQueue.h"

namespace {

/// The animations a transaction waits for: its completion block runs once it is committed and
/// none is running. A nested transaction counts as one running animation of its parent.
struct Completion {
    int running = 0;
    bool committed = false;
    std::function<void()> block;
    std::function<void()> parentDone;

    void finishOne() {
        if (running > 0) --running;
        fireIfDone();
    }
    void fireIfDone() {
        if (!committed || running > 0) return;
        if (block) DispatchQueue::main().async(std::move(block));
        block = {};
        if (parentDone) std::exchange(parentDone, {})();
    }
};

struct Frame {
    bool disableActions = false;
    double duration = CATransaction::defaultAnimationDuration;
    CAMediaTimingFunctionRef timing;
    std::shared_ptr<Completion> completion = std::make_shared<Completion>();
};

struct Transactions {
    std::vector<Frame> open;
    /// The implicit transaction of this turn of the main loop.
    Frame implicit;
    bool implicitEndScheduled = false;
};

thread_local Transactions transactions;

Frame& current() {
    return transactions.open.empty() ? transactions.implicit : transactions.open.back();
}

/// A change of the implicit transaction lasts until the end of this turn of the main loop.
Frame& changing() {
    if (transactions.open.empty() && !transactions.implicitEndScheduled) {
        transactions.implicitEndScheduled = true;
        DispatchQueue::main().async([] {
            transactions.implicit = Frame{};
            transactions.implicitEndScheduled = false;
        });
    }
    return current();
}

std::function<void()> onceFinished(const std::shared_ptr<Completion>& completion) {
    ++completion->running;
    auto done = std::make_shared<bool>(false);
    return [completion, done] {
        if (std::exchange(*done, true)) return;
        completion->finishOne();
    };
}

}  // namespace

void CATransaction::begin() {
    Frame frame;
    if (!transactions.open.empty()) {
        const Frame& parent = transactions.open.back();
        frame.disableActions = parent.disableActions;
        frame.duration = parent.duration;
        frame.timing = parent.timing;
        frame.completion->parentDone = onceFinished(parent.completion);
    }
    transactions.open.push_back(std::move(frame));
}

void CATransaction::commit() {
    if (transactions.open.empty()) return;
    const std::shared_ptr<Completion> completion = transactions.open.back().completion;
    transactions.open.pop_back();
    completion->committed = true;
    completion->fireIfDone();
}

bool CATransaction::disableActions() {
    return current().disableActions;
}

void CATransaction::setDisableActions(bool disable) {
    changing().disableActions = disable;
}

double CATransaction::animationDuration() {
    return current().duration;
}

void CATransaction::setAnimationDuration(double duration) {
    if (std::isfinite(duration) && duration >= 0) changing().duration = duration;
}

CAMediaTimingFunctionRef CATransaction::animationTimingFunction() {
    return current().timing;
}

void CATransaction::setAnimationTimingFunction(CAMediaTimingFunctionRef function) {
    changing().timing = std::move(function);
}

void CATransaction::setCompletionBlock(std::function<void()> block) {
    if (transactions.open.empty()) return;
    transactions.open.back().completion->block = std::move(block);
}

std::function<void()> CATransaction::registerAnimation() {
    if (transactions.open.empty()) return [] {};
    return onceFinished(transactions.open.back().completion);
}

#include "Base/Foundation/DispatchSource.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include "Base/Foundation/Mutex.h"
#include "Base/Foundation/MutexLock.h"
#include "Base/Foundation/SignalDelivery.h"

struct DispatchSourceSignal::State {
    State(int s, DispatchQueue q) : signal(s), queue(std::move(q)) {}
    ~State();

    const int signal;
    const DispatchQueue queue;
    Mutex mutex;
    std::function<void()> handler GUARDED_BY(mutex);
    std::atomic<bool> resumed{false};
    std::atomic<bool> cancelled{false};
    std::atomic<unsigned long> pending{0};
    std::atomic<unsigned long> data{0};

    void stopListening();
    void fire();
};

namespace {

struct Registry {
    Mutex mutex;
    std::vector<std::weak_ptr<DispatchSourceSignal::State>> listening GUARDED_BY(mutex);
};

Registry& registry() {
    static Registry* shared = new Registry();  // used by signal delivery until the end
    return *shared;
}

}  // namespace

DispatchSourceSignal::State::~State() {
    stopListening();
}

void DispatchSourceSignal::State::stopListening() {
    if (!resumed.exchange(false)) return;
    {
        auto& shared = registry();
        MutexLock lock(shared.mutex);
        std::erase_if(shared.listening, [this](const auto& weak) {
            const auto state = weak.lock();
            return !state || state.get() == this;
        });
    }
    SignalDelivery::release(signal);
}

void DispatchSourceSignal::State::fire() {
    if (cancelled.load()) return;
    data.store(pending.exchange(0));
    std::function<void()> current;
    {
        MutexLock lock(mutex);
        current = handler;
    }
    if (current) current();
}

DispatchSourceSignal DispatchSource::makeSignalSource(int signal, DispatchQueue queue) {
    return DispatchSourceSignal(
        std::make_shared<DispatchSourceSignal::State>(signal, std::move(queue)));
}

void DispatchSource::deliver(int signal, unsigned long count) {
    std::vector<std::shared_ptr<DispatchSourceSignal::State>> targets;
    {
        auto& shared = registry();
        MutexLock lock(shared.mutex);
        for (const auto& weak : shared.listening) {
            if (auto state = weak.lock(); state && state->signal == signal) {
                targets.push_back(std::move(state));
            }
        }
    }
    for (const auto& state : targets) {
        // A handler already on its way takes the new arrivals with it.
        if (state->pending.fetch_add(count) != 0) continue;
        state->queue.async([weak = std::weak_ptr(state)] {
            if (const auto alive = weak.lock()) alive->fire();
        });
    }
}

void DispatchSourceSignal::setEventHandler(std::function<void()> handler) const {
    MutexLock lock(state_->mutex);
    state_->handler = std::move(handler);
}

void DispatchSourceSignal::resume() const {
    if (state_->cancelled.load() || state_->resumed.exchange(true)) return;
    {
        auto& shared = registry();
        MutexLock lock(shared.mutex);
        shared.listening.push_back(state_);
    }
    SignalDelivery::retain(state_->signal);
}

void DispatchSourceSignal::cancel() const {
    state_->cancelled.store(true);
    state_->stopListening();
}

bool DispatchSourceSignal::isCancelled() const {
    return state_->cancelled.load();
}

int DispatchSourceSignal::signal() const {
    return state_->signal;
}

unsigned long DispatchSourceSignal::data() const {
    return state_->data.load();
}

#include "Base/Foundation/DispatchQueue.h"

#include <cstdio>
#include <cstdlib>
#include <thread>

#include "Base/Foundation/ConditionVariable.h"
#include "Base/Foundation/MainLoop.h"
#include "Base/Foundation/ManualClock.h"
#include "Base/Foundation/Mutex.h"
#include "Base/Foundation/MutexLock.h"
#include "Base/Foundation/NSThread.h"
#include "Base/Foundation/QueueContext.h"
#include "Base/Foundation/SerialExecutor.h"

struct DispatchQueue::Handle {
    std::string label;
    std::shared_ptr<SerialExecutor> executor;  // none for the main queue

    ~Handle() {
        if (executor) executor->release();
    }
};

namespace {

[[noreturn]] void refuseDeadlock(const std::string& label) {
    std::fprintf(stderr, "DispatchQueue: sync onto \"%s\" from its own thread would never return\n",
                 label.c_str());
    std::abort();
}

// A one-shot flag that the queue raises when the waited-for work has run.
struct Completion {
    Mutex mutex;
    ConditionVariable changed;
    bool done GUARDED_BY(mutex) = false;

    void signal() {
        {
            MutexLock lock(mutex);
            done = true;
        }
        changed.notifyAll();
    }
    bool isDone() {
        MutexLock lock(mutex);
        return done;
    }
    void wait() {
        MutexLock lock(mutex);
        changed.wait(mutex, [&]() REQUIRES(mutex) { return done; });
    }
};

}  // namespace

DispatchQueue::DispatchQueue() : handle_(std::make_shared<Handle>()) {
    handle_->label = "com.apple.main-thread";
}

DispatchQueue::DispatchQueue(std::string label, DispatchQoS) : handle_(std::make_shared<Handle>()) {
    handle_->executor = std::make_shared<SerialExecutor>(label);
    handle_->label = std::move(label);
}

DispatchQueue& DispatchQueue::main() {
    static DispatchQueue* queue = new DispatchQueue();  // lives as long as the process
    return *queue;
}

const std::string& DispatchQueue::label() const {
    return handle_->label;
}

const void* DispatchQueue::tag() const {
    if (handle_->executor) return handle_->executor.get();
    return &MainLoop::shared();
}

bool DispatchQueue::isCurrent() const {
    return QueueContext::current() == tag();
}

void DispatchQueue::post(DispatchTime deadline, DispatchWorkItem item) const {
    if (ManualClock* clock = ManualClock::active()) {
        clock->post(tag(), deadline, std::move(item));
    } else if (handle_->executor) {
        handle_->executor->post(deadline, std::move(item));
    } else {
        MainLoop::shared().post(deadline, std::move(item));
    }
}

void DispatchQueue::async(std::function<void()> work) const {
    async(DispatchWorkItem(std::move(work)));
}

void DispatchQueue::async(DispatchWorkItem item) const {
    post(DispatchTime::now(), std::move(item));
}

void DispatchQueue::asyncAfter(DispatchTime deadline, std::function<void()> work) const {
    asyncAfter(deadline, DispatchWorkItem(std::move(work)));
}

void DispatchQueue::asyncAfter(DispatchTime deadline, DispatchWorkItem item) const {
    post(deadline, std::move(item));
}

void DispatchQueue::sync(const std::function<void()>& work) const {
    const bool onMainThread = NSThread::isMainThread();
    if (isCurrent() || (!handle_->executor && onMainThread)) refuseDeadlock(label());
    auto completion = std::make_shared<Completion>();
    async([&work, completion] {
        work();
        completion->signal();
    });
    ManualClock* clock = ManualClock::active();
    if (clock && std::this_thread::get_id() == clock->driverThread()) {
        // Nobody else runs queues on a manual clock: run this one's due work here.
        clock->runQueueUntil(tag(), [&] { return completion->isDone(); });
    }
    completion->wait();
}

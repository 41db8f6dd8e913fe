#include "Base/Foundation/CFRunLoop.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <vector>

#include "Base/Foundation/ConditionVariable.h"
#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/MainLoop.h"
#include "Base/Foundation/ManualClock.h"
#include "Base/Foundation/Mutex.h"
#include "Base/Foundation/MutexLock.h"
#include "Base/Foundation/NSThread.h"

class CFRunLoopSource {
  public:
    explicit CFRunLoopSource(std::function<void()> perform) : perform_(std::move(perform)) {}

    std::function<void()> perform_;
    std::atomic<bool> signalled_{false};
    std::atomic<bool> valid_{true};
    Mutex mutex_;
    std::vector<std::weak_ptr<CFRunLoop>> loops_ GUARDED_BY(mutex_);

    std::vector<CFRunLoopRef> loops() {
        MutexLock lock(mutex_);
        std::vector<CFRunLoopRef> alive;
        for (const auto& weak : loops_) {
            if (auto loop = weak.lock()) alive.push_back(std::move(loop));
        }
        return alive;
    }
};

class CFRunLoop {
  public:
    explicit CFRunLoop(bool isMain) : isMain_(isMain) {}

    const bool isMain_;
    Mutex mutex_;
    ConditionVariable changed_;
    std::deque<std::function<void()>> blocks_ GUARDED_BY(mutex_);
    std::vector<CFRunLoopSourceRef> sources_ GUARDED_BY(mutex_);
    bool stopRequested_ GUARDED_BY(mutex_) = false;
    bool wakeRequested_ GUARDED_BY(mutex_) = false;

    // The lock is taken so that a flag set just before cannot slip past a waiter that has
    // tested it and not yet slept.
    void notify() {
        { MutexLock lock(mutex_); }
        changed_.notifyAll();
    }
    void run();
    void runMainOnManualClock();
    bool contains(const CFRunLoopSourceRef& source) {
        MutexLock lock(mutex_);
        return std::find(sources_.begin(), sources_.end(), source) != sources_.end();
    }

  private:
    bool hasWorkLocked() const REQUIRES(mutex_);
    std::vector<CFRunLoopSourceRef> takeSignalledLocked() REQUIRES(mutex_);
};

namespace {

void performSource(const CFRunLoopSourceRef& source) {
    if (source->valid_.load() && source->perform_) source->perform_();
}

}  // namespace

bool CFRunLoop::hasWorkLocked() const {
    if (stopRequested_ || wakeRequested_ || !blocks_.empty()) return true;
    return std::any_of(sources_.begin(), sources_.end(),
                       [](const auto& source) { return source->signalled_.load(); });
}

std::vector<CFRunLoopSourceRef> CFRunLoop::takeSignalledLocked() {
    std::vector<CFRunLoopSourceRef> signalled;
    for (const auto& source : sources_) {
        if (source->signalled_.exchange(false)) signalled.push_back(source);
    }
    return signalled;
}

void CFRunLoop::run() {
    MutexLock lock(mutex_);
    while (true) {
        changed_.wait(mutex_, [&]() REQUIRES(mutex_) { return hasWorkLocked(); });
        if (stopRequested_) {
            stopRequested_ = false;
            return;
        }
        wakeRequested_ = false;
        std::deque<std::function<void()>> blocks;
        blocks.swap(blocks_);
        auto signalled = takeSignalledLocked();
        lock.unlock();
        for (auto& block : blocks)
            block();
        for (const auto& source : signalled)
            performSource(source);
        blocks.clear();  // captures go before the lock is taken again
        signalled.clear();
        lock.lock();
    }
}

void CFRunLoop::runMainOnManualClock() {
    ManualClock& clock = *ManualClock::active();
    while (true) {
        clock.runUntilIdle();
        {
            MutexLock lock(mutex_);
            if (stopRequested_) {
                stopRequested_ = false;
                return;
            }
        }
        if (const auto next = clock.nextDeadline()) {
            clock.advance(secondsBetween(clock.now(), *next));
        } else {
            clock.waitForPending(1);
        }
    }
}

CFRunLoopRef CFRunLoopGetMain() {
    static const CFRunLoopRef* loop = new CFRunLoopRef(std::make_shared<CFRunLoop>(true));
    return *loop;
}

CFRunLoopRef CFRunLoopGetCurrent() {
    if (NSThread::isMainThread()) return CFRunLoopGetMain();
    thread_local const CFRunLoopRef loop = std::make_shared<CFRunLoop>(false);
    return loop;
}

void CFRunLoopRun() {
    const CFRunLoopRef loop = CFRunLoopGetCurrent();
    if (!loop->isMain_) return loop->run();
    if (ManualClock::active()) return loop->runMainOnManualClock();
    MainLoop::shared().run();
}

void CFRunLoopStop(const CFRunLoopRef& loop) {
    if (loop->isMain_ && !ManualClock::active()) return MainLoop::shared().stop();
    {
        MutexLock lock(loop->mutex_);
        loop->stopRequested_ = true;
    }
    loop->notify();
}

void CFRunLoopPerformBlock(const CFRunLoopRef& loop, CFRunLoopMode, std::function<void()> block) {
    if (loop->isMain_) return DispatchQueue::main().async(std::move(block));
    MutexLock lock(loop->mutex_);
    loop->blocks_.push_back(std::move(block));
}

void CFRunLoopWakeUp(const CFRunLoopRef& loop) {
    if (loop->isMain_) return;  // the main queue wakes itself for every hand-over
    {
        MutexLock lock(loop->mutex_);
        loop->wakeRequested_ = true;
    }
    loop->notify();
}

void CFRunLoopAddSource(const CFRunLoopRef& loop, const CFRunLoopSourceRef& source, CFRunLoopMode) {
    if (!source->valid_.load() || CFRunLoopContainsSource(loop, source, nullptr)) return;
    {
        MutexLock lock(loop->mutex_);
        loop->sources_.push_back(source);
    }
    {
        MutexLock lock(source->mutex_);
        source->loops_.push_back(loop);
    }
    if (source->signalled_.load()) CFRunLoopSourceSignal(source);
}

void CFRunLoopRemoveSource(const CFRunLoopRef& loop, const CFRunLoopSourceRef& source,
                           CFRunLoopMode) {
    {
        MutexLock lock(loop->mutex_);
        std::erase(loop->sources_, source);
    }
    MutexLock lock(source->mutex_);
    std::erase_if(source->loops_, [&](const auto& weak) {
        const auto held = weak.lock();
        return !held || held == loop;
    });
}

bool CFRunLoopContainsSource(const CFRunLoopRef& loop, const CFRunLoopSourceRef& source,
                             CFRunLoopMode) {
    return loop->contains(source);
}

CFRunLoopSourceRef CFRunLoopSourceCreate(std::function<void()> perform) {
    return std::make_shared<CFRunLoopSource>(std::move(perform));
}

void CFRunLoopSourceSignal(const CFRunLoopSourceRef& source) {
    if (!source->valid_.load()) return;
    source->signalled_.store(true);
    for (const auto& loop : source->loops()) {
        if (!loop->isMain_) {
            loop->notify();
            continue;
        }
        // The main run loop is the main queue: the source performs there as a hand-over.
        DispatchQueue::main().async([weak = std::weak_ptr(source)] {
            const auto alive = weak.lock();
            if (!alive || !CFRunLoopGetMain()->contains(alive)) return;
            if (alive->signalled_.exchange(false)) performSource(alive);
        });
    }
}

void CFRunLoopSourceInvalidate(const CFRunLoopSourceRef& source) {
    source->valid_.store(false);
    for (const auto& loop : source->loops())
        CFRunLoopRemoveSource(loop, source, nullptr);
}

bool CFRunLoopSourceIsValid(const CFRunLoopSourceRef& source) {
    return source->valid_.load();
}

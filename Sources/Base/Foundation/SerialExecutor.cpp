#include "Base/Foundation/SerialExecutor.h"

#include <pthread.h>

#include <chrono>
#include <thread>

#include "Base/Foundation/Clock.h"
#include "Base/Foundation/MutexLock.h"
#include "Base/Foundation/QueueContext.h"

namespace {

// Linux keeps 15 bytes of a thread's name.
constexpr std::size_t threadNameLimit = 15;

std::chrono::steady_clock::time_point steadyTime(DispatchTime time) {
    return std::chrono::steady_clock::time_point(std::chrono::nanoseconds(time.uptimeNanoseconds));
}

}  // namespace

SerialExecutor::SerialExecutor(std::string label) : label_(std::move(label)) {}

SerialExecutor::~SerialExecutor() {
    if (!thread_.joinable()) return;
    // The last owner may be the thread itself, letting go of this object as it ends.
    if (thread_.get_id() == std::this_thread::get_id()) {
        thread_.detach();
    } else {
        thread_.join();
    }
}

void SerialExecutor::post(DispatchTime deadline, DispatchWorkItem item) {
    {
        MutexLock lock(mutex_);
        work_.add(deadline, std::move(item), this);
        if (!threadRunning_) startThreadLocked();
    }
    changed_.notifyOne();
}

void SerialExecutor::release() {
    MutexLock lock(mutex_);
    released_ = true;
    changed_.notifyOne();
    // From the thread's own work the wait would never end; the thread ends right after it.
    if (QueueContext::current() == this) return;
    ended_.wait(mutex_,
                [this]() REQUIRES(mutex_) { return !threadRunning_ || work_.nextDeadline(); });
    if (threadRunning_) return;
    std::thread ended = std::move(thread_);
    lock.unlock();
    if (ended.joinable()) ended.join();
}

void SerialExecutor::startThreadLocked() {
    threadRunning_ = true;
    if (thread_.joinable()) thread_.detach();  // an earlier thread, past the end of its loop
    thread_ = std::thread([self = shared_from_this()] { self->runThread(); });
}

void SerialExecutor::runThread() {
    pthread_setname_np(pthread_self(), label_.substr(0, threadNameLimit).c_str());
    MutexLock lock(mutex_);
    while (true) {
        if (auto entry = work_.takeDue(MonotonicClock::shared().now())) {
            lock.unlock();
            QueueContext::run(*entry);
            entry.reset();  // the work's captures go before the lock is taken again
            lock.lock();
            continue;
        }
        const auto next = work_.nextDeadline();
        if (!next && released_) break;
        if (next) {
            changed_.waitUntil(mutex_, steadyTime(*next));
        } else {
            changed_.wait(mutex_);
        }
    }
    threadRunning_ = false;
    ended_.notifyAll();
}

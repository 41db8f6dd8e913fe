#include "Base/Foundation/NSThread.h"

#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "Base/Foundation/ConditionVariable.h"
#include "Base/Foundation/Mutex.h"
#include "Base/Foundation/MutexLock.h"

namespace {

constexpr std::size_t threadNameLimit = 15;
thread_local std::string currentThreadName;

}  // namespace

struct NSThread::State {
    std::function<void()> block;
    std::string name GUARDED_BY(mutex);
    mutable Mutex mutex;
    mutable ConditionVariable finishedChanged;
    bool started GUARDED_BY(mutex) = false;
    bool finished GUARDED_BY(mutex) = false;
};

NSThread::NSThread(std::function<void()> block) : state_(std::make_shared<State>()) {
    state_->block = std::move(block);
}

void NSThread::setName(std::string name) {
    MutexLock lock(state_->mutex);
    state_->name = std::move(name);
}

std::string NSThread::name() const {
    MutexLock lock(state_->mutex);
    return state_->name;
}

void NSThread::start() {
    std::string name;
    {
        MutexLock lock(state_->mutex);
        if (state_->started) return;
        state_->started = true;
        name = state_->name;
    }
    std::thread([state = state_, name = std::move(name)] {
        currentThreadName = name;
        pthread_setname_np(pthread_self(), name.substr(0, threadNameLimit).c_str());
        if (state->block) state->block();
        state->block = nullptr;  // its captures go while the thread still runs
        {
            MutexLock lock(state->mutex);
            state->finished = true;
        }
        state->finishedChanged.notifyAll();
    }).detach();
}

bool NSThread::isFinished() const {
    MutexLock lock(state_->mutex);
    return state_->finished;
}

bool NSThread::waitUntilFinished(double boundSeconds) const {
    MutexLock lock(state_->mutex);
    return state_->finishedChanged.waitFor(
        state_->mutex, std::chrono::duration<double>(boundSeconds),
        [&]() REQUIRES(state_->mutex) { return state_->finished; });
}

bool NSThread::isMainThread() {
    return syscall(SYS_gettid) == getpid();
}

std::string NSThread::currentName() {
    return currentThreadName;
}

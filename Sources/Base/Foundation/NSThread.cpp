#include "Base/Foundation/NSThread.h"

#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

constexpr std::size_t threadNameLimit = 15;
thread_local std::string currentThreadName;

}  // namespace

struct NSThread::State {
    std::function<void()> block;
    std::string name;
    mutable std::mutex mutex;
    mutable std::condition_variable finishedChanged;
    bool started = false;
    bool finished = false;
};

NSThread::NSThread(std::function<void()> block) : state_(std::make_shared<State>()) {
    state_->block = std::move(block);
}

void NSThread::setName(std::string name) {
    std::lock_guard lock(state_->mutex);
    state_->name = std::move(name);
}

const std::string& NSThread::name() const {
    return state_->name;
}

void NSThread::start() {
    {
        std::lock_guard lock(state_->mutex);
        if (state_->started) return;
        state_->started = true;
    }
    std::thread([state = state_] {
        currentThreadName = state->name;
        pthread_setname_np(pthread_self(), state->name.substr(0, threadNameLimit).c_str());
        if (state->block) state->block();
        state->block = nullptr;  // its captures go while the thread still runs
        {
            std::lock_guard lock(state->mutex);
            state->finished = true;
        }
        state->finishedChanged.notify_all();
    }).detach();
}

bool NSThread::isFinished() const {
    std::lock_guard lock(state_->mutex);
    return state_->finished;
}

bool NSThread::waitUntilFinished(double boundSeconds) const {
    std::unique_lock lock(state_->mutex);
    return state_->finishedChanged.wait_for(lock, std::chrono::duration<double>(boundSeconds),
                                            [&] { return state_->finished; });
}

bool NSThread::isMainThread() {
    return syscall(SYS_gettid) == getpid();
}

std::string NSThread::currentName() {
    return currentThreadName;
}

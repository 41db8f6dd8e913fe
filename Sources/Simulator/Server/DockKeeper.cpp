#include "Simulator/Server/DockKeeper.h"

#include <sys/wait.h>

#include <chrono>
#include <csignal>

#include "Base/Foundation/MutexLock.h"
#include "Simulator/Server/ProcessSpawner.h"

namespace sim {

namespace {

std::chrono::duration<double> seconds(double count) {
    return std::chrono::duration<double>(count);
}

}  // namespace

DockKeeper::DockKeeper(std::string executable, std::vector<std::string> arguments,
                       std::string socketPath)
    : executable_(std::move(executable)),
      arguments_(std::move(arguments)),
      socketPath_(std::move(socketPath)) {
    thread_ = std::thread([this] { keep(); });
}

DockKeeper::~DockKeeper() {
    {
        MutexLock lock(mutex_);
        stopping_ = true;
        if (pid_ != 0) ::kill(pid_, SIGTERM);
        changed_.notifyAll();
        if (!changed_.waitFor(mutex_, seconds(endingGrace),
                              [this]() REQUIRES(mutex_) { return pid_ == 0; }))
            ::kill(pid_, SIGKILL);
    }
    thread_.join();
}

pid_t DockKeeper::pid() const {
    MutexLock lock(mutex_);
    return pid_;
}

void DockKeeper::keep() {
    MutexLock lock(mutex_);
    while (!stopping_) {
        const pid_t started = ProcessSpawner::start(executable_, arguments_, socketPath_);
        if (started != 0) {
            pid_ = started;
            changed_.notifyAll();
            lock.unlock();
            ProcessSpawner::awaitEnd(started);
            lock.lock();
            ::waitpid(started, nullptr, 0);
            pid_ = 0;
            changed_.notifyAll();
        }
        changed_.waitFor(mutex_, seconds(restartDelay),
                         [this]() REQUIRES(mutex_) { return stopping_; });
    }
}

}  // namespace sim

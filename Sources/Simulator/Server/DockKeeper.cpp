#include "Simulator/Server/DockKeeper.h"

#include <sys/wait.h>

#include <chrono>
#include <csignal>

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
        std::unique_lock lock(mutex_);
        stopping_ = true;
        if (pid_ != 0) ::kill(pid_, SIGTERM);
        changed_.notify_all();
        if (!changed_.wait_for(lock, seconds(endingGrace), [this] { return pid_ == 0; }))
            ::kill(pid_, SIGKILL);
    }
    thread_.join();
}

pid_t DockKeeper::pid() const {
    std::lock_guard lock(mutex_);
    return pid_;
}

void DockKeeper::keep() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        const pid_t started = ProcessSpawner::start(executable_, arguments_, socketPath_);
        if (started != 0) {
            pid_ = started;
            changed_.notify_all();
            lock.unlock();
            ProcessSpawner::awaitEnd(started);
            lock.lock();
            ::waitpid(started, nullptr, 0);
            pid_ = 0;
            changed_.notify_all();
        }
        changed_.wait_for(lock, seconds(restartDelay), [this] { return stopping_; });
    }
}

}  // namespace sim

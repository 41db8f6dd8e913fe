#include "Simulator/Server/BundleProcesses.h"

#include <sys/wait.h>

#include <chrono>
#include <csignal>

#include "Base/Foundation/MutexLock.h"
#include "Simulator/Server/ProcessSpawner.h"

namespace sim {

BundleProcesses::BundleProcesses(std::string socketPath, EndHandler ended)
    : socketPath_(std::move(socketPath)), ended_(std::move(ended)) {}

pid_t BundleProcesses::start(const ApplicationBundle& bundle) {
    MutexLock lock(mutex_);
    joinFinishedLocked();
    if (stopping_) return 0;
    const pid_t pid = ProcessSpawner::start(bundle.executablePath().string(), {}, socketPath_);
    // The watcher takes the lock before it collects, so it finds itself listed.
    if (pid != 0) running_.emplace(pid, std::thread([this, pid] { watch(pid); }));
    return pid;
}

void BundleProcesses::watch(pid_t pid) {
    ProcessSpawner::awaitEnd(pid);
    if (ended_) ended_(pid);
    MutexLock lock(mutex_);
    ::waitpid(pid, nullptr, 0);
    auto watcher = running_.extract(pid);
    if (watcher) finished_.push_back(std::move(watcher.mapped()));
    changed_.notifyAll();
}

void BundleProcesses::joinFinishedLocked() {
    // A finished watcher has only to let go of the lock and return.
    for (std::thread& watcher : finished_)
        watcher.join();
    finished_.clear();
}

BundleProcesses::~BundleProcesses() {
    MutexLock lock(mutex_);
    stopping_ = true;
    for (const auto& [pid, watcher] : running_)
        ::kill(pid, SIGTERM);
    const auto allCollected = [this]() REQUIRES(mutex_) { return running_.empty(); };
    if (!changed_.waitFor(mutex_, std::chrono::duration<double>(endingGrace), allCollected)) {
        for (const auto& [pid, watcher] : running_)
            ::kill(pid, SIGKILL);
        changed_.wait(mutex_, allCollected);
    }
    std::vector<std::thread> finished = std::move(finished_);
    lock.unlock();
    for (std::thread& watcher : finished)
        watcher.join();
}

}  // namespace sim

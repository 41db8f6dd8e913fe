#include "Simulator/Server/BundleProcesses.h"

#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <thread>

#include "Base/Foundation/MutexLock.h"
#include "Simulator/Server/ProcessSpawner.h"

namespace sim {

pid_t BundleProcesses::start(const ApplicationBundle& bundle) {
    MutexLock lock(mutex_);
    reapLocked();
    const pid_t pid = ProcessSpawner::start(bundle.executablePath().string(), {}, socketPath_);
    if (pid != 0) running_.insert(pid);
    return pid;
}

void BundleProcesses::reapLocked() {
    std::erase_if(running_, ProcessSpawner::collectIfEnded);
}

BundleProcesses::~BundleProcesses() {
    MutexLock lock(mutex_);
    reapLocked();
    for (const pid_t pid : running_)
        ::kill(pid, SIGTERM);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(endingGrace);
    while (!running_.empty() && std::chrono::steady_clock::now() < deadline) {
        reapLocked();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    for (const pid_t pid : running_) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
}

}  // namespace sim

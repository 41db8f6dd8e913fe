#pragma once

#include <sys/types.h>

#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "Base/Foundation/ConditionVariable.h"
#include "Base/Foundation/Mutex.h"
#include "Simulator/ApplicationBundle.h"

namespace sim {

/// The processes the server starts for opened application bundles: each bundle's executable
/// runs as a process of its own, told where the desktop is (`KELVO_SIM_SOCKET`), with nothing
/// on its input. Each is watched until it ends, whenever that is: at once, before it ever
/// reached the desktop, or long after. Every process still running when this goes is ended by
/// its pid.
class BundleProcesses {
  public:
    /// How long a process asked to end may take before it is killed.
    static constexpr double endingGrace = 2.0;

    /// Told the pid of a process that ended, on the thread that watched it, before the pid is
    /// collected (so no other process can have it yet).
    using EndHandler = std::function<void(pid_t pid)>;

    BundleProcesses(std::string socketPath, EndHandler ended);
    ~BundleProcesses();
    BundleProcesses(const BundleProcesses&) = delete;
    BundleProcesses& operator=(const BundleProcesses&) = delete;

    /// Starts the bundle's executable; its pid, or 0 when it could not be started.
    pid_t start(const ApplicationBundle& bundle);

  private:
    /// A watcher's thread: waits until the process ends, tells `ended_`, collects it.
    void watch(pid_t pid);
    /// Joins the watchers whose process has been collected.
    void joinFinishedLocked() REQUIRES(mutex_);

    std::string socketPath_;
    EndHandler ended_;
    Mutex mutex_;
    ConditionVariable changed_;
    /// The processes not yet collected, each with its watcher; a pid signalled with the lock
    /// held is always still the process's.
    std::map<pid_t, std::thread> running_ GUARDED_BY(mutex_);
    std::vector<std::thread> finished_ GUARDED_BY(mutex_);
    bool stopping_ GUARDED_BY(mutex_) = false;
};

}  // namespace sim

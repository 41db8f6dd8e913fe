#pragma once

#include <sys/types.h>

#include <set>
#include <string>

#include "Base/Foundation/Mutex.h"
#include "Simulator/ApplicationBundle.h"

namespace sim {

/// The processes the server starts for opened application bundles: each bundle's executable
/// runs as a process of its own, told where the desktop is (`KELVO_SIM_SOCKET`), with nothing
/// on its input. Every process still running when this goes is ended by its pid.
class BundleProcesses {
  public:
    /// How long a process asked to end may take before it is killed.
    static constexpr double endingGrace = 2.0;

    explicit BundleProcesses(std::string socketPath) : socketPath_(std::move(socketPath)) {}
    ~BundleProcesses();
    BundleProcesses(const BundleProcesses&) = delete;
    BundleProcesses& operator=(const BundleProcesses&) = delete;

    /// Starts the bundle's executable; its pid, or 0 when it could not be started.
    pid_t start(const ApplicationBundle& bundle);

  private:
    /// Collects the processes that have ended, so none is left a zombie.
    void reapLocked() REQUIRES(mutex_);

    std::string socketPath_;
    Mutex mutex_;
    std::set<pid_t> running_ GUARDED_BY(mutex_);
};

}  // namespace sim

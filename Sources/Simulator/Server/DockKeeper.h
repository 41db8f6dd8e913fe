#pragma once

#include <sys/types.h>

#include <string>
#include <thread>
#include <vector>

#include "Base/Foundation/ConditionVariable.h"
#include "Base/Foundation/Mutex.h"

namespace sim {

/// The Dock of a served desktop: a process of the server's own that registers with the desktop
/// as the Dock and stays up. Whenever it ends, however it ends, it is started again shortly
/// after, as macOS starts its Dock again; when the keeper goes, the Dock is ended by its pid
/// and not started again.
class DockKeeper {
  public:
    /// How long after the Dock ended (or failed to start) it is started again.
    static constexpr double restartDelay = 0.2;
    /// How long the Dock, asked to end with the keeper, may take before it is killed.
    static constexpr double endingGrace = 2.0;

    /// Starts the Dock at once: `executable` with `arguments`, told where the desktop is.
    DockKeeper(std::string executable, std::vector<std::string> arguments, std::string socketPath);
    ~DockKeeper();
    DockKeeper(const DockKeeper&) = delete;
    DockKeeper& operator=(const DockKeeper&) = delete;

    /// The running Dock's pid; 0 while none runs.
    pid_t pid() const;

  private:
    /// The keeper's thread: starts the Dock, waits for it to end, collects it and starts it
    /// again, until the keeper goes.
    void keep();

    std::string executable_;
    std::vector<std::string> arguments_;
    std::string socketPath_;

    mutable Mutex mutex_;
    ConditionVariable changed_;
    /// Only the keeper's thread collects the Dock, with the lock held, so a pid signalled with
    /// the lock held is always still the Dock's.
    pid_t pid_ GUARDED_BY(mutex_) = 0;
    bool stopping_ GUARDED_BY(mutex_) = false;
    std::thread thread_;
};

}  // namespace sim

#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "Base/Foundation/Mutex.h"
#include "Simulator/ApplicationInfo.h"

namespace sim {

/// The running applications as one client of a desktop in another process knows them, so that
/// asking about them is no round trip, as the platform's workspace answers from what it keeps:
/// taken from the desktop when first asked, and again once workspace news (a launch, a
/// termination, an activation, a hide) has made what is kept out of date. The news is noted on
/// the thread that reads the desktop's lines, before any reply that follows it, so an answer is
/// never older than a reply already in hand.
///
/// An application that has left the list is still known, as terminated, so that what a
/// notification of its termination names can be told.
class ApplicationList {
  public:
    /// Asks the desktop for its running applications, in launch order.
    using Fetch = std::function<std::vector<ApplicationInfo>()>;

    explicit ApplicationList(Fetch fetch) : fetch_(std::move(fetch)) {}

    /// Workspace news arrived: the next question takes the list from the desktop again.
    void noteNews() { stale_.store(true); }

    /// Running applications in launch order (terminated ones only while the desktop lists them).
    std::vector<ApplicationInfo> running();
    /// The application with this pid as last known; none when it was never seen.
    std::optional<ApplicationInfo> application(Pid pid);

  private:
    void refreshLocked() REQUIRES(mutex_);

    Fetch fetch_;
    std::atomic<bool> stale_{true};
    Mutex mutex_;
    std::vector<ApplicationInfo> running_ GUARDED_BY(mutex_);
    /// Every application seen, by pid; those gone from the list are marked terminated.
    std::map<Pid, ApplicationInfo> known_ GUARDED_BY(mutex_);
};

}  // namespace sim

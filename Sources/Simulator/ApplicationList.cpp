#include "Simulator/ApplicationList.h"

#include <set>

#include "Base/Foundation/MutexLock.h"

namespace sim {

void ApplicationList::refreshLocked() {
    // Cleared before asking: news that arrives while the answer is on its way asks again.
    if (!stale_.exchange(false)) return;
    running_ = fetch_();
    std::set<Pid> listed;
    for (const ApplicationInfo& app : running_) {
        known_[app.pid] = app;
        listed.insert(app.pid);
    }
    for (auto& [pid, app] : known_) {
        if (!listed.contains(pid)) {
            app.terminated = true;
            app.active = false;
        }
    }
}

std::vector<ApplicationInfo> ApplicationList::running() {
    MutexLock lock(mutex_);
    refreshLocked();
    return running_;
}

std::optional<ApplicationInfo> ApplicationList::application(Pid pid) {
    MutexLock lock(mutex_);
    refreshLocked();
    const auto found = known_.find(pid);
    if (found == known_.end()) return std::nullopt;
    return found->second;
}

}  // namespace sim

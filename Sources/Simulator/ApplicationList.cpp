#include "Simulator/ApplicationList.h"

#include <set>

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
    std::lock_guard lock(mutex_);
    refreshLocked();
    return running_;
}

std::optional<ApplicationInfo> ApplicationList::application(Pid pid) {
    std::lock_guard lock(mutex_);
    refreshLocked();
    const auto found = known_.find(pid);
    if (found == known_.end()) return std::nullopt;
    return found->second;
}

}  // namespace sim

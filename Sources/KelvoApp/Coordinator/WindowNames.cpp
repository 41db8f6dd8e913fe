#include "KelvoApp/Coordinator/WindowNames.h"

namespace kelvo {

std::string WindowNames::named(WindowID id) const {
    const auto found = bundles_.find(id);
    return id.description() + " " + (found == bundles_.end() ? "?" : found->second);
}

void WindowNames::name(WindowID id, const std::string& bundleID) {
    bundles_[id] = bundleID;
}

void WindowNames::forget(WindowID id) {
    bundles_.erase(id);
}

std::optional<std::string> WindowNames::bundleOf(WindowID id) const {
    const auto found = bundles_.find(id);
    if (found == bundles_.end()) return std::nullopt;
    return found->second;
}

std::vector<WindowID> WindowNames::windowsOf(const std::set<std::string>& bundleIDs) const {
    std::vector<WindowID> windows;
    for (const auto& [w, bundle] : bundles_) {
        if (bundleIDs.count(bundle)) windows.push_back(w);
    }
    return windows;
}

}  // namespace kelvo

#include "Support/KelvoApp/FakeCoordinatorBridge.h"

namespace kelvo {

std::pair<std::vector<ManagedWindow>, std::set<WindowID>> FakeCoordinatorBridge::windowsOfApp(
    const std::string& bundleID) {
    std::vector<ManagedWindow> found;
    std::set<WindowID> seen;
    for (const ManagedWindow& w : fake.windows()) {
        if (w.bundleID != bundleID) continue;
        found.push_back(w);
        seen.insert(w.id);
    }
    return {found, seen};
}

std::optional<ManagedWindow> FakeCoordinatorBridge::adopt(const WindowElementRef& element,
                                                          const std::string&) {
    const auto* id = std::any_cast<WindowID>(&element);
    if (!id) return std::nullopt;
    const auto found = adoptable.find(*id);
    return found == adoptable.end() ? std::nullopt : found->second;
}

std::optional<WindowElementRef> FakeCoordinatorBridge::element(WindowID id) const {
    if (!elements.count(id)) return std::nullopt;
    return WindowElementRef(id);
}

}  // namespace kelvo

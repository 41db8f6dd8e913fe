#include "Support/KelvoApp/FakeCoordinatorBridge.h"

namespace kelvo {

ApplicationWindows FakeCoordinatorBridge::windows(const std::string& bundleID) {
    ApplicationWindows found;
    for (const ManagedWindow& w : fake.windows()) {
        if (w.bundleID != bundleID) continue;
        found.windows.push_back(w);
        found.seen.insert(w.id);
    }
    return found;
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

#include "KelvoApp/System/AXCoordinatorBridge.h"

namespace kelvo {

AXCoordinatorBridge::AXCoordinatorBridge(const Config& config) : bridge_(config) {}

AXUIElementRef AXCoordinatorBridge::elementIn(const WindowElementRef& element) {
    const auto* handle = std::any_cast<AXUIElementRef>(&element);
    return handle ? *handle : nullptr;
}

std::vector<ManagedWindow> AXCoordinatorBridge::windows() {
    return bridge_.windows();
}

std::optional<CGRect> AXCoordinatorBridge::frame(WindowID id) {
    return bridge_.frame(id);
}

bool AXCoordinatorBridge::setFrame(const CGRect& frame, WindowID id) {
    return bridge_.setFrame(frame, id);
}

void AXCoordinatorBridge::setPosition(const CGPoint& position, WindowID id) {
    bridge_.setPosition(position, id);
}

void AXCoordinatorBridge::raise(WindowID id) {
    bridge_.raise(id);
}

void AXCoordinatorBridge::focus(WindowID id) {
    bridge_.focus(id);
}

void AXCoordinatorBridge::setMinimized(bool minimized, WindowID id) {
    bridge_.setMinimized(minimized, id);
}

bool AXCoordinatorBridge::isWindowMinimized(WindowID id) {
    return bridge_.isWindowMinimized(id);
}

bool AXCoordinatorBridge::isWindowFullScreen(WindowID id) {
    return bridge_.isWindowFullScreen(id);
}

bool AXCoordinatorBridge::canReach(WindowID id) {
    return bridge_.canReach(id);
}

std::set<WindowID> AXCoordinatorBridge::retainedWindows() const {
    return bridge_.retainedWindows();
}

void AXCoordinatorBridge::setHidden(bool hidden, const std::string& bundleID) {
    bridge_.setHidden(hidden, bundleID);
}

bool AXCoordinatorBridge::isApplicationHidden(const std::string& bundleID) {
    return bridge_.isApplicationHidden(bundleID);
}

std::pair<std::vector<ManagedWindow>, std::set<WindowID>> AXCoordinatorBridge::windowsOfApp(
    const std::string& bundleID) {
    AXWindowBridge::ApplicationWindows found = bridge_.windows(bundleID);
    return {std::move(found.windows), std::move(found.seen)};
}

std::optional<ManagedWindow> AXCoordinatorBridge::adopt(const WindowElementRef& element,
                                                        const std::string& bundleID) {
    return bridge_.adopt(elementIn(element), bundleID);
}

std::set<WindowID> AXCoordinatorBridge::takeGone() {
    return bridge_.takeGone();
}

std::optional<WindowElementRef> AXCoordinatorBridge::element(WindowID id) const {
    AXUIElementRef handle = bridge_.element(id);
    if (!handle) return std::nullopt;
    return WindowElementRef(std::move(handle));
}

std::set<WindowID> AXCoordinatorBridge::provisionallyIgnored() const {
    return bridge_.provisionallyIgnored();
}

std::set<WindowID> AXCoordinatorBridge::seenFullScreen() const {
    return bridge_.seenFullScreen();
}

const Config& AXCoordinatorBridge::config() const {
    return bridge_.config();
}

void AXCoordinatorBridge::setConfig(const Config& config) {
    bridge_.setConfig(config);
}

void AXCoordinatorBridge::setTrace(std::function<void(const std::string&)> trace) {
    bridge_.trace = std::move(trace);
}

}  // namespace kelvo

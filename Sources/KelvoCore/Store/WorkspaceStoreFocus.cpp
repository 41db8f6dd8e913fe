// Focus and activation rules: which focus changes the store caused itself, and which window to
// focus after a switch, a removal, a launcher pick or a directional focus command.

#include <algorithm>
#include <tuple>

#include "KelvoCore/Geometry/DirectionalNeighbour.h"
#include "KelvoCore/Store/WorkspaceStore.h"

namespace kelvo {

namespace {

/// The lowest window of the lowest desktop among windows with their desktops.
std::optional<WindowID> lowestOnLowestDesktop(const std::map<WindowID, int>& homes) {
    // Ascending window numbers: the first window of the lowest desktop is its lowest.
    std::optional<std::pair<int, WindowID>> best;
    for (const auto& [w, home] : homes) {
        if (!best || home < best->first) best = std::pair(home, w);
    }
    if (!best) return std::nullopt;
    return best->second;
}

}  // namespace

// ---- Expectations ----------------------------------------------------------------------------

void WorkspaceStore::expect(const ExpectedFocus& expectation) {
    auto& list = state_.expectedFocus;
    std::erase(list, expectation);
    list.push_back(expectation);
    if (list.size() > expectationCap) list.erase(list.begin(), list.end() - expectationCap);
}

void WorkspaceStore::forgetExpectedWindow(WindowID w) {
    auto& list = state_.expectedFocus;
    const auto names = [w](const ExpectedFocus& e) { return e.window == w; };
    if (std::none_of(list.begin(), list.end(), names)) return;
    std::vector<ExpectedFocus> rebuilt;
    for (ExpectedFocus e : list) {
        if (names(e)) e.window.reset();
        // Duplicates collapse onto their last position.
        std::erase(rebuilt, e);
        rebuilt.push_back(e);
    }
    list = std::move(rebuilt);
}

void WorkspaceStore::issueFocus(WindowID w) {
    const std::optional<std::string> bundle = bundleOf(w);
    expect(ExpectedFocus{bundle, w});
    state_.nativeFocus = ExpectedFocus{bundle, w};
    bridge_->focus(w);
}

void WorkspaceStore::expectActivation(const std::string& bundleID) {
    expect(ExpectedFocus{bundleID, std::nullopt});
    state_.nativeFocus = ExpectedFocus{bundleID, std::nullopt};
}

// ---- Verdicts --------------------------------------------------------------------------------

WorkspaceStore::ActivationVerdict WorkspaceStore::activationVerdict(
    const std::optional<std::string>& bundleID, std::optional<WindowID> window) {
    if (bundleID) {
        if (bundleID == state_.ownBundleID) return ActivationVerdict::expected;
        if (consumeExpectations(*bundleID)) return ActivationVerdict::expected;
        if (state_.nativeFocus && state_.nativeFocus->bundleID == bundleID) {
            return ActivationVerdict::expected;
        }
        if (state_.parkedByLastSwitch.count(*bundleID)) return ActivationVerdict::expected;
    }
    state_.expectedFocus.clear();
    state_.parkedByLastSwitch.clear();
    state_.nativeFocus = ExpectedFocus{bundleID, window};
    return ActivationVerdict::change;
}

bool WorkspaceStore::consumeExpectations(const std::string& bundleID) {
    auto& list = state_.expectedFocus;
    const auto newest = std::find_if(
        list.rbegin(), list.rend(), [&](const ExpectedFocus& e) { return e.bundleID == bundleID; });
    if (newest == list.rend()) return false;
    // The newest match takes every older expectation with it.
    list.erase(list.begin(), newest.base());
    const auto& switched = state_.switchFocusBundle;
    if (switched && std::none_of(list.begin(), list.end(),
                                 [&](const ExpectedFocus& e) { return e.bundleID == switched; })) {
        state_.parkedByLastSwitch.clear();
    }
    return true;
}

std::optional<WorkspaceStore::FocusResponse> WorkspaceStore::focusResponse(
    WindowID to, std::optional<WindowID> focused) {
    if (!desktop(to)) return std::nullopt;
    const bool expected = (state_.nativeFocus && state_.nativeFocus->window == to) ||
                          std::any_of(state_.expectedFocus.begin(), state_.expectedFocus.end(),
                                      [to](const ExpectedFocus& e) { return e.window == to; });
    if (expected) {
        state_.parkedKeyWindow.reset();
        return FocusResponse::expected();
    }
    if (isShownOnActiveDesktop(to)) {
        state_.expectedFocus.clear();
        state_.parkedByLastSwitch.clear();
        state_.nativeFocus = ExpectedFocus{bundleOf(to), to};
        state_.parkedKeyWindow.reset();
        return FocusResponse::accept();
    }
    state_.parkedKeyWindow = to;
    if (focused && *focused != to && isShownOnActiveDesktop(*focused) &&
        bundleOf(*focused) == bundleOf(to)) {
        return FocusResponse::reassert(*focused);
    }
    return FocusResponse::leaveParked();
}

bool WorkspaceStore::isShownOnActiveDesktop(WindowID w) const {
    return desktop(w) == activeDesktop() && !isParked(w);
}

std::optional<std::string> WorkspaceStore::bundleOf(WindowID w) const {
    const WindowState* record = stateOf(w);
    if (!record) return std::nullopt;
    return record->bundleID;
}

void WorkspaceStore::focusWindow(WindowID w, bool raising) {
    if (!desktop(w)) return;
    issueFocus(w);
    if (raising) raiseFloating(isFloating(w) ? std::optional<WindowID>(w) : std::nullopt);
}

// ---- Activations -----------------------------------------------------------------------------

bool WorkspaceStore::revealForActivation(WindowID w) {
    const int active = activeDesktop();
    if (desktop(w) != active || !isShowingDesktop(active)) return false;
    reveal(active);
    applyLayout();
    return true;
}

std::optional<WindowID> WorkspaceStore::windowToFollow(
    const std::string& bundleID, std::optional<WindowID> focusedWindow) const {
    if (bundleID == state_.ownBundleID || !state_.config.followActivationToDesktop) {
        return std::nullopt;
    }
    if (focusedWindow && !desktop(*focusedWindow)) return std::nullopt;
    const std::map<WindowID, int> ofApp = windowsOf(bundleID);
    if (ofApp.empty()) return std::nullopt;
    const int active = activeDesktop();
    const auto onActive = [active](const auto& entry) { return entry.second == active; };
    if (std::any_of(ofApp.begin(), ofApp.end(), onActive)) return std::nullopt;
    if (focusedWindow && ofApp.count(*focusedWindow)) return focusedWindow;
    return lowestOnLowestDesktop(ofApp);
}

std::optional<int> WorkspaceStore::followActivation(WindowID w) {
    const std::optional<int> home = desktop(w);
    if (!home || *home == activeDesktop()) return std::nullopt;
    switchTo(*home, w);
    return home;
}

std::map<WindowID, int> WorkspaceStore::windowsOf(const std::string& bundleID) const {
    std::map<WindowID, int> found;
    for (const auto& [w, record] : state_.windows) {
        if (record.bundleID == bundleID) found[w] = record.home;
    }
    return found;
}

// ---- The launcher ----------------------------------------------------------------------------

std::optional<WindowID> WorkspaceStore::launcherTarget(const std::string& bundleID) const {
    std::map<WindowID, int> ofApp = windowsOf(bundleID);
    const int active = activeDesktop();
    if (std::any_of(ofApp.begin(), ofApp.end(),
                    [active](const auto& entry) { return entry.second == active; })) {
        std::erase_if(ofApp, [active](const auto& entry) { return entry.second != active; });
    }
    return lowestOnLowestDesktop(ofApp);
}

LauncherAction WorkspaceStore::launcherAction(const std::string& bundleID, bool isRunning,
                                              LauncherRequest request) const {
    if (const auto target = launcherTarget(bundleID)) {
        const int home = *desktop(*target);
        if (home == activeDesktop()) return LauncherAction::focus(*target);
        if (request == LauncherRequest::bringHere) return LauncherAction::bringHere(*target);
        return LauncherAction::goTo(home, *target);
    }
    return isRunning ? LauncherAction::activate() : LauncherAction::launch();
}

// ---- Choosing a window -----------------------------------------------------------------------

std::optional<WindowID> WorkspaceStore::leftmostWindow(int desktop,
                                                       std::optional<std::uint32_t> display) const {
    std::optional<std::pair<WindowID, CGRect>> best;
    for (const auto& [w, frame] : layout(desktop)) {
        if (display && displayOf(w) != *display) continue;
        if (!best || std::tuple(frame.minX(), frame.minY(), w) <
                         std::tuple(best->second.minX(), best->second.minY(), best->first)) {
            best = std::pair(w, frame);
        }
    }
    if (!best) return std::nullopt;
    return best->first;
}

std::optional<WindowID> WorkspaceStore::leftmostWindow(int desktop) const {
    return leftmostWindow(desktop, std::nullopt);
}

std::optional<WindowID> WorkspaceStore::targetWindow(std::optional<WindowID> preferring) const {
    const int active = activeDesktop();
    if (isShowingDesktop(active)) return std::nullopt;
    if (preferring && desktop(*preferring) == active) return preferring;
    return leftmostWindow(active);
}

void WorkspaceStore::raiseFloating(std::optional<WindowID> topmost) {
    const int active = activeDesktop();
    bool topmostShown = false;
    for (WindowID w : state_.windowsWhere(&WindowState::floating)) {
        if (desktop(w) != active || isParked(w)) continue;
        if (w == topmost) {
            topmostShown = true;
            continue;
        }
        bridge_->raise(w);
    }
    // Raised last, so that it ends on top.
    if (topmostShown) bridge_->raise(*topmost);
}

std::optional<WindowID> WorkspaceStore::focusNeighbour(WindowID w, Direction direction) const {
    const std::optional<int> home = desktop(w);
    if (!home) return std::nullopt;
    const std::map<WindowID, CGRect> floatingFrames = this->floatingFrames(*home);
    const std::map<WindowID, CGRect> tiledFrames = layout(*home);

    std::optional<WindowID> inTree;
    if (!isFloating(w)) {
        if (auto pane = paneKey(w); pane && state_.trees.count(*pane)) {
            inTree = state_.trees.at(*pane).neighbour(w, state_.screen, direction);
        }
    }
    if (floatingFrames.empty()) return inTree;

    std::optional<CGRect> own;
    if (auto it = floatingFrames.find(w); it != floatingFrames.end()) {
        own = it->second;
    } else if (auto tiledIt = tiledFrames.find(w); tiledIt != tiledFrames.end()) {
        own = tiledIt->second;
    }
    if (!own) return inTree;

    std::map<WindowID, CGRect> all = tiledFrames;
    for (const auto& [other, frame] : floatingFrames)
        all[other] = frame;
    all.erase(w);
    const std::optional<WindowID> nearest = DirectionalNeighbour::nearest(*own, all, direction);
    if (!nearest) return inTree;
    if (!inTree) return nearest;

    // Both: the nearer of the two, judged the same way; the tree's answer when in doubt.
    auto treeFrame = tiledFrames.find(*inTree);
    if (treeFrame == tiledFrames.end()) return inTree;
    const std::map<WindowID, CGRect> finalists = {{*inTree, treeFrame->second},
                                                  {*nearest, all.at(*nearest)}};
    return DirectionalNeighbour::nearest(*own, finalists, direction).value_or(*inTree);
}

}  // namespace kelvo

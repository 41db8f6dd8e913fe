// Window commands.

#include <algorithm>

#include "KelvoCore/Store/WorkspaceStore.h"

namespace kelvo {

namespace {

std::optional<WindowID> onlyIf(bool condition, WindowID w) {
    return condition ? std::optional<WindowID>(w) : std::nullopt;
}

}  // namespace

bool WorkspaceStore::changeTree(WindowID w, const std::function<void(LayoutTree&)>& change) {
    const auto pane = paneKey(w);
    if (!pane) return false;
    auto it = state_.trees.find(*pane);
    if (it != state_.trees.end()) change(it->second);
    return true;
}

void WorkspaceStore::moveWindow(WindowID w, Direction direction) {
    const CGRect& screen = state_.screen;
    const bool managed = changeTree(w, [&](LayoutTree& tree) {
        if (auto neighbour = tree.neighbour(w, screen, direction)) tree.swap(w, *neighbour);
    });
    if (managed) applyLayoutForCommand(w, /*now=*/false);
}

void WorkspaceStore::resizeWindow(WindowID w, Direction direction) {
    // The window's own split first, else the nearest ancestor split that can move that way.
    const bool managed =
        changeTree(w, [&](LayoutTree& tree) { tree.resize(w, direction, resizeStep); });
    if (managed) applyLayoutForCommand(w, /*now=*/false);
}

void WorkspaceStore::toggleSplit(WindowID w) {
    if (isFloating(w)) return;
    const bool managed = changeTree(w, [w](LayoutTree& tree) { tree.toggleSplit(w); });
    if (managed) applyLayoutForCommand(w, /*now=*/false);
}

void WorkspaceStore::rotate() {
    auto it = state_.trees.find(Pane{activeDesktop(), managedDisplayID()});
    if (it == state_.trees.end() || it->second.isEmpty()) return;
    it->second.rotate();
    applyLayoutForCommand(std::nullopt, /*now=*/false);
}

void WorkspaceStore::promoteToMaster(WindowID w) {
    if (isFloating(w)) return;
    const bool managed = changeTree(w, [w](LayoutTree& tree) { tree.promoteToMaster(w); });
    if (managed) applyLayoutForCommand(w, /*now=*/false);
}

void WorkspaceStore::toggleZoom(WindowID w) {
    const auto d = desktop(w);
    if (!d || isFloating(w)) return;
    const auto before = zoomed(*d);
    if (before) endZoom(*d);
    if (before != w) state_.zoomedByDesktop[*d] = w;
    applyLayoutForCommand(w, /*now=*/true);
    if (auto z = zoomed(*d)) {
        std::vector<WindowID> others = windows(*d);
        std::erase(others, *z);
        park(others);
    }
    issueFocus(w);
    raiseFloating(onlyIf(isFloating(w), w));
}

void WorkspaceStore::toggleFloat(WindowID w, std::optional<WindowID> focused) {
    const auto d = desktop(w);
    if (!d) return;
    WindowState& record = *stateOf(w);
    if (record.floating) {
        record.floating = false;
        reconciler_.forget(w);
        record.clearSpentExemption();
        record.tiledByHand = true;
        // A full-screen window rejoins its tree when it leaves full screen.
        if (!record.fullScreened) insertIntoTree(w, *d, focused);
    } else {
        if (zoomed(*d) == w) endZoom(*d);
        record.floating = true;
        removeFromTree(w, *d);
        // Floating, it has no place to return to when it leaves full screen.
        record.fullScreenReturn.reset();
    }
    applyLayoutForCommand(w, /*now=*/true);
    if (focused == w && desktop(w)) {
        issueFocus(w);
        raiseFloating(onlyIf(isFloating(w), w));
    }
}

bool WorkspaceStore::canToggleFloatByClick(WindowID w) const {
    return desktop(w) == activeDesktop();
}

bool WorkspaceStore::toggleFloatByClick(WindowID w) {
    const bool can = canToggleFloatByClick(w);
    if (can) toggleFloat(w, w);
    return can;
}

// ---- Layout modes --------------------------------------------------------------------------

void WorkspaceStore::setLayoutMode(LayoutMode mode, int desktop) {
    if (desktop < 1 || desktop > std::max(desktopCount(), 1)) return;
    if (layoutMode(desktop) == mode) return;
    state_.config.layoutModes.set(desktop, mode);
    fire(hooks.onLayoutModeChanged, desktop, mode);
    // Switching to split trees keeps the existing tree as it is.
    if (mode == LayoutMode::masterStack) rebuildPanes(desktop, rebuildable(desktop));
    if (desktop == activeDesktop()) {
        applyLayoutForCommand(std::nullopt, /*now=*/false);
    } else {
        applyLayout();
    }
}

void WorkspaceStore::toggleLayoutMode() {
    const int active = activeDesktop();
    setLayoutMode(
        layoutMode(active) == LayoutMode::masterStack ? LayoutMode::bsp : LayoutMode::masterStack,
        active);
}

std::vector<WindowID> WorkspaceStore::masterStackOrder(int desktop,
                                                       const std::vector<WindowID>& among) const {
    return masterStackOrder(Pane{desktop, managedDisplayID()}, among);
}

std::vector<WindowID> WorkspaceStore::masterStackOrder(const Pane& pane,
                                                       const std::vector<WindowID>& among) const {
    const auto isAmong = [&among](WindowID w) {
        return std::find(among.begin(), among.end(), w) != among.end();
    };
    std::vector<WindowID> order;
    for (WindowID w : treeOf(pane).windows()) {
        if (isAmong(w) && std::find(order.begin(), order.end(), w) == order.end()) {
            order.push_back(w);
        }
    }
    for (WindowID w : among) {
        if (std::find(order.begin(), order.end(), w) == order.end()) order.push_back(w);
    }
    return order;
}

// ---- Rebalance -----------------------------------------------------------------------------

void WorkspaceStore::rebalance() {
    const int active = activeDesktop();
    const std::vector<WindowID> tiledHere = rebuildable(active);
    if (tiledHere.empty()) return;
    // Learned size floors and strikes start afresh.
    for (WindowID w : windows(active)) {
        reconciler_.forget(w);
        stateOf(w)->clearSpentExemption();
    }
    endZoom(active);
    rebuildPanes(active, tiledHere);
    applyLayoutForCommand(std::nullopt, /*now=*/false);
}

std::vector<WindowID> WorkspaceStore::rebuildable(int desktop) const {
    // A full-screen window is out of its tree until it comes back.
    std::vector<WindowID> result = tiled(desktop);
    std::erase_if(result, [this](WindowID w) { return isFullScreen(w); });
    return result;
}

void WorkspaceStore::rebuildPanes(int desktop, const std::vector<WindowID>& ws) {
    // Each display's pane is rebuilt from its own windows only, so that no window of another
    // display is drawn into it.
    for (const auto& [display, own] : byDisplay(ws)) {
        const Pane pane{desktop, display};
        state_.trees[pane] = arranged(pane, own);
    }
}

}  // namespace kelvo

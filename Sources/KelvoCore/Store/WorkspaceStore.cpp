#include "KelvoCore/Store/WorkspaceStore.h"

#include <algorithm>
#include <sstream>

namespace kelvo {

namespace {

int clampedDesktopCount(std::int64_t count) {
    return static_cast<int>(std::clamp<std::int64_t>(count, WorkspaceStore::minimumDesktopCount,
                                                     WorkspaceStore::maximumDesktopCount));
}

template <class Numbers>
std::string spaced(const Numbers& numbers) {
    std::string text;
    for (const auto& n : numbers) {
        if (!text.empty()) text += " ";
        if constexpr (std::is_same_v<std::decay_t<decltype(n)>, WindowID>) {
            text += std::to_string(n.raw);
        } else if constexpr (std::is_same_v<std::decay_t<decltype(n)>, std::string>) {
            text += n;
        } else {
            text += std::to_string(n);
        }
    }
    return text;
}

/// Empty, one leaf, or a main window on the first side: anything but a split whose first child
/// is itself a split.
bool hasMainAndStackShape(const LayoutTree& tree) {
    return !tree.root || tree.root->isLeaf() || tree.root->first()->isLeaf();
}

}  // namespace

WorkspaceStore::WorkspaceStore(const Config& config, std::shared_ptr<WindowBridging> bridge,
                               const CGRect& screen)
    : bridge_(std::move(bridge)), reconciler_(*bridge_) {
    state_.config = config;
    state_.config.desktopCount = clampedDesktopCount(config.desktopCount);
    state_.screen = screen;
}

WorkspaceStore::~WorkspaceStore() = default;

std::function<void()> WorkspaceStore::weakly(std::function<void()> work) const {
    std::weak_ptr<int> alive = liveness_;
    return [alive, work = std::move(work)]() {
        if (alive.lock()) work();
    };
}

int WorkspaceStore::desktopCount() const {
    return static_cast<int>(state_.config.desktopCount);
}

// ---- Configuration ---------------------------------------------------------------------------

void WorkspaceStore::apply(const Config& config) {
    const int oldCount = desktopCount();
    state_.config = config;
    state_.config.desktopCount = clampedDesktopCount(config.desktopCount);
    const int newCount = desktopCount();
    if (newCount < oldCount) {
        for (int from = maximumDesktopCount; from > newCount; --from) {
            // As a command: a window that lands on the shown desktop is focused there.
            for (WindowID w : windows(from))
                move(w, newCount, /*asCommand=*/true);
        }
        if (newCount < activeDesktop()) switchTo(newCount, std::nullopt);
        showLastDesktopBeyond(newCount);
    }
    applyLayout();
}

void WorkspaceStore::showLastDesktopBeyond(int count) {
    // Another display still showing a desktop that no longer exists would adopt new windows
    // onto it; it shows the last desktop instead, whose windows from that display come back.
    for (auto& [display, shown] : state_.activeDesktopByDisplay) {
        if (shown <= count) continue;
        shown = count;
        std::vector<WindowID> incoming = visibleIntent(count);
        const std::uint32_t shownOn = display;  // a structured binding cannot be captured
        std::erase_if(incoming, [&](WindowID w) { return displayOf(w) != shownOn; });
        unpark(incoming, /*deferringMinimized=*/false);
    }
}

// ---- Displays --------------------------------------------------------------------------------

std::uint32_t WorkspaceStore::managedDisplayID() const {
    const auto& displays = state_.displays;
    if (displays.empty()) return 0;
    if (displays.size() == 1) return displays.front().id;
    if (auto holder = holding(displays, state_.screen)) return holder->id;
    return displays.front().id;
}

CGRect WorkspaceStore::bounds(std::uint32_t display) const {
    if (display == managedDisplayID()) return state_.screen;
    for (const Display& d : state_.displays) {
        if (d.id == display) return d.frame;
    }
    return state_.screen;
}

std::optional<std::uint32_t> WorkspaceStore::pointerDisplay() const {
    if (state_.displays.size() < 2 || !queries.pointerLocation) return std::nullopt;
    const auto point = queries.pointerLocation();
    if (!point) return std::nullopt;
    for (const Display& d : state_.displays) {
        if (d.frame.contains(*point)) return d.id;
    }
    return std::nullopt;
}

std::uint32_t WorkspaceStore::focusedDisplay() const {
    if (auto pointer = pointerDisplay()) return *pointer;
    if (state_.focusedWindowDisplay) return *state_.focusedWindowDisplay;
    return managedDisplayID();
}

int WorkspaceStore::activeDesktop(std::uint32_t display) const {
    auto it = state_.activeDesktopByDisplay.find(display);
    return it == state_.activeDesktopByDisplay.end() ? 1 : it->second;
}

int WorkspaceStore::activeDesktop() const {
    return activeDesktop(focusedDisplay());
}

void WorkspaceStore::setActiveDesktop(int desktop) {
    state_.activeDesktopByDisplay[focusedDisplay()] = desktop;
}

std::optional<Display> WorkspaceStore::parkingDisplay() const {
    if (state_.displays.size() < 2) return std::nullopt;
    const auto further = [](const Display& a, const Display& b) {
        if (a.frame.maxX() != b.frame.maxX()) return a.frame.maxX() > b.frame.maxX();
        if (a.frame.maxY() != b.frame.maxY()) return a.frame.maxY() > b.frame.maxY();
        return a.id > b.id;
    };
    Display best = state_.displays.front();
    for (const Display& d : state_.displays) {
        if (further(d, best)) best = d;
    }
    return best;
}

CGPoint WorkspaceStore::parkingCorner() const {
    const auto parking = parkingDisplay();
    const CGRect frame = parking ? parking->frame : state_.screen;
    return CGPoint{frame.maxX() - 1, frame.maxY() - 1};
}

void WorkspaceStore::setFocusedWindowDisplay(std::optional<std::uint32_t> display) {
    state_.focusedWindowDisplay = display;
}

void WorkspaceStore::setOwnBundleID(std::optional<std::string> bundleID) {
    state_.ownBundleID = std::move(bundleID);
}

bool WorkspaceStore::displaysChanged(const std::vector<Display>& displays) {
    if (displays == state_.displays) return false;
    pinToManagedDisplay();
    state_.displays = displays;
    reclassifyDisplays();
    applyLayout();
    return true;
}

std::optional<std::uint32_t> WorkspaceStore::displayHolding(const CGRect& rect) const {
    if (auto holder = holding(state_.displays, rect)) return holder->id;
    return std::nullopt;
}

std::string WorkspaceStore::spacedIDs(const std::set<WindowID>& ids) {
    return spaced(ids);
}

void WorkspaceStore::pinToManagedDisplay() {
    // A window without a display of its own lives on the managed display, and its tree is
    // keyed by that display. Before the managed display can change, such a window is given
    // it explicitly, so that it stays with its tree or is re-homed together with it.
    const std::uint32_t managed = managedDisplayID();
    for (auto& [w, record] : state_.windows) {
        if (!record.displayHome) record.displayHome = managed;
    }
}

void WorkspaceStore::reclassifyDisplays() {
    std::set<std::uint32_t> attached;
    for (const Display& d : state_.displays)
        attached.insert(d.id);
    // The managed display as the fallback of this step: it does not depend on a window.
    const std::uint32_t fallback = managedDisplayID();
    std::vector<std::pair<WindowID, int>> homes;
    for (const auto& [w, record] : state_.windows)
        homes.emplace_back(w, record.home);
    // Each window is judged as earlier moves have left it: ending a zoom unparks others.
    for (const auto& [w, desktop] : homes) {
        const WindowState* record = stateOf(w);
        if (!record) continue;
        const auto current = record->displayHome;
        if (current && attached.count(*current)) continue;
        if (record->isParked() || record->inTheDock || record->fullScreened) continue;
        std::uint32_t target = fallback;
        if (auto frame = bridge_->frame(w)) {
            if (auto holder = displayHolding(*frame)) target = *holder;
        }
        if (target != current.value_or(fallback)) moveToDisplay(w, target, desktop);
    }
}

// ---- Panes and trees -------------------------------------------------------------------------

WindowState* WorkspaceStore::stateOf(WindowID w) {
    auto it = state_.windows.find(w);
    return it == state_.windows.end() ? nullptr : &it->second;
}

const WindowState* WorkspaceStore::stateOf(WindowID w) const {
    auto it = state_.windows.find(w);
    return it == state_.windows.end() ? nullptr : &it->second;
}

WindowState& WorkspaceStore::manage(WindowID w, int desktop) {
    WindowState& record = state_.windows[w];
    record.home = desktop;
    return record;
}

std::uint32_t WorkspaceStore::displayOf(WindowID w) const {
    const WindowState* record = stateOf(w);
    return record && record->displayHome ? *record->displayHome : managedDisplayID();
}

Pane WorkspaceStore::paneOf(WindowID w, int desktop) const {
    return Pane{desktop, displayOf(w)};
}

std::optional<Pane> WorkspaceStore::paneKey(WindowID w) const {
    const WindowState* record = stateOf(w);
    if (!record) return std::nullopt;
    return paneOf(w, record->home);
}

LayoutTree WorkspaceStore::treeOf(const Pane& pane) const {
    auto it = state_.trees.find(pane);
    return it == state_.trees.end() ? LayoutTree() : it->second;
}

void WorkspaceStore::insertIntoTree(WindowID w, int desktop, std::optional<WindowID> focused) {
    const Pane pane = paneOf(w, desktop);
    LayoutTree tree = treeOf(pane);
    if (layoutMode(desktop) == LayoutMode::masterStack && hasMainAndStackShape(tree)) {
        tree.insertIntoStack(w, LayoutTree::defaultMasterRatio);
    } else {
        tree.insert(w, focused, state_.screen);
    }
    state_.trees[pane] = tree;
}

void WorkspaceStore::removeFromTree(WindowID w, int desktop) {
    const Pane pane = paneOf(w, desktop);
    auto it = state_.trees.find(pane);
    if (it == state_.trees.end()) return;
    LayoutTree tree = it->second;
    if (tree.isEmpty()) return;
    const std::vector<WindowID> leaves = tree.windows();
    const bool heldAsMainAndStack =
        hasMainAndStackShape(tree) && std::find(leaves.begin(), leaves.end(), w) != leaves.end();
    const double mainRatio = tree.masterRatio().value_or(LayoutTree::defaultMasterRatio);
    tree.remove(w);
    if (heldAsMainAndStack && layoutMode(desktop) == LayoutMode::masterStack && !tree.isEmpty()) {
        // The next window becomes the main one and the stack closes up.
        tree = LayoutTree::masterStack(tree.windows(), mainRatio);
    }
    it->second = tree;
}

void WorkspaceStore::moveToDisplay(WindowID w, std::uint32_t display, int desktop) {
    if (zoomed(desktop) == w) endZoom(desktop);
    removeFromTree(w, desktop);
    if (WindowState* record = stateOf(w)) record->displayHome = display;
    fire(hooks.onChangedDisplay, w, display);
    if (!isFloating(w)) insertIntoTree(w, desktop, std::nullopt);
}

void WorkspaceStore::endZoom(int desktop) {
    auto it = state_.zoomedByDesktop.find(desktop);
    if (it == state_.zoomedByDesktop.end()) return;
    const WindowID formerlyZoomed = it->second;
    state_.zoomedByDesktop.erase(it);
    if (desktop != activeDesktop()) return;
    // Only windows whose own display shows the desktop: another display's windows of this
    // desktop are parked there and must stay recorded as parked.
    std::vector<WindowID> others;
    for (WindowID w : shownIntent(desktop)) {
        if (w != formerlyZoomed) others.push_back(w);
    }
    unpark(others, /*deferringMinimized=*/false);
}

std::vector<WindowID> WorkspaceStore::windows(int desktop) const {
    std::vector<WindowID> result;
    for (const auto& [w, record] : state_.windows) {
        if (record.home == desktop) result.push_back(w);
    }
    return result;
}

std::vector<WindowID> WorkspaceStore::tiled(int desktop) const {
    std::vector<WindowID> result;
    for (const auto& [w, record] : state_.windows) {
        if (record.home == desktop && !record.floating) result.push_back(w);
    }
    return result;
}

// ---- Queries ---------------------------------------------------------------------------------

std::map<WindowID, CGRect> WorkspaceStore::floatingFrames(int desktop) const {
    std::map<WindowID, CGRect> frames;
    for (const auto& [w, record] : state_.windows) {
        if (!record.floating || record.home != desktop || record.isParked()) continue;
        if (auto frame = bridge_->frame(w)) frames[w] = *frame;
    }
    return frames;
}

std::optional<int> WorkspaceStore::desktop(WindowID w) const {
    const WindowState* record = stateOf(w);
    if (!record) return std::nullopt;
    return record->home;
}

std::optional<WindowID> WorkspaceStore::zoomed(int desktop) const {
    auto it = state_.zoomedByDesktop.find(desktop);
    if (it == state_.zoomedByDesktop.end()) return std::nullopt;
    return it->second;
}

std::set<int> WorkspaceStore::occupiedDesktops() const {
    std::set<int> desktops;
    for (const auto& [w, record] : state_.windows)
        desktops.insert(record.home);
    return desktops;
}

bool WorkspaceStore::isParked(WindowID w) const {
    return is(w, &WindowState::isParked);
}

std::vector<WindowID> WorkspaceStore::windowsMinimizedToPark() const {
    const auto windows = state_.windowsWhere(&WindowState::minimizedToPark);
    return {windows.begin(), windows.end()};
}
bool WorkspaceStore::isFullScreen(WindowID w) const {
    return is(w, &WindowState::fullScreened);
}
bool WorkspaceStore::isHiddenByUser(const std::string& bundleID) const {
    return state_.userHiddenApps.count(bundleID) > 0;
}
bool WorkspaceStore::isShowingDesktop(int desktop) const {
    return state_.showingDesktop.count(desktop) > 0;
}
bool WorkspaceStore::isDragging() const {
    return std::any_of(state_.windows.begin(), state_.windows.end(),
                       [](const auto& entry) { return entry.second.dragging; });
}
bool WorkspaceStore::isFloating(WindowID w) const {
    return is(w, &WindowState::floating);
}

std::string WorkspaceStore::stateDescription() const {
    std::ostringstream text;
    text << "desktops: ";
    std::vector<std::string> entries;
    for (int d = 1; d <= desktopCount(); ++d) {
        const auto ws = windows(d);
        if (ws.empty()) continue;
        std::vector<std::string> named;
        for (WindowID w : ws) {
            named.push_back(std::to_string(w.raw) + "(" + bundleOf(w).value_or("?") + ")");
        }
        entries.push_back(std::to_string(d) + "=[" + spaced(named) + "]");
    }
    text << (entries.empty() ? "(none)" : spaced(entries));

    std::string zoomList = "nil";
    if (!state_.zoomedByDesktop.empty()) {
        std::vector<std::string> zooms;
        for (const auto& [d, w] : state_.zoomedByDesktop) {
            zooms.push_back(std::to_string(d) + ":" + std::to_string(w.raw));
        }
        zoomList = "[" + spaced(zooms) + "]";
    }
    std::vector<std::string> expected;
    for (const auto& e : state_.expectedFocus)
        expected.push_back(e.description());

    const State& s = state_;
    text << "\nactive=" << activeDesktop() << " parked=["
         << spaced(s.windowsWhere(&WindowState::isParked)) << "] parkRefused=["
         << spaced(s.windowsWhere(&WindowState::parkRefused)) << "] parkMinimized=["
         << spaced(s.windowsWhere(&WindowState::minimizedToPark)) << "] floating=["
         << spaced(s.windowsWhere(&WindowState::floating)) << "] inDock=["
         << spaced(s.windowsWhere(&WindowState::inTheDock)) << "] zoomed=" << zoomList
         << " showingDesktop=[" << spaced(state_.showingDesktop) << "] unmanageable=["
         << spaced(reconciler_.unmanageable()) << "] expected=[" << spaced(expected)
         << "] focus=" << (state_.nativeFocus ? state_.nativeFocus->description() : "nil")
         << " switchParked=[" << spaced(state_.parkedByLastSwitch) << "]";
    return text.str();
}

// ---- Shared geometry -------------------------------------------------------------------------

CGRect WorkspaceStore::centredOnScreen(const CGSize& size) const {
    const CGRect& s = state_.screen;
    return CGRect(s.midX() - size.width / 2, s.midY() - size.height / 2, size.width, size.height);
}

}  // namespace kelvo

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
    for (const auto& [w, desktop] : state_.home) {
        state_.displayHome.try_emplace(w, managed);
    }
}

void WorkspaceStore::reclassifyDisplays() {
    std::set<std::uint32_t> attached;
    for (const Display& d : state_.displays)
        attached.insert(d.id);
    // The managed display as the fallback of this step: it does not depend on a window.
    const std::uint32_t fallback = managedDisplayID();
    const auto homes = state_.home;
    for (const auto& [w, desktop] : homes) {
        auto current = state_.displayHome.find(w);
        if (current != state_.displayHome.end() && attached.count(current->second)) continue;
        if (state_.parked.count(w) || state_.inTheDock.count(w) || state_.fullScreened.count(w)) {
            continue;
        }
        std::uint32_t target = fallback;
        if (auto frame = bridge_->frame(w)) {
            if (auto holder = displayHolding(*frame)) target = *holder;
        }
        const std::uint32_t from = current != state_.displayHome.end() ? current->second : fallback;
        if (target != from) moveToDisplay(w, target, desktop);
    }
}

// ---- Panes and trees -------------------------------------------------------------------------

std::uint32_t WorkspaceStore::displayOf(WindowID w) const {
    auto it = state_.displayHome.find(w);
    return it == state_.displayHome.end() ? managedDisplayID() : it->second;
}

Pane WorkspaceStore::paneOf(WindowID w, int desktop) const {
    return Pane{desktop, displayOf(w)};
}

std::optional<Pane> WorkspaceStore::paneKey(WindowID w) const {
    auto it = state_.home.find(w);
    if (it == state_.home.end()) return std::nullopt;
    return paneOf(w, it->second);
}

std::optional<Pane> WorkspaceStore::paneOrHomePane(WindowID w) const {
    if (auto pane = paneKey(w)) return pane;
    auto it = state_.home.find(w);
    if (it == state_.home.end()) return std::nullopt;
    return Pane{it->second, managedDisplayID()};
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
    state_.displayHome[w] = display;
    fire(hooks.onChangedDisplay, w, display);
    if (!state_.floating.count(w)) insertIntoTree(w, desktop, std::nullopt);
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
    for (const auto& [w, home] : state_.home) {
        if (home == desktop) result.push_back(w);
    }
    return result;
}

std::vector<WindowID> WorkspaceStore::tiled(int desktop) const {
    std::vector<WindowID> result;
    for (WindowID w : windows(desktop)) {
        if (!state_.floating.count(w)) result.push_back(w);
    }
    return result;
}

// ---- Queries ---------------------------------------------------------------------------------

std::map<WindowID, CGRect> WorkspaceStore::floatingFrames(int desktop) const {
    std::map<WindowID, CGRect> frames;
    for (WindowID w : state_.floating) {
        if (this->desktop(w) != desktop || state_.parked.count(w)) continue;
        if (auto frame = bridge_->frame(w)) frames[w] = *frame;
    }
    return frames;
}

std::optional<int> WorkspaceStore::desktop(WindowID w) const {
    auto it = state_.home.find(w);
    if (it == state_.home.end()) return std::nullopt;
    return it->second;
}

std::optional<WindowID> WorkspaceStore::zoomed(int desktop) const {
    auto it = state_.zoomedByDesktop.find(desktop);
    if (it == state_.zoomedByDesktop.end()) return std::nullopt;
    return it->second;
}

std::set<int> WorkspaceStore::occupiedDesktops() const {
    std::set<int> desktops;
    for (const auto& [w, home] : state_.home)
        desktops.insert(home);
    return desktops;
}

bool WorkspaceStore::isParked(WindowID w) const {
    return state_.parked.count(w) > 0;
}
bool WorkspaceStore::isFullScreen(WindowID w) const {
    return state_.fullScreened.count(w) > 0;
}
bool WorkspaceStore::isShowingDesktop(int desktop) const {
    return state_.showingDesktop.count(desktop) > 0;
}
bool WorkspaceStore::isDragging() const {
    return !state_.dragging.empty();
}
bool WorkspaceStore::isFloating(WindowID w) const {
    return state_.floating.count(w) > 0;
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
            auto bundle = state_.bundleIDs.find(w);
            named.push_back(std::to_string(w.raw) + "(" +
                            (bundle == state_.bundleIDs.end() ? "?" : bundle->second) + ")");
        }
        entries.push_back(std::to_string(d) + "=[" + spaced(named) + "]");
    }
    text << (entries.empty() ? "(none)" : spaced(entries));

    std::vector<WindowID> parked;
    for (const auto& [w, frame] : state_.parked)
        parked.push_back(w);
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

    text << "\nactive=" << activeDesktop() << " parked=[" << spaced(parked) << "] parkRefused=["
         << spaced(state_.parkRefused) << "] parkMinimized=[" << spaced(state_.minimizedToPark)
         << "] floating=[" << spaced(state_.floating) << "] inDock=[" << spaced(state_.inTheDock)
         << "] zoomed=" << zoomList << " showingDesktop=[" << spaced(state_.showingDesktop)
         << "] unmanageable=[" << spaced(reconciler_.unmanageable()) << "] expected=["
         << spaced(expected)
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

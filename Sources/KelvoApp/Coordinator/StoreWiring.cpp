#include "KelvoApp/Coordinator/StoreWiring.h"

#include <cmath>
#include <sstream>

#include "Base/Foundation/FileSystem.h"
#include "KelvoApp/Coordinator/BorderTracking.h"
#include "KelvoApp/Coordinator/Coordinator.h"
#include "KelvoApp/Coordinator/LogText.h"
#include "KelvoApp/Coordinator/ProcessLog.h"
#include "KelvoApp/Coordinator/ScreenGeometry.h"
#include "KelvoApp/Coordinator/WindowNames.h"

namespace kelvo {

namespace {

/// A minimum dimension the floated line can state; one that is not positive is no limit.
std::string minimumText(double value) {
    return value > 0 ? LogText::whole(value) : "any";
}

}  // namespace

StoreWiring::StoreWiring(const CoordinatorProcess& process, const ProcessLog& log,
                         const WindowNames& names, BorderTracking& border, Callbacks callbacks)
    : process_(process),
      log_(log),
      names_(names),
      border_(border),
      callbacks_(std::move(callbacks)) {}

void StoreWiring::log(const std::string& message) const {
    log_.log(message);
}

std::string StoreWiring::named(WindowID id) const {
    return names_.named(id);
}

// ---- The store and what it is told ------------------------------------------------------------

void StoreWiring::makeStore(const Config& config) {
    AppPlatform& platform = *process_.platform;
    bridge_ = process_.makeBridge(config);
    screenFrame_ = ScreenGeometry::axScreenFrame(platform.mainScreen(), platform.screens())
                       .value_or(ScreenGeometry::fallbackFrame());
    menuBarDeadZones_ = ScreenGeometry::menuBarStrips(platform.screens());
    ownBundleID_ = platform.mainBundleIdentifier();
    store_ = std::make_unique<WorkspaceStore>(config, bridge_, screenFrame_);
    store_->setOwnBundleID(ownBundleID_);
}

void StoreWiring::readDisplays() {
    store_->displaysChanged(ScreenGeometry::attachedDisplays(process_.platform->screens()));
    log("displays at launch: " + LogText::displays(store_->displays()));
}

void StoreWiring::screenParametersChanged() {
    AppPlatform& platform = *process_.platform;
    menuBarDeadZones_ = ScreenGeometry::menuBarStrips(platform.screens());
    if (store_->displaysChanged(ScreenGeometry::attachedDisplays(platform.screens()))) {
        log("displays: " + LogText::displays(store_->displays()));
    }
    if (const auto frame =
            ScreenGeometry::axScreenFrame(platform.mainScreen(), platform.screens())) {
        const CGRect previous = store_->screen();
        if (store_->screenChanged(*frame)) {
            log("screen changed: " + LogText::rect(previous) + " -> " + LogText::rect(*frame));
            logState();
        }
    }
}

// ---- The state log and the session file -------------------------------------------------------

void StoreWiring::placeSessionFile(const std::filesystem::path& configURL) {
    bootTime_ = process_.platform->bootTime();
    sessionURL_ = configURL.parent_path() / sessionFileName;
    minimizedToPark_.place(configURL.parent_path(), bootTime_);
}

std::optional<SessionSnapshot> StoreWiring::loadSession() {
    std::optional<SessionSnapshot> snapshot;
    try {
        snapshot = SessionSnapshot::fromFileText(readFile(sessionURL_));
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (bootTime_ > 0 && std::fabs(snapshot->bootTime - bootTime_) < sessionBootTolerance) {
        return snapshot;
    }
    log("session file is from an earlier boot - not restored");
    return std::nullopt;
}

void StoreWiring::logState() {
    std::istringstream lines(store_->stateDescription());
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty()) log("  " + line);
    }
    saveSession();
}

void StoreWiring::saveSession() {
    if (!sessionReady_) return;
    try {
        writeAtomically(sessionURL_, store_->sessionSnapshot(bootTime_).fileText());
    } catch (const std::exception&) {
        // Best effort: the next state log writes it again.
    }
    saveMinimizedToPark();
}

void StoreWiring::saveMinimizedToPark() {
    if (sessionReady_) minimizedToPark_.save(store_->windowsMinimizedToPark());
}

// ---- The store's hooks ------------------------------------------------------------------------

void StoreWiring::installHooks() {
    WorkspaceStore::Hooks& hooks = store_->hooks;
    hooks.onChangedDisplay = [this](WindowID w, std::uint32_t display) {
        log(named(w) + " is on display #" + std::to_string(display) + " now - laid out there");
        logState();
    };
    installSchedulers();
    bridge_->setTrace([this](const std::string& text) { log("  " + text); });
    store_->queries.isMouseButtonDown = [this] {
        return process_.platform->isLeftMouseButtonDown();
    };
    process_.platform->observeScreenParameters(
        later_.weakly([this] { screenParametersChanged(); }));
    hooks.onExternalUnhide = [this](const std::string& bundle, int d) {
        log("unhiding " + bundle + " - hidden by the user but owns a window on desktop " +
            std::to_string(d));
    };
    hooks.onVisibilityFinding = [this](const VisibilityFinding& finding) { log(finding.line()); };
    hooks.onParkFinding = [this](const ParkFinding& finding) {
        log(finding.line());
        logState();
    };
    installLayoutHooks();
    store_->queries.pointerLocation = [this] { return process_.platform->pointerLocation(); };
    installDragHooks();
    installAdoptionHooks();
    installRuleHooks();
}

void StoreWiring::installSchedulers() {
    store_->schedulers.coalesce = [this](std::function<void()> work) {
        later_.after(coalesceDelay, [this, work = std::move(work)] {
            work();
            callbacks_.focusNameRefresh();
        });
    };
    store_->schedulers.scheduleRetry = [this](std::function<void()> work) {
        later_.after(retryDelay, [this, work = std::move(work)] {
            work();
            callbacks_.focusNameRefresh();
        });
    };
    store_->schedulers.scheduleDragSettle = [this](std::function<void()> work) {
        later_.after(dragSettleDelay, std::move(work));
    };
    store_->schedulers.coalesceDragStep = [this](std::function<void()> work) {
        later_.after(dragStepDelay, std::move(work));
    };
}

void StoreWiring::installLayoutHooks() {
    WorkspaceStore::Hooks& hooks = store_->hooks;
    hooks.onLayoutPass = [this](int writes, int unsettled) {
        if (writes > 0 || unsettled > 0 || log_.isVerbose()) {
            log("  layout: wrote " + std::to_string(writes) + ", " + std::to_string(unsettled) +
                " did not land");
        }
    };
    hooks.onGaveUp = [this](WindowID w, const std::optional<std::string>&,
                            std::optional<int> stashedOn) {
        std::string line =
            "gave up on " + named(w) + " after repeated refusals - floating it, out of the layout";
        if (stashedOn) line += " and onto desktop " + std::to_string(*stashedOn);
        log(line);
        logState();
    };
    hooks.onLayoutSkip = [this](WindowID w, CGRect want, CGRect have) {
        log("  layout: " + named(w) + " left alone - wanted " +
            LogText::size(want.width(), want.height(), "x") + " at " +
            LogText::origin(want.minX(), want.minY()) + ", read back " +
            LogText::size(have.width(), have.height(), "x") + " at " +
            LogText::origin(have.minX(), have.minY()));
    };
    hooks.onQuietPass = [this](int count, const std::string& unreadable,
                               const std::string& givenUp) {
        std::string line =
            "  layout: nothing written - " + std::to_string(count) + " window(s) asked for";
        if (!unreadable.empty()) line += ", unreadable=[" + unreadable + "]";
        if (!givenUp.empty()) line += ", given-up=[" + givenUp + "]";
        log(line);
    };
}

void StoreWiring::installDragHooks() {
    WorkspaceStore::Hooks& hooks = store_->hooks;
    hooks.onDragTarget = [this](std::optional<WindowID>, std::optional<CGRect> frame) {
        border_.showDragTarget(frame);
    };
    hooks.onFullScreenChanged = [this](WindowID w, bool full) {
        log(named(w) + (full ? " went full screen - out of the layout until it comes back"
                             : " left full screen - back in the layout"));
        logState();
    };
    hooks.onDragUnresolved = [this](WindowID w, const std::string& why) {
        log("drag: " + named(w) + " settled and changed nothing - " + why);
    };
    hooks.onRearranged = [this](WindowID w, WindowID other) {
        log("drag: " + named(w) + " was dropped on " + named(other) + " - the two swapped panes");
        logState();
    };
    hooks.onDividerDragged = [this](WindowID w) {
        log("drag: " + named(w) +
            " was resized by hand - moving the divider it shares and reflowing");
        logState();
        border_.update();
    };
    hooks.onLayoutModeChanged = [this](int d, LayoutMode mode) {
        std::string title = kelvo::title(mode);
        for (char& c : title)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        log("desktop " + std::to_string(d) + " is now laid out as " + title);
        callbacks_.changeConfig([&](Config& c) { c.layoutModes.set(d, mode); });
    };
}

void StoreWiring::installAdoptionHooks() {
    WorkspaceStore::Hooks& hooks = store_->hooks;
    hooks.onFloatedForMinimum = [this](WindowID w, CGSize minimum) {
        log("floated " + named(w) + " - it will not be smaller than " + minimumText(minimum.width) +
            "×" + minimumText(minimum.height) + " and no arrangement of desktop " +
            std::to_string(store_->desktop(w).value_or(0)) + " can give it that; ⌥V puts it back");
        logState();
    };
    hooks.onExternalFrameChange = [this](WindowID w, CGRect frame) {
        log(named(w) + " moved to " + LogText::size(frame.width(), frame.height(), "×") + " at " +
            LogText::origin(frame.minX(), frame.minY()) +
            " with no hand on the mouse - put back in its pane");
    };
    hooks.onApplicationHidden = [this](const std::string& bundle, bool hidden) {
        log(bundle + (hidden ? " hidden by the user - left hidden, its panes kept" : " unhidden"));
    };
    hooks.onRestoredSession = [this](int count) {
        log("restored " + std::to_string(count) +
            " window(s) to the desktops and panes the last session left them in");
    };
    hooks.onRearrangedForMinimum = [this](int d) {
        log("desktop " + std::to_string(d) +
            " rebuilt as a grid - its arrangement could not hold a window's minimum size and "
            "the grid can");
        logState();
    };
    hooks.onFloatedAtLaunch = [this](WindowID w, CGSize size, CGSize slot) {
        log("launch: " + named(w) + " is " + LogText::size(size.width, size.height, "×") +
            " against a " + LogText::size(slot.width, slot.height, "×") +
            " slot - left floating where it was, unwritten; ⌥V tiles it");
    };
}

void StoreWiring::installRuleHooks() {
    WorkspaceStore::Hooks& hooks = store_->hooks;
    hooks.onStashed = [this](WindowID w, int d) {
        logStash(w, d);
        stashedBeforeStatusItem_.push_back(d);
    };
    hooks.onLearnedFloatRule = [this](const std::string& bundle) {
        log("learned a float rule for " + bundle +
            " - its windows are left alone from the next launch; the row is in Settings ▸ "
            "Apps ▸ Rules and can be removed");
        callbacks_.changeConfig([&](Config& c) { c.floatBundleIDs.insert(bundle); });
    };
}

void StoreWiring::logStash(WindowID w, int d) const {
    log("stashed " + named(w) + " on desktop " + std::to_string(d) +
        " - no arrangement of its own desktop could give it a frame; it is tiled there instead");
}

void StoreWiring::statusItemMade() {
    store_->hooks.onStashed = [this](WindowID w, int d) {
        logStash(w, d);
        callbacks_.flash(d);
    };
    if (!stashedBeforeStatusItem_.empty()) {
        callbacks_.flash(stashedBeforeStatusItem_.front());
        stashedBeforeStatusItem_.clear();
    }
}

void StoreWiring::installLateHooks() {
    store_->hooks.onDragStep = [this](WindowID w, CGRect) { border_.dragStepped(w); };
    store_->hooks.onAdopted = [this](WindowID w) { callbacks_.adopted(w); };
}

}  // namespace kelvo

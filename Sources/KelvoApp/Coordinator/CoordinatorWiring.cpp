#include <sstream>

#include "Base/Foundation/FileSystem.h"
#include "KelvoApp/Coordinator/Coordinator.h"
#include "KelvoApp/Coordinator/LogText.h"
#include "KelvoApp/Input/FocusBorder.h"
#include "KelvoApp/Services/AppDisplayNames.h"
#include "KelvoCore/Launcher/AppTitle.h"

namespace kelvo {

namespace {

/// A minimum dimension the floated line can state; one that is not positive is no limit.
std::string minimumText(double value) {
    return value > 0 ? LogText::whole(value) : "any";
}

}  // namespace

// ---- The store's hooks ------------------------------------------------------------------------

void Coordinator::installStoreHooks() {
    WorkspaceStore::Hooks& hooks = store->hooks;
    hooks.onChangedDisplay = [this](WindowID w, std::uint32_t display) {
        log(named(w) + " is on display #" + std::to_string(display) + " now - laid out there");
        logState();
    };
    store->schedulers.coalesce = [this](std::function<void()> work) {
        after(coalesceDelay, weakly([this, work = std::move(work)] {
                  work();
                  focusNameRefresh();
              }));
    };
    store->schedulers.scheduleRetry = [this](std::function<void()> work) {
        after(retryDelay, weakly([this, work = std::move(work)] {
                  work();
                  focusNameRefresh();
              }));
    };
    store->schedulers.scheduleDragSettle = [this](std::function<void()> work) {
        after(dragSettleDelay, weakly(std::move(work)));
    };
    store->schedulers.coalesceDragStep = [this](std::function<void()> work) {
        after(dragStepDelay, weakly(std::move(work)));
    };
    bridge->setTrace([this](const std::string& text) { log("  " + text); });
    store->queries.isMouseButtonDown = [this] { return process.platform->isLeftMouseButtonDown(); };
    process.platform->observeScreenParameters(weakly([this] { onScreenParametersChanged(); }));
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
    store->queries.pointerLocation = [this] { return process.platform->pointerLocation(); };
    installDragHooks();
    installAdoptionHooks();
}

void Coordinator::installLayoutHooks() {
    WorkspaceStore::Hooks& hooks = store->hooks;
    hooks.onLayoutPass = [this](int writes, int unsettled) {
        if (writes > 0 || unsettled > 0 || verbose) {
            log("  layout: wrote " + std::to_string(writes) + ", " + std::to_string(unsettled) +
                " did not land");
        }
    };
    hooks.onGaveUp = [this](WindowID w, const std::optional<std::string>&) {
        std::string line =
            "gave up on " + named(w) + " after repeated refusals - floating it, out of the layout";
        // Only when the stash rule really moved it there: a stash desktop is set and the
        // window did not come from it.
        const auto stash = store->config().stashDesktop;
        const auto from = store->desktop(w);
        if (stash && from && *stash != *from && *stash >= 1 && *stash <= store->desktopCount()) {
            line += " and onto desktop " + std::to_string(*stash);
        }
        log(line);
        logState();
    };
}

void Coordinator::installDragHooks() {
    WorkspaceStore::Hooks& hooks = store->hooks;
    hooks.onDragTarget = [this](std::optional<WindowID>, std::optional<CGRect> frame) {
        if (!config.showFocusBorder) return;
        if (!frame) {
            hideBorder();
            dragTargetShown = false;
            return;
        }
        focusBorder->show(*frame);
        dragTargetShown = true;
    };
    hooks.onLayoutSkip = [this](WindowID w, CGRect want, CGRect have) {
        log("  layout: " + named(w) + " left alone - wanted " +
            LogText::size(want.width(), want.height(), "x") + " at " +
            LogText::origin(want.minX(), want.minY()) + ", read back " +
            LogText::size(have.width(), have.height(), "x") + " at " +
            LogText::origin(have.minX(), have.minY()));
    };
    hooks.onFullScreenChanged = [this](WindowID w, bool full) {
        log(named(w) + (full ? " went full screen - out of the layout until it comes back"
                             : " left full screen - back in the layout"));
        logState();
    };
    hooks.onQuietPass = [this](int count, const std::string& unreadable,
                               const std::string& givenUp) {
        std::string line =
            "  layout: nothing written - " + std::to_string(count) + " window(s) asked for";
        if (!unreadable.empty()) line += ", unreadable=[" + unreadable + "]";
        if (!givenUp.empty()) line += ", given-up=[" + givenUp + "]";
        log(line);
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
        updateFocusBorder();
    };
    hooks.onLayoutModeChanged = [this](int d, LayoutMode mode) {
        std::string title = kelvo::title(mode);
        for (char& c : title)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        log("desktop " + std::to_string(d) + " is now laid out as " + title);
        configStore->update([&](Config& c) { c.layoutModes.set(d, mode); });
    };
}

void Coordinator::installAdoptionHooks() {
    WorkspaceStore::Hooks& hooks = store->hooks;
    hooks.onFloatedForMinimum = [this](WindowID w, CGSize minimum) {
        log("floated " + named(w) + " - it will not be smaller than " + minimumText(minimum.width) +
            "×" + minimumText(minimum.height) + " and no arrangement of desktop " +
            std::to_string(store->desktop(w).value_or(0)) + " can give it that; ⌥V puts it back");
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
    hooks.onStashed = [this](WindowID w, int d) {
        log("stashed " + named(w) + " on desktop " + std::to_string(d) +
            " - no arrangement of its own desktop could give it a frame; it is tiled there "
            "instead");
        stashedBeforeMenuBar.push_back(d);
    };
    hooks.onLearnedFloatRule = [this](const std::string& bundle) {
        log("learned a float rule for " + bundle +
            " - its windows are left alone from the next launch; the row is in Settings ▸ "
            "Apps ▸ Rules and can be removed");
        configStore->update([&](Config& c) { c.floatBundleIDs.insert(bundle); });
    };
}

void Coordinator::installLateHooks() {
    store->hooks.onDragStep = [this](WindowID w, CGRect) {
        if (config.showFocusBorder && focused == w && !dragTargetShown) hideBorder();
    };
    store->hooks.onAdopted = [this](WindowID w) { adopted(w); };
}

// ---- Names, the state log and the session file ----------------------------------------------

std::string Coordinator::named(WindowID id) const {
    const auto found = appNames.find(id);
    return id.description() + " " + (found == appNames.end() ? "?" : found->second);
}

void Coordinator::logState() {
    std::istringstream lines(store->stateDescription());
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty()) log("  " + line);
    }
    saveSession();
}

void Coordinator::saveSession() {
    if (!sessionReady) return;
    try {
        writeAtomically(sessionURL, store->sessionSnapshot(bootTime).fileText());
    } catch (const std::exception&) {
        // Best effort: the next state log writes it again.
    }
}

// ---- The border, the status item's name, the foreign front ------------------------------------

void Coordinator::hideBorder() {
    if (focusBorder && focusBorder->panel.isVisible()) focusBorder->panel.orderOut(nullptr);
}

void Coordinator::updateFocusBorder() {
    if (store->isDragging()) return;
    std::optional<std::string> reason;
    std::optional<CGRect> frame;
    if (config.showFocusBorder) {
        const int active = store->activeDesktop();
        if (config.hideFocusBorderOnForeignFront && frontIsForeign) {
            reason = "the front is an application Kelvo manages nothing of here";
        } else if (!focused) {
            reason = "nothing is focused";
        } else if (const auto d = store->desktop(*focused); !d || *d != active) {
            reason = named(*focused) + " is on desktop " + (d ? std::to_string(*d) : "none") +
                     ", not the visible " + std::to_string(active);
        } else if (store->isFullScreen(*focused)) {
            reason = named(*focused) + " is full screen";
        } else if (frame = bridge->frame(*focused); !frame) {
            reason = named(*focused) + " has no readable frame";
        }
    }
    if (reason && reason != lastBorderHiddenReason) log("  focus border hidden: " + *reason);
    lastBorderHiddenReason = reason;
    if (reason || !config.showFocusBorder) {
        hideBorder();
        return;
    }
    focusBorder->show(*frame);
}

std::optional<std::string> Coordinator::focusedAppName() const {
    if (!config.showFocusedAppName || frontIsForeign || !focused) return std::nullopt;
    if (store->desktop(*focused) != store->activeDesktop()) return std::nullopt;
    const auto found = appNames.find(*focused);
    if (found == appNames.end()) return std::nullopt;
    return AppTitle::truncate(AppDisplayNames::name(found->second), appNameLimit);
}

void Coordinator::clearForeignFrontIfResolved() {
    if (!frontIsForeign || !foreignFrontBundleID) return;
    const auto window = store->launcherTarget(*foreignFrontBundleID);
    if (!window || store->desktop(*window) != store->activeDesktop()) return;
    const std::string bundle = *foreignFrontBundleID;
    frontIsForeign = false;
    foreignFrontBundleID.reset();
    log("  " + bundle +
        " now owns a window Kelvo manages here - the border and the menu bar name come back");
}

void Coordinator::focusNameRefresh() {
    clearForeignFrontIfResolved();
    menuBar->setFocusedApp(focusedAppName());
    updateFocusBorder();
}

void Coordinator::desktopRefresh() {
    menuBar->setDesktops(store->activeDesktop(), store->occupiedDesktops());
    menuBar->setLayoutMode(store->layoutMode(store->activeDesktop()));
}

// ---- The own windows and the status item's callbacks ----------------------------------------

void Coordinator::showSettings() {
    const int active = store->activeDesktop();
    settingsDesktop.opened(active);
    settingsWindow->show();
    log("settings window opened on desktop " + std::to_string(active));
}

void Coordinator::showGuide() {
    const int active = store->activeDesktop();
    guideDesktop.opened(active);
    guideWindow->show();
    log("guide opened on desktop " + std::to_string(active));
}

std::string Coordinator::shortcutsChord() const {
    for (const KeyReference::Section& section : KeyReference::sections(config)) {
        for (const KeyReference::Entry& entry : section.entries) {
            if (entry.shortcut != Shortcut::cheatsheet) continue;
            if (entry.caps.empty()) return "";
            std::string text;
            for (const std::string& cap : entry.caps.front())
                text += cap;
            return text;
        }
    }
    return "";
}

std::optional<CGRect> Coordinator::statusItemAnchor() const {
    const auto frame = menuBar->buttonWindowFrame();
    if (!frame || frame->width() <= 0 || frame->height() <= 0 || frame->maxX() <= 0) {
        return std::nullopt;
    }
    return frame;
}

}  // namespace kelvo

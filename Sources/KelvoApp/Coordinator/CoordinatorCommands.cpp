#include "Base/Foundation/DispatchQueue.h"
#include "KelvoApp/Coordinator/Coordinator.h"
#include "KelvoApp/Coordinator/LogText.h"
#include "KelvoApp/Input/FocusBorder.h"
#include "KelvoApp/Input/FocusFollowsCursorService.h"
#include "KelvoApp/Input/HotkeyService.h"
#include "KelvoApp/Services/TerminalLauncher.h"
#include "KelvoCore/Store/PointerHitTest.h"

namespace kelvo {

std::optional<WindowID> Coordinator::currentTarget() {
    const auto t = store->targetWindow(focused);
    if (!t) return std::nullopt;
    if (focused != t) {
        log("  focused=" + (focused ? named(*focused) : std::string("nil")) +
            " -> falling back to " + named(*t));
        claimFocus(*t, true);
    } else if (frontIsForeign) {
        log("  the front is not a window Kelvo manages -> re-focusing " + named(*t));
        claimFocus(*t, true);
    }
    return t;
}

void Coordinator::dispatch(const Command& command) {
    log("cmd " + LogText::command(command) +
        "  focused=" + (focused ? named(*focused) : std::string("nil")));
    using Kind = Command::Kind;
    switch (command.kind()) {
        case Kind::switchTo: {
            const int n = *command.desktop();
            hideBorder();
            store->switchTo(n, std::nullopt);
            reseedFocusIfStale();
            desktopRefresh();
            syncOwnWindows();
            if (config.showSwitchHUD) hud->show(n);
            break;
        }
        case Kind::throwTo:
            if (const auto t = currentTarget()) {
                hideBorder();
                store->throwFocused(*t, *command.desktop());
            }
            reseedFocusIfStale();
            desktopRefresh();
            break;
        case Kind::focus:
            if (const auto t = currentTarget()) {
                if (const auto g = store->focusNeighbour(*t, *command.direction()))
                    claimFocus(*g, true);
            }
            break;
        case Kind::moveWindow:
            if (const auto t = currentTarget()) store->moveWindow(*t, *command.direction());
            break;
        case Kind::resize:
            if (const auto t = currentTarget()) store->resizeWindow(*t, *command.direction());
            break;
        case Kind::toggleZoom:
            if (const auto t = currentTarget()) store->toggleZoom(*t);
            break;
        case Kind::toggleFloat:
            if (const auto t = currentTarget()) {
                store->toggleFloat(*t, t);
                log(std::string("  ") + (store->isFloating(*t) ? "floated" : "un-floated") + " " +
                    named(*t));
                focusNameRefresh();
            }
            break;
        case Kind::closeWindow:
            break;
        case Kind::newTerminal:
            TerminalLauncher::open(
                config.terminalBundleID,
                [this](const std::string& b) { store->expectActivation(b); },
                [this](const std::string& line) { log(line); });
            break;
        case Kind::rebalance:
            store->rebalance();
            desktopRefresh();
            break;
        case Kind::toggleSplit:
            if (const auto t = currentTarget()) store->toggleSplit(*t);
            break;
        case Kind::rotate:
            store->rotate();
            break;
        case Kind::launcher:
            if (launcher) {
                if (!launcher->panel.visible) {
                    launcher->show();
                } else {
                    dismissLauncher();
                }
            }
            break;
        case Kind::promoteToMaster:
            if (const auto t = currentTarget()) store->promoteToMaster(*t);
            break;
        case Kind::toggleLayoutMode: {
            const int active = store->activeDesktop();
            const LayoutMode mode = store->layoutMode(active);
            store->setLayoutMode(
                mode == LayoutMode::masterStack ? LayoutMode::bsp : LayoutMode::masterStack,
                active);
            desktopRefresh();
            break;
        }
        case Kind::showDesktop:
            hideBorder();
            store->toggleShowDesktop();
            reseedFocusIfStale();
            break;
        case Kind::cheatsheet:
            cheatsheet->toggle();
            break;
    }
    logState();
}

void Coordinator::dismissLauncher() {
    if (!launcher) return;
    if (launcher->panel.visible) {
        launcher->panel.orderOut();
        launcher->model.reset();
    }
    if (const auto previous = launcher->previousApp) {
        for (const RunningApplication& app : process.platform->runningApplications()) {
            if (app.pid != previous->pid || app.terminated || app.active) continue;
            if (app.bundleID && launcher->expectActivation()) {
                launcher->expectActivation()(*app.bundleID);
            }
            process.platform->activate(app.pid);
            break;
        }
    }
    launcher->previousApp.reset();
}

void Coordinator::setRecordingShortcut(bool recording) {
    recordingShortcut = recording;
    if (hotkeys) hotkeys->suspended = recording;
}

bool Coordinator::modifierClick(CGPoint location) {
    std::set<WindowID> ignoring;
    for (const long number : {focusBorder ? focusBorder->panel.windowNumber() : 0L,
                              hud ? static_cast<long>(hud->panel.windowNumber) : 0L}) {
        if (number >= 1) ignoring.insert(WindowID(static_cast<std::uint32_t>(number)));
    }
    const auto w =
        PointerHitTest::window(location, process.platform->onScreenWindows(), ownPID, ignoring);
    if (!w || !store->canToggleFloatByClick(*w)) return false;
    DispatchQueue::main().async(weakly([this, w = *w] {
        if (!store->canToggleFloatByClick(w)) return;
        store->toggleFloat(w, w);
        log("⌥⇧click " + named(w) + ": " + (store->isFloating(w) ? "floated" : "un-floated"));
        acceptFocus(w);
        logState();
    }));
    return true;
}

void Coordinator::dwellFocus(WindowID w) {
    if (focused && store->isFullScreen(*focused)) return;
    claimFocus(w, false);
}

void Coordinator::startFocusFollowsCursor() {
    if (focusFollowsCursorService) return;
    auto service = std::make_unique<FocusFollowsCursorService>(
        *process.taps, pointerDebounce, [this](CGPoint p) { pointerMoved(p); },
        [this] { return pointerSuppressed(); }, [this] { focusDwell->cancel(); });
    try {
        service->start();
    } catch (const HotkeyError& error) {
        log(std::string("focus-follows-cursor: could not start its mouse tap (") + error.what() +
            ")");
        return;
    }
    focusFollowsCursorService = std::move(service);
}

bool Coordinator::pointerSuppressed() const {
    const auto visibleAndKey = [](const std::optional<OwnPanel>& window) {
        return window && window->visible && window->key;
    };
    if (visibleAndKey(settingsWindow->window) || visibleAndKey(guideWindow->window)) return true;
    return focused && store->isFloating(*focused);
}

void Coordinator::pointerMoved(CGPoint point) {
    const int active = store->activeDesktop();
    std::map<WindowID, CGRect> frames = store->layout(active);
    std::set<WindowID> onTop;
    for (const auto& [w, frame] : store->floatingFrames(active)) {
        frames[w] = frame;
        onTop.insert(w);
    }
    focusDwell->pointerMoved(point, frames, onTop, focused, menuBarDeadZones,
                             static_cast<double>(config.focusFollowsCursorDelay) / 1000);
}

}  // namespace kelvo

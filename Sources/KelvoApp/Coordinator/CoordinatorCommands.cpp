#include "Base/Foundation/DispatchQueue.h"
#include "KelvoApp/Coordinator/Coordinator.h"
#include "KelvoApp/Coordinator/LogText.h"
#include "KelvoApp/Input/FocusBorder.h"
#include "KelvoApp/Input/FocusFollowsCursorService.h"
#include "KelvoApp/Input/HotkeyService.h"
#include "KelvoApp/Services/TerminalLauncher.h"
#include "KelvoCore/Keys/CaseTable.h"
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

namespace {

// What each command does, carried out for the coordinator.

void switchTo(Coordinator& c, const Command& command) {
    const int n = *command.desktop();
    c.hideBorder();
    c.store->switchTo(n, std::nullopt);
    c.reseedFocusIfStale();
    c.desktopRefresh();
    c.syncOwnWindows();
    if (c.config.showSwitchHUD) c.hud->show(n);
}

void throwTo(Coordinator& c, const Command& command) {
    if (const auto t = c.currentTarget()) {
        c.hideBorder();
        c.store->throwFocused(*t, *command.desktop());
    }
    c.reseedFocusIfStale();
    c.desktopRefresh();
}

void focus(Coordinator& c, const Command& command) {
    if (const auto t = c.currentTarget()) {
        if (const auto g = c.store->focusNeighbour(*t, *command.direction()))
            c.claimFocus(*g, true);
    }
}

void moveWindow(Coordinator& c, const Command& command) {
    if (const auto t = c.currentTarget()) c.store->moveWindow(*t, *command.direction());
}

void resize(Coordinator& c, const Command& command) {
    if (const auto t = c.currentTarget()) c.store->resizeWindow(*t, *command.direction());
}

void toggleZoom(Coordinator& c, const Command&) {
    if (const auto t = c.currentTarget()) c.store->toggleZoom(*t);
}

void toggleFloat(Coordinator& c, const Command&) {
    if (const auto t = c.currentTarget()) {
        c.store->toggleFloat(*t, t);
        c.log(std::string("  ") + (c.store->isFloating(*t) ? "floated" : "un-floated") + " " +
              c.named(*t));
        c.focusNameRefresh();
    }
}

void closeWindow(Coordinator&, const Command&) {}

void newTerminal(Coordinator& c, const Command&) {
    TerminalLauncher::open(
        c.config.terminalBundleID, [&c](const std::string& b) { c.store->expectActivation(b); },
        [&c](const std::string& line) { c.log(line); });
}

void rebalance(Coordinator& c, const Command&) {
    c.store->rebalance();
    c.desktopRefresh();
}

void toggleSplit(Coordinator& c, const Command&) {
    if (const auto t = c.currentTarget()) c.store->toggleSplit(*t);
}

void rotate(Coordinator& c, const Command&) {
    c.store->rotate();
}

void launcher(Coordinator& c, const Command&) {
    if (!c.launcher) return;
    if (!c.launcher->panel.visible) {
        c.launcher->show();
    } else {
        c.dismissLauncher();
    }
}

void promoteToMaster(Coordinator& c, const Command&) {
    if (const auto t = c.currentTarget()) c.store->promoteToMaster(*t);
}

void toggleLayoutMode(Coordinator& c, const Command&) {
    const int active = c.store->activeDesktop();
    const LayoutMode mode = c.store->layoutMode(active);
    c.store->setLayoutMode(
        mode == LayoutMode::masterStack ? LayoutMode::bsp : LayoutMode::masterStack, active);
    c.desktopRefresh();
}

void showDesktop(Coordinator& c, const Command&) {
    c.hideBorder();
    c.store->toggleShowDesktop();
    c.reseedFocusIfStale();
}

void cheatsheet(Coordinator& c, const Command&) {
    c.cheatsheet->toggle();
}

struct CommandHandler {
    Command::Kind kind;
    void (*carryOut)(Coordinator&, const Command&);
};

/// The dispatcher's table: one handler for every kind of command, in case order.
constexpr CommandHandler handlers[] = {
    {Command::Kind::switchTo, switchTo},
    {Command::Kind::throwTo, throwTo},
    {Command::Kind::focus, focus},
    {Command::Kind::moveWindow, moveWindow},
    {Command::Kind::resize, resize},
    {Command::Kind::toggleZoom, toggleZoom},
    {Command::Kind::toggleFloat, toggleFloat},
    {Command::Kind::closeWindow, closeWindow},
    {Command::Kind::newTerminal, newTerminal},
    {Command::Kind::rebalance, rebalance},
    {Command::Kind::toggleSplit, toggleSplit},
    {Command::Kind::rotate, rotate},
    {Command::Kind::launcher, launcher},
    {Command::Kind::promoteToMaster, promoteToMaster},
    {Command::Kind::toggleLayoutMode, toggleLayoutMode},
    {Command::Kind::showDesktop, showDesktop},
    {Command::Kind::cheatsheet, cheatsheet},
};
static_assert(std::size(handlers) == Command::kindCount &&
              inCaseOrder(handlers, &CommandHandler::kind));

}  // namespace

void Coordinator::dispatch(const Command& command) {
    log("cmd " + LogText::command(command) +
        "  focused=" + (focused ? named(*focused) : std::string("nil")));
    caseRow(handlers, command.kind()).carryOut(*this, command);
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

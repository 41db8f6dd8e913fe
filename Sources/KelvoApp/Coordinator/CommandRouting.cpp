#include "KelvoApp/Coordinator/CommandRouting.h"

#include "KelvoApp/Applications/TerminalLauncher.h"
#include "KelvoApp/Coordinator/ConfigurationChanges.h"
#include "KelvoApp/Coordinator/Coordinator.h"
#include "KelvoApp/Coordinator/Focus.h"
#include "KelvoApp/Coordinator/LogText.h"
#include "KelvoApp/Coordinator/OwnWindows.h"
#include "KelvoApp/Coordinator/ProcessLog.h"
#include "KelvoApp/Coordinator/StoreWiring.h"
#include "KelvoApp/Coordinator/WindowNames.h"
#include "KelvoApp/Input/HotkeyService.h"
#include "KelvoCore/Bindings/Keymap.h"
#include "KelvoCore/Keys/CaseTable.h"
#include "KelvoCore/Store/PointerHitTest.h"

namespace kelvo {

CommandRouting::CommandRouting(const CoordinatorProcess& process, const ProcessLog& log,
                               const WindowNames& names, StoreWiring& wiring,
                               const ConfigurationChanges& configuration, Focus& focus,
                               OwnWindows& ownWindows, Callbacks callbacks)
    : process_(process),
      log_(log),
      names_(names),
      wiring_(wiring),
      configuration_(configuration),
      focus_(focus),
      ownWindows_(ownWindows),
      callbacks_(std::move(callbacks)) {}

CommandRouting::~CommandRouting() = default;

void CommandRouting::log(const std::string& message) const {
    log_.log(message);
}

std::string CommandRouting::named(WindowID id) const {
    return names_.named(id);
}

// ---- The keys ---------------------------------------------------------------------------------

bool CommandRouting::armKeys() {
    const Config& config = configuration_.config();
    hotkeys_ = std::make_unique<HotkeyService>(*process_.taps, Keymap(config),
                                               [this](const Command& c) { dispatch(c); });
    hotkeys_->escapePutsAway = [this] { return ownWindows_.cheatsheetShown(); };
    hotkeys_->onEscape = [this] { ownWindows_.putAwayCheatsheet(); };
    armedConfig_ = config;
    try {
        const EventTaps::Tap tap = hotkeys_->makeTap();
        hotkeys_->install(tap, tap);
    } catch (const HotkeyError&) {
        return false;
    }
    return true;
}

void CommandRouting::rearmKeys(const Config& next) {
    if (next.primaryModifier != armedConfig_.primaryModifier) {
        Keymap keymap(next);
        EventTaps::Tap tap = 0;
        try {
            tap = hotkeys_->makeTap();
        } catch (const HotkeyError& error) {
            log("could not re-arm the key tap for " + rawValue(next.primaryModifier) + " (" +
                error.what() + "); keys still use " + rawValue(armedConfig_.primaryModifier));
            return;
        }
        hotkeys_->teardown();
        hotkeys_->install(tap, tap);
        hotkeys_->keymap = std::move(keymap);
    } else if (next.desktopCount != armedConfig_.desktopCount ||
               next.showLauncher != armedConfig_.showLauncher ||
               next.shortcuts != armedConfig_.shortcuts) {
        hotkeys_->keymap = Keymap(next);
    }
    armedConfig_ = next;
}

void CommandRouting::bindModifierClick(int ownPID) {
    ownPID_ = ownPID;
    hotkeys_->onModifierClick = [this](CGPoint p) { return modifierClick(p); };
}

void CommandRouting::startClickBinding() {
    try {
        hotkeys_->startClickBinding();
    } catch (const HotkeyError& error) {
        log(std::string("⌥⇧click: could not start its mouse tap (") + error.what() +
            "); the binding is off");
    }
}

void CommandRouting::stopClickBinding() {
    hotkeys_->stopClickBinding();
}

void CommandRouting::release() {
    hotkeys_.reset();
}

void CommandRouting::setRecordingShortcut(bool recording) {
    recordingShortcut_ = recording;
    if (hotkeys_) hotkeys_->suspended = recording;
}

// ---- The dispatcher ---------------------------------------------------------------------------

void CommandRouting::dispatch(const Command& command) {
    const auto focused = focus_.focused();
    log("cmd " + LogText::command(command) +
        "  focused=" + (focused ? named(*focused) : std::string("nil")));
    carryOut(command);
    wiring_.logState();
}

void CommandRouting::carryOut(const Command& command) {
    struct Handler {
        Command::Kind kind;
        void (CommandRouting::*carryOut)(const Command&);
    };
    /// One handler for every kind of command, in case order.
    static constexpr Handler handlers[] = {
        {Command::Kind::switchTo, &CommandRouting::switchTo},
        {Command::Kind::throwTo, &CommandRouting::throwTo},
        {Command::Kind::focus, &CommandRouting::focus},
        {Command::Kind::moveWindow, &CommandRouting::moveWindow},
        {Command::Kind::resize, &CommandRouting::resize},
        {Command::Kind::toggleZoom, &CommandRouting::toggleZoom},
        {Command::Kind::toggleFloat, &CommandRouting::toggleFloat},
        {Command::Kind::closeWindow, &CommandRouting::closeWindow},
        {Command::Kind::newTerminal, &CommandRouting::newTerminal},
        {Command::Kind::rebalance, &CommandRouting::rebalance},
        {Command::Kind::toggleSplit, &CommandRouting::toggleSplit},
        {Command::Kind::rotate, &CommandRouting::rotate},
        {Command::Kind::launcher, &CommandRouting::launcher},
        {Command::Kind::promoteToMaster, &CommandRouting::promoteToMaster},
        {Command::Kind::toggleLayoutMode, &CommandRouting::toggleLayoutMode},
        {Command::Kind::showDesktop, &CommandRouting::showDesktop},
        {Command::Kind::cheatsheet, &CommandRouting::cheatsheet},
    };
    static_assert(std::size(handlers) == Command::kindCount &&
                  inCaseOrder(handlers, &Handler::kind));
    (this->*caseRow(handlers, command.kind()).carryOut)(command);
}

std::optional<WindowID> CommandRouting::currentTarget() {
    const auto focused = focus_.focused();
    const auto t = wiring_.store().targetWindow(focused);
    if (!t) return std::nullopt;
    if (focused != t) {
        log("  focused=" + (focused ? named(*focused) : std::string("nil")) +
            " -> falling back to " + named(*t));
        focus_.claimFocus(*t, true);
    } else if (focus_.frontIsForeign()) {
        log("  the front is not a window Kelvo manages -> re-focusing " + named(*t));
        focus_.claimFocus(*t, true);
    }
    return t;
}

// ---- What each command does -------------------------------------------------------------------

void CommandRouting::switchTo(const Command& command) {
    const int n = *command.desktop();
    callbacks_.hideBorder();
    wiring_.store().switchTo(n, std::nullopt);
    focus_.reseedFocusIfStale();
    ownWindows_.desktopRefresh();
    ownWindows_.syncOwnWindows();
    ownWindows_.showSwitchDisplay(n);
}

void CommandRouting::throwTo(const Command& command) {
    if (const auto t = currentTarget()) {
        callbacks_.hideBorder();
        wiring_.store().throwFocused(*t, *command.desktop());
    }
    focus_.reseedFocusIfStale();
    ownWindows_.desktopRefresh();
}

void CommandRouting::focus(const Command& command) {
    if (const auto t = currentTarget()) {
        if (const auto g = wiring_.store().focusNeighbour(*t, *command.direction()))
            focus_.claimFocus(*g, true);
    }
}

void CommandRouting::moveWindow(const Command& command) {
    if (const auto t = currentTarget()) wiring_.store().moveWindow(*t, *command.direction());
}

void CommandRouting::resize(const Command& command) {
    if (const auto t = currentTarget()) wiring_.store().resizeWindow(*t, *command.direction());
}

void CommandRouting::toggleZoom(const Command&) {
    if (const auto t = currentTarget()) wiring_.store().toggleZoom(*t);
}

void CommandRouting::toggleFloat(const Command&) {
    if (const auto t = currentTarget()) {
        WorkspaceStore& store = wiring_.store();
        store.toggleFloat(*t, t);
        log(std::string("  ") + (store.isFloating(*t) ? "floated" : "un-floated") + " " +
            named(*t));
        focus_.focusNameRefresh();
    }
}

void CommandRouting::closeWindow(const Command&) {}

void CommandRouting::newTerminal(const Command&) {
    TerminalLauncher::open(
        configuration_.config().terminalBundleID,
        [this](const std::string& b) { wiring_.store().expectActivation(b); },
        [this](const std::string& line) { log(line); });
}

void CommandRouting::rebalance(const Command&) {
    wiring_.store().rebalance();
    ownWindows_.desktopRefresh();
}

void CommandRouting::toggleSplit(const Command&) {
    if (const auto t = currentTarget()) wiring_.store().toggleSplit(*t);
}

void CommandRouting::rotate(const Command&) {
    wiring_.store().rotate();
}

void CommandRouting::launcher(const Command&) {
    callbacks_.toggleLauncher();
}

void CommandRouting::promoteToMaster(const Command&) {
    if (const auto t = currentTarget()) wiring_.store().promoteToMaster(*t);
}

void CommandRouting::toggleLayoutMode(const Command&) {
    WorkspaceStore& store = wiring_.store();
    const int active = store.activeDesktop();
    const LayoutMode mode = store.layoutMode(active);
    store.setLayoutMode(mode == LayoutMode::masterStack ? LayoutMode::bsp : LayoutMode::masterStack,
                        active);
    ownWindows_.desktopRefresh();
}

void CommandRouting::showDesktop(const Command&) {
    callbacks_.hideBorder();
    wiring_.store().toggleShowDesktop();
    focus_.reseedFocusIfStale();
}

void CommandRouting::cheatsheet(const Command&) {
    ownWindows_.toggleCheatsheet();
}

// ---- The modifier-click -----------------------------------------------------------------------

bool CommandRouting::modifierClick(CGPoint location) {
    std::set<WindowID> ignoring;
    for (const long number :
         {callbacks_.borderWindowNumber(), ownWindows_.switchDisplayWindowNumber()}) {
        if (number >= 1) ignoring.insert(WindowID(static_cast<std::uint32_t>(number)));
    }
    const auto w =
        PointerHitTest::window(location, process_.platform->onScreenWindows(), ownPID_, ignoring);
    WorkspaceStore& store = wiring_.store();
    if (!w || !store.canToggleFloatByClick(*w)) return false;
    later_.soon([this, w = *w] {
        WorkspaceStore& store = wiring_.store();
        if (!store.canToggleFloatByClick(w)) return;
        store.toggleFloat(w, w);
        log("⌥⇧click " + named(w) + ": " + (store.isFloating(w) ? "floated" : "un-floated"));
        focus_.acceptFocus(w);
        wiring_.logState();
    });
    return true;
}

}  // namespace kelvo

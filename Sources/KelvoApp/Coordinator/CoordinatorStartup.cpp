#include <cmath>
#include <csignal>

#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/DispatchSource.h"
#include "Base/Foundation/DispatchTime.h"
#include "Base/Foundation/FileSystem.h"
#include "KelvoAX/Classification/AdoptionStep.h"
#include "KelvoApp/Coordinator/Coordinator.h"
#include "KelvoApp/Coordinator/LogText.h"
#include "KelvoApp/Coordinator/ScreenGeometry.h"
#include "KelvoApp/Diagnostics/Diagnostics.h"
#include "KelvoApp/Input/AppPresence.h"
#include "KelvoApp/Input/FocusBorder.h"
#include "KelvoApp/Input/FocusFollowsCursorService.h"
#include "KelvoApp/Input/HotkeyService.h"
#include "KelvoApp/Input/PermissionGate.h"
#include "KelvoApp/TestMode/TestMode.h"
#include "KelvoCore/Bindings/Keymap.h"
#include "KelvoCore/Store/AdoptionRecord.h"

namespace kelvo {

namespace {

/// SIGINT and SIGTERM wait, blocked, from the first step until their sources exist, so that
/// a signal during start-up cannot end the process with windows parked.
class HeldSignals {
  public:
    HeldSignals() {
        sigemptyset(&set_);
        sigaddset(&set_, SIGINT);
        sigaddset(&set_, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &set_, &previous_);
    }
    ~HeldSignals() { release(); }
    void release() {
        if (released_) return;
        released_ = true;
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }

  private:
    sigset_t set_;
    sigset_t previous_;
    bool released_ = false;
};

}  // namespace

Coordinator::Coordinator(CoordinatorProcess process)
    : process(std::move(process)), liveness_(std::make_shared<Coordinator*>(this)) {}

Coordinator::~Coordinator() {
    // The services that call back into the coordinator go first.
    focusFollowsCursorService.reset();
    hotkeys.reset();
    if (events) events->stop();
    events.reset();
    if (logFile) logFile->flush();
}

void Coordinator::after(double seconds, std::function<void()> work) {
    DispatchQueue::main().asyncAfter(DispatchTime::now() + seconds, std::move(work));
}

std::function<void()> Coordinator::weakly(std::function<void()> work) const {
    std::weak_ptr<Coordinator*> alive = liveness_;
    return [alive, work = std::move(work)] {
        if (alive.lock()) work();
    };
}

void Coordinator::log(const std::string& message) const {
    if (logFile) logFile->write(message);
    if (verbose) writeAll(process.standardError, "[kelvo] " + message + "\n");
}

// ---- Start-up ------------------------------------------------------------------------------

void Coordinator::start() {
    HeldSignals held;
    // A harness that closes standard output must not end the process before the parked
    // windows are put back.
    std::signal(SIGPIPE, SIG_IGN);
    AppPlatform& platform = *process.platform;

    // 1–3: no Dock icon, the test-mode refusal, the permission gate.
    platform.setActivationPolicy(ActivationPolicy::accessory);
    const std::optional<std::filesystem::path> testDirectory =
        TestMode::directoryFrom(process.environment("KELVO_TEST_CONFIG_DIR"));
    if (!TestMode::prepare(testDirectory, platform, process.standardError, process.exit)) return;
    if (!PermissionGate::ensureTrusted(platform, testDirectory.has_value())) {
        writeAll(process.standardOutput, "Accessibility permission denied; quitting.\n");
        process.exit(1);
        return;
    }

    // 4–9: configuration, log.
    const std::filesystem::path configURL = TestMode::configURL(testDirectory);
    configStore = std::make_unique<ConfigStore>(configURL, ConfigStore::mainQueueScheduler());
    if (configStore->loadFailed()) {
        const std::string reason = configStore->loadError()
                                       ? ConfigStore::describe(configStore->loadError())
                                       : std::string("unknown error");
        writeAll(process.standardError, "kelvo: " + configURL.string() + " could not be read (" +
                                            reason + "); using defaults.\n");
    }
    config = configStore->config();
    verbose = process.environment("KELVO_LOG").has_value();
    logFile = std::make_unique<LogFile>(TestMode::logURL(testDirectory), logMaximumBytes);
    sessionReady = false;

    // 10–14: bridge, screens, store.
    bridge = process.makeBridge(config);
    screenFrame = ScreenGeometry::axScreenFrame(platform.mainScreen(), platform.screens())
                      .value_or(ScreenGeometry::fallbackFrame());
    menuBarDeadZones = ScreenGeometry::menuBarStrips(platform.screens());
    ownBundleID = platform.mainBundleIdentifier();
    store = std::make_unique<WorkspaceStore>(config, bridge, screenFrame);
    store->setOwnBundleID(ownBundleID);

    // 15: crash reports.
    const auto logURL = TestMode::logURL(testDirectory);
    crashesSinceLastLaunch = Diagnostics::crashReports(Diagnostics::lastChecked(logURL));
    for (const auto& line : Diagnostics::crashLogLines(crashesSinceLastLaunch))
        log(line);
    Diagnostics::markChecked(Date::now(), logURL);

    // 16–17: displays, the store's hooks, the session's location.
    store->displaysChanged(ScreenGeometry::attachedDisplays(platform.screens()));
    log("displays at launch: " + LogText::displays(store->displays()));
    installStoreHooks();
    bootTime = platform.bootTime();
    sessionURL = configURL.parent_path() / "session.json";
    appNames.clear();
    dragTargetShown = false;
    stashedBeforeMenuBar.clear();

    // 18–25: the launch windows and the session.
    existing = bridge->windows();
    for (const ManagedWindow& w : existing)
        appNames[w.id] = w.bundleID;
    settled.clear();
    unsettled.clear();
    for (const ManagedWindow& w : existing)
        (w.floating ? unsettled : settled).push_back(w);
    previousSession = loadSession();
    std::vector<AdoptionRecord> records;
    for (const ManagedWindow& w : settled) {
        records.push_back(AdoptionRecord{w.id, w.bundleID, w.floating, w.minimized, w.frame});
    }
    store->adopt(records, previousSession);
    sessionReady = true;
    if (previousSession && previousSession->activeDesktop != store->activeDesktop()) {
        const int wanted = previousSession->activeDesktop;
        // The store's own count, clamped to 1 … 9, bounds the restored desktop.
        if (wanted >= 1 && wanted <= store->desktopCount()) store->switchTo(wanted, std::nullopt);
    }
    for (const ManagedWindow& w : unsettled) {
        after(AdoptionStep::floatSettleDelays[0], weakly([this, w] { launchReread(w); }));
    }
    int restoredFromMinimized = 0;
    for (const ManagedWindow& w : settled)
        restoredFromMinimized += w.minimized ? 1 : 0;
    log("adopted " + std::to_string(settled.size()) + " existing window(s) at launch (" +
        std::to_string(restoredFromMinimized) + " restored from minimized), " +
        std::to_string(unsettled.size()) + " re-read before adoption");
    logState();

    // 26: the launch focus.
    std::optional<WindowID> launchFocus;
    if (const auto front = platform.frontmostBundleID())
        launchFocus = store->launcherTarget(*front);
    if (!launchFocus) launchFocus = store->leftmostWindow(store->activeDesktop(), std::nullopt);
    focused = launchFocus;
    pendingFocus.reset();
    frontIsForeign = false;
    recordingShortcut = false;
    foreignFrontBundleID.reset();

    // 27–40: the status item, panels and own windows.
    makeServices();

    // 41–45: the late hooks and the event stream.
    installLateHooks();
    events = process.makeEvents(*this);
    std::weak_ptr<Coordinator*> alive = liveness_;
    const auto relay = [alive](void (Coordinator::*handler)(const std::optional<std::string>&)) {
        return [alive, handler](const std::optional<std::string>& bundle) {
            if (const auto self = alive.lock()) ((*self)->*handler)(bundle);
        };
    };
    platform.observeApplicationHiding(relay(&Coordinator::applicationHidden),
                                      relay(&Coordinator::applicationUnhidden));
    events->start();

    // 46: the launcher.
    launcher.reset();
    if (config.showLauncher) launcher = makeLauncher();

    // 47: the key tap, without which nothing can be driven.
    hotkeys = std::make_unique<HotkeyService>(*process.taps, Keymap(config),
                                              [this](const Command& c) { dispatch(c); });
    try {
        const EventTaps::Tap tap = hotkeys->makeTap();
        hotkeys->install(tap, tap);
    } catch (const HotkeyError&) {
        const std::string line = "kelvo: the key tap could not be created; quitting.";
        writeAll(process.standardError, line + "\n");
        log(line);
        store->restoreAll();
        logFile->flush();
        process.exit(2);
        return;
    }

    // 48–53: test mode, recording, the click binding, focus-follows-pointer.
    testModeReader = TestMode::start(
        testDirectory, *hotkeys, *store, [this] { return focused; }, platform.processIdentifier(),
        weakly([this] { terminate(); }), process.standardInput, process.standardOutput);
    settingsWindow->model.setHotkeysSuspended = [this](bool on) { setRecordingShortcut(on); };
    ownPID = platform.processIdentifier();
    hotkeys->onModifierClick = [this](CGPoint p) { return modifierClick(p); };
    if (config.clickToFloat) {
        try {
            hotkeys->startClickBinding();
        } catch (const HotkeyError& error) {
            log(std::string("⌥⇧click: could not start its mouse tap (") + error.what() +
                "); the binding is off");
        }
    }
    focusFollowsCursorService.reset();
    focusDwell = std::make_unique<FocusDwell>();
    focusDwell->schedule = [this](double delay, std::function<void()> work) {
        after(delay, weakly(std::move(work)));
    };
    focusDwell->onFocus = [this](WindowID w) { dwellFocus(w); };
    if (config.focusFollowsCursor) startFocusFollowsCursor();

    // 54–57: configuration changes, the quit handlers.
    armedConfig = config;
    configStore->onChange = [this](const Config& next) {
        applyConfig(next);
        settingsWindow->model.adopt(next);
    };
    platform.observeWillTerminate(weakly([this] { applicationWillTerminate(); }));
    for (int signal : {SIGINT, SIGTERM}) {
        std::signal(signal, SIG_IGN);
    }
    for (int signal : {SIGINT, SIGTERM}) {
        DispatchSourceSignal source =
            DispatchSource::makeSignalSource(signal, DispatchQueue::main());
        source.setEventHandler(weakly([this, signal] { signalReceived(signal); }));
        source.resume();
        signalSources.push_back(source);
    }
    held.release();

    // 58: the first run.
    if (!config.guideSeen && !testDirectory) {
        DispatchQueue::main().async(weakly([this] {
            log("first run - showing the guide");
            showGuide();
        }));
    }
}

void Coordinator::launchReread(const ManagedWindow& window) {
    if (process.platform->isLeftMouseButtonDown()) {
        log("  " + named(window.id) +
            " appeared under a held mouse button - adopting it on release");
        after(heldButtonRecheck,
              weakly([this, id = window.id] { beginAdoption(id, 1, std::nullopt, false, true); }));
        return;
    }
    const auto generation = ladder.begin(window.id);
    if (!generation) {
        log("  " + named(window.id) +
            " is already being re-read - not starting a second adoption for it");
        return;
    }
    adoptCreated(window.id, 1, *generation, std::nullopt, false);
}

std::optional<SessionSnapshot> Coordinator::loadSession() {
    std::optional<SessionSnapshot> snapshot;
    try {
        snapshot = SessionSnapshot::fromFileText(readFile(sessionURL));
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (bootTime > 0 && std::fabs(snapshot->bootTime - bootTime) < sessionBootTolerance) {
        return snapshot;
    }
    log("session file is from an earlier boot - not restored");
    return std::nullopt;
}

void Coordinator::makeServices() {
    desktopModel = std::make_unique<DesktopModel>();
    updates = std::make_unique<Updates>();
    settingsWindow = std::make_unique<SettingsWindowController>(*configStore);
    settingsWindow->model.updates = updates.get();
    updates->start();
    guideWindow = std::make_unique<GuideWindowController>(settingsWindow->model);
    presence = std::make_unique<AppPresence>(*process.platform);
    settingsWindow->presence = presence.get();
    guideWindow->presence = presence.get();
    menuBar = std::make_unique<MenuBarController>(
        *desktopModel, store->desktopCount(), config.showFocusedAppName,
        MenuBarController::Callbacks{
            .onSettings = [this] { showSettings(); },
            .onGuide = [this] { showGuide(); },
            .onCheatsheet = [this] { cheatsheet->toggle(); },
            .shortcutsChord = [this] { return shortcutsChord(); },
            .onRebalance =
                [this] {
                    store->rebalance();
                    desktopRefresh();
                },
            .onQuit = [this] { quitFromMenu(); },
        });
    hud = std::make_unique<SwitchHUD>();
    store->hooks.onStashed = [this](WindowID w, int d) {
        log("stashed " + named(w) + " on desktop " + std::to_string(d) +
            " - no arrangement of its own desktop could give it a frame; it is tiled there "
            "instead");
        menuBar->flash(d);
    };
    if (!stashedBeforeMenuBar.empty()) {
        menuBar->flash(stashedBeforeMenuBar.front());
        stashedBeforeMenuBar.clear();
    }
    cheatsheet = std::make_unique<CheatsheetPanelController>(
        [this] { return KeyReference::sections(config); });
    guideWindow->anchor = [this] { return statusItemAnchor(); };
    focusBorder =
        std::make_unique<FocusBorder>(HexColor::parse(config.focusBorderColor),
                                      config.focusBorderOpacity, config.focusBorderCornerRadius);
    settingsDesktop = OwnWindowDesktop{};
    guideDesktop = OwnWindowDesktop{};
    settingsWindow->onClose = [this] {
        settingsDesktop.closed();
        log("settings window closed");
    };
    guideWindow->onClose = [this] {
        guideDesktop.closed();
        log("guide closed");
    };
    guideWindow->model.onOpenSettings = [this] { showSettings(); };
    settingsWindow->model.openGuide = [this] { showGuide(); };
    desktopRefresh();
    lastBorderHiddenReason.reset();
    borderSettle.reset();
    focusNameRefresh();
}

// ---- Quitting ------------------------------------------------------------------------------

void Coordinator::applicationWillTerminate() {
    configStore->flush();
    store->restoreAll();
    log("quitting - every parked window put back");
    logFile->flush();
}

void Coordinator::terminate() {
    applicationWillTerminate();
    process.exit(0);
}

void Coordinator::signalReceived(int signal) {
    configStore->flush();
    store->restoreAll();
    log("signal " + std::to_string(signal) + " - every parked window put back");
    logFile->flush();
    process.exit(0);
}

void Coordinator::quitFromMenu() {
    configStore->flush();
    terminate();
}

void Coordinator::onScreenParametersChanged() {
    AppPlatform& platform = *process.platform;
    menuBarDeadZones = ScreenGeometry::menuBarStrips(platform.screens());
    if (store->displaysChanged(ScreenGeometry::attachedDisplays(platform.screens()))) {
        log("displays: " + LogText::displays(store->displays()));
    }
    if (const auto frame =
            ScreenGeometry::axScreenFrame(platform.mainScreen(), platform.screens())) {
        const CGRect previous = store->screen();
        if (store->screenChanged(*frame)) {
            log("screen changed: " + LogText::rect(previous) + " -> " + LogText::rect(*frame));
            logState();
        }
    }
}

}  // namespace kelvo

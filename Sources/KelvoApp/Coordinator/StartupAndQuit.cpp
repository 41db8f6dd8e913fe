#include "KelvoApp/Coordinator/StartupAndQuit.h"

#include <csignal>
#include <set>

#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/FileSystem.h"
#include "Base/Foundation/StaleTemporaryFiles.h"
#include "KelvoAX/Classification/AdoptionStep.h"
#include "KelvoApp/Coordinator/BorderTracking.h"
#include "KelvoApp/Coordinator/CommandRouting.h"
#include "KelvoApp/Coordinator/ConfigurationChanges.h"
#include "KelvoApp/Coordinator/Coordinator.h"
#include "KelvoApp/Coordinator/Focus.h"
#include "KelvoApp/Coordinator/LauncherRequests.h"
#include "KelvoApp/Coordinator/MinimizedToParkFile.h"
#include "KelvoApp/Coordinator/OwnWindows.h"
#include "KelvoApp/Coordinator/PointerFocus.h"
#include "KelvoApp/Coordinator/ProcessLog.h"
#include "KelvoApp/Coordinator/StoreWiring.h"
#include "KelvoApp/Coordinator/WindowEvents.h"
#include "KelvoApp/Coordinator/WindowNames.h"
#include "KelvoApp/Diagnostics/Diagnostics.h"
#include "KelvoApp/Input/PermissionGate.h"
#include "KelvoApp/TestMode/TestMode.h"
#include "KelvoCore/Store/AdoptionRecord.h"

namespace kelvo {

namespace {

sigset_t quitSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

/// SIGINT and SIGTERM wait, blocked, from the first step until their sources exist, so that a
/// signal during start-up cannot end the process with windows parked; a signal that came
/// meanwhile stays pending and is taken by the main thread once they are let through.
class HeldSignals {
  public:
    HeldSignals() { StartupAndQuit::holdQuitSignals(); }
    ~HeldSignals() { release(); }
    /// Lets them through on this thread only: the threads started meanwhile keep them
    /// blocked, so the main thread takes every one.
    void release() {
        if (released_) return;
        released_ = true;
        const sigset_t set = quitSignals();
        pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    }

  private:
    bool released_ = false;
};

}  // namespace

void StartupAndQuit::holdQuitSignals() {
    const sigset_t set = quitSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

StartupAndQuit::StartupAndQuit(const CoordinatorProcess& process, ProcessLog& log,
                               WindowNames& names, ConfigurationChanges& configuration,
                               StoreWiring& wiring, OwnWindows& ownWindows, BorderTracking& border,
                               WindowEvents& windowEvents, LauncherRequests& launcher,
                               CommandRouting& commands, PointerFocus& pointerFocus, Focus& focus)
    : process_(process),
      log_(log),
      names_(names),
      configuration_(configuration),
      wiring_(wiring),
      ownWindows_(ownWindows),
      border_(border),
      windowEvents_(windowEvents),
      launcher_(launcher),
      commands_(commands),
      pointerFocus_(pointerFocus),
      focus_(focus) {}

void StartupAndQuit::log(const std::string& message) const {
    log_.log(message);
}

// ---- Start-up ---------------------------------------------------------------------------------

void StartupAndQuit::start() {
    HeldSignals held;
    // A harness that closes standard output must not end the process before the parked
    // windows are put back.
    std::signal(SIGPIPE, SIG_IGN);
    if (!mayRun()) return;
    openConfigurationAndLog();
    wiring_.makeStore(configuration_.config());
    countCrashReports();
    wiring_.readDisplays();
    wiring_.installHooks();
    wiring_.placeSessionFile(TestMode::configURL(testDirectory_));
    adoptLaunchWindows();
    focus_.focusAtLaunch();
    makeOwnWindowsAndPanels();
    listenToWindowEvents();
    launcher_.follow(configuration_.config().showLauncher);
    if (!armKeys()) return;
    startTestMode();
    ownWindows_.onShortcutRecording([this](bool on) { commands_.setRecordingShortcut(on); });
    startPointerBindings();
    configuration_.watch();
    installQuitHandlers();
    held.release();
    showGuideOnFirstRun();
}

/// No Dock icon; then the test mode's refusal of a second instance and the permission gate.
bool StartupAndQuit::mayRun() {
    AppPlatform& platform = *process_.platform;
    platform.setActivationPolicy(ActivationPolicy::accessory);
    testDirectory_ = TestMode::directoryFrom(process_.environment("KELVO_TEST_CONFIG_DIR"));
    if (!TestMode::prepare(testDirectory_, platform, process_.standardError, process_.exit)) {
        return false;
    }
    if (!PermissionGate::ensureTrusted(platform, testDirectory_.has_value())) {
        writeAll(process_.standardOutput, "Accessibility permission denied; quitting.\n");
        process_.exit(1);
        return false;
    }
    return true;
}

void StartupAndQuit::openConfigurationAndLog() {
    removeLeftoverTemporaryFiles();
    configuration_.load(TestMode::configURL(testDirectory_));
    const bool verbose = process_.environment("KELVO_LOG").has_value();
    log_.open(TestMode::logURL(testDirectory_), verbose);
}

/// A save killed half-way leaves its temporary file beside the file it replaces; one that is
/// old enough cannot belong to a save of another instance still under way.
void StartupAndQuit::removeLeftoverTemporaryFiles() {
    const auto configURL = TestMode::configURL(testDirectory_);
    removeStaleTemporaryFiles(configURL.parent_path(),
                              {configURL.filename().string(), StoreWiring::sessionFileName,
                               MinimizedToParkFile::fileName},
                              leftoverTemporaryAge);
}

void StartupAndQuit::countCrashReports() {
    const auto logURL = TestMode::logURL(testDirectory_);
    crashesSinceLastLaunch_ = Diagnostics::crashReports(Diagnostics::lastChecked(logURL));
    for (const auto& line : Diagnostics::crashLogLines(crashesSinceLastLaunch_))
        log(line);
    Diagnostics::markChecked(Date::now(), logURL);
}

/// The windows already open: those that read as settled are adopted at once, with the
/// session of this boot; those that read as floating are read again after a settle delay.
void StartupAndQuit::adoptLaunchWindows() {
    const std::vector<ManagedWindow> existing = wiring_.bridge().windows();
    for (const ManagedWindow& w : existing)
        names_.name(w.id, w.bundleID);
    std::vector<ManagedWindow> settled;
    std::vector<ManagedWindow> unsettled;
    for (const ManagedWindow& w : existing)
        (w.floating ? unsettled : settled).push_back(w);
    previousSession_ = wiring_.loadSession();
    bringBackMinimizedToPark(settled);
    std::vector<AdoptionRecord> records;
    for (const ManagedWindow& w : settled) {
        records.push_back(AdoptionRecord{w.id, w.bundleID, w.floating, w.minimized, w.frame});
    }
    wiring_.store().adopt(records, previousSession_);
    wiring_.markSessionReady();
    restoreActiveDesktop();
    for (const ManagedWindow& w : unsettled) {
        later_.after(AdoptionStep::floatSettleDelays[0],
                     [this, w] { windowEvents_.launchReread(w); });
    }
    int restoredFromMinimized = 0;
    for (const ManagedWindow& w : settled)
        restoredFromMinimized += w.minimized ? 1 : 0;
    log("adopted " + std::to_string(settled.size()) + " existing window(s) at launch (" +
        std::to_string(restoredFromMinimized) + " restored from minimized), " +
        std::to_string(unsettled.size()) + " re-read before adoption");
    wiring_.logState();
}

/// A window an earlier run of this boot minimized to park, and never put back because that run
/// was killed, is not the person's to keep in the Dock: it comes out and is adopted as shown.
void StartupAndQuit::bringBackMinimizedToPark(std::vector<ManagedWindow>& windows) {
    const std::set<WindowID> minimizedByKelvo = wiring_.minimizedToParkBefore();
    for (ManagedWindow& w : windows) {
        if (!w.minimized || !minimizedByKelvo.count(w.id)) continue;
        wiring_.bridge().setMinimized(false, w.id);
        w.minimized = false;
        log(names_.named(w.id) + " was minimized by an earlier run to park it - brought back");
    }
}

void StartupAndQuit::restoreActiveDesktop() {
    WorkspaceStore& store = wiring_.store();
    if (!previousSession_ || previousSession_->activeDesktop == store.activeDesktop()) return;
    const int wanted = previousSession_->activeDesktop;
    // The store's own count, clamped to 1 … 9, bounds the restored desktop.
    if (wanted >= 1 && wanted <= store.desktopCount()) store.switchTo(wanted, std::nullopt);
}

void StartupAndQuit::makeOwnWindowsAndPanels() {
    ownWindows_.make();
    border_.make();
    ownWindows_.desktopRefresh();
    focus_.focusNameRefresh();
}

void StartupAndQuit::listenToWindowEvents() {
    wiring_.installLateHooks();
    windowEvents_.listen();
}

/// The key tap, without which nothing can be driven: when it cannot be made the windows are
/// put back and the process ends.
bool StartupAndQuit::armKeys() {
    if (commands_.armKeys()) return true;
    const std::string line = "kelvo: the key tap could not be created; quitting.";
    writeAll(process_.standardError, line + "\n");
    log(line);
    putEveryWindowBack();
    log_.flush();
    process_.exit(2);
    return false;
}

void StartupAndQuit::startTestMode() {
    testModeReader_ = TestMode::start(
        testDirectory_, commands_.hotkeys(), wiring_.store(), [this] { return focus_.focused(); },
        process_.platform->processIdentifier(), later_.weakly([this] { terminate(); }),
        process_.standardInput, process_.standardOutput);
}

/// The modifier-click and focus-follows-pointer, each when the configuration asks for it.
void StartupAndQuit::startPointerBindings() {
    const Config& config = configuration_.config();
    commands_.bindModifierClick(process_.platform->processIdentifier());
    if (config.clickToFloat) commands_.startClickBinding();
    pointerFocus_.prepare();
    if (config.focusFollowsCursor) pointerFocus_.start();
}

void StartupAndQuit::installQuitHandlers() {
    process_.platform->observeWillTerminate(later_.weakly([this] { applicationWillTerminate(); }));
    // The sources' own handler replaces the default action. Ignoring the signals first, as one
    // would where sources read them from the kernel, would throw away one that is pending now.
    for (int signal : {SIGINT, SIGTERM}) {
        DispatchSourceSignal source =
            DispatchSource::makeSignalSource(signal, DispatchQueue::main());
        source.setEventHandler(later_.weakly([this, signal] { signalReceived(signal); }));
        source.resume();
        signalSources_.push_back(source);
    }
}

void StartupAndQuit::showGuideOnFirstRun() {
    if (configuration_.config().guideSeen || testDirectory_) return;
    later_.soon([this] {
        log("first run - showing the guide");
        ownWindows_.showGuide();
    });
}

void StartupAndQuit::waitForTestModeReader(double seconds) {
    if (testModeReader_) testModeReader_->waitUntilFinished(seconds);
}

// ---- Quitting ---------------------------------------------------------------------------------

void StartupAndQuit::saveConfiguration() {
    configuration_.store().flush();
    ownWindows_.reportSaveFailure();
}

void StartupAndQuit::putEveryWindowBack() {
    wiring_.store().restoreAll();
    wiring_.saveMinimizedToPark();
}

void StartupAndQuit::applicationWillTerminate() {
    saveConfiguration();
    putEveryWindowBack();
    log("quitting - every parked window put back");
    log_.flush();
}

void StartupAndQuit::terminate() {
    applicationWillTerminate();
    process_.exit(0);
}

void StartupAndQuit::signalReceived(int signal) {
    saveConfiguration();
    putEveryWindowBack();
    log("signal " + std::to_string(signal) + " - every parked window put back");
    log_.flush();
    process_.exit(0);
}

void StartupAndQuit::desktopWentAway(const std::string& reason) {
    log("the desktop went away: " + reason);
    saveConfiguration();
    putEveryWindowBack();
    log_.flush();
    writeAll(process_.standardError, desktopWentAwayText + reason + "\n");
    process_.exit(noDesktopStatus);
}

void StartupAndQuit::quitFromMenu() {
    saveConfiguration();
    terminate();
}

}  // namespace kelvo

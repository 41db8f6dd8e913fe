#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Base/Foundation/DispatchSource.h"
#include "Base/Foundation/DispatchWorkItem.h"
#include "Base/Foundation/NSThread.h"
#include "KelvoAX/Classification/ActivationSweepRecord.h"
#include "KelvoAX/Classification/AdoptionLadder.h"
#include "KelvoAX/Log/LogFile.h"
#include "KelvoApp/Input/EventTaps.h"
#include "KelvoApp/Interfaces/AppPlatform.h"
#include "KelvoApp/Interfaces/CoordinatorBridge.h"
#include "KelvoApp/Services/CheatsheetPanelController.h"
#include "KelvoApp/Services/DesktopModel.h"
#include "KelvoApp/Services/GuideWindowController.h"
#include "KelvoApp/Services/LauncherController.h"
#include "KelvoApp/Services/MenuBarController.h"
#include "KelvoApp/Services/SettingsWindowController.h"
#include "KelvoApp/Services/SwitchHUD.h"
#include "KelvoApp/Updates/Updates.h"
#include "KelvoCore/Config/Config.h"
#include "KelvoCore/Config/ConfigStore.h"
#include "KelvoCore/Keys/Command.h"
#include "KelvoCore/Store/FocusDwell.h"
#include "KelvoCore/Store/OwnWindowDesktop.h"
#include "KelvoCore/Store/SessionSnapshot.h"
#include "KelvoCore/Store/WorkspaceStore.h"

namespace kelvo {

class AppPresence;
class FocusBorder;
class HotkeyService;
class FocusFollowsCursorService;
class Coordinator;

/// The process around the coordinator: the platform, the environment, the standard streams
/// and the way the process ends. The program passes its own; a suite passes descriptors it
/// reads and an exit that unwinds instead of ending the process.
struct CoordinatorProcess {
    AppPlatform* platform = nullptr;
    /// The value of an environment variable; none when it is not set.
    std::function<std::optional<std::string>(const std::string&)> environment;
    int standardInput = 0;
    int standardOutput = 1;
    int standardError = 2;
    /// Ends the process with the status; never returns.
    std::function<void(int)> exit;
    EventTaps* taps = nullptr;
    /// The Accessibility bridge over a configuration.
    std::function<std::shared_ptr<CoordinatorBridge>(const Config&)> makeBridge;
    /// The Accessibility event stream, reporting to the coordinator.
    std::function<std::unique_ptr<WindowEventSource>(Coordinator&)> makeEvents;
};

/// The application's coordinator: the owner of every long-lived object and the one place
/// where window events, focus, commands, launcher picks and configuration changes meet the
/// workspace store. One exists for the life of the process; everything runs on the main
/// thread. The members are the process-wide state, in the order the system declares it.
class Coordinator {
  public:
    static constexpr std::int64_t logMaximumBytes = 4'194'304;
    static constexpr double coalesceDelay = 0.016;
    static constexpr double retryDelay = 0.15;
    static constexpr double dragSettleDelay = 0.2;
    static constexpr double dragStepDelay = 0.016;
    static constexpr double heldButtonRecheck = 0.1;
    static constexpr double borderSettleDelay = 0.12;
    static constexpr double pendingFocusDelay = 1.5;
    static constexpr double activationCheckDelay = 1.2;
    static constexpr double pointerDebounce = 0.03;
    /// A session written further from the boot time than this belongs to another boot.
    static constexpr double sessionBootTolerance = 2.0;
    static constexpr int appNameLimit = 20;

    explicit Coordinator(CoordinatorProcess process);
    ~Coordinator();
    Coordinator(const Coordinator&) = delete;
    Coordinator& operator=(const Coordinator&) = delete;

    // ---- The process-wide state ------------------------------------------------------------

    CoordinatorProcess process;
    std::unique_ptr<ConfigStore> configStore;
    Config config;
    bool verbose = false;
    std::unique_ptr<LogFile> logFile;
    bool sessionReady = false;
    std::shared_ptr<CoordinatorBridge> bridge;
    CGRect screenFrame;
    std::vector<CGRect> menuBarDeadZones;
    std::optional<std::string> ownBundleID;
    std::unique_ptr<WorkspaceStore> store;
    std::vector<std::filesystem::path> crashesSinceLastLaunch;
    double bootTime = 0;
    std::filesystem::path sessionURL;
    std::map<WindowID, std::string> appNames;
    bool dragTargetShown = false;
    std::vector<int> stashedBeforeMenuBar;
    std::vector<ManagedWindow> existing;
    std::vector<ManagedWindow> settled;
    std::vector<ManagedWindow> unsettled;
    std::optional<SessionSnapshot> previousSession;
    std::optional<WindowID> focused;
    std::optional<WindowID> pendingFocus;
    bool frontIsForeign = false;
    bool recordingShortcut = false;
    std::optional<std::string> foreignFrontBundleID;
    std::unique_ptr<DesktopModel> desktopModel;
    std::unique_ptr<Updates> updates;
    std::unique_ptr<SettingsWindowController> settingsWindow;
    std::unique_ptr<GuideWindowController> guideWindow;
    std::unique_ptr<MenuBarController> menuBar;
    std::unique_ptr<SwitchHUD> hud;
    std::unique_ptr<CheatsheetPanelController> cheatsheet;
    std::unique_ptr<FocusBorder> focusBorder;
    OwnWindowDesktop settingsDesktop;
    OwnWindowDesktop guideDesktop;
    std::optional<std::string> lastBorderHiddenReason;
    std::optional<DispatchWorkItem> borderSettle;
    AdoptionLadder ladder;
    ActivationSweepRecord sweepRecord;
    std::unique_ptr<WindowEventSource> events;
    std::unique_ptr<LauncherController> launcher;
    std::unique_ptr<HotkeyService> hotkeys;
    int ownPID = 0;
    std::unique_ptr<FocusFollowsCursorService> focusFollowsCursorService;
    std::unique_ptr<FocusDwell> focusDwell;
    Config armedConfig;
    std::vector<DispatchSourceSignal> signalSources;
    /// Whether the application shows in the Dock: while one of its own windows is open.
    std::unique_ptr<AppPresence> presence;
    /// The test mode's reader of requests, while it runs.
    std::optional<NSThread> testModeReader;

    // ---- Start-up and quitting -------------------------------------------------------------

    /// Every start-up step, in order, up to the run loop. Ends the process through
    /// `process.exit` when trust is refused, another test-mode instance runs or the key tap
    /// cannot be made.
    void start();
    /// The application's terminate request: the terminate handler, then the process ends.
    void terminate();

    /// The one log function of the process.
    void log(const std::string& message) const;
    /// The store's hooks, schedulers and queries that exist before any window is read.
    void installStoreHooks();
    /// The status item, the panels and the own windows, with their callbacks.
    void makeServices();
    /// The hooks that need the status item: the stash flash, the drag step, the adopted hook.
    void installLateHooks();
    /// Reads and checks the session file; none when it is missing, unreadable or from
    /// another boot.
    std::optional<SessionSnapshot> loadSession();
    /// The terminate notification: flush, every parked window back, the log flushed.
    void applicationWillTerminate();
    /// SIGINT or SIGTERM: as the terminate notification, then the process ends with 0.
    void signalReceived(int signal);
    /// The status menu's Quit.
    void quitFromMenu();
    void onScreenParametersChanged();

    // ---- Store wiring, state log and session file ------------------------------------------

    std::string named(WindowID id) const;
    void logState();
    void saveSession();
    void updateFocusBorder();
    std::optional<std::string> focusedAppName() const;
    void clearForeignFrontIfResolved();
    void focusNameRefresh();
    void desktopRefresh();
    void hideBorder();
    void showSettings();
    void showGuide();
    std::string shortcutsChord() const;
    std::optional<CGRect> statusItemAnchor() const;

    // ---- Window events and adoption ---------------------------------------------------------

    void eventCreated(WindowID id, const std::optional<std::string>& ownerBundleID,
                      const std::optional<WindowElementRef>& element);
    void eventDestroyed(WindowID id);
    void eventMoved(WindowID id);
    void eventMinimized(WindowID id);
    void eventUnminimized(WindowID id);
    void eventTerminated(const std::optional<std::string>& bundleID);
    void windowGone(WindowID id);
    void beginAdoption(WindowID id, int attempt, std::optional<std::vector<ManagedWindow>> using_,
                       bool announceGiveUp, bool waited);
    void adoptCreated(WindowID id, int attempt, std::int64_t generation,
                      std::optional<std::vector<ManagedWindow>> using_, bool announceGiveUp);
    void adoptWindowlessFront(const std::optional<std::string>& bundle);
    void borderFollowsMove(WindowID id);
    void adopted(WindowID id);
    void applicationHidden(const std::optional<std::string>& bundleID);
    void applicationUnhidden(const std::optional<std::string>& bundleID);
    /// The launch re-read of a window that read as floating at launch.
    void launchReread(const ManagedWindow& window);

    // ---- Focus claims and activation follow-up ---------------------------------------------

    void acceptFocus(WindowID w);
    void claimFocus(WindowID w, bool raising);
    void reseedFocusIfStale();
    void verifyActivation(WindowID w);
    void noteForeignFront(const std::optional<std::string>& bundle);
    void syncOwnWindows();
    void eventFocused(WindowID id);
    void pendingFocusCheck(WindowID id);
    void eventActivated(std::optional<WindowID> window, const std::optional<std::string>& bundle);

    // ---- Commands and pointer actions ---------------------------------------------------------

    void dispatch(const Command& command);
    std::optional<WindowID> currentTarget();
    void setRecordingShortcut(bool recording);
    /// True when the click is consumed.
    bool modifierClick(CGPoint location);
    void dwellFocus(WindowID w);
    void startFocusFollowsCursor();
    void pointerMoved(CGPoint point);
    bool pointerSuppressed() const;

    // ---- Launcher requests ------------------------------------------------------------------

    std::unique_ptr<LauncherController> makeLauncher();
    void openFromLauncher(const LauncherApp& app, LauncherRequest request);
    /// Orders a shown launcher out and gives the front back to the application it covered.
    void dismissLauncher();

    // ---- Configuration changes ---------------------------------------------------------------

    void applyConfig(const Config& next);

  private:
    /// Runs the work once on the main queue after the delay.
    static void after(double seconds, std::function<void()> work);
    /// Wraps work so that it does nothing once the coordinator is gone.
    std::function<void()> weakly(std::function<void()> work) const;
    void installLayoutHooks();
    void installDragHooks();
    void installAdoptionHooks();
    void launcherGoTo(const std::string& app, int desktop, WindowID w);
    void launcherBringHere(const std::string& app, WindowID w);
    bool launcherActivate(const LauncherApp& app);
    bool launcherLaunch(const LauncherApp& app);
    void releaseIgnored(const std::set<std::string>& ignored);
    void floatNewlyFloated(const std::set<std::string>& floated);
    void rearmKeys(const Config& next);
    void syncOwnWindow(OwnWindowDesktop& desktop, std::optional<OwnPanel>& window,
                       const std::string& what, bool endsRecording);

    std::shared_ptr<Coordinator*> liveness_;
};

}  // namespace kelvo

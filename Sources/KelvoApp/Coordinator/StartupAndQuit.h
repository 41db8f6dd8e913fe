#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "Base/Foundation/DispatchSource.h"
#include "Base/Foundation/NSThread.h"
#include "KelvoApp/Coordinator/LaterWork.h"
#include "KelvoCore/Store/ManagedWindow.h"
#include "KelvoCore/Store/SessionSnapshot.h"

namespace kelvo {

struct CoordinatorProcess;
class ProcessLog;
class WindowNames;
class ConfigurationChanges;
class StoreWiring;
class OwnWindows;
class BorderTracking;
class WindowEvents;
class LauncherRequests;
class CommandRouting;
class PointerFocus;
class Focus;

/// Start-up, in its order up to the run loop, and every way of quitting: the terminate
/// notice, SIGINT and SIGTERM, and the status menu's Quit each put every parked window back.
class StartupAndQuit {
  public:
    /// The exit status when there is no desktop: none at start, or it went away.
    static constexpr int noDesktopStatus = 4;
    /// Followed by the reason, on standard error, when the desktop goes while the system runs.
    static constexpr const char* desktopWentAwayText = "kelvo: the desktop went away: ";
    /// A temporary file of a save left this long is one a killed save left behind.
    static constexpr std::chrono::minutes leftoverTemporaryAge{10};

    /// Blocks SIGINT and SIGTERM for the calling thread and every thread it starts later; the
    /// program calls it first thing, so that start-up takes them on the main thread once its
    /// windows are in a known state.
    static void holdQuitSignals();

    StartupAndQuit(const CoordinatorProcess& process, ProcessLog& log, WindowNames& names,
                   ConfigurationChanges& configuration, StoreWiring& wiring, OwnWindows& ownWindows,
                   BorderTracking& border, WindowEvents& windowEvents, LauncherRequests& launcher,
                   CommandRouting& commands, PointerFocus& pointerFocus, Focus& focus);
    StartupAndQuit(const StartupAndQuit&) = delete;
    StartupAndQuit& operator=(const StartupAndQuit&) = delete;

    /// Every start-up step, in order, up to the run loop. Ends the process through the
    /// process's exit when trust is refused, another test-mode instance runs or the key tap
    /// cannot be made.
    void start();
    /// The application's terminate request: the terminate handler, then the process ends.
    void terminate();
    /// The terminate notification: flush, every parked window back, the log flushed.
    void applicationWillTerminate();
    /// SIGINT or SIGTERM: as the terminate notification, then the process ends with 0.
    void signalReceived(int signal);
    /// The status menu's Quit.
    void quitFromMenu();
    /// The desktop went away or stopped answering: every window that can still be reached put
    /// back, the reason logged and on standard error, and the process ends with status 4.
    void desktopWentAway(const std::string& reason);

    /// The crash reports written since the last launch.
    const std::vector<std::filesystem::path>& crashesSinceLastLaunch() const {
        return crashesSinceLastLaunch_;
    }
    /// The session the launch restored from; none when there was none of this boot.
    const std::optional<SessionSnapshot>& previousSession() const { return previousSession_; }
    /// Waits, at most this long, for the test mode's reader to end after its input ended.
    void waitForTestModeReader(double seconds);

  private:
    bool mayRun();
    void openConfigurationAndLog();
    void removeLeftoverTemporaryFiles();
    void countCrashReports();
    void adoptLaunchWindows();
    void bringBackMinimizedToPark(std::vector<ManagedWindow>& windows);
    void restoreActiveDesktop();
    void makeOwnWindowsAndPanels();
    void listenToWindowEvents();
    bool armKeys();
    void startTestMode();
    void startPointerBindings();
    void installQuitHandlers();
    void showGuideOnFirstRun();
    /// Writes a pending (or earlier failed) change of the configuration, logging a failure.
    void saveConfiguration();
    /// Every parked window back, and the record of windows minimized to park with it.
    void putEveryWindowBack();
    void log(const std::string& message) const;

    const CoordinatorProcess& process_;
    ProcessLog& log_;
    WindowNames& names_;
    ConfigurationChanges& configuration_;
    StoreWiring& wiring_;
    OwnWindows& ownWindows_;
    BorderTracking& border_;
    WindowEvents& windowEvents_;
    LauncherRequests& launcher_;
    CommandRouting& commands_;
    PointerFocus& pointerFocus_;
    Focus& focus_;

    std::optional<std::filesystem::path> testDirectory_;
    std::vector<std::filesystem::path> crashesSinceLastLaunch_;
    std::optional<SessionSnapshot> previousSession_;
    std::vector<DispatchSourceSignal> signalSources_;
    /// The test mode's reader of requests, while it runs.
    std::optional<NSThread> testModeReader_;
    LaterWork later_;
};

}  // namespace kelvo

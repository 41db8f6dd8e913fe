#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "KelvoAX/Events/WindowEvent.h"
#include "KelvoApp/Coordinator/BorderTracking.h"
#include "KelvoApp/Coordinator/CommandRouting.h"
#include "KelvoApp/Coordinator/ConfigurationChanges.h"
#include "KelvoApp/Coordinator/Focus.h"
#include "KelvoApp/Coordinator/LauncherRequests.h"
#include "KelvoApp/Coordinator/OwnWindows.h"
#include "KelvoApp/Coordinator/PointerFocus.h"
#include "KelvoApp/Coordinator/ProcessLog.h"
#include "KelvoApp/Coordinator/StartupAndQuit.h"
#include "KelvoApp/Coordinator/StoreWiring.h"
#include "KelvoApp/Coordinator/WindowEvents.h"
#include "KelvoApp/Coordinator/WindowNames.h"
#include "KelvoApp/Input/EventTaps.h"
#include "KelvoApp/Interfaces/AppPlatform.h"
#include "KelvoApp/Interfaces/WindowEventSource.h"
#include "KelvoCore/Config/Config.h"
#include "KelvoCore/Store/CoordinatorBridge.h"

namespace kelvo {

/// The process around the coordinator: the platform, the environment, the standard streams
/// and the way the process ends. The program passes its own; a suite passes descriptors it
/// reads and an exit that unwinds instead of ending the process.
struct CoordinatorProcess {
    /// Takes one event of the Accessibility event stream, on the main thread.
    using EventHandler = std::function<void(const WindowEvent&)>;

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
    /// The Accessibility event stream, handing each event to `handle`.
    std::function<std::unique_ptr<WindowEventSource>(EventHandler handle)> makeEvents;
};

/// The application's coordinator: the owner of every long-lived object, in parts that each
/// keep their own state, and the one place that wires them to each other. A part holds a
/// sibling only when it uses much of it; the one or two calls it makes of any other are handed
/// to it here. What start-up makes is reached through accessors that stop the process, naming
/// themselves, when reached before it exists. One exists for the life of the process;
/// everything runs on the main thread.
class Coordinator {
  private:
    CoordinatorProcess process_;

  public:
    explicit Coordinator(CoordinatorProcess process);
    ~Coordinator();
    Coordinator(const Coordinator&) = delete;
    Coordinator& operator=(const Coordinator&) = delete;

    /// Every start-up step, in order, up to the run loop.
    void start() { startup.start(); }

    /// The one log function of the process.
    ProcessLog processLog;
    /// The application of every window heard of, by which the log names it.
    WindowNames windowNames;
    /// The configuration store, the configuration in force and what its changes do.
    ConfigurationChanges configuration;
    /// The workspace store and the bridge, their hooks, the state log and the session file.
    StoreWiring storeWiring;
    /// The status item, the switch display, the cheat sheet, the settings window and the guide.
    OwnWindows ownWindows;
    /// The focus border around the focused window or the drop target.
    BorderTracking border;
    /// The event stream and the adoption of new windows.
    WindowEvents windowEvents;
    /// The launcher panel and its picks.
    LauncherRequests launcher;
    /// The keys, the command dispatcher and the modifier-click.
    CommandRouting commands;
    /// Focus that follows the pointer.
    PointerFocus pointerFocus;
    /// The focused window, focus claims and the activation follow-up.
    Focus focus;
    /// Start-up and the ways of quitting.
    StartupAndQuit startup;
};

}  // namespace kelvo

#pragma once

#include <functional>
#include <memory>
#include <string>

#include "KelvoApp/Services/Launcher/LauncherApp.h"
#include "KelvoApp/Services/Launcher/LauncherController.h"
#include "KelvoCore/Geometry/WindowID.h"
#include "KelvoCore/Launcher/LauncherRequest.h"

namespace kelvo {

struct CoordinatorProcess;
class ProcessLog;
class WindowNames;
class StoreWiring;
class ConfigurationChanges;
class Focus;
class OwnWindows;

/// The launcher panel while it is switched on, and what a pick in it does: focus the
/// application's window here, go to its desktop or bring it here, or open the application.
class LauncherRequests {
  public:
    /// What a pick asks of the border.
    struct Callbacks {
        std::function<void()> hideBorder;
    };

    LauncherRequests(const CoordinatorProcess& process, const ProcessLog& log,
                     const WindowNames& names, StoreWiring& wiring,
                     const ConfigurationChanges& configuration, Focus& focus,
                     OwnWindows& ownWindows, Callbacks callbacks);
    ~LauncherRequests();
    LauncherRequests(const LauncherRequests&) = delete;
    LauncherRequests& operator=(const LauncherRequests&) = delete;

    /// Makes the launcher when it is on and there is none; dismisses and drops it when it is
    /// off.
    void follow(bool shown);
    /// The launcher's shortcut: shows a hidden launcher and dismisses a shown one.
    void toggle();
    /// Orders a shown launcher out and gives the front back to the application it covered.
    void dismiss();
    /// Carries out a pick.
    void openFromLauncher(const LauncherApp& app, LauncherRequest request);

    /// The launcher while it is on, as a suite picks in it; null while it is off.
    LauncherController* controller() const { return launcher_.get(); }

  private:
    std::unique_ptr<LauncherController> makeLauncher();
    LauncherController::Sources launcherSources() const;
    void goTo(const std::string& app, int desktop, WindowID w);
    void bringHere(const std::string& app, WindowID w);
    bool activate(const LauncherApp& app);
    bool launch(const LauncherApp& app);
    /// Opens the application at `url`, logging why when it cannot be opened.
    void open(const std::filesystem::path& url, const std::string& app);
    void log(const std::string& message) const;

    const CoordinatorProcess& process_;
    const ProcessLog& log_;
    const WindowNames& names_;
    StoreWiring& wiring_;
    const ConfigurationChanges& configuration_;
    Focus& focus_;
    OwnWindows& ownWindows_;
    Callbacks callbacks_;

    std::unique_ptr<LauncherController> launcher_;
};

}  // namespace kelvo

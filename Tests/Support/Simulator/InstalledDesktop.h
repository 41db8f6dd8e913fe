#pragma once

#include <memory>
#include <optional>
#include <string>

#include "Base/Foundation/CGGeometry.h"
#include "Simulator/Desktop.h"
#include "Simulator/InProcessConnection.h"

namespace kelvo {

/// The one way suites and benchmarks build a simulated desktop in process: displays,
/// this process registered on it, applications and their windows. It is installed as the
/// connection every platform stand-in of this process uses, and the disconnected connection is
/// put back when it goes. Make it on the clock the test runs on.
class InstalledDesktop {
  public:
    static constexpr const char* ownBundleID = "com.skarvelt.kelvo";
    /// Where the system's application bundle is installed.
    static constexpr const char* ownBundlePath = "/Applications/Kelvo.app";

    /// One display of `display` (none: no display) and nothing registered yet.
    explicit InstalledDesktop(std::optional<CGRect> display);
    /// One display, with this process registered on it as the system itself (`system`).
    InstalledDesktop(const CGRect& display, std::optional<std::string> bundlePath);
    ~InstalledDesktop();
    InstalledDesktop(const InstalledDesktop&) = delete;
    InstalledDesktop& operator=(const InstalledDesktop&) = delete;

    /// This process as the system describes itself: an accessory (trusted, as the desktop
    /// starts out) with its own pid, run from the application bundle at `bundlePath`, or, with
    /// none, as a program from a build folder.
    static sim::ApplicationSpec system(std::optional<std::string> bundlePath);
    /// Registers this process as described (once more, when it already is); its pid, which
    /// becomes `ownPid`.
    sim::Pid registerSelf(const sim::ApplicationSpec& self);

    /// Launches a regular application named after the last part of its bundle identifier, from
    /// its bundle in /Applications, and brings it to the front when asked.
    sim::Pid launch(const std::string& bundleID, bool activate = false);
    /// Launches an application that is no regular one: an accessory, without a Dock icon or
    /// windows a window manager takes.
    sim::Pid launchAccessory(const std::string& bundleID);
    /// Opens a window of `owner` at `frame`; the rest of `spec` as given.
    sim::WindowNumber open(sim::Pid owner, const CGRect& frame, sim::WindowSpec spec = {});

    std::shared_ptr<sim::Desktop> desktop = std::make_shared<sim::Desktop>();
    std::shared_ptr<sim::InProcessConnection> connection =
        std::make_shared<sim::InProcessConnection>(desktop);
    sim::Pid ownPid = 0;
};

}  // namespace kelvo

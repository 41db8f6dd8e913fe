#pragma once

#include <memory>
#include <optional>
#include <string>

#include "Base/Foundation/CGGeometry.h"
#include "Simulator/Desktop.h"
#include "Simulator/InProcessConnection.h"

namespace kelvo {

/// A simulated desktop with one display, installed as the connection every platform stand-in
/// of this process uses, with this process registered on it as the system itself (accessory,
/// trusted). The disconnected connection is put back when it goes. Make it on the clock the
/// test runs on.
class InstalledDesktop {
  public:
    static constexpr const char* ownBundleID = "com.skarvelt.kelvo";

    /// `bundlePath`: the application bundle this process says it runs from; none for a
    /// program run from a build folder, as the system is run here.
    InstalledDesktop(const CGRect& display, std::optional<std::string> bundlePath);
    ~InstalledDesktop();
    InstalledDesktop(const InstalledDesktop&) = delete;
    InstalledDesktop& operator=(const InstalledDesktop&) = delete;

    std::shared_ptr<sim::Desktop> desktop = std::make_shared<sim::Desktop>();
    std::shared_ptr<sim::InProcessConnection> connection =
        std::make_shared<sim::InProcessConnection>(desktop);
    sim::Pid ownPid = 0;
};

}  // namespace kelvo

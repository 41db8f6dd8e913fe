#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Base/Foundation/ManualClock.h"
#include "Simulator/Desktop.h"
#include "Simulator/InProcessConnection.h"
#include "Support/Simulator/InstalledDesktop.h"

namespace kelvo {

/// A fresh simulated desktop for each test, on the manual clock, installed as the connection
/// every platform stand-in uses. This process is registered on it as the system itself
/// (accessory, trusted); one display of `mainDisplay` is attached.
class DesktopFixture : public ::testing::Test {
  protected:
    static constexpr const char* ownBundleID = InstalledDesktop::ownBundleID;
    static inline const CGRect mainDisplay = CGRect(0, 0, 1440, 900);

    DesktopFixture();
    ~DesktopFixture() override;

    /// Launches a regular application (and brings it to the front when asked).
    sim::Pid launch(const std::string& bundleID, bool activate = false) {
        return installed.launch(bundleID, activate);
    }
    /// Launches an accessory application.
    sim::Pid launchAccessory(const std::string& bundleID) {
        return installed.launchAccessory(bundleID);
    }
    /// Opens a window of `owner` at `frame`; the rest of `spec` as given.
    sim::WindowNumber open(sim::Pid owner, const CGRect& frame, sim::WindowSpec spec = {}) {
        return installed.open(owner, frame, std::move(spec));
    }
    /// The key codes of the key downs the application received, in order.
    std::vector<std::uint16_t> keysReceived(sim::Pid pid) const;
    /// Runs everything due now on the main queue (tap callbacks, main-thread notifications).
    void settle() { clock.runUntilIdle(); }
    /// How often the application object ended the process (it does not, in a test).
    int terminations() const { return terminations_; }

    ManualClock clock;
    InstalledDesktop installed{mainDisplay, InstalledDesktop::ownBundlePath};
    std::shared_ptr<sim::Desktop> desktop = installed.desktop;
    std::shared_ptr<sim::InProcessConnection> connection = installed.connection;
    sim::Pid ownPid = installed.ownPid;

  private:
    int terminations_ = 0;
};

}  // namespace kelvo

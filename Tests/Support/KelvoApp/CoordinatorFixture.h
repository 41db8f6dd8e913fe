#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Base/Foundation/ManualClock.h"
#include "KelvoApp/Coordinator/Coordinator.h"
#include "Simulator/WindowInfo.h"
#include "Support/KelvoApp/CoordinatorHarness.h"
#include "Support/KelvoApp/FakeAppPlatform.h"
#include "Support/KelvoApp/FakeCoordinatorBridge.h"
#include "Support/KelvoApp/FakeEventTaps.h"
#include "Support/Simulator/InstalledDesktop.h"

namespace kelvo {

/// The event stream as the coordinator drives it, recording what it is asked.
class FakeEventSource : public WindowEventSource {
  public:
    explicit FakeEventSource(int recordFD = -1) : recordFD_(recordFD) {}
    void start() override;
    void track(WindowID id, const WindowElementRef&) override { tracked.push_back(id); }
    void stop() override { stopped = true; }
    bool started = false;
    bool stopped = false;
    std::vector<WindowID> tracked;

  private:
    int recordFD_;
};

/// Owns the manual clock before anything that runs on it is made, and after it is gone.
struct ManualClockHolder {
    ManualClock clock;
};

/// A coordinator started in-process on the manual clock, over the fake platform, bridge and
/// taps, in test mode with its files in a temporary folder. Its own panels are windows of a
/// simulated desktop whose one display is the fake platform's screen.
class CoordinatorFixture : public ::testing::Test,
                           protected ManualClockHolder,
                           protected CoordinatorHarness {
  protected:
    CoordinatorFixture();
    ~CoordinatorFixture() override;

    /// Puts a window on the fake desktop before or after start-up.
    FakeWindowBridge::Window& window(std::uint32_t raw, const CGRect& frame,
                                     const std::string& bundleID = "com.example.app");
    /// Runs start-up; false when it ended the process.
    bool start();
    /// Lets virtual time pass.
    void settle(double seconds = 1.0) { clock.advance(seconds); }
    /// Whether any log line since the mark equals the text.
    bool logged(const std::string& line);

    /// Starts with win#1 of com.example.app and win#2 of com.example.other tiled, settled, and
    /// the log marked.
    void startWithTwoWindows();
    /// Adopts a tiled window through a created event and lets its layout settle.
    void adoptByEvent(std::uint32_t raw, const std::string& bundleID = "com.example.app");
    /// Standard error as one ordered record: the log (through KELVO_LOG), the platform's
    /// calls, the taps made and the event stream started.
    void recordOnStandardError();
    /// The focus border's panel as the desktop holds it; none before start-up.
    std::optional<sim::WindowInfo> borderWindow() const;

    InstalledDesktop simulated{CGRect(0, 0, 1600, 1000), std::nullopt};
    FakeAppPlatform platform;
    std::shared_ptr<FakeCoordinatorBridge> bridge;
    FakeEventTaps taps;
    FakeEventSource* events = nullptr;
};

}  // namespace kelvo

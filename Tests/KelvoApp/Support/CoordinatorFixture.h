#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KelvoApp/Coordinator/Coordinator.h"
#include "KelvoApp/Support/FakeAppPlatform.h"
#include "KelvoApp/Support/FakeCoordinatorBridge.h"
#include "KelvoApp/Support/FakeEventTaps.h"
#include "Platform/Foundation/ManualClock.h"
#include "Support/TemporaryFolder.h"

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

/// A coordinator started in-process on the manual clock, over the fake platform, bridge and
/// taps, in test mode with its files in a temporary folder; standard output and error go to
/// files the test reads, and an exit is recorded instead of ending the process.
class CoordinatorFixture : public ::testing::Test {
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

    /// The log's lines without their timestamps, as far as they were written.
    std::vector<std::string> logLines();
    /// The log's lines since the last `markLog`.
    std::vector<std::string> newLogLines();
    void markLog();
    std::string standardOutput() const;
    std::string standardError() const;
    /// Whether any log line since the mark equals the text.
    bool logged(const std::string& line);

    /// Starts with win#1 of com.example.app and win#2 of com.example.other tiled, settled, and
    /// the log marked.
    void startWithTwoWindows();
    /// The log lines since the mark without the state text and the layout details.
    std::vector<std::string> decisions();

    /// Adopts a tiled window through a created event and lets its layout settle.
    void adoptByEvent(std::uint32_t raw, const std::string& bundleID = "com.example.app");

    ManualClock clock;
    testing::TemporaryFolder folder;
    std::map<std::string, std::string> environment;
    FakeAppPlatform platform;
    std::shared_ptr<FakeCoordinatorBridge> bridge;
    FakeEventTaps taps;
    FakeEventSource* events = nullptr;
    std::optional<int> exitStatus;
    std::unique_ptr<Coordinator> coordinator;
    Config initialConfig;
    /// When true, start-up runs in test mode in `folder`.
    bool testMode = true;
    /// Standard error as one ordered record: the log (through KELVO_LOG), the platform's
    /// calls, the taps made and the event stream started.
    void recordOnStandardError();

  private:
    int output_ = -1;
    int error_ = -1;
    int inputRead_ = -1;
    int inputWrite_ = -1;
    std::size_t mark_ = 0;
    std::optional<std::string> home_;
};

}  // namespace kelvo

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "KelvoAX/Bridge/AXWindowBridge.h"
#include "KelvoApp/System/AXWindowEvents.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

constexpr const char* editor = "com.example.editor";

using CoordinatorBridgeTest = DesktopFixture;

TEST_F(CoordinatorBridgeTest, ElementsTravelAsPlatformHandles) {
    const sim::Pid pid = launch(editor);
    const auto number = open(pid, CGRect(0, 30, 800, 600));
    AXWindowBridge ax{Config()};
    CoordinatorBridge& bridge = ax;

    const auto [windows, seen] = bridge.windows(editor);
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(seen, std::set{WindowID(number)});
    const std::optional<WindowElementRef> element = bridge.element(WindowID(number));
    ASSERT_TRUE(element);
    EXPECT_NE(AXWindowBridge::elementIn(*element), nullptr);
    EXPECT_EQ(bridge.adopt(*element, editor), windows.front());

    EXPECT_EQ(bridge.adopt(WindowElementRef(42), editor), std::nullopt);
    EXPECT_EQ(bridge.adopt(WindowElementRef(), editor), std::nullopt);
    EXPECT_EQ(bridge.element(WindowID(4242)), std::nullopt);
}

TEST_F(CoordinatorBridgeTest, TraceAndConfigurationReachTheBridge) {
    const sim::Pid pid = launch(editor);
    launch("com.example.front", true);
    const auto number = open(pid, CGRect(0, 30, 800, 600));
    AXWindowBridge ax{Config()};
    CoordinatorBridge& bridge = ax;
    std::vector<std::string> lines;
    bridge.setTrace([&](const std::string& line) { lines.push_back(line); });
    bridge.windows();
    bridge.focus(WindowID(number));
    EXPECT_EQ(lines,
              std::vector<std::string>{"activating com.example.editor (attempt 1, request 1)"});

    Config floating;
    floating.floatBundleIDs = {editor};
    bridge.setConfig(floating);
    EXPECT_TRUE(bridge.windows().front().floating);
    EXPECT_EQ(bridge.config(), floating);
}

class AXWindowEventsTest : public DesktopFixture {
  protected:
    std::vector<std::string> handled;
    std::vector<std::thread::id> threads;
    AXWindowEvents::Handler handler = [this](const WindowEvent& event) {
        handled.push_back(event.description());
        threads.push_back(std::this_thread::get_id());
    };
};

TEST_F(AXWindowEventsTest, EventsAreHandledOnTheMainQueue) {
    const sim::Pid pid = launch(editor);
    AXWindowEvents events(handler);
    events.start();
    // Handed to the stream after it has observed what runs.
    desktop->activate(pid);
    ASSERT_TRUE(clock.waitForPending(1));
    settle();
    EXPECT_EQ(handled, std::vector<std::string>{"activated - com.example.editor"});

    // The front application's new window is created, then focused.
    const auto number = open(pid, CGRect(0, 30, 800, 600));
    ASSERT_TRUE(clock.waitForPending(2));
    EXPECT_EQ(handled.size(), 1u);
    settle();
    const std::string name = WindowID(number).description();
    EXPECT_EQ(handled, (std::vector<std::string>{"activated - com.example.editor",
                                                 "created " + name + " com.example.editor element",
                                                 "focused " + name}));
    EXPECT_EQ(threads, std::vector(handled.size(), clock.driverThread()));
    events.stop();
}

TEST_F(AXWindowEventsTest, HandlingQueuedForAReleasedSourceDoesNothing) {
    const sim::Pid pid = launch(editor);
    auto events = std::make_unique<AXWindowEvents>(handler);
    events->start();
    desktop->activate(pid);
    ASSERT_TRUE(clock.waitForPending(1));
    events.reset();
    settle();
    EXPECT_TRUE(handled.empty());
}

}  // namespace
}  // namespace kelvo

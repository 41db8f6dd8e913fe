#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "KelvoApp/Input/FocusFollowsCursorService.h"
#include "KelvoApp/Input/HotkeyService.h"
#include "KelvoApp/System/FrameworkPlatform.h"
#include "KelvoApp/System/QuartzEventTaps.h"
#include "KelvoCore/Keys/KeyCode.h"
#include "Platform/AppKit/NSWorkspace.h"
#include "Platform/Quartz/CGEvent.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class FrameworkPlatformTest : public DesktopFixture {
  protected:
    FrameworkPlatform platform;
};

TEST_F(FrameworkPlatformTest, ScreensApplicationsAndWindowsComeFromTheDesktop) {
    const auto screens = platform.screens();
    ASSERT_EQ(screens.size(), 1u);
    EXPECT_EQ(screens[0].frame, CGRect(0, 0, 1440, 900));
    EXPECT_TRUE(screens[0].number.has_value());
    EXPECT_EQ(platform.mainScreen(), screens[0]);

    const sim::Pid editor = launch("com.example.editor", true);
    const sim::WindowNumber number = open(editor, CGRect(10, 40, 500, 400));
    EXPECT_EQ(platform.frontmostBundleID(), "com.example.editor");
    bool found = false;
    for (const RunningApplication& app : platform.runningApplications()) {
        if (app.pid == editor) {
            found = true;
            EXPECT_EQ(app.bundleID, "com.example.editor");
            EXPECT_TRUE(app.active);
        }
    }
    EXPECT_TRUE(found);
    const auto windows = platform.onScreenWindows();
    ASSERT_FALSE(windows.empty());
    EXPECT_EQ(windows.front().id, WindowID(number));
    EXPECT_EQ(windows.front().bounds, CGRect(10, 40, 500, 400));
    EXPECT_EQ(windows.front().pid, editor);
}

TEST_F(FrameworkPlatformTest, TheMouseTheBootTimeAndTrust) {
    desktop->setBootTime(1'700'000'123);
    EXPECT_EQ(platform.bootTime(), 1'700'000'123);
    desktop->movePointer(CGPoint{300, 200});
    EXPECT_EQ(platform.pointerLocation(), (CGPoint{300, 200}));
    EXPECT_FALSE(platform.isLeftMouseButtonDown());
    desktop->mouseDown(CGPoint{300, 200});
    settle();
    EXPECT_TRUE(platform.isLeftMouseButtonDown());
    desktop->mouseUp(CGPoint{300, 200});
    settle();
    EXPECT_TRUE(platform.isProcessTrusted(false));
    desktop->setTrusted(false);
    EXPECT_FALSE(platform.isProcessTrusted(true));
    EXPECT_EQ(desktop->trustPromptCount(), 1);
}

TEST_F(FrameworkPlatformTest, HiddenAndUnhiddenApplicationsAreReportedOnTheMainQueue) {
    std::vector<std::string> seen;
    platform.observeApplicationHiding(
        [&](const std::optional<std::string>& b) { seen.push_back("hid " + b.value_or("?")); },
        [&](const std::optional<std::string>& b) { seen.push_back("unhid " + b.value_or("?")); });
    const sim::Pid editor = launch("com.example.editor");
    desktop->hide(editor);
    desktop->unhide(editor);
    settle();
    EXPECT_THAT(seen, ElementsAre("hid com.example.editor", "unhid com.example.editor"));
}

TEST_F(FrameworkPlatformTest, TheKeyTapSwallowsBoundKeysAndPassesTheRest) {
    const sim::Pid editor = launch("com.example.editor", true);
    QuartzEventTaps taps;
    std::vector<Command> dispatched;
    HotkeyService hotkeys(taps, Keymap(Config::defaults()),
                          [&](const Command& c) { dispatched.push_back(c); });
    const EventTaps::Tap tap = hotkeys.makeTap();
    hotkeys.install(tap, tap);
    Chord bound;
    for (const auto& [chord, command] : hotkeys.keymap.table()) {
        if (command == Command::switchTo(2)) bound = chord;
    }
    desktop->keyDown(bound.keyCode, kCGEventFlagMaskAlternate | kCGEventFlagMaskAlphaShift);
    desktop->keyDown(bound.keyCode, kCGEventFlagMaskAlternate | kCGEventFlagMaskCommand);
    settle();
    EXPECT_THAT(dispatched, ElementsAre(Command::switchTo(2)));
    EXPECT_THAT(keysReceived(editor), ElementsAre(bound.keyCode));
    hotkeys.teardown();
    desktop->keyDown(bound.keyCode, kCGEventFlagMaskAlternate);
    settle();
    EXPECT_EQ(dispatched.size(), 1u);
}

TEST_F(FrameworkPlatformTest, ARefusedTapIsACreationFailure) {
    QuartzEventTaps taps;
    desktop->setRefusesTaps(true);
    HotkeyService hotkeys(taps, Keymap(), nullptr);
    EXPECT_THROW(hotkeys.makeTap(), HotkeyError);
}

TEST_F(FrameworkPlatformTest, PointerMovesReachTheServiceCoalesced) {
    QuartzEventTaps taps;
    std::vector<CGPoint> moves;
    FocusFollowsCursorService service(
        taps, 0.03, [&](CGPoint p) { moves.push_back(p); }, [] { return false; }, [] {});
    service.start();
    for (int i = 1; i <= 10; ++i)
        desktop->movePointer(CGPoint{10.0 * i, 50});
    settle();
    clock.advance(0.03);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].x, 100);
}

}  // namespace
}  // namespace kelvo

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>

#include "KelvoApp/Input/HotkeyService.h"
#include "KelvoApp/Support/CoordinatorHarness.h"
#include "KelvoApp/System/AXCoordinatorBridge.h"
#include "KelvoApp/System/AXWindowEvents.h"
#include "KelvoApp/System/FrameworkPlatform.h"
#include "KelvoApp/System/QuartzEventTaps.h"
#include "Platform/Quartz/CGEvent.h"
#include "Support/DesktopFixture.h"

namespace kelvo {
namespace {

using ::testing::Contains;

/// The whole system in-process: the coordinator over the framework stand-ins, the real
/// bridge and event stream, against a simulated desktop on the manual clock.
class InProcessDesktopTest : public DesktopFixture, protected CoordinatorHarness {
  protected:
    ~InProcessDesktopTest() override { stopCoordinator(); }

    bool startSystem() {
        CoordinatorProcess process;
        process.platform = &platform;
        process.taps = &taps;
        process.makeBridge = [](const Config& config) {
            return std::make_shared<AXCoordinatorBridge>(config);
        };
        process.makeEvents = [](Coordinator& c) { return std::make_unique<AXWindowEvents>(c); };
        return startCoordinator(std::move(process));
    }
    /// Lets the event stream's thread hand over what it has and runs it.
    void pump(double seconds = 1.0) {
        for (int i = 0; i < 20; ++i) {
            clock.waitForPending(1, 0.05);
            clock.advance(seconds / 20);
        }
    }
    CGRect frameOf(sim::WindowNumber number) { return desktop->window(number)->frame; }
    /// The chord the key map binds to the command.
    Chord chordFor(const Command& command) {
        for (const auto& [chord, bound] : coordinator->hotkeys->keymap.table()) {
            if (bound == command) return chord;
        }
        return Chord{};
    }
    std::uint64_t flagsOf(const Chord& chord) {
        return (chord.option ? kCGEventFlagMaskAlternate : 0) |
               (chord.control ? kCGEventFlagMaskControl : 0) |
               (chord.command ? kCGEventFlagMaskCommand : 0) |
               (chord.shift ? kCGEventFlagMaskShift : 0);
    }
    void press(const Command& command) {
        const Chord chord = chordFor(command);
        desktop->pressKey(chord.keyCode, flagsOf(chord));
        pump(0.5);
    }

    FrameworkPlatform platform;
    QuartzEventTaps taps;
};

TEST_F(InProcessDesktopTest, StartUpTilesTheWindowsItFinds) {
    const sim::Pid editor = launch("com.example.editor", true);
    const sim::WindowNumber a = open(editor, CGRect(10, 40, 500, 400));
    const sim::WindowNumber b = open(editor, CGRect(300, 200, 500, 400));
    ASSERT_TRUE(startSystem());
    pump();
    EXPECT_EQ(coordinator->store->desktop(WindowID(a)), 1);
    EXPECT_EQ(coordinator->store->desktop(WindowID(b)), 1);
    // Side by side, filling the screen below the menu bar.
    EXPECT_NE(frameOf(a), CGRect(10, 40, 500, 400));
    EXPECT_EQ(frameOf(a).minY(), frameOf(b).minY());
    EXPECT_THAT(logLines(), Contains("adopted 2 existing window(s) at launch (0 restored from "
                                     "minimized), 0 re-read before adoption"));
}

TEST_F(InProcessDesktopTest, ANewWindowIsAdoptedFromItsCreatedEvent) {
    const sim::Pid editor = launch("com.example.editor", true);
    open(editor, CGRect(10, 40, 500, 400));
    ASSERT_TRUE(startSystem());
    pump();
    markLog();
    const sim::WindowNumber b = open(editor, CGRect(300, 200, 600, 500));
    pump();
    EXPECT_EQ(coordinator->store->desktop(WindowID(b)), 1);
    EXPECT_THAT(decisions(), Contains("adopt win#" + std::to_string(b) + " com.example.editor"));
}

TEST_F(InProcessDesktopTest, ShortcutsSwitchAndThrowThroughTheKeyTap) {
    const sim::Pid editor = launch("com.example.editor", true);
    const sim::WindowNumber a = open(editor, CGRect(10, 40, 500, 400));
    ASSERT_TRUE(startSystem());
    pump();
    press(Command::switchTo(2));
    EXPECT_EQ(coordinator->store->activeDesktop(), 2);
    EXPECT_TRUE(coordinator->store->isParked(WindowID(a)));
    EXPECT_GT(frameOf(a).minX(), 1000);
    press(Command::switchTo(1));
    EXPECT_FALSE(coordinator->store->isParked(WindowID(a)));
    EXPECT_LT(frameOf(a).minX(), 1000);
}

TEST_F(InProcessDesktopTest, ASignalPutsEveryParkedWindowBack) {
    const sim::Pid editor = launch("com.example.editor", true);
    const sim::WindowNumber a = open(editor, CGRect(10, 40, 500, 400));
    ASSERT_TRUE(startSystem());
    pump();
    press(Command::switchTo(3));
    ASSERT_GT(frameOf(a).minX(), 1000);
    coordinator->signalReceived(SIGTERM);
    EXPECT_EQ(exitStatus, 0);
    EXPECT_LT(frameOf(a).minX(), 1000);
}

TEST_F(InProcessDesktopTest, AnUntrustedDesktopEndsWithStatusOne) {
    desktop->setTrusted(false);
    EXPECT_FALSE(startSystem());
    EXPECT_EQ(exitStatus, 1);
    EXPECT_EQ(standardOutput(), "Accessibility permission denied; quitting.\n");
}

}  // namespace
}  // namespace kelvo

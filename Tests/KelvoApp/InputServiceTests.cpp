#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Base/Foundation/ManualClock.h"
#include "KelvoApp/Coordinator/ScreenGeometry.h"
#include "KelvoApp/Input/AppPresence.h"
#include "KelvoApp/Input/FocusFollowsCursorService.h"
#include "KelvoApp/Input/HotkeyService.h"
#include "Support/KelvoApp/FakeAppPlatform.h"
#include "Support/KelvoApp/FakeEventTaps.h"

namespace kelvo {
namespace {

using ::testing::ElementsAre;

class FocusFollowsCursorServiceTest : public ::testing::Test {
  protected:
    ManualClock clock;
    FakeEventTaps taps;
    std::vector<CGPoint> moves;
    int suppressedRuns = 0;
    bool suppressed = false;
    FocusFollowsCursorService service{taps, 0.03, [this](CGPoint p) { moves.push_back(p); },
                                      [this] { return suppressed; }, [this] { ++suppressedRuns; }};
    TapEvent at(double x) {
        TapEvent e;
        e.location = CGPoint{x, 10};
        return e;
    }
};

TEST_F(FocusFollowsCursorServiceTest, TenMovesInABurstGiveOneResolutionWithTheLast) {
    service.start();
    for (int i = 1; i <= 10; ++i) {
        const auto passed = taps.deliver(EventTaps::mouseMoved, at(i));
        EXPECT_EQ(passed, at(i));
        clock.advance(0.002);
    }
    clock.advance(0.03);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].x, 10);
    taps.deliver(EventTaps::mouseMoved, at(11));
    clock.advance(0.03);
    EXPECT_EQ(moves.size(), 2u);
}

TEST_F(FocusFollowsCursorServiceTest, WhileSuppressedTheOtherCallbackRuns) {
    service.start();
    suppressed = true;
    taps.deliver(EventTaps::mouseMoved, at(1));
    clock.advance(0.05);
    EXPECT_TRUE(moves.empty());
    EXPECT_EQ(suppressedRuns, 1);
}

TEST_F(FocusFollowsCursorServiceTest, StopTwiceOrBeforeStartLeavesNoTap) {
    service.stop();
    service.start();
    service.stop();
    service.stop();
    EXPECT_FALSE(service.tap.has_value());
    EXPECT_EQ(taps.installedCount(), 0u);
}

TEST_F(FocusFollowsCursorServiceTest, ADisabledTapIsEnabledAgain) {
    service.start();
    taps.disable(*service.tap);
    EXPECT_TRUE(taps.taps[*service.tap].enabled);
}

TEST(HotkeyServiceTest, StartingTheClickBindingTwiceMakesOneTap) {
    ManualClock clock;
    FakeEventTaps taps;
    HotkeyService service(taps, Keymap(), nullptr);
    service.stopClickBinding();
    service.startClickBinding();
    service.startClickBinding();
    EXPECT_EQ(taps.created, 1);
    taps.failures = {true};
    service.stopClickBinding();
    EXPECT_THROW(service.startClickBinding(), HotkeyError);
    EXPECT_FALSE(service.mouseTap.has_value());
}

TEST(HotkeyServiceTest, EscapeIsTakenWhileSomethingIsPutAwayByItAndItsWorkRunsOnTheMainQueue) {
    ManualClock clock;
    FakeEventTaps taps;
    HotkeyService service(taps, Keymap(), nullptr);
    const EventTaps::Tap tap = service.makeTap();
    service.install(tap, tap);
    bool shown = false;
    int putAway = 0;
    service.escapePutsAway = [&] { return shown; };
    service.onEscape = [&] { ++putAway; };
    TapEvent escape;
    escape.keyCode = HotkeyService::escapeKeyCode;
    EXPECT_TRUE(taps.deliver(EventTaps::keyDown, escape).has_value());

    shown = true;
    EXPECT_FALSE(taps.deliver(EventTaps::keyDown, escape).has_value());
    EXPECT_EQ(putAway, 0) << "inside the tap";
    clock.runUntilIdle();
    EXPECT_EQ(putAway, 1);
    // A shortcut being recorded gets Escape itself.
    service.suspended = true;
    EXPECT_TRUE(taps.deliver(EventTaps::keyDown, escape).has_value());
    clock.runUntilIdle();
    EXPECT_EQ(putAway, 1);
}

TEST(HotkeyServiceTest, AClickAnsweredFalsePassesAndControlDoesNotMatch) {
    ManualClock clock;
    FakeEventTaps taps;
    HotkeyService service(taps, Keymap(), nullptr);
    int asked = 0;
    service.onModifierClick = [&](CGPoint) {
        ++asked;
        return false;
    };
    service.startClickBinding();
    TapEvent click;
    click.flags = HotkeyService::alternateFlag | HotkeyService::shiftFlag;
    EXPECT_TRUE(taps.deliver(EventTaps::leftMouseDown, click).has_value());
    click.flags |= HotkeyService::controlFlag;
    EXPECT_TRUE(taps.deliver(EventTaps::leftMouseDown, click).has_value());
    EXPECT_EQ(asked, 1);
}

TEST(AppPresenceTest, TheFirstWindowMakesARegularApplicationAndTheLastAnAccessory) {
    FakeAppPlatform platform;
    AppPresence presence(platform);
    presence.windowOpened();
    presence.windowOpened();
    presence.windowClosed();
    presence.windowClosed();
    presence.windowClosed();
    EXPECT_EQ(presence.openWindows(), 0);
    EXPECT_THAT(platform.requests, ElementsAre("policy(regular)", "setMainMenu", "activateSelf",
                                               "policy(accessory)", "policy(accessory)"));
    presence.windowOpened();
    EXPECT_EQ(platform.menusSet.size(), 1u);
    const auto menus = AppPresence::mainMenu();
    ASSERT_EQ(menus.size(), 2u);
    EXPECT_EQ(menus[0].submenu.back().title, "Quit Kelvo");
    EXPECT_EQ(menus[1].submenu[1].title, "Redo");
    EXPECT_TRUE(menus[1].submenu[1].shiftCommand);
}

TEST(ScreenGeometryTest, ScreensAreMeasuredAgainstTheFirstScreen) {
    // A 1000-high first screen and a 800-high screen to its right, bottoms aligned.
    const std::vector<ScreenDescription> screens = {FakeAppPlatform::screen(1600, 1000, 1),
                                                    FakeAppPlatform::screen(1280, 800, 2, 1600, 0)};
    EXPECT_EQ(ScreenGeometry::attachedDisplays(screens),
              (std::vector<Display>{Display(1, CGRect(0, 25, 1600, 975)),
                                    Display(2, CGRect(1600, 225, 1280, 775))}));
    EXPECT_EQ(ScreenGeometry::menuBarStrips(screens),
              (std::vector<CGRect>{CGRect(0, 0, 1600, 25), CGRect(1600, 200, 1280, 25)}));
    EXPECT_EQ(ScreenGeometry::axScreenFrame(screens[0], screens), CGRect(0, 25, 1600, 975));
    // The main screen that is not the first lands where its display does.
    EXPECT_EQ(ScreenGeometry::axScreenFrame(screens[1], screens), CGRect(1600, 225, 1280, 775));
    EXPECT_EQ(ScreenGeometry::axScreenFrame(std::nullopt, screens), std::nullopt);
    ScreenDescription unnumbered = screens[1];
    unnumbered.number.reset();
    EXPECT_EQ(ScreenGeometry::attachedDisplays({screens[0], unnumbered}).size(), 1u);
}

}  // namespace
}  // namespace kelvo

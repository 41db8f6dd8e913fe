#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string_view>

#include "Base/Foundation/ManualClock.h"
#include "KelvoApp/Coordinator/ScreenGeometry.h"
#include "KelvoApp/Input/AppPresence.h"
#include "KelvoApp/Input/FocusFollowsCursorService.h"
#include "KelvoApp/Input/HotkeyService.h"
#include "KelvoCore/Bindings/Keymap.h"
#include "KelvoCore/Config/Config.h"
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
    escape.keyCode = 53;
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

/// The four modifiers of a chord written as its caps, "⌃⌥⇧⌘" in any order, as tap flags.
std::uint64_t tapFlags(std::string_view caps) {
    std::uint64_t flags = 0;
    if (caps.find("⌃") != std::string_view::npos) flags |= HotkeyService::controlFlag;
    if (caps.find("⌥") != std::string_view::npos) flags |= HotkeyService::alternateFlag;
    if (caps.find("⇧") != std::string_view::npos) flags |= HotkeyService::shiftFlag;
    if (caps.find("⌘") != std::string_view::npos) flags |= HotkeyService::commandFlag;
    return flags;
}

class HotkeyChordTest : public ::testing::Test {
  protected:
    HotkeyChordTest() {
        const EventTaps::Tap made = service.makeTap();
        service.install(made, made);
    }
    /// The command the key ran, if the tap swallowed it; a key passed on runs nothing.
    std::optional<Command> press(std::uint16_t keyCode, std::uint64_t flags) {
        TapEvent event;
        event.keyCode = keyCode;
        event.flags = flags;
        ran.reset();
        const bool swallowed = !taps.deliver(EventTaps::keyDown, event).has_value();
        clock.runUntilIdle();
        EXPECT_EQ(swallowed, ran.has_value()) << keyCode << " with " << flags;
        return ran;
    }

    ManualClock clock;
    FakeEventTaps taps;
    std::optional<Command> ran;
    HotkeyService service{taps, Keymap(Config::defaults()),
                          [this](const Command& command) { ran = command; }};
};

// Each bound chord with one modifier more and one fewer: an extra or a missing modifier is
// another chord, bound to another command or to none.
TEST_F(HotkeyChordTest, AChordRunsItsCommandAndOneModifierMoreOrFewerDoesNot) {
    constexpr std::uint16_t h = 4, e = 14, m = 46, one = 18, nine = 25, ret = 36, space = 49,
                            slash = 44, left = 123;
    const std::optional<Command> none;
    struct Row {
        std::uint16_t key;
        const char* caps;
        std::optional<Command> runs;
    };
    const Row rows[] = {
        {h, "⌥", Command::focus(Direction::left)},
        {h, "⌥⇧", Command::moveWindow(Direction::left)},
        {h, "⌃⌥", Command::resize(Direction::left)},
        {h, "⌥⌘", none},
        {h, "", none},
        {h, "⌃⌥⇧", none},
        {h, "⌥⇧⌘", none},
        {h, "⇧", none},
        {h, "⌃⌥⌘", none},
        {h, "⌃", none},
        {left, "⌥", Command::focus(Direction::left)},
        {left, "⌥⇧", Command::moveWindow(Direction::left)},
        {left, "⌃⌥", Command::resize(Direction::left)},
        {left, "⌥⌘", none},
        {left, "", none},
        {one, "⌥", Command::switchTo(1)},
        {one, "⌥⇧", Command::throwTo(1)},
        {one, "⌃⌥", none},
        {one, "⌥⌘", none},
        {one, "", none},
        {one, "⌃⌥⇧", none},
        {one, "⌥⇧⌘", none},
        {one, "⇧", none},
        {nine, "⌥", Command::switchTo(9)},
        {nine, "⌥⇧", Command::throwTo(9)},
        {e, "⌥", Command::toggleSplit()},
        {e, "⌥⇧", Command::rotate()},
        {e, "⌃⌥⇧", none},
        {e, "⌥⇧⌘", none},
        {e, "⇧", none},
        {m, "⌥", Command::promoteToMaster()},
        {m, "⌥⇧", Command::toggleLayoutMode()},
        {m, "⌃⌥", none},
        {m, "⌥⇧⌘", none},
        {ret, "⌥", Command::newTerminal()},
        {ret, "⌥⇧", none},
        {ret, "⌃⌥", none},
        {ret, "⌥⌘", none},
        {ret, "", none},
        {space, "⌥", Command::launcher()},
        {space, "⌥⇧", none},
        {space, "⌃⌥", none},
        {space, "⌥⌘", none},
        {space, "", none},
        {slash, "⌥", Command::cheatsheet()},
        {slash, "⌥⇧", none},
        {slash, "⌃⌥", none},
        {slash, "⌥⌘", none},
        {slash, "", none},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(press(row.key, tapFlags(row.caps)), row.runs) << row.key << " " << row.caps;
    }
}

// Caps Lock, the keypad and function flags that arrows and function keys carry, and the device
// bits are no modifiers of a chord; the keypad's keys are keys of their own.
TEST_F(HotkeyChordTest, OnlyTheFourModifiersCountAndTheKeypadsKeysAreOtherKeys) {
    constexpr std::uint16_t h = 4, one = 18, ret = 36, left = 123, padOne = 83, padEnter = 76;
    constexpr std::uint64_t capsLock = 0x10000, numericPad = 0x200000, help = 0x400000,
                            function = 0x800000, deviceBits = 0x20 | 0x100;
    for (const std::uint64_t extra : {capsLock, numericPad, help, function, deviceBits}) {
        EXPECT_EQ(press(h, tapFlags("⌥") | extra), Command::focus(Direction::left)) << extra;
    }
    EXPECT_EQ(press(left, tapFlags("⌥⇧") | numericPad | function),
              Command::moveWindow(Direction::left));
    EXPECT_EQ(press(one, tapFlags("⌥") | capsLock), Command::switchTo(1));
    EXPECT_EQ(press(padOne, tapFlags("⌥") | numericPad), std::nullopt);
    EXPECT_EQ(press(padOne, tapFlags("⌥⇧") | numericPad), std::nullopt);
    EXPECT_EQ(press(padEnter, tapFlags("⌥") | numericPad), std::nullopt);
    EXPECT_EQ(press(ret, tapFlags("⌥") | numericPad), Command::newTerminal());
}

// With control primary the same keys move to ⌃; the resize family holds both either way.
TEST_F(HotkeyChordTest, ControlPrimaryTakesTheChordsAndOptionAloneRunsNothing) {
    Config config = Config::defaults();
    config.primaryModifier = Modifier::control;
    service.keymap = Keymap(config);
    EXPECT_EQ(press(4, tapFlags("⌃")), Command::focus(Direction::left));
    EXPECT_EQ(press(4, tapFlags("⌥")), std::nullopt);
    EXPECT_EQ(press(4, tapFlags("⌃⇧")), Command::moveWindow(Direction::left));
    EXPECT_EQ(press(4, tapFlags("⌥⇧")), std::nullopt);
    EXPECT_EQ(press(4, tapFlags("⌃⌥")), Command::resize(Direction::left));
    EXPECT_EQ(press(23, tapFlags("⌃")), Command::switchTo(5));
    EXPECT_EQ(press(23, tapFlags("⌥")), std::nullopt);
    EXPECT_EQ(press(23, tapFlags("⌃⌘")), std::nullopt);
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

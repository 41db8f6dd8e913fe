#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

#include "KelvoApp/Input/FocusBorder.h"
#include "KelvoApp/Input/FocusFollowsCursorService.h"
#include "KelvoApp/Input/HotkeyService.h"
#include "Support/KelvoApp/CoordinatorFixture.h"
#include "Support/KelvoApp/DecisionLog.h"

namespace kelvo {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ConfigChangeTest : public CoordinatorFixture {
  protected:
    void SetUp() override {
        window(1, CGRect(0, 25, 800, 600));
        window(2, CGRect(100, 100, 700, 500), "com.example.other");
        window(3, CGRect(200, 200, 700, 500), "com.example.other");
        ASSERT_TRUE(start());
        settle();
        markLog();
    }
    void change(const std::function<void(Config&)>& edit) {
        coordinator->configuration.store().update(edit);
        settle();
    }
};

TEST_F(ConfigChangeTest, OnlyTheRecentsChangingGoesNoFurther) {
    const NSImageRef drawn = coordinator->ownWindows.statusItem().item()->button()->image();
    change([](Config& c) { c.launcherRecents = {"com.example.a"}; });
    EXPECT_EQ(coordinator->ownWindows.statusItem().item()->button()->image(), drawn);
    EXPECT_EQ(coordinator->configuration.config().launcherRecents,
              std::vector<std::string>{"com.example.a"});
}

TEST_F(ConfigChangeTest, AnIgnoredApplicationIsReleasedAndNotFloated) {
    coordinator->focus.acceptFocus(WindowID(2));
    change([](Config& c) {
        c.ignoreBundleIDs.insert("com.example.other");
        c.floatBundleIDs.insert("com.example.other");
    });
    EXPECT_FALSE(coordinator->storeWiring.store().desktop(WindowID(2)).has_value());
    EXPECT_FALSE(coordinator->storeWiring.store().desktop(WindowID(3)).has_value());
    const auto lines = decisionLines(newLogLines());
    EXPECT_THAT(lines, Contains("rule now ignores win#2 com.example.other; releasing it"));
    EXPECT_THAT(lines, Contains("rule now ignores win#3 com.example.other; releasing it"));
    for (const std::string& line : lines)
        EXPECT_FALSE(line.starts_with("rule now floats"));
    EXPECT_NE(coordinator->focus.focused(), WindowID(2));
}

TEST_F(ConfigChangeTest, AnIgnoredApplicationsParkedWindowsArePutBackFirst) {
    coordinator->focus.acceptFocus(WindowID(2));
    coordinator->commands.dispatch(Command::throwTo(3));
    settle();
    ASSERT_TRUE(coordinator->storeWiring.store().isParked(WindowID(2)));
    change([](Config& c) { c.ignoreBundleIDs.insert("com.example.other"); });
    EXPECT_FALSE(coordinator->storeWiring.store().desktop(WindowID(2)).has_value());
    const CGRect frame = *bridge->fake.actualFrame(WindowID(2));
    EXPECT_LT(frame.minX(), 1500);
    EXPECT_LT(frame.minY(), 900);
}

TEST_F(ConfigChangeTest, AFloatRuleFloatsTheApplicationsTiledWindows) {
    change([](Config& c) { c.floatBundleIDs.insert("com.example.other"); });
    EXPECT_TRUE(coordinator->storeWiring.store().isFloating(WindowID(2)));
    EXPECT_TRUE(coordinator->storeWiring.store().isFloating(WindowID(3)));
    EXPECT_FALSE(coordinator->storeWiring.store().isFloating(WindowID(1)));
    EXPECT_THAT(decisionLines(newLogLines()),
                Contains("rule now floats win#2 com.example.other; taking it out of the layout"));
}

TEST_F(ConfigChangeTest, AModifierChangeWithAFailingThenAWorkingTap) {
    taps.failures = {true};
    change([](Config& c) { c.primaryModifier = Modifier::control; });
    EXPECT_THAT(decisionLines(newLogLines()),
                Contains("could not re-arm the key tap for control (tapCreationFailed); keys "
                         "still use option"));
    Chord optionTwo;
    for (const auto& [chord, command] : coordinator->commands.hotkeys().keymap.table()) {
        if (command == Command::switchTo(2)) optionTwo = chord;
    }
    EXPECT_TRUE(optionTwo.option);
    // The next change tries again, and this time the tap is made.
    change([](Config& c) { c.showSwitchHUD = !c.showSwitchHUD; });
    for (const auto& [chord, command] : coordinator->commands.hotkeys().keymap.table()) {
        if (command == Command::switchTo(2)) {
            EXPECT_TRUE(chord.control);
        }
    }
    EXPECT_EQ(taps.installedCount(), 2u);
}

TEST_F(ConfigChangeTest, TheLauncherSwitchedOffWhileShownIsDismissed) {
    RunningApplication previous;
    previous.pid = 600;
    previous.bundleID = "com.example.editor";
    previous.active = true;
    platform.running = {previous};
    coordinator->commands.dispatch(Command::launcher());
    ASSERT_TRUE(coordinator->launcher.controller()->isShown());
    platform.running[0].active = false;
    change([](Config& c) { c.showLauncher = false; });
    EXPECT_FALSE(coordinator->launcher.controller());
    EXPECT_THAT(platform.requests, Contains("activate(600)"));
    change([](Config& c) { c.showLauncher = true; });
    EXPECT_TRUE(coordinator->launcher.controller());
}

/// What a person sees of the border's panel: its colour, opacity and corner.
struct BorderLook {
    CGColorValue colour;
    float opacity;
    double radius;
    bool operator==(const BorderLook&) const = default;
};

// Each of the border's three looks changed alone takes effect, and the other two stay.
TEST_F(ConfigChangeTest, EachOfTheBordersLooksChangedAloneTakesEffect) {
    const CALayer& layer = *coordinator->border.panel()->borderLayer;
    const auto seen = [&] {
        return BorderLook{*layer.borderColor(), layer.opacity(), layer.cornerRadius()};
    };
    const BorderLook before = seen();
    const Config start = coordinator->configuration.config();
    // The panel's corner follows the window's a point outside it.
    const std::pair<std::function<void(Config&)>, BorderLook> rows[] = {
        {[](Config& c) { c.focusBorderColor = "#00FF00"; },
         {CGColorValue{0, 1, 0, 1}, before.opacity, before.radius}},
        {[](Config& c) { c.focusBorderOpacity = 0.5; }, {before.colour, 0.5, before.radius}},
        {[](Config& c) { c.focusBorderCornerRadius = 8; }, {before.colour, before.opacity, 9}},
    };
    for (const auto& [edit, look] : rows) {
        change([&](Config& c) {
            c.focusBorderColor = start.focusBorderColor;
            c.focusBorderOpacity = start.focusBorderOpacity;
            c.focusBorderCornerRadius = start.focusBorderCornerRadius;
        });
        ASSERT_EQ(seen(), before);
        change(edit);
        EXPECT_EQ(seen(), look);
    }
    // The desktop draws the panel with the new look.
    change([](Config& c) { c.focusBorderColor = "#00FF00"; });
    const auto drawn = simulated.desktop->ownWindow(
        static_cast<sim::WindowNumber>(coordinator->border.windowNumber()));
    ASSERT_TRUE(drawn.has_value());
    EXPECT_EQ(drawn->borderColour, (sim::Colour{0, 1, 0, 1}));
}

TEST_F(ConfigChangeTest, TheBorderSwitchedOffAloneGoes) {
    coordinator->focus.acceptFocus(WindowID(1));
    ASSERT_TRUE(coordinator->border.isShown());
    change([](Config& c) { c.showFocusBorder = false; });
    EXPECT_FALSE(coordinator->border.isShown());
    change([](Config& c) { c.showFocusBorder = true; });
    coordinator->focus.acceptFocus(WindowID(1));
    EXPECT_TRUE(coordinator->border.isShown());
}

/// The smallest rectangle around every frame.
CGRect outline(const std::map<WindowID, CGRect>& frames) {
    CGFloat minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    for (const auto& [id, frame] : frames) {
        minX = std::min(minX, frame.minX());
        minY = std::min(minY, frame.minY());
        maxX = std::max(maxX, frame.maxX());
        maxY = std::max(maxY, frame.maxY());
    }
    return CGRect(minX, minY, maxX - minX, maxY - minY);
}

TEST_F(ConfigChangeTest, EachGapChangedAloneMovesTheTiles) {
    const WorkspaceStore& store = coordinator->storeWiring.store();
    const std::map<WindowID, CGRect> before = store.layout(1);
    ASSERT_EQ(before.size(), 3U);
    // The inner gap moves the edges between windows apart and leaves the outer edges alone.
    change([](Config& c) { c.gaps.inner = 10; });
    EXPECT_NE(store.layout(1), before);
    EXPECT_EQ(outline(store.layout(1)), outline(before));
    change([](Config& c) { c.gaps.inner = 0; });
    EXPECT_EQ(store.layout(1), before);
    change([](Config& c) { c.gaps.outer = 20; });
    EXPECT_EQ(outline(store.layout(1)), outline(before).insetBy(20, 20));
}

TEST_F(ConfigChangeTest, TheDefaultLayoutModeChangedAloneReshapesTheDesktops) {
    const WorkspaceStore& store = coordinator->storeWiring.store();
    ASSERT_EQ(store.layoutMode(1), LayoutMode::bsp);
    change([](Config& c) { c.defaultLayoutMode = LayoutMode::masterStack; });
    EXPECT_EQ(store.layoutMode(1), LayoutMode::masterStack);
    EXPECT_EQ(store.layoutMode(2), LayoutMode::masterStack);
}

TEST_F(ConfigChangeTest, OneDesktopsHandSetModeChangedAloneReshapesThatDesktopOnly) {
    const WorkspaceStore& store = coordinator->storeWiring.store();
    change([](Config& c) { c.layoutModes.set(2, LayoutMode::masterStack); });
    EXPECT_EQ(store.layoutMode(2), LayoutMode::masterStack);
    EXPECT_EQ(store.layoutMode(1), LayoutMode::bsp);
    EXPECT_EQ(store.layoutMode(3), LayoutMode::bsp);
}

TEST_F(ConfigChangeTest, TheDwellChangedAloneHoldsTheFocusBackThatLong) {
    change([](Config& c) { c.focusFollowsCursor = true; });
    coordinator->focus.acceptFocus(WindowID(1));
    settle();
    change([](Config& c) { c.focusFollowsCursorDelay = 500; });
    const CGRect other = coordinator->storeWiring.store().layout(1).at(WindowID(3));
    TapEvent moved;
    moved.location = CGPoint{other.midX(), other.midY()};
    taps.deliver(EventTaps::mouseMoved, moved);
    settle(0.4);
    EXPECT_EQ(coordinator->focus.focused(), WindowID(1));
    settle(0.3);
    EXPECT_EQ(coordinator->focus.focused(), WindowID(3));
}

TEST_F(ConfigChangeTest, ThePointerFocusesNothingWhileTheSettingsWindowHasTheKeyboard) {
    change([](Config& c) { c.focusFollowsCursor = true; });
    coordinator->focus.acceptFocus(WindowID(1));
    coordinator->ownWindows.showSettings();
    ASSERT_TRUE(coordinator->ownWindows.ownWindowHasKeyboard());
    settle();
    const CGRect other = coordinator->storeWiring.store().layout(1).at(WindowID(3));
    TapEvent moved;
    moved.location = CGPoint{other.midX(), other.midY()};
    taps.deliver(EventTaps::mouseMoved, moved);
    settle();
    EXPECT_EQ(coordinator->focus.focused(), WindowID(1));
}

// Restoring the defaults marks the guide unseen; it shows at the next start, not now.
TEST_F(ConfigChangeTest, TheGuideMarkedUnseenWaitsForTheNextStart) {
    change([](Config& c) { c.guideSeen = true; });
    change([](Config& c) { c.guideSeen = false; });
    EXPECT_FALSE(coordinator->ownWindows.guideWindow().isOpen());
    EXPECT_THAT(newLogLines(), ::testing::Not(Contains("first run - showing the guide")));
}

TEST_F(ConfigChangeTest, APrimaryModifierChangedAloneMovesTheKeysWithoutAFailure) {
    const auto press = [&](Chord chord) {
        TapEvent event;
        event.keyCode = chord.keyCode;
        event.flags = (chord.option ? HotkeyService::alternateFlag : 0) |
                      (chord.control ? HotkeyService::controlFlag : 0);
        return taps.deliver(EventTaps::keyDown, event);
    };
    constexpr std::uint16_t two = 19;
    change([](Config& c) { c.primaryModifier = Modifier::control; });
    EXPECT_TRUE(press(Chord{.keyCode = two, .option = true}).has_value());
    EXPECT_FALSE(press(Chord{.keyCode = two, .control = true}).has_value());
    settle();
    EXPECT_EQ(coordinator->storeWiring.store().activeDesktop(), 2);
    EXPECT_EQ(taps.installedCount(), 2U) << "the key tap and the modifier-click's";
}

TEST_F(ConfigChangeTest, AShortcutChangedAloneIsInTheKeyMapWithoutANewTap) {
    const int made = taps.created;
    const Chord x{.keyCode = 7, .option = true};
    change([&](Config& c) { c.shortcuts.set(x, Shortcut::zoom); });
    EXPECT_EQ(coordinator->commands.hotkeys().keymap.command(x), Command::toggleZoom());
    EXPECT_EQ(coordinator->commands.hotkeys().keymap.command(Chord{.keyCode = 3, .option = true}),
              std::nullopt);
    EXPECT_EQ(taps.created, made);
}

TEST_F(ConfigChangeTest, ADesktopCountChangedAloneBindsTheDigitsUpToIt) {
    const Keymap& keys = coordinator->commands.hotkeys().keymap;
    const auto digit = [](std::uint16_t code) { return Chord{.keyCode = code, .option = true}; };
    constexpr std::uint16_t four = 21, five = 23;
    change([](Config& c) { c.desktopCount = 4; });
    EXPECT_EQ(keys.command(digit(four)), Command::switchTo(4));
    EXPECT_EQ(keys.command(digit(five)), std::nullopt);
    EXPECT_EQ(coordinator->storeWiring.store().desktopCount(), 4);
}

TEST_F(ConfigChangeTest, VimModeChangedAloneOpensTheNextLauncherInNormalMode) {
    change([](Config& c) { c.launcherVimMode = true; });
    coordinator->commands.dispatch(Command::launcher());
    settle();
    ASSERT_TRUE(coordinator->launcher.controller()->isShown());
    EXPECT_EQ(coordinator->launcher.controller()->model().mode.get(), LauncherModel::Mode::normal);
}

TEST_F(ConfigChangeTest, FollowingActivationSwitchedOffAloneStaysOnTheDesktop) {
    for (const std::uint32_t raw : {2, 3}) {
        coordinator->focus.acceptFocus(WindowID(raw));
        coordinator->commands.dispatch(Command::throwTo(2));
        settle();
    }
    const WorkspaceStore& store = coordinator->storeWiring.store();
    ASSERT_EQ(store.activeDesktop(), 1);
    coordinator->focus.eventActivated(std::nullopt, std::string("com.example.other"));
    settle();
    EXPECT_EQ(store.activeDesktop(), 2);
    coordinator->commands.dispatch(Command::switchTo(1));
    settle();
    change([](Config& c) { c.followActivationToDesktop = false; });
    coordinator->focus.eventActivated(std::nullopt, std::string("com.example.other"));
    settle();
    EXPECT_EQ(store.activeDesktop(), 1);
}

TEST_F(ConfigChangeTest, DesktopCountNineFourNineEndsWithNineTiles) {
    const NSStatusItemRef& item = coordinator->ownWindows.statusItem().item();
    change([](Config& c) { c.desktopCount = 4; });
    EXPECT_EQ(coordinator->ownWindows.desktopModel().count, 4);
    EXPECT_EQ(item->length(), 93);
    change([](Config& c) { c.desktopCount = 9; });
    EXPECT_EQ(coordinator->ownWindows.desktopModel().count, 9);
    EXPECT_EQ(item->length(), 183);
    EXPECT_EQ(item->button()->accessibilityLabel(), "Kelvo - desktop 1 of 9");
}

TEST_F(ConfigChangeTest, DesktopCountNineFourNineWithAFailedReArmBetween) {
    taps.failures = {true};
    change([](Config& c) {
        c.primaryModifier = Modifier::control;
        c.desktopCount = 4;
    });
    taps.failures = {true};
    change([](Config& c) { c.desktopCount = 9; });
    EXPECT_EQ(coordinator->ownWindows.desktopModel().count, 9);
}

TEST_F(ConfigChangeTest, FocusFollowsThePointerStartsAndStops) {
    change([](Config& c) { c.focusFollowsCursor = true; });
    ASSERT_TRUE(coordinator->pointerFocus.isFollowing());
    EXPECT_TRUE(taps.tapFor(EventTaps::mouseMoved).has_value());
    change([](Config& c) { c.focusFollowsCursor = false; });
    EXPECT_FALSE(coordinator->pointerFocus.isFollowing());
    EXPECT_FALSE(taps.tapFor(EventTaps::mouseMoved).has_value());
}

TEST_F(ConfigChangeTest, AFailedPointerTapIsLoggedAndLeavesTheFeatureOff) {
    taps.failures = {true};
    change([](Config& c) { c.focusFollowsCursor = true; });
    EXPECT_FALSE(coordinator->pointerFocus.isFollowing());
    EXPECT_THAT(decisionLines(newLogLines()),
                Contains("focus-follows-cursor: could not start its mouse tap "
                         "(tapCreationFailed)"));
}

TEST_F(ConfigChangeTest, TheClickBindingFollowsItsSetting) {
    change([](Config& c) { c.clickToFloat = false; });
    EXPECT_FALSE(taps.tapFor(EventTaps::leftMouseDown).has_value());
    taps.failures = {true};
    change([](Config& c) { c.clickToFloat = true; });
    EXPECT_THAT(decisionLines(newLogLines()),
                Contains("⌥⇧click: could not start its mouse tap (tapCreationFailed); the "
                         "binding is off"));
    change([](Config& c) { c.showSwitchHUD = !c.showSwitchHUD; });
    EXPECT_TRUE(taps.tapFor(EventTaps::leftMouseDown).has_value());
}

}  // namespace
}  // namespace kelvo

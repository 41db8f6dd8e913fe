#include <gmock/gmock.h>
#include <gtest/gtest.h>

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
    coordinator->ownWindows.statusItem().log.clear();
    change([](Config& c) { c.launcherRecents = {"com.example.a"}; });
    EXPECT_THAT(coordinator->ownWindows.statusItem().log.requests(), IsEmpty());
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
    ASSERT_TRUE(coordinator->launcher.controller()->panel.visible);
    platform.running[0].active = false;
    change([](Config& c) { c.showLauncher = false; });
    EXPECT_FALSE(coordinator->launcher.controller());
    EXPECT_THAT(platform.requests, Contains("activate(600)"));
    change([](Config& c) { c.showLauncher = true; });
    EXPECT_TRUE(coordinator->launcher.controller());
}

TEST_F(ConfigChangeTest, TheBorderTakesItsNewLook) {
    change([](Config& c) {
        c.focusBorderColor = "#00FF00";
        c.focusBorderOpacity = 0.5;
        c.focusBorderCornerRadius = 8;
    });
    const CALayer& layer = *coordinator->border.panel()->borderLayer;
    EXPECT_EQ(*layer.borderColor(), (CGColorValue{0, 1, 0, 1}));
    EXPECT_EQ(layer.opacity(), 0.5);
    EXPECT_EQ(layer.cornerRadius(), 9);
    // The desktop draws the panel with the new look.
    const auto look = simulated.desktop->ownWindow(
        static_cast<sim::WindowNumber>(coordinator->border.windowNumber()));
    ASSERT_TRUE(look.has_value());
    EXPECT_EQ(look->borderColour, (sim::Colour{0, 1, 0, 1}));
}

TEST_F(ConfigChangeTest, DesktopCountNineFourNineEndsWithNineTiles) {
    coordinator->ownWindows.statusItem().log.clear();
    change([](Config& c) { c.desktopCount = 4; });
    change([](Config& c) { c.desktopCount = 9; });
    EXPECT_THAT(coordinator->ownWindows.statusItem().log.requests(),
                Contains("setDesktopCount(4)"));
    EXPECT_THAT(coordinator->ownWindows.statusItem().log.requests(),
                Contains("setDesktopCount(9)"));
    EXPECT_EQ(coordinator->ownWindows.desktopModel().count, 9);
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

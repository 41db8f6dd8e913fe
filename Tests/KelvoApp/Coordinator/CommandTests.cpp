#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "KelvoApp/Coordinator/LogText.h"
#include "KelvoApp/Input/FocusBorder.h"
#include "KelvoApp/Input/HotkeyService.h"
#include "KelvoApp/Services/Overlays/CheatsheetPanelController.h"
#include "Support/KelvoApp/CoordinatorFixture.h"
#include "Support/KelvoApp/DecisionLog.h"

namespace kelvo {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::uint64_t capsLock = 0x10000;

TapEvent keyEvent(const Chord& chord, std::uint64_t extra = 0) {
    TapEvent event;
    event.keyCode = chord.keyCode;
    event.flags = extra | (chord.option ? HotkeyService::alternateFlag : 0) |
                  (chord.control ? HotkeyService::controlFlag : 0) |
                  (chord.command ? HotkeyService::commandFlag : 0) |
                  (chord.shift ? HotkeyService::shiftFlag : 0);
    return event;
}

class CommandTest : public CoordinatorFixture {
  protected:
    void SetUp() override { startWithTwoWindows(); }
    std::optional<TapEvent> press(const Chord& chord, std::uint64_t extra = 0) {
        return taps.deliver(EventTaps::keyDown, keyEvent(chord, extra));
    }
};

TEST_F(CommandTest, EveryDefaultChordDispatchesItsCommand) {
    const auto table = coordinator->commands.hotkeys().keymap.table();
    ASSERT_FALSE(table.empty());
    for (const auto& [chord, command] : table) {
        markLog();
        const std::string focused =
            coordinator->focus.focused()
                ? coordinator->windowNames.named(*coordinator->focus.focused())
                : "nil";
        EXPECT_FALSE(press(chord).has_value()) << command.description();
        settle(0.5);
        const auto lines = newLogLines();
        ASSERT_FALSE(lines.empty()) << command.description();
        EXPECT_EQ(lines.front(), "cmd " + LogText::command(command) + "  focused=" + focused);
        // Panels opened by a command are closed again by the next press of it.
        if (command == Command::cheatsheet() || command == Command::launcher()) {
            press(chord);
            settle(0.1);
        }
    }
}

TEST_F(CommandTest, ADirectionIsWrittenWithItsModuleAndType) {
    coordinator->commands.dispatch(Command::focus(Direction::left));
    EXPECT_EQ(newLogLines().front(),
              "cmd focus(KelvoCore.Direction.left)  focused=win#1 com.example.app");
    EXPECT_EQ(LogText::command(Command::switchTo(3)), "switchTo(3)");
    EXPECT_EQ(LogText::command(Command::toggleZoom()), "toggleZoom");
}

TEST_F(CommandTest, OptionWithCapsLockStillMatchesAndOptionCommandDoesNot) {
    const Chord chord = chordFor(Command::switchTo(2));
    EXPECT_FALSE(press(chord, capsLock).has_value());
    settle(0.1);
    EXPECT_EQ(coordinator->storeWiring.store().activeDesktop(), 2);
    Chord withCommand = chord;
    withCommand.command = true;
    EXPECT_TRUE(press(withCommand).has_value());
}

TEST_F(CommandTest, ASuspendedServicePassesKeysAndClicksAndStillAnswersADisable) {
    coordinator->commands.setRecordingShortcut(true);
    EXPECT_TRUE(press(chordFor(Command::switchTo(2))).has_value());
    TapEvent click;
    click.flags = HotkeyService::alternateFlag | HotkeyService::shiftFlag;
    click.location = CGPoint{50, 50};
    EXPECT_TRUE(taps.deliver(EventTaps::leftMouseDown, click).has_value());
    const auto keyTap = *taps.tapFor(EventTaps::keyDown);
    taps.disable(keyTap);
    EXPECT_TRUE(taps.taps[keyTap].enabled);
    settle(0.1);
    EXPECT_EQ(coordinator->storeWiring.store().activeDesktop(), 1);
}

TEST_F(CommandTest, ATapDisabledByTimeoutIsEnabledAgainByItsNextCallback) {
    const auto keyTap = *taps.tapFor(EventTaps::keyDown);
    taps.disable(keyTap, EventTaps::tapDisabledByUserInput);
    EXPECT_TRUE(taps.taps[keyTap].enabled);
    EXPECT_FALSE(press(chordFor(Command::switchTo(3))).has_value());
}

TEST_F(CommandTest, MoveWindowFallsBackToTheTargetWhenTheFocusLeftTheDesktop) {
    coordinator->focus.acceptFocus(WindowID(77));
    markLog();
    coordinator->commands.dispatch(Command::moveWindow(Direction::right));
    const auto lines = decisions();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "cmd moveWindow(KelvoCore.Direction.right)  focused=win#77 ?");
    EXPECT_THAT(lines[1], ::testing::StartsWith("  focused=win#77 ? -> falling back to win#"));
}

TEST_F(CommandTest, MoveWindowWithAForeignFrontReFocusesTheTarget) {
    coordinator->focus.acceptFocus(WindowID(1));
    coordinator->focus.noteForeignFront(std::string("com.example.none"));
    coordinator->commands.dispatch(Command::moveWindow(Direction::right));
    EXPECT_THAT(decisions(),
                Contains("  the front is not a window Kelvo manages -> re-focusing win#1 "
                         "com.example.app"));
    EXPECT_FALSE(coordinator->focus.frontIsForeign());
}

TEST_F(CommandTest, CloseWindowLogsAndChangesNothing) {
    const std::string before = coordinator->storeWiring.store().stateDescription();
    coordinator->commands.dispatch(Command::closeWindow());
    EXPECT_EQ(coordinator->storeWiring.store().stateDescription(), before);
    const auto lines = newLogLines();
    EXPECT_EQ(lines.front(), "cmd closeWindow  focused=win#1 com.example.app");
    EXPECT_GE(lines.size(), 2u);
}

// The commands reach desktop 1 and the last desktop, and one past either end moves nothing.
TEST_F(CommandTest, SwitchAndThrowReachTheFirstAndLastDesktopButNotOnePast) {
    coordinator->configuration.store().update([](Config& c) { c.desktopCount = 4; });
    settle();
    const WorkspaceStore& store = coordinator->storeWiring.store();
    coordinator->focus.acceptFocus(WindowID(2));
    for (const int outside : {0, 5}) {
        coordinator->commands.dispatch(Command::throwTo(outside));
        coordinator->commands.dispatch(Command::switchTo(outside));
        settle();
        EXPECT_EQ(store.desktop(WindowID(2)), 1) << outside;
        EXPECT_EQ(store.activeDesktop(), 1) << outside;
    }
    coordinator->commands.dispatch(Command::throwTo(4));
    coordinator->commands.dispatch(Command::switchTo(4));
    settle();
    EXPECT_EQ(store.desktop(WindowID(2)), 4);
    EXPECT_EQ(store.activeDesktop(), 4);
    coordinator->focus.acceptFocus(WindowID(2));
    coordinator->commands.dispatch(Command::throwTo(1));
    coordinator->commands.dispatch(Command::switchTo(1));
    settle();
    EXPECT_EQ(store.desktop(WindowID(2)), 1);
    EXPECT_EQ(store.activeDesktop(), 1);
}

TEST_F(CommandTest, SwitchToShowsTheDisplayEvenWhenNothingChanged) {
    coordinator->configuration.store().update([](Config& c) { c.showSwitchHUD = true; });
    const SwitchHUD& display = coordinator->ownWindows.switchDisplay();
    const int before = display.generation();
    coordinator->commands.dispatch(Command::switchTo(1));
    EXPECT_EQ(display.label->stringValue(), "1");
    coordinator->commands.dispatch(Command::switchTo(5));
    EXPECT_EQ(display.label->stringValue(), "5");
    EXPECT_EQ(display.generation(), before + 2);
    EXPECT_TRUE(display.panel.isVisible());
    // Switched off in the settings, a switch shows nothing.
    coordinator->configuration.store().update([](Config& c) { c.showSwitchHUD = false; });
    coordinator->commands.dispatch(Command::switchTo(2));
    EXPECT_EQ(display.generation(), before + 2);
}

TEST_F(CommandTest, TheCheatSheetCommandTogglesTheSheetOfTheKeysInForceNow) {
    coordinator->configuration.store().update([](Config& c) { c.showLauncher = false; });
    const CheatsheetPanelController& sheet = coordinator->ownWindows.cheatsheet();
    coordinator->commands.dispatch(Command::cheatsheet());
    settle();
    EXPECT_TRUE(sheet.isShown());
    EXPECT_TRUE(sheet.hosting->layoutTree().findIdentifier("focusLeft"));
    EXPECT_FALSE(sheet.hosting->layoutTree().findIdentifier("launcher"));
    coordinator->commands.dispatch(Command::cheatsheet());
    EXPECT_FALSE(sheet.isShown());
}

TEST_F(CommandTest, EscapePutsTheShownCheatSheetAwayAndIsSwallowedOnlyThen) {
    const CheatsheetPanelController& sheet = coordinator->ownWindows.cheatsheet();
    const Chord escape{.keyCode = 53};
    EXPECT_TRUE(press(escape).has_value()) << "nothing to put away";
    coordinator->commands.dispatch(Command::cheatsheet());
    settle();
    ASSERT_TRUE(sheet.isShown());
    markLog();
    // With a modifier held it is another chord, left to whoever it is for.
    EXPECT_TRUE(press(escape, HotkeyService::alternateFlag).has_value());
    EXPECT_TRUE(press(escape, HotkeyService::controlFlag).has_value());
    EXPECT_TRUE(press(escape, HotkeyService::commandFlag).has_value());
    EXPECT_TRUE(press(escape, HotkeyService::shiftFlag).has_value());
    settle();
    EXPECT_TRUE(sheet.isShown());
    EXPECT_FALSE(press(escape, capsLock).has_value());
    settle();
    EXPECT_FALSE(sheet.isShown());
    EXPECT_THAT(newLogLines(), ElementsAre("Escape put the cheat sheet away"));
    EXPECT_TRUE(press(escape).has_value()) << "the sheet is away";
}

TEST_F(CommandTest, ToggleLayoutModeFlipsTheActiveDesktop) {
    const LayoutMode before = coordinator->storeWiring.store().layoutMode(1);
    coordinator->commands.dispatch(Command::toggleLayoutMode());
    EXPECT_EQ(coordinator->storeWiring.store().layoutMode(1), other(before));
    coordinator->commands.dispatch(Command::toggleLayoutMode());
    EXPECT_EQ(coordinator->storeWiring.store().layoutMode(1), before);
}

TEST_F(CommandTest, ToggleFloatSaysWhatItDid) {
    coordinator->focus.acceptFocus(WindowID(1));
    coordinator->commands.dispatch(Command::toggleFloat());
    coordinator->commands.dispatch(Command::toggleFloat());
    const auto lines = decisions();
    EXPECT_THAT(lines, Contains("  floated win#1 com.example.app"));
    EXPECT_THAT(lines, Contains("  un-floated win#1 com.example.app"));
}

TEST_F(CommandTest, NewTerminalOpensTheConfiguredTerminalThroughTheLog) {
    coordinator->configuration.store().update(
        [](Config& c) { c.terminalBundleID = "com.example.term"; });
    coordinator->commands.dispatch(Command::newTerminal());
    EXPECT_TRUE(logged("newTerminal: no terminal found to open"));
}

TEST_F(CommandTest, TheLauncherShortcutHidesAVisibleLauncherAndGivesTheFrontBack) {
    ASSERT_TRUE(coordinator->launcher.controller());
    RunningApplication previous;
    previous.pid = 300;
    previous.bundleID = "com.example.editor";
    platform.running = {previous};
    platform.running[0].active = true;
    coordinator->commands.dispatch(Command::launcher());
    ASSERT_TRUE(coordinator->launcher.controller()->isShown());
    platform.running[0].active = false;
    coordinator->commands.dispatch(Command::launcher());
    EXPECT_FALSE(coordinator->launcher.controller()->isShown());
    EXPECT_THAT(platform.requests, Contains("activate(300)"));
    EXPECT_FALSE(coordinator->launcher.controller()->previousApp().has_value());
    EXPECT_EQ(coordinator->launcher.controller()->model().field.get(), "");
}

TEST_F(CommandTest, AQuitPreviousApplicationIsNotActivated) {
    RunningApplication previous;
    previous.pid = 301;
    previous.bundleID = "com.example.gone";
    previous.active = true;
    platform.running = {previous};
    coordinator->commands.dispatch(Command::launcher());
    platform.running[0].terminated = true;
    coordinator->commands.dispatch(Command::launcher());
    EXPECT_THAT(platform.requests, ::testing::Not(Contains("activate(301)")));
}

class ModifierClickTest : public CommandTest {
  protected:
    std::optional<TapEvent> click(CGPoint at, std::uint64_t extra = 0) {
        TapEvent event;
        event.flags = HotkeyService::alternateFlag | HotkeyService::shiftFlag | extra;
        event.location = at;
        return taps.deliver(EventTaps::leftMouseDown, event);
    }
    void screenWindows() {
        platform.screenWindows.clear();
        for (std::uint32_t raw : {1u, 2u}) {
            const auto frame = bridge->fake.actualFrame(WindowID(raw));
            platform.screenWindows.push_back(ScreenWindow{WindowID(raw), *frame, 0, 900});
        }
    }
};

TEST_F(ModifierClickTest, OverATiledWindowFloatsItAndOverItAgainTilesIt) {
    screenWindows();
    const CGRect frame = *bridge->fake.actualFrame(WindowID(1));
    const CGPoint inside{frame.midX(), frame.midY()};
    EXPECT_FALSE(click(inside).has_value());
    settle(0.1);
    EXPECT_TRUE(coordinator->storeWiring.store().isFloating(WindowID(1)));
    EXPECT_THAT(decisions(), Contains("⌥⇧click win#1 com.example.app: floated"));
    screenWindows();
    EXPECT_FALSE(click(inside).has_value());
    settle(0.1);
    EXPECT_FALSE(coordinator->storeWiring.store().isFloating(WindowID(1)));
    EXPECT_THAT(decisions(), Contains("⌥⇧click win#1 com.example.app: un-floated"));
}

TEST_F(ModifierClickTest, AnOwnWindowOrANonZeroLayerPassesUntouched) {
    const CGRect frame = *bridge->fake.actualFrame(WindowID(1));
    const CGPoint inside{frame.midX(), frame.midY()};
    platform.screenWindows = {ScreenWindow{WindowID(50), frame, 0, platform.pid},
                              ScreenWindow{WindowID(1), frame, 0, 900}};
    EXPECT_TRUE(click(inside).has_value());
    platform.screenWindows = {ScreenWindow{WindowID(51), frame, 25, 901},
                              ScreenWindow{WindowID(1), frame, 0, 900}};
    EXPECT_TRUE(click(inside).has_value());
    settle(0.1);
    EXPECT_FALSE(coordinator->storeWiring.store().isFloating(WindowID(1)));
}

TEST_F(ModifierClickTest, TheBorderPanelIsLookedThrough) {
    const auto border = WindowID(static_cast<std::uint32_t>(coordinator->border.windowNumber()));
    ASSERT_GE(border.raw, 1u);
    const CGRect frame = *bridge->fake.actualFrame(WindowID(1));
    const CGPoint inside{frame.midX(), frame.midY()};
    platform.screenWindows = {ScreenWindow{border, frame, 3, platform.pid},
                              ScreenWindow{WindowID(1), frame, 0, 900}};
    EXPECT_FALSE(click(inside).has_value());
    settle(0.1);
    EXPECT_TRUE(coordinator->storeWiring.store().isFloating(WindowID(1)));
}

TEST_F(ModifierClickTest, ExtraModifiersOrAnUnmanagedWindowLetTheClickThrough) {
    screenWindows();
    const CGRect frame = *bridge->fake.actualFrame(WindowID(1));
    EXPECT_TRUE(click(CGPoint{frame.midX(), frame.midY()}, HotkeyService::controlFlag));
    platform.screenWindows = {ScreenWindow{WindowID(70), frame, 0, 900}};
    EXPECT_TRUE(click(CGPoint{frame.midX(), frame.midY()}).has_value());
}

}  // namespace
}  // namespace kelvo

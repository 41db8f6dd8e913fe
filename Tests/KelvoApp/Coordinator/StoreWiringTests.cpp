#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

#include "Base/Foundation/FileSystem.h"
#include "KelvoApp/Input/FocusBorder.h"
#include "Support/KelvoApp/CoordinatorFixture.h"

namespace kelvo {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

class StoreWiringTest : public CoordinatorFixture {
  protected:
    void SetUp() override { startWithTwoWindows(); }
    WorkspaceStore::Hooks& hooks() { return coordinator->storeWiring.store().hooks; }
    bool isStateLine(const std::string& line) {
        std::string state = coordinator->storeWiring.store().stateDescription();
        return state.find(line.substr(2)) != std::string::npos;
    }
    /// Whether the state followed: the last lines are the state text.
    bool stateLogged() {
        const auto lines = newLogLines();
        return !lines.empty() && isStateLine(lines.back());
    }
};

TEST_F(StoreWiringTest, NamesAWindowWithItsApplicationOrAQuestionMark) {
    EXPECT_EQ(coordinator->windowNames.named(WindowID(1)), "win#1 com.example.app");
    EXPECT_EQ(coordinator->windowNames.named(WindowID(99)), "win#99 ?");
}

TEST_F(StoreWiringTest, EveryHookWritesItsLineByteForByte) {
    const WindowID w(1);
    hooks().onChangedDisplay(w, 7);
    hooks().onExternalUnhide("com.x", 3);
    hooks().onLayoutPass(2, 1);
    hooks().onFloatedForMinimum(w, CGSize{900.7, 0});
    hooks().onRearrangedForMinimum(4);
    hooks().onRestoredSession(5);
    hooks().onApplicationHidden("com.x", true);
    hooks().onApplicationHidden("com.x", false);
    hooks().onExternalFrameChange(w, CGRect(10.9, -20.5, 640.2, 480.9));
    hooks().onFloatedAtLaunch(w, CGSize{2000, 1500}, CGSize{800, 975});
    hooks().onDividerDragged(w);
    hooks().onQuietPass(3, "", "");
    hooks().onQuietPass(2, "4 5", "6");
    hooks().onLayoutSkip(w, CGRect(0, 25, 800, 975), CGRect(1.5, 26.9, 799, 974));
    hooks().onFullScreenChanged(w, true);
    hooks().onFullScreenChanged(w, false);
    hooks().onRearranged(w, WindowID(2));
    hooks().onDragUnresolved(w, "no reason");
    std::vector<std::string> lines;
    for (const std::string& line : newLogLines()) {
        if (!isStateLine(line)) lines.push_back(line);
    }
    EXPECT_THAT(
        lines,
        ElementsAre(
            "win#1 com.example.app is on display #7 now - laid out there",
            "unhiding com.x - hidden by the user but owns a window on desktop 3",
            "  layout: wrote 2, 1 did not land",
            "floated win#1 com.example.app - it will not be smaller than 900×any and no "
            "arrangement of desktop 1 can give it that; ⌥V puts it back",
            "desktop 4 rebuilt as a grid - its arrangement could not hold a window's minimum "
            "size and the grid can",
            "restored 5 window(s) to the desktops and panes the last session left them in",
            "com.x hidden by the user - left hidden, its panes kept", "com.x unhidden",
            "win#1 com.example.app moved to 640×480 at (10,-20) with no hand on the mouse - put "
            "back in its pane",
            "launch: win#1 com.example.app is 2000×1500 against a 800×975 slot - left floating "
            "where it was, unwritten; ⌥V tiles it",
            "drag: win#1 com.example.app was resized by hand - moving the divider it shares and "
            "reflowing",
            "  layout: nothing written - 3 window(s) asked for",
            "  layout: nothing written - 2 window(s) asked for, unreadable=[4 5], given-up=[6]",
            "  layout: win#1 com.example.app left alone - wanted 800x975 at (0,25), read back "
            "799x974 at (1,26)",
            "win#1 com.example.app went full screen - out of the layout until it comes back",
            "win#1 com.example.app left full screen - back in the layout",
            "drag: win#1 com.example.app was dropped on win#2 com.example.other - the two "
            "swapped panes",
            "drag: win#1 com.example.app settled and changed nothing - no reason"));
}

TEST_F(StoreWiringTest, AQuietLayoutPassLogsNothingUnlessVerbose) {
    hooks().onLayoutPass(0, 0);
    EXPECT_THAT(newLogLines(), IsEmpty());
}

using VerboseStoreWiringTest = CoordinatorFixture;

TEST_F(VerboseStoreWiringTest, AQuietLayoutPassIsLoggedWhenVerbose) {
    environment["KELVO_LOG"] = "1";
    startWithTwoWindows();
    coordinator->storeWiring.store().hooks.onLayoutPass(0, 0);
    EXPECT_THAT(newLogLines(), ElementsAre("  layout: wrote 0, 0 did not land"));
}

TEST_F(StoreWiringTest, TheGiveUpLineNamesTheStashDesktopOnlyWhenTheWindowGoesThere) {
    // The configuration's stash desktop is not what the line reads: the store tells it.
    Config config = coordinator->configuration.config();
    config.stashDesktop = 5;
    coordinator->storeWiring.store().apply(config);
    hooks().onGaveUp(WindowID(1), std::string("com.example.app"), 3);
    hooks().onGaveUp(WindowID(2), std::nullopt, std::nullopt);
    hooks().onGaveUp(WindowID(1), std::nullopt, std::nullopt);
    std::vector<std::string> lines;
    for (const std::string& line : newLogLines()) {
        if (!isStateLine(line)) lines.push_back(line);
    }
    EXPECT_THAT(lines,
                ElementsAre("gave up on win#1 com.example.app after repeated refusals - floating "
                            "it, out of the layout and onto desktop 3",
                            "gave up on win#2 com.example.other after repeated refusals - "
                            "floating it, out of the layout",
                            "gave up on win#1 com.example.app after repeated refusals - floating "
                            "it, out of the layout"));
}

TEST_F(StoreWiringTest, TheStateHooksLogTheStateAndRewriteTheSession) {
    std::filesystem::remove(folder / "session.json");
    hooks().onRearrangedForMinimum(1);
    EXPECT_TRUE(stateLogged());
    // Written in the snapshot's own key order, not sorted, and read back whole.
    const std::string text = readFile(folder / "session.json");
    EXPECT_EQ(text.rfind("{\"bootTime\":", 0), 0u) << text;
    EXPECT_EQ(SessionSnapshot::fromFileText(text), coordinator->storeWiring.store().sessionSnapshot(
                                                       coordinator->storeWiring.bootTime()));
}

using SessionFileTest = CoordinatorFixture;

TEST_F(SessionFileTest, NoSessionFileIsWrittenBeforeTheLaunchAdoption) {
    CoordinatorProcess process;
    process.platform = &platform;
    process.taps = &taps;
    process.makeBridge = [this](const Config&) { return bridge; };
    coordinator = std::make_unique<Coordinator>(std::move(process));
    StoreWiring& wiring = coordinator->storeWiring;
    wiring.makeStore(Config::defaults());
    wiring.placeSessionFile(folder / "config.json");
    wiring.logState();
    EXPECT_FALSE(std::filesystem::exists(folder / "session.json"));
    wiring.markSessionReady();
    wiring.logState();
    EXPECT_TRUE(std::filesystem::exists(folder / "session.json"));
}

TEST_F(StoreWiringTest, ALayoutModeChangeGoesThroughTheConfigurationStore) {
    hooks().onLayoutModeChanged(2, LayoutMode::masterStack);
    EXPECT_THAT(newLogLines(), Contains("desktop 2 is now laid out as master & stack"));
    EXPECT_EQ(coordinator->configuration.config().layoutModes[2], LayoutMode::masterStack);
    EXPECT_EQ(coordinator->configuration.store().config().layoutModes[2], LayoutMode::masterStack);
}

TEST_F(StoreWiringTest, ALearnedFloatRuleFloatsTheApplicationsOtherWindows) {
    hooks().onLearnedFloatRule("com.example.other");
    const auto lines = newLogLines();
    EXPECT_THAT(lines, Contains("learned a float rule for com.example.other - its windows are "
                                "left alone from the next launch; the row is in Settings ▸ Apps "
                                "▸ Rules and can be removed"));
    EXPECT_THAT(lines, Contains("rule now floats win#2 com.example.other; taking it out of the "
                                "layout"));
    EXPECT_TRUE(coordinator->storeWiring.store().isFloating(WindowID(2)));
}

TEST_F(StoreWiringTest, AStashAfterTheStatusItemExistsFlashesAtOnce) {
    hooks().onStashed(WindowID(1), 4);
    EXPECT_THAT(newLogLines(),
                ElementsAre("stashed win#1 com.example.app on desktop 4 - no arrangement of its "
                            "own desktop could give it a frame; it is tiled there instead"));
    EXPECT_EQ(coordinator->ownWindows.desktopModel().flashing.get(), 4);
}

using LaunchStashTest = CoordinatorFixture;

// A window too big for its slot at launch goes to the stash desktop before the status item
// exists; that desktop's tile blinks as soon as the item is there.
TEST_F(LaunchStashTest, AStashBeforeTheStatusItemExistsFlashesOnceItDoes) {
    window(1, CGRect(0, 25, 800, 600));
    window(2, CGRect(100, 100, 700, 500), "com.example.other");
    window(3, CGRect(200, 100, 1250, 760), "com.example.third");
    window(4, CGRect(300, 200, 700, 500), "com.example.other");
    ASSERT_TRUE(start());
    ASSERT_EQ(coordinator->storeWiring.store().desktop(WindowID(3)), 9);
    EXPECT_EQ(coordinator->ownWindows.desktopModel().flashing.get(), 9);
}

TEST_F(StoreWiringTest, TheSameHidingReasonIsLoggedOnceUntilTheBorderIsShown) {
    coordinator->focus.acceptFocus(WindowID(1));
    markLog();
    coordinator->focus.forget(WindowID(1));
    coordinator->border.update();
    coordinator->border.update();
    coordinator->focus.acceptFocus(WindowID(1));
    coordinator->focus.forget(WindowID(1));
    coordinator->border.update();
    EXPECT_THAT(newLogLines(), ElementsAre("  focus border hidden: nothing is focused",
                                           "  focus border hidden: nothing is focused"));
}

TEST_F(StoreWiringTest, TheBorderHidesForEachReasonInTurn) {
    coordinator->configuration.store().update(
        [](Config& c) { c.hideFocusBorderOnForeignFront = true; });
    coordinator->focus.acceptFocus(WindowID(1));
    coordinator->focus.noteForeignFront(std::string("com.example.none"));
    bridge->fake.window(WindowID(1)).unreadable();
    coordinator->focus.acceptFocus(WindowID(1));
    coordinator->focus.acceptFocus(WindowID(77));
    std::vector<std::string> hidden;
    for (const std::string& line : newLogLines()) {
        if (line.starts_with("  focus border hidden: ")) hidden.push_back(line);
    }
    EXPECT_THAT(hidden,
                ElementsAre("  focus border hidden: the front is an application Kelvo manages "
                            "nothing of here",
                            "  focus border hidden: win#1 com.example.app has no readable frame",
                            "  focus border hidden: win#77 ? is on desktop none, not the visible "
                            "1"));
    EXPECT_FALSE(coordinator->border.isShown());
}

TEST_F(StoreWiringTest, TheBorderHidesWhileTheFocusedWindowsApplicationIsHidden) {
    coordinator->focus.acceptFocus(WindowID(1));
    ASSERT_TRUE(coordinator->border.isShown());
    markLog();
    platform.hidden(std::string("com.example.app"));
    EXPECT_FALSE(coordinator->border.isShown());
    EXPECT_THAT(newLogLines(), Contains("  focus border hidden: win#1 com.example.app is hidden"));
    platform.unhidden(std::string("com.example.app"));
    EXPECT_TRUE(coordinator->border.isShown());
}

TEST_F(StoreWiringTest, BeingHiddenIsTheReasonBeforeTheDesktopWhateverTheForeignFrontSetting) {
    coordinator->configuration.store().update(
        [](Config& c) { c.hideFocusBorderOnForeignFront = false; });
    coordinator->focus.acceptFocus(WindowID(1));
    markLog();
    platform.hidden(std::string("com.example.app"));
    coordinator->focus.noteForeignFront(std::string("com.example.none"));
    coordinator->storeWiring.store().switchTo(2, std::nullopt);
    coordinator->border.update();
    coordinator->configuration.store().update(
        [](Config& c) { c.hideFocusBorderOnForeignFront = true; });
    coordinator->border.update();
    std::vector<std::string> hidden;
    for (const std::string& line : newLogLines()) {
        if (line.starts_with("  focus border hidden: ")) hidden.push_back(line);
    }
    EXPECT_THAT(hidden, ElementsAre("  focus border hidden: win#1 com.example.app is hidden",
                                    "  focus border hidden: the front is an application Kelvo "
                                    "manages nothing of here"));
    EXPECT_FALSE(coordinator->border.isShown());
}

TEST_F(StoreWiringTest, TheBorderFramesTheFocusedWindowFlippedOnTheFirstScreen) {
    coordinator->focus.acceptFocus(WindowID(1));
    const auto frame = bridge->fake.actualFrame(WindowID(1));
    ASSERT_TRUE(frame.has_value());
    EXPECT_TRUE(coordinator->border.isShown());
    EXPECT_EQ(coordinator->border.panel()->panel.frame(),
              CGRect(frame->minX() - 1, 1000 - frame->maxY() - 1, frame->width() + 2,
                     frame->height() + 2));
}

TEST_F(StoreWiringTest, WhileDraggingTheBorderIsLeftToTheDragHooks) {
    coordinator->focus.acceptFocus(WindowID(1));
    coordinator->focus.forget(WindowID(1));
    coordinator->storeWiring.store().hooks.onDragTarget(std::nullopt, CGRect(10, 20, 300, 200));
    EXPECT_TRUE(coordinator->border.isShowingDragTarget());
    EXPECT_TRUE(coordinator->border.isShown());
    coordinator->storeWiring.store().hooks.onDragTarget(std::nullopt, std::nullopt);
    EXPECT_FALSE(coordinator->border.isShowingDragTarget());
    EXPECT_FALSE(coordinator->border.isShown());
}

TEST_F(StoreWiringTest, TheStatusItemNameFollowsTheFocusedWindow) {
    coordinator->configuration.store().update([](Config& c) { c.showFocusedAppName = true; });
    // The item widens for the name band.
    EXPECT_EQ(coordinator->ownWindows.statusItem().item()->length(), 276);
    coordinator->focus.acceptFocus(WindowID(2));
    EXPECT_EQ(coordinator->focus.focusedAppName(), "com.example.other");
    EXPECT_EQ(coordinator->ownWindows.desktopModel().focusedApp.get(), "com.example.other");
    coordinator->focus.noteForeignFront(std::string("com.example.none"));
    EXPECT_EQ(coordinator->focus.focusedAppName(), std::nullopt);
    coordinator->focus.acceptFocus(WindowID(2));
    coordinator->configuration.store().update([](Config& c) { c.showFocusedAppName = false; });
    EXPECT_EQ(coordinator->focus.focusedAppName(), std::nullopt);
}

// The status item's name holds twenty characters: a name of exactly twenty shows whole, one of
// twenty-one loses its last two to the ellipsis.
TEST_F(StoreWiringTest, TheStatusItemNameShowsTwentyCharactersWhole) {
    coordinator->configuration.store().update([](Config& c) { c.showFocusedAppName = true; });
    const std::string twenty = "com.example.abcdefgh", twentyOne = "com.example.abcdefghi",
                      nineteen = "com.example.abcdefg";
    ASSERT_EQ(twenty.size(), 20u);
    std::uint32_t raw = 3;
    for (const std::string& name : {nineteen, twenty, twentyOne}) {
        window(raw, CGRect(200, 200, 600, 400), name);
        adoptByEvent(raw, name);
        coordinator->focus.acceptFocus(WindowID(raw));
        ++raw;
        EXPECT_EQ(coordinator->focus.focusedAppName(),
                  name.size() <= 20 ? name : name.substr(0, 19) + "…");
    }
}

TEST_F(StoreWiringTest, TheLatestForeignFrontEndsOnceItsApplicationHasAWindowHere) {
    coordinator->focus.noteForeignFront(std::string("com.example.first"));
    coordinator->focus.noteForeignFront(std::string("com.example.third"));
    ASSERT_TRUE(coordinator->focus.frontIsForeign());
    markLog();
    window(3, CGRect(200, 200, 600, 400), "com.example.third");
    adoptByEvent(3, "com.example.third");
    EXPECT_FALSE(coordinator->focus.frontIsForeign());
    EXPECT_THAT(newLogLines(),
                Contains("  com.example.third now owns a window Kelvo manages here - the "
                         "border and the menu bar name come back"));
}

TEST_F(StoreWiringTest, TheStatusItemCallbacksOpenTheOwnWindows) {
    const auto& callbacks = coordinator->ownWindows.statusItem().callbacks();
    callbacks.onSettings();
    callbacks.onGuide();
    callbacks.onCheatsheet();
    EXPECT_EQ(callbacks.shortcutsChord(), "⌥/");
    coordinator->configuration.store().update([](Config& c) {
        c.shortcuts.set(Chord{.keyCode = 40, .option = true}, Shortcut::cheatsheet);
    });
    EXPECT_EQ(callbacks.shortcutsChord(), "⌥K");
    coordinator->ownWindows.settingsWindow().close();
    coordinator->ownWindows.guideWindow().close();
    EXPECT_THAT(newLogLines(),
                ElementsAre("settings window opened on desktop 1", "guide opened on desktop 1",
                            "settings window closed", "guide closed"));
    EXPECT_TRUE(coordinator->ownWindows.cheatsheet().isShown());
    EXPECT_FALSE(coordinator->ownWindows.settingsDesktop().home.has_value());
}

TEST_F(StoreWiringTest, ChangedScreensAreLoggedWithTheNewDisplaysAndScreen) {
    platform.screenList = {FakeAppPlatform::screen(1440, 900)};
    platform.screensChanged();
    const auto lines = newLogLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "displays: #1 1440x875 at (0,25)");
    EXPECT_EQ(lines[1], "screen changed: (0.0, 25.0, 1600.0, 975.0) -> (0.0, 25.0, 1440.0, 875.0)");
}

}  // namespace
}  // namespace kelvo

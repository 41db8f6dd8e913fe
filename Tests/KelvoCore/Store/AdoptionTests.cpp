#include <gtest/gtest.h>

#include "Support/KelvoCore/StoreFixture.h"
#include "Support/KelvoCore/TreeInvariant.h"
#include "Support/KelvoCore/WindowMentions.h"

namespace kelvo {
namespace {

using Operation = FakeWindowBridge::Call::Operation;

const Display leftDisplay(1, CGRect(0, 0, 1000, 800));
const Display rightDisplay(2, CGRect(1000, 0, 800, 600));

class Adoption : public StoreFixture {
  protected:
    AdoptionRecord record(std::uint32_t raw, const CGRect& frame, bool floating = false,
                          const std::string& bundleID = FakeWindowBridge::defaultBundleID) {
        window(raw, frame, bundleID);
        return StoreFixture::record(raw, bundleID, floating);
    }
    void twoDisplays() {
        store->displaysChanged({leftDisplay, rightDisplay});
        store->queries.pointerLocation = [this] { return pointer; };
        settle();
    }
    void expectSound() { EXPECT_EQ(treeInvariantViolations(*store), std::vector<std::string>{}); }
    /// Lets the window go as its close does. What still names it: every table at once, and the
    /// reconciler's reports of its last pass once the pass the removal asks for has run.
    std::vector<std::string> namesLeftAfterLettingGo(std::uint32_t raw) {
        const WindowID w(raw);
        store->remove(w);
        bridge->remove(w);
        std::vector<std::string> left = tablesNaming(*store, w);
        settle();
        for (const std::string& report : lastPassReportsNaming(*store, w))
            left.push_back(report);
        return left;
    }

    std::optional<CGPoint> pointer;
};

// ---- add ---------------------------------------------------------------------------------

TEST_F(Adoption, AddingAManagedWindowAgainChangesNothing) {
    makeStore();
    adopt(1);
    const std::string before = store->stateDescription();
    recorder.clear();
    bridge->clearCalls();
    store->add(WindowID(1), "com.other", std::nullopt, true, true);
    EXPECT_EQ(store->stateDescription(), before);
    EXPECT_TRUE(recorder.lines().empty());
    EXPECT_TRUE(bridge->calls().empty());
}

TEST_F(Adoption, AddingWhileTheDesktopIsShownBringsTheDesktopBack) {
    makeStore();
    adopt(1);
    store->toggleShowDesktop();
    settle();
    ASSERT_TRUE(store->isShowingDesktop(1));
    adopt(2);
    EXPECT_FALSE(store->isShowingDesktop(1));
    EXPECT_TRUE(store->state().windowsWhere(&WindowState::isParked).empty());
    EXPECT_EQ(shape(*store, Pane{1, 0}), "(v0.5 1 2)");
}

TEST_F(Adoption, AStrandedFloatingWindowIsCentredAtItsOwnSize) {
    struct Row {
        CGRect frame;
        std::optional<CGRect> centred;
    };
    // The parking corner of the 1000 × 800 screen is (999, 799).
    const Row rows[] = {
        {CGRect(950, 750, 200, 100), CGRect(400, 350, 200, 100)},
        {CGRect(899, 699, 200, 100), CGRect(400, 350, 200, 100)},
        {CGRect(898.5, 699, 200, 100), std::nullopt},
        {CGRect(-500, 100, 300, 200), CGRect(350, 300, 300, 200)},
        {CGRect(1000, 100, 300, 200), CGRect(350, 300, 300, 200)},
        {CGRect(100, 100, 300, 200), std::nullopt},
    };
    for (const Row& row : rows) {
        makeStore();
        bridge->clearCalls();
        adopt(1, row.frame, /*floating=*/true);
        EXPECT_EQ(frameOf(1), row.centred.value_or(row.frame)) << describe(row.frame);
        EXPECT_EQ(store->state().windowsWhere(&WindowState::floating),
                  std::set<WindowID>{WindowID(1)});
    }
}

TEST_F(Adoption, AMinimizedNewWindowIsBroughtOutOfTheDock) {
    makeStore();
    window(1, CGRect(100, 100, 300, 200)).minimized();
    store->add(WindowID(1), FakeWindowBridge::defaultBundleID, std::nullopt, false, true);
    settle();
    EXPECT_FALSE(bridge->isWindowMinimized(WindowID(1)));
    EXPECT_EQ(frameOf(1), CGRect(0, 0, 1000, 800));
    EXPECT_EQ(recorder.of("onAdopted"), std::vector<std::string>{"onAdopted(win#1)"});
}

TEST_F(Adoption, ANewWindowLivesOnThePointersDisplayElseOnTheDisplayHoldingIt) {
    makeStore();
    twoDisplays();
    pointer = CGPoint{1200, 100};
    adopt(1, CGRect(100, 100, 300, 200));
    pointer = std::nullopt;
    adopt(2, CGRect(1100, 100, 300, 200));
    adopt(3, CGRect(100, 100, 300, 200));
    EXPECT_EQ(store->paneKey(WindowID(1)), (Pane{1, 2}));
    EXPECT_EQ(store->paneKey(WindowID(2)), (Pane{1, 2}));
    EXPECT_EQ(store->paneKey(WindowID(3)), (Pane{1, 1}));
    EXPECT_EQ(shape(*store, Pane{1, 2}), "(v0.5 1 2)");
    expectSound();
}

// ---- adopt and the launch fit --------------------------------------------------------------

TEST_F(Adoption, StartUpTilesTheWindowsInOneGrid) {
    makeStore();
    store->adopt({record(3, CGRect(10, 10, 300, 200)), record(1, CGRect(10, 10, 300, 200)),
                  record(2, CGRect(10, 10, 300, 200), /*floating=*/true)},
                 std::nullopt);
    EXPECT_EQ(shape(*store, Pane{1, 0}), "(v0.5 3 1)") << "in the enumeration's order";
    EXPECT_EQ(store->state().windowsWhere(&WindowState::burstExempt),
              (std::set<WindowID>{WindowID(1), WindowID(3)}))
        << "exempt from strikes during the first passes";
    EXPECT_EQ(
        recorder.of("onAdopted"),
        (std::vector<std::string>{"onAdopted(win#3)", "onAdopted(win#1)", "onAdopted(win#2)"}));
}

TEST_F(Adoption, StartUpWithMainAndStackBuildsTheMainWindowFirst) {
    config.defaultLayoutMode = LayoutMode::masterStack;
    makeStore();
    store->adopt({record(3, CGRect(10, 10, 300, 200)), record(1, CGRect(10, 10, 300, 200)),
                  record(2, CGRect(10, 10, 300, 200))},
                 std::nullopt);
    EXPECT_EQ(shape(*store, Pane{1, 0}), "(v0.5 3 (h0.5 1 2))");
}

TEST_F(Adoption, TheLaunchFitFloatsTheMostOversizedFirstAndJudgesTheRestAgain) {
    makeStore();
    // Two columns of 500 × 800: both qualify, the larger goes first, and the one left alone
    // is never judged against a slot of its own.
    window(1, CGRect(0, 0, 760, 1250));
    window(2, CGRect(0, 0, 760, 1300));
    const auto findings = store->oversizedAtLaunch({WindowID(1), WindowID(2)}, {});
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0], (LaunchFit::Finding{WindowID(2), CGSize{760, 1300}, CGSize{500, 800}}));

    EXPECT_TRUE(store->oversizedAtLaunch({WindowID(2)}, {}).empty()) << "one candidate";
    EXPECT_TRUE(
        store->oversizedAtLaunch({WindowID(1), WindowID(2)}, {WindowID(1), WindowID(2)}).empty())
        << "minimized windows are not judged";
}

TEST_F(Adoption, TheLaunchFitReadsEachFrameOnceForAllItsRounds) {
    makeStore();
    // Four windows too large for a quarter of the screen: the first round floats one, the second
    // judges the other three in larger slots and floats none.
    for (std::uint32_t raw = 1; raw <= 4; ++raw)
        window(raw, CGRect(0, 0, 900 + raw, 700 + raw));
    const std::vector<WindowID> all = {WindowID(1), WindowID(2), WindowID(3), WindowID(4)};
    bridge->clearCalls();
    EXPECT_EQ(store->oversizedAtLaunch(all, {}).size(), 1u);
    EXPECT_EQ(bridge->count(Operation::frame), 4u);

    // Frames the scan read are not read again; the others once.
    bridge->clearCalls();
    const std::map<WindowID, CGRect> scanned = {{WindowID(1), CGRect(0, 0, 901, 701)},
                                                {WindowID(2), CGRect(0, 0, 902, 702)}};
    EXPECT_EQ(store->oversizedAtLaunch(all, {}, scanned).size(), 1u);
    EXPECT_EQ(bridge->count(Operation::frame), 2u);
}

TEST_F(Adoption, StartUpTakesTheScansFramesForDisplaysAndTheLaunchFit) {
    makeStore();
    twoDisplays();
    pointer.reset();
    std::vector<AdoptionRecord> records;
    for (std::uint32_t raw = 1; raw <= 3; ++raw) {
        records.push_back(record(raw, CGRect(1100, 50, 300, 200)));
        records.back().frame = CGRect(1100, 50, 300, 200);
    }
    bridge->clearCalls();
    store->adopt(records, std::nullopt);
    EXPECT_EQ(bridge->count(Operation::frame), 0u) << "before the layout pass";
    EXPECT_EQ(store->state().windows.at(WindowID(2)).displayHome, 2u);
}

TEST_F(Adoption, TheLaunchFitRuleInItsOwnTerms) {
    struct Row {
        CGSize current, slot;
        bool floats;
    };
    const CGSize screenSize{1000, 800};
    const Row rows[] = {
        {{751, 601}, {500, 400}, true},  {{750, 601}, {500, 400}, false},
        {{751, 600}, {500, 400}, false}, {{900, 720}, {100, 100}, false},
        {{899, 720}, {100, 100}, true},  {{751, 601}, {0, 400}, false},
        {{900, 700}, {500, 400}, true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(LaunchFit::shouldFloat(row.current, row.slot, screenSize), row.floats)
            << describe(row.current) << " in " << describe(row.slot);
    }
}

TEST_F(Adoption, AWindowFloatedAtLaunchIsStashedOntoTheStashDesktop) {
    config.stashDesktop = 9;
    makeStore();
    store->adopt({record(1, CGRect(0, 0, 300, 200)), record(2, CGRect(0, 0, 760, 1300))},
                 std::nullopt);
    settle();
    EXPECT_EQ(recorder.of("onFloatedAtLaunch"),
              std::vector<std::string>{"onFloatedAtLaunch(win#2, {760, 1300}, {500, 800})"});
    EXPECT_EQ(recorder.of("onStashed"), std::vector<std::string>{"onStashed(win#2, 9)"});
    EXPECT_EQ(store->desktop(WindowID(2)), 9);
    EXPECT_FALSE(store->isFloating(WindowID(2)));
    EXPECT_TRUE(store->isParked(WindowID(2)));
    EXPECT_EQ(shape(*store, Pane{9, 0}), "2");
    EXPECT_EQ(shape(*store, Pane{1, 0}), "1");
    expectSound();
}

// The stash desktop counts from 1 to the desktop count: the last desktop and desktop 2 take the
// window, one past the count and 0 leave it floating where it came.
TEST_F(Adoption, TheStashDesktopWorksAtTheCountAndNotOnePastIt) {
    struct Row {
        std::int64_t stash;
        bool stashed;
    };
    for (const Row row : {Row{4, true}, Row{2, true}, Row{5, false}, Row{0, false}}) {
        config.desktopCount = 4;
        config.stashDesktop = row.stash;
        makeStore();
        recorder.clear();
        store->adopt({record(1, CGRect(0, 0, 300, 200)), record(2, CGRect(0, 0, 760, 1300))},
                     std::nullopt);
        settle();
        EXPECT_EQ(store->desktop(WindowID(2)), row.stashed ? row.stash : 1) << row.stash;
        EXPECT_EQ(store->isFloating(WindowID(2)), !row.stashed) << row.stash;
    }
}

TEST_F(Adoption, OnTheStashDesktopItselfAWindowFloatedAtLaunchStaysFloating) {
    config.stashDesktop = 9;
    makeStore();
    store->switchTo(9, std::nullopt);
    store->adopt({record(1, CGRect(0, 0, 300, 200)), record(2, CGRect(0, 0, 760, 1300))},
                 std::nullopt);
    EXPECT_TRUE(recorder.of("onStashed").empty());
    EXPECT_EQ(store->desktop(WindowID(2)), 9);
    EXPECT_TRUE(store->isFloating(WindowID(2)));
    EXPECT_EQ(shape(*store, Pane{9, 0}), "1");
}

TEST_F(Adoption, StartUpOnTwoDisplaysBuildsEachPaneFromItsOwnWindows) {
    makeStore();
    twoDisplays();
    store->adopt({record(1, CGRect(10, 10, 300, 200)), record(2, CGRect(1100, 10, 300, 200)),
                  record(3, CGRect(10, 10, 300, 200)), record(4, CGRect(1100, 10, 300, 200))},
                 std::nullopt);
    settle();
    EXPECT_EQ(shape(*store, Pane{1, 1}), "(v0.5 1 3)");
    EXPECT_EQ(shape(*store, Pane{1, 2}), "(v0.5 2 4)");
    EXPECT_EQ(frameOf(2), CGRect(1000, 0, 400, 600));
    expectSound();
}

TEST_F(Adoption, StartUpRestoresTheSessionAndParksWhatLivesElsewhere) {
    makeStore();
    SessionSnapshot snapshot;
    snapshot.panes.push_back({2, 0, LayoutTree(LayoutTree::Node::leaf(WindowID(5)))});
    snapshot.bundleIDs[WindowID(5)] = "com.example.app";
    store->adopt({record(5, CGRect(10, 10, 300, 200)), record(6, CGRect(10, 10, 300, 200))},
                 snapshot);
    settle();
    EXPECT_EQ(store->desktop(WindowID(5)), 2);
    EXPECT_EQ(store->desktop(WindowID(6)), 1);
    EXPECT_TRUE(store->isParked(WindowID(5)));
    EXPECT_EQ(shape(*store, Pane{1, 0}), "6");
    EXPECT_EQ(shape(*store, Pane{2, 0}), "5");
    EXPECT_EQ(recorder.of("onRestoredSession"), std::vector<std::string>{"onRestoredSession(1)"});
    EXPECT_EQ(recorder.of("onAdopted").size(), 2u);
    expectSound();
}

TEST_F(Adoption, ARecordRepeatedInTheEnumerationIsTiledOnce) {
    makeStore();
    const AdoptionRecord one = record(1, CGRect(10, 10, 300, 200));
    store->adopt({one, record(2, CGRect(10, 10, 300, 200)), one}, std::nullopt);
    EXPECT_EQ(shape(*store, Pane{1, 0}), "(v0.5 1 2)");
    expectSound();
}

// ---- remove ------------------------------------------------------------------------------

TEST_F(Adoption, RemovingTheFocusedWindowChoosesItsSuccessor) {
    struct Row {
        const char* successorApp;
        WorkspaceStore::SuccessorFocus::Kind kind;
    };
    for (const Row& row : {Row{"com.other", WorkspaceStore::SuccessorFocus::Kind::claim},
                           Row{"com.same", WorkspaceStore::SuccessorFocus::Kind::record}}) {
        makeStore();
        adopt(1, CGRect(100, 100, 300, 200), false, row.successorApp);
        adopt(2, CGRect(100, 100, 300, 200), false, "com.same");
        store->focusWindow(WindowID(2), false);
        const auto successor = store->remove(WindowID(2));
        EXPECT_EQ(successor.kind(), row.kind) << row.successorApp;
        EXPECT_EQ(successor.window(), WindowID(1));
        if (row.kind == WorkspaceStore::SuccessorFocus::Kind::record) {
            EXPECT_EQ(store->nativeFocus(), (ExpectedFocus{"com.same", WindowID(1)}));
        } else {
            EXPECT_EQ(store->nativeFocus(), (ExpectedFocus{"com.same", std::nullopt}));
        }
    }
}

TEST_F(Adoption, RemovingTheFocusedWindowOfABackgroundDesktopClaimsNothing) {
    makeStore();
    adopt(1);
    adopt(2);
    store->focusWindow(WindowID(2), false);
    store->move(WindowID(2), 3, false);
    adopt(3);
    store->switchTo(3, std::nullopt);
    store->focusWindow(WindowID(2), false);
    store->switchTo(1, std::nullopt);
    store->focusWindow(WindowID(2), false);
    EXPECT_EQ(store->remove(WindowID(2)), WorkspaceStore::SuccessorFocus::none());
    EXPECT_EQ(store->nativeFocus(), (ExpectedFocus{"com.example.app", std::nullopt}));
    EXPECT_EQ(store->remove(WindowID(42)), WorkspaceStore::SuccessorFocus::none());
}

TEST_F(Adoption, ARemovedWindowNumberStartsCleanWhenItComesBack) {
    makeStore();
    twoDisplays();
    pointer = CGPoint{1200, 100};
    adopt(7, CGRect(1100, 100, 300, 200));
    bridge->window(WindowID(7)).fullScreen = true;
    ASSERT_TRUE(store->fullScreenChanged(WindowID(7), CGRect(1000, -30, 800, 700)));
    ASSERT_TRUE(store->isFullScreen(WindowID(7)));
    store->remove(WindowID(7));
    EXPECT_FALSE(store->state().windows.count(WindowID(7)));

    // The window server hands the number to a new window that cannot be read yet.
    bridge->remove(WindowID(7));
    window(7, CGRect(100, 100, 300, 200)).unreadable();
    pointer = std::nullopt;
    store->add(WindowID(7), "com.new", std::nullopt, false, false);
    EXPECT_EQ(store->paneKey(WindowID(7)), (Pane{1, 1}));
    EXPECT_FALSE(store->isFullScreen(WindowID(7)));
    EXPECT_EQ(shape(*store, Pane{1, 1}), "7");
    expectSound();
}

TEST_F(Adoption, RemovingTheZoomedWindowEndsTheZoomAndBringsTheOthersBack) {
    makeStore();
    adopt(1);
    adopt(2);
    store->toggleZoom(WindowID(2));
    settle();
    ASSERT_TRUE(store->isParked(WindowID(1)));
    store->remove(WindowID(2));
    settle();
    EXPECT_EQ(store->zoomed(1), std::nullopt);
    EXPECT_FALSE(store->isParked(WindowID(1)));
    EXPECT_EQ(frameOf(1), CGRect(0, 0, 1000, 800));
}

// ---- letting a window go ------------------------------------------------------------------

using Tables = std::vector<std::string>;

TEST_F(Adoption, AWindowLetGoLeavesNoStrikeOrExpectationOfItBehind) {
    makeStore();
    adopt(1);
    adopt(2);
    ASSERT_TRUE(refuseUntilGivenUp(2));
    store->issueFocus(WindowID(2));
    ASSERT_EQ(tablesNaming(*store, WindowID(2)), (Tables{"windows", "expectedFocus", "nativeFocus",
                                                         "strikes", "unmanageable", "ledger"}));
    EXPECT_EQ(namesLeftAfterLettingGo(2), Tables{});
}

TEST_F(Adoption, AWindowLetGoLeavesNoFloorOrOvershootOfItBehind) {
    makeStore();
    adopt(1);
    window(2, CGRect(10, 10, 100, 100)).clampsToMinimum(CGSize{700, 0});
    store->add(WindowID(2), FakeWindowBridge::defaultBundleID, std::nullopt, false, false);
    settle();
    ASSERT_EQ(tablesNaming(*store, WindowID(2)),
              (Tables{"windows", "trees", "clampedSizes", "ledger"}));
    EXPECT_EQ(namesLeftAfterLettingGo(2), Tables{});

    // Kept its size while it moved: an overshoot, until a second sighting makes it a floor.
    adopt(3);
    bridge->window(WindowID(3)).refusesSize().record.frame = CGRect(7, 7, 900, 700);
    store->applyLayoutNow();
    ASSERT_EQ(tablesNaming(*store, WindowID(3)),
              (Tables{"windows", "trees", "unmovedOvershoot", "ledger"}));
    EXPECT_EQ(namesLeftAfterLettingGo(3), Tables{});
}

TEST_F(Adoption, TheZoomedWindowAndTheParkedKeyWindowLetGoLeaveNothingOfThemBehind) {
    makeStore();
    adopt(1);
    adopt(2);
    store->toggleZoom(WindowID(2));
    ASSERT_EQ(
        tablesNaming(*store, WindowID(2)),
        (Tables{"windows", "trees", "zoomedByDesktop", "expectedFocus", "nativeFocus", "ledger"}));
    EXPECT_EQ(namesLeftAfterLettingGo(2), Tables{});

    adoptOn(2, 3, "com.example.other");
    ASSERT_EQ(store->focusResponse(WindowID(3), std::nullopt),
              WorkspaceStore::FocusResponse::leaveParked());
    ASSERT_EQ(tablesNaming(*store, WindowID(3)),
              (Tables{"windows", "trees", "parkedKeyWindow", "ledger"}));
    EXPECT_EQ(namesLeftAfterLettingGo(3), Tables{});
}

// The reports of a pass tell what that pass did, so they name a window let go after it until
// the next pass, the one the removal asks for.
TEST_F(Adoption, TheLastPassReportsNameAWindowLetGoOnlyUntilTheNextPass) {
    makeStore();
    adopt(1);
    adopt(2);
    store->applyLayoutNow();
    ASSERT_EQ(lastPassReportsNaming(*store, WindowID(2)), Tables{"skippedInLastPass"});
    store->remove(WindowID(2));
    bridge->remove(WindowID(2));
    EXPECT_EQ(lastPassReportsNaming(*store, WindowID(2)), Tables{"skippedInLastPass"});
    settle();
    EXPECT_EQ(lastPassReportsNaming(*store, WindowID(2)), Tables{});
}

// ---- moves between desktops ----------------------------------------------------------------

TEST_F(Adoption, MovingAWindowAwayParksItAndBringingItBackFocusesIt) {
    makeStore();
    adopt(1);
    adopt(2);
    store->move(WindowID(2), 4, false);
    settle();
    EXPECT_TRUE(store->isParked(WindowID(2)));
    EXPECT_EQ(shape(*store, Pane{4, 0}), "2");
    EXPECT_EQ(shape(*store, Pane{1, 0}), "1");
    EXPECT_EQ(frameOf(1), CGRect(0, 0, 1000, 800));

    bridge->clearCalls();
    EXPECT_TRUE(store->bringToActiveDesktop(WindowID(2)));
    EXPECT_FALSE(store->isParked(WindowID(2)));
    EXPECT_EQ(bridge->focusedWindow(), WindowID(2));
    EXPECT_FALSE(store->bringToActiveDesktop(WindowID(2))) << "already here";
    EXPECT_FALSE(store->bringToActiveDesktop(WindowID(9))) << "unmanaged";
    expectSound();
}

TEST_F(Adoption, MovesOutsideTheDesktopRangeAreRefused) {
    makeStore();
    adopt(1);
    const std::string before = store->stateDescription();
    for (int d : {0, -1, 10, 1}) {
        store->move(WindowID(1), d, true);
        EXPECT_EQ(store->stateDescription(), before) << d;
    }
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(Adoption, AnActivationBringsTheWindowOnlyWhenActivationsAreNotFollowed) {
    for (bool follow : {true, false}) {
        config.followActivationToDesktop = follow;
        makeStore();
        adopt(1);
        store->move(WindowID(1), 2, false);
        EXPECT_EQ(store->adoptOnActivation(WindowID(1)), !follow);
        EXPECT_EQ(store->desktop(WindowID(1)), follow ? 2 : 1);
    }
}

TEST_F(Adoption, LoweringTheDesktopCountFocusesWhatLandsOnTheShownDesktop) {
    makeStore();
    store->switchTo(7, std::nullopt);
    adopt(7);
    store->switchTo(5, std::nullopt);
    adopt(5);
    store->switchTo(4, std::nullopt);
    adopt(4);
    settle();
    Config fewer = config;
    fewer.desktopCount = 4;
    bridge->clearCalls();
    store->apply(fewer);
    settle();
    EXPECT_EQ(store->windows(4), (std::vector<WindowID>{WindowID(4), WindowID(5), WindowID(7)}));
    EXPECT_TRUE(store->state().windowsWhere(&WindowState::isParked).empty());
    // Desktop 7's window moves first, then desktop 5's: the last one keeps the focus.
    EXPECT_EQ(bridge->focusedWindow(), WindowID(5));
    EXPECT_EQ(store->nativeFocus(), (ExpectedFocus{"com.example.app", WindowID(5)}));
    EXPECT_EQ(treeInvariantViolations(*store), std::vector<std::string>{});
}

TEST_F(Adoption, LoweringTheDesktopCountBringsEveryDisplayBackWithinTheCount) {
    makeStore();
    twoDisplays();
    pointer = CGPoint{1200, 100};
    store->switchTo(4, std::nullopt);
    adopt(2, CGRect(1100, 100, 300, 200));
    pointer = CGPoint{500, 400};
    adopt(1);
    Config fewer = config;
    fewer.desktopCount = 3;
    store->apply(fewer);
    settle();
    EXPECT_EQ(store->activeDesktop(2), 3);
    EXPECT_EQ(store->desktop(WindowID(2)), 3);
    EXPECT_FALSE(store->isParked(WindowID(2))) << "its display now shows its desktop";
    EXPECT_EQ(frameOf(2), CGRect(1000, 0, 800, 600));

    pointer = CGPoint{1200, 100};
    adopt(3, CGRect(1100, 100, 300, 200));
    EXPECT_EQ(store->desktop(WindowID(3)), 3) << "no window joins a desktop beyond the count";
    EXPECT_EQ(treeInvariantViolations(*store), std::vector<std::string>{});
}

// ---- applications --------------------------------------------------------------------------

TEST_F(Adoption, HidingAndUnhidingAnApplication) {
    makeStore();
    adopt(1);
    settle();
    recorder.clear();
    store->applicationUnhidden("com.example.app");
    EXPECT_TRUE(recorder.lines().empty());
    EXPECT_EQ(clock.pendingCount(), 0u) << "an application the user never hid is not laid out";

    store->applicationHidden("com.example.app");
    store->applicationUnhidden("com.example.app");
    EXPECT_EQ(recorder.of("onApplicationHidden"),
              (std::vector<std::string>{"onApplicationHidden(com.example.app, true)",
                                        "onApplicationHidden(com.example.app, false)"}));
    EXPECT_EQ(clock.pendingCount(), 1u);
}

// A switch away parks every window of the desktop left, and the switch back leaves the hidden
// application's windows out of what it brings back. Shown again on the desktop that is shown,
// they belong to what must be visible: out of the corner, into their panes.
TEST_F(Adoption, AnApplicationShownAgainOnTheShownDesktopComesOutOfTheCorner) {
    makeStore();
    adopt(1, CGRect(100, 100, 300, 200), false, "com.one");
    adopt(2, CGRect(100, 100, 300, 200), false, "com.two");
    const auto tile = store->layout(1).at(WindowID(2));
    store->applicationHidden("com.two");
    store->switchTo(2, std::nullopt);
    settle();
    store->switchTo(1, std::nullopt);
    settle();
    ASSERT_TRUE(store->isParked(WindowID(2))) << "hidden, it is not brought back";
    EXPECT_FALSE(store->isParked(WindowID(1)));

    store->applicationUnhidden("com.two");
    settle();
    EXPECT_FALSE(store->isParked(WindowID(2)));
    EXPECT_EQ(frameOf(2), tile);
    expectSound();
}

TEST_F(Adoption, AnApplicationShownAgainWhileItsDesktopIsNotShownStaysParked) {
    makeStore();
    adopt(1, CGRect(100, 100, 300, 200), false, "com.one");
    adopt(2, CGRect(100, 100, 300, 200), false, "com.two");
    store->applicationHidden("com.two");
    store->switchTo(2, std::nullopt);
    settle();
    store->applicationUnhidden("com.two");
    settle();
    EXPECT_TRUE(store->isParked(WindowID(2)));
    store->switchTo(1, std::nullopt);
    settle();
    EXPECT_FALSE(store->isParked(WindowID(2)));
}

TEST_F(Adoption, AnApplicationHiddenFromOutsideIsShownAgainButOneTheUserHidIsNot) {
    makeStore();
    adopt(1, CGRect(100, 100, 300, 200), false, "com.one");
    adopt(2, CGRect(100, 100, 300, 200), false, "com.one");
    adopt(3, CGRect(100, 100, 300, 200), false, "com.two");
    bridge->setApplicationHidden("com.one", true);
    bridge->setApplicationHidden("com.two", true);
    store->applicationHidden("com.two");
    recorder.clear();
    bridge->clearCalls();
    store->unhideExternallyHiddenApps();
    EXPECT_EQ(recorder.of("onExternalUnhide"),
              std::vector<std::string>{"onExternalUnhide(com.one, 1)"});
    EXPECT_EQ(bridge->writeLog(), std::vector<std::string>{"setHidden(false, com.one)"});
}

TEST_F(Adoption, ATerminatedApplicationLeavesNoExpectationBehind) {
    makeStore();
    adopt(1, CGRect(100, 100, 300, 200), false, "com.one");
    adopt(2, CGRect(100, 100, 300, 200), false, "com.two");
    store->focusWindow(WindowID(2), false);
    store->focusWindow(WindowID(1), false);
    store->applicationTerminated("com.one");
    EXPECT_EQ(store->expectedFocus(),
              std::vector<ExpectedFocus>{(ExpectedFocus{"com.two", WindowID(2)})});
    EXPECT_EQ(store->nativeFocus(), std::nullopt);
}

}  // namespace
}  // namespace kelvo

#include <gtest/gtest.h>

#include <functional>

#include "Support/KelvoCore/StoreFixture.h"
#include "Support/KelvoCore/TreeInvariant.h"

namespace kelvo {
namespace {

const CGRect someFrame(100, 100, 300, 200);

class WindowCommands : public StoreFixture {
  protected:
    std::string tree(int desktop = 1) { return shape(*store, Pane{desktop, 0}); }
    /// The second line of the state text, which names parked, floating and zoomed windows.
    std::string status() {
        const std::string text = store->stateDescription();
        return text.substr(text.find('\n') + 1);
    }
    std::string tail(const std::string& parked, const std::string& floating,
                     const std::string& zoomed) {
        return "parked=[" + parked + "] floating=[" + floating + "] zoomed=" + zoomed;
    }
    /// The parts of the state text a command may change.
    std::string summary() {
        const std::string s = status();
        const auto field = [&s](const std::string& name, char end) {
            const auto from = s.find(name + "=") + name.size() + 1;
            return s.substr(from, s.find(end, from) - from + (end == ']' ? 1 : 0));
        };
        return "tree=" + tree() + " parked=" + field("parked", ']') +
               " floating=" + field("floating", ']') + " zoomed=" + field("zoomed", ' ');
    }
};

// ---- Every command in the four situations --------------------------------------------------

struct Situation {
    const char* name;
    std::function<void()> build;
};

struct CommandCase {
    const char* name;
    std::function<void(WorkspaceStore&, WindowID)> run;
};

class EveryCommand : public WindowCommands {
  protected:
    std::vector<Situation> situations() {
        return {
            {"empty", [] {}},
            {"one", [this] { adoptWindow(1, false); }},
            {"floating",
             [this] {
                 adoptWindow(1, true);
                 adoptWindow(2, false);
             }},
            {"zoomed",
             [this] {
                 adoptWindow(1, false);
                 adoptWindow(2, false);
                 store->toggleZoom(WindowID(1));
                 settle();
             }},
        };
    }
    static std::vector<CommandCase> commands() {
        return {
            {"moveWindow",
             [](WorkspaceStore& s, WindowID w) { s.moveWindow(w, Direction::right); }},
            {"resizeWindow",
             [](WorkspaceStore& s, WindowID w) { s.resizeWindow(w, Direction::right); }},
            {"toggleSplit", [](WorkspaceStore& s, WindowID w) { s.toggleSplit(w); }},
            {"rotate", [](WorkspaceStore& s, WindowID) { s.rotate(); }},
            {"toggleZoom", [](WorkspaceStore& s, WindowID w) { s.toggleZoom(w); }},
            {"toggleFloat", [](WorkspaceStore& s, WindowID w) { s.toggleFloat(w, w); }},
            {"toggleFloatByClick", [](WorkspaceStore& s, WindowID w) { s.toggleFloatByClick(w); }},
            {"toggleLayoutMode", [](WorkspaceStore& s, WindowID) { s.toggleLayoutMode(); }},
            {"promoteToMaster", [](WorkspaceStore& s, WindowID w) { s.promoteToMaster(w); }},
            {"rebalance", [](WorkspaceStore& s, WindowID) { s.rebalance(); }},
        };
    }

    void adoptWindow(std::uint32_t raw, bool floating) { adopt(raw, someFrame, floating); }
};

TEST_F(EveryCommand, DoesWhatItSaysInEachSituation) {
    // What each command leaves, acting on window 1 (unmanaged on the empty desktop).
    const std::map<std::pair<std::string, std::string>, std::string> expected = {
        {{"empty", "moveWindow"}, "tree=- parked=[] floating=[] zoomed=nil"},
        {{"empty", "resizeWindow"}, "tree=- parked=[] floating=[] zoomed=nil"},
        {{"empty", "toggleSplit"}, "tree=- parked=[] floating=[] zoomed=nil"},
        {{"empty", "rotate"}, "tree=- parked=[] floating=[] zoomed=nil"},
        {{"empty", "toggleZoom"}, "tree=- parked=[] floating=[] zoomed=nil"},
        {{"empty", "toggleFloat"}, "tree=- parked=[] floating=[] zoomed=nil"},
        {{"empty", "toggleFloatByClick"}, "tree=- parked=[] floating=[] zoomed=nil"},
        {{"empty", "toggleLayoutMode"}, "tree=- parked=[] floating=[] zoomed=nil"},
        {{"empty", "promoteToMaster"}, "tree=- parked=[] floating=[] zoomed=nil"},
        {{"empty", "rebalance"}, "tree=- parked=[] floating=[] zoomed=nil"},

        {{"one", "moveWindow"}, "tree=1 parked=[] floating=[] zoomed=nil"},
        {{"one", "resizeWindow"}, "tree=1 parked=[] floating=[] zoomed=nil"},
        {{"one", "toggleSplit"}, "tree=1 parked=[] floating=[] zoomed=nil"},
        {{"one", "rotate"}, "tree=1 parked=[] floating=[] zoomed=nil"},
        {{"one", "toggleZoom"}, "tree=1 parked=[] floating=[] zoomed=[1:1]"},
        {{"one", "toggleFloat"}, "tree=- parked=[] floating=[1] zoomed=nil"},
        {{"one", "toggleFloatByClick"}, "tree=- parked=[] floating=[1] zoomed=nil"},
        {{"one", "toggleLayoutMode"}, "tree=1 parked=[] floating=[] zoomed=nil"},
        {{"one", "promoteToMaster"}, "tree=1 parked=[] floating=[] zoomed=nil"},
        {{"one", "rebalance"}, "tree=1 parked=[] floating=[] zoomed=nil"},

        {{"floating", "moveWindow"}, "tree=2 parked=[] floating=[1] zoomed=nil"},
        {{"floating", "resizeWindow"}, "tree=2 parked=[] floating=[1] zoomed=nil"},
        {{"floating", "toggleSplit"}, "tree=2 parked=[] floating=[1] zoomed=nil"},
        {{"floating", "rotate"}, "tree=2 parked=[] floating=[1] zoomed=nil"},
        {{"floating", "toggleZoom"}, "tree=2 parked=[] floating=[1] zoomed=nil"},
        {{"floating", "toggleFloat"}, "tree=(v0.5 2 1) parked=[] floating=[] zoomed=nil"},
        {{"floating", "toggleFloatByClick"}, "tree=(v0.5 2 1) parked=[] floating=[] zoomed=nil"},
        {{"floating", "toggleLayoutMode"}, "tree=2 parked=[] floating=[1] zoomed=nil"},
        {{"floating", "promoteToMaster"}, "tree=2 parked=[] floating=[1] zoomed=nil"},
        {{"floating", "rebalance"}, "tree=2 parked=[] floating=[1] zoomed=nil"},

        {{"zoomed", "moveWindow"}, "tree=(v0.5 2 1) parked=[2] floating=[] zoomed=[1:1]"},
        {{"zoomed", "resizeWindow"}, "tree=(v0.55 1 2) parked=[2] floating=[] zoomed=[1:1]"},
        {{"zoomed", "toggleSplit"}, "tree=(h0.5 1 2) parked=[2] floating=[] zoomed=[1:1]"},
        {{"zoomed", "rotate"}, "tree=(h0.5 1 2) parked=[2] floating=[] zoomed=[1:1]"},
        {{"zoomed", "toggleZoom"}, "tree=(v0.5 1 2) parked=[] floating=[] zoomed=nil"},
        {{"zoomed", "toggleFloat"}, "tree=2 parked=[] floating=[1] zoomed=nil"},
        {{"zoomed", "toggleFloatByClick"}, "tree=2 parked=[] floating=[1] zoomed=nil"},
        {{"zoomed", "toggleLayoutMode"}, "tree=(v0.5 1 2) parked=[2] floating=[] zoomed=[1:1]"},
        {{"zoomed", "promoteToMaster"}, "tree=(v0.5 1 2) parked=[2] floating=[] zoomed=[1:1]"},
        {{"zoomed", "rebalance"}, "tree=(v0.5 1 2) parked=[] floating=[] zoomed=nil"},
    };
    for (const Situation& situation : situations()) {
        for (const CommandCase& command : commands()) {
            makeStore();
            situation.build();
            command.run(*store, WindowID(1));
            settle();
            const std::string where = std::string(situation.name) + " / " + command.name;
            EXPECT_EQ(summary(), expected.at({situation.name, command.name})) << where;
            EXPECT_EQ(treeInvariantViolations(*store), std::vector<std::string>{}) << where;
            for (WindowID w : store->windows(1)) {
                if (!store->isParked(w)) {
                    EXPECT_TRUE(frameOf(w.raw)->intersects(screen))
                        << where << " " << w.description();
                }
            }
        }
    }
}

TEST_F(EveryCommand, OnAnUnmanagedWindowDoesNothingAtAll) {
    for (const CommandCase& command : commands()) {
        const std::string name = command.name;
        if (name == "rotate" || name == "rebalance" || name == "toggleLayoutMode") continue;
        makeStore();
        adoptWindow(1, false);
        const std::string before = store->stateDescription();
        bridge->clearCalls();
        recorder.clear();
        command.run(*store, WindowID(9));
        EXPECT_EQ(store->stateDescription(), before) << name;
        EXPECT_TRUE(bridge->calls().empty()) << name;
        EXPECT_EQ(clock.pendingCount(), 0u) << name;
    }
}

// ---- Moves, resizes and shapes -------------------------------------------------------------

TEST_F(WindowCommands, AMoveSwapsWithTheNeighbourAndAtTheEdgeStillLaysOut) {
    makeStore();
    adopt(1);
    adopt(2);
    store->moveWindow(WindowID(1), Direction::right);
    EXPECT_EQ(tree(), "(v0.5 2 1)");
    settle();
    EXPECT_EQ(frameOf(1), CGRect(500, 0, 500, 800));

    recorder.clear();
    store->moveWindow(WindowID(1), Direction::right);
    EXPECT_EQ(tree(), "(v0.5 2 1)");
    EXPECT_EQ(clock.pendingCount(), 1u) << "a command always asks for a layout";
    settle();
    EXPECT_EQ(recorder.of("onLayoutPass").size(), 1u);
}

TEST_F(WindowCommands, AResizeFallsBackToTheNearestAncestorThatCanMove) {
    makeStore();
    adopt(1);
    adopt(2);
    adopt(3);
    // 1 and 3 share a split that cannot move sideways; the root can.
    ASSERT_EQ(tree(), "(v0.5 (h0.5 1 3) 2)");
    store->resizeWindow(WindowID(3), Direction::right);
    EXPECT_EQ(tree(), "(v0.55 (h0.5 1 3) 2)");
    store->resizeWindow(WindowID(3), Direction::up);
    EXPECT_EQ(tree(), "(v0.55 (h0.45 1 3) 2)");

    makeStore();
    adopt(1);
    store->resizeWindow(WindowID(1), Direction::left);
    EXPECT_EQ(tree(), "1") << "nothing can move";
}

TEST_F(WindowCommands, RotateTurnsTheActiveDesktopsTreeOnly) {
    makeStore();
    adopt(1);
    adopt(2);
    store->move(WindowID(2), 2, false);
    adopt(3);
    store->rotate();
    EXPECT_EQ(tree(), "(h0.5 1 3)");
    EXPECT_EQ(tree(2), "2");
}

// ---- Zoom ----------------------------------------------------------------------------------

TEST_F(WindowCommands, ZoomParksTheRestFloatingOnesTooAndUnzoomBringsThemBack) {
    makeStore();
    adopt(1);
    adopt(2);
    adopt(3, someFrame, /*floating=*/true);
    store->toggleZoom(WindowID(1));
    settle();
    EXPECT_EQ(frameOf(1), CGRect(0, 0, 1000, 800));
    EXPECT_EQ(store->state().windowsWhere(&WindowState::isParked).size(), 2u);
    EXPECT_EQ(bridge->focusedWindow(), WindowID(1));

    store->toggleZoom(WindowID(2));
    settle();
    EXPECT_EQ(store->zoomed(1), WindowID(2)) << "the zoom moves to the other window";
    EXPECT_TRUE(store->isParked(WindowID(1)));

    store->toggleZoom(WindowID(2));
    settle();
    EXPECT_EQ(store->zoomed(1), std::nullopt);
    EXPECT_TRUE(store->state().windowsWhere(&WindowState::isParked).empty());
    EXPECT_EQ(frameOf(1), CGRect(0, 0, 500, 800));
    EXPECT_EQ(frameOf(3), someFrame);
}

// ---- Float and tile ------------------------------------------------------------------------

TEST_F(WindowCommands, TilingAFloatingWindowPutsItNextToTheFocusedOneAndRemembersTheHand) {
    makeStore();
    adopt(1);
    adopt(2);
    adopt(3, someFrame, /*floating=*/true);
    store->toggleFloat(WindowID(3), WindowID(1));
    EXPECT_EQ(tree(), "(v0.5 (h0.5 1 3) 2)");
    EXPECT_TRUE(store->state().windows.at(WindowID(3)).tiledByHand);
    EXPECT_FALSE(store->isFloating(WindowID(3)));
    EXPECT_NE(bridge->focusedWindow(), WindowID(3)) << "focus moves only when it was focused";

    store->toggleFloat(WindowID(3), WindowID(3));
    EXPECT_TRUE(store->isFloating(WindowID(3)));
    EXPECT_EQ(tree(), "(v0.5 1 2)");
    EXPECT_EQ(bridge->focusedWindow(), WindowID(3));
}

TEST_F(WindowCommands, FloatingByClickOnlyOnTheActiveDesktop) {
    makeStore();
    adopt(1);
    adopt(2);
    store->move(WindowID(2), 2, false);
    EXPECT_TRUE(store->canToggleFloatByClick(WindowID(1)));
    EXPECT_FALSE(store->canToggleFloatByClick(WindowID(2)));
    EXPECT_FALSE(store->canToggleFloatByClick(WindowID(9)));
    EXPECT_FALSE(store->toggleFloatByClick(WindowID(2)));
    EXPECT_FALSE(store->isFloating(WindowID(2)));
    EXPECT_TRUE(store->toggleFloatByClick(WindowID(1)));
    EXPECT_TRUE(store->isFloating(WindowID(1)));
}

// ---- Layout modes, the main window and rebalance ---------------------------------------------

TEST_F(WindowCommands, ALayoutModeOutsideTheDesktopsChangesNothing) {
    makeStore();
    adopt(1);
    for (int d : {0, -1, 10}) {
        store->setLayoutMode(LayoutMode::masterStack, d);
    }
    EXPECT_TRUE(recorder.of("onLayoutModeChanged").empty());
    EXPECT_TRUE(store->config().layoutModes.isEmpty());
    store->setLayoutMode(LayoutMode::bsp, 1);
    EXPECT_TRUE(recorder.of("onLayoutModeChanged").empty()) << "already in that mode";
}

TEST_F(WindowCommands, SwitchingToMainAndStackKeepsTheReadingOrder) {
    makeStore();
    adopt(1);
    adopt(2);
    adopt(3);
    ASSERT_EQ(tree(), "(v0.5 (h0.5 1 3) 2)");
    EXPECT_EQ(store->masterStackOrder(1, {WindowID(7), WindowID(2), WindowID(3), WindowID(1)}),
              (std::vector<WindowID>{WindowID(1), WindowID(3), WindowID(2), WindowID(7)}))
        << "the leaves in tree order, then the rest in the list's order";
    store->setLayoutMode(LayoutMode::masterStack, 1);
    EXPECT_EQ(recorder.of("onLayoutModeChanged"),
              std::vector<std::string>{"onLayoutModeChanged(1, masterStack)"});
    EXPECT_EQ(store->config().layoutModes[1], LayoutMode::masterStack);
    EXPECT_EQ(tree(), "(v0.5 1 (h0.5 3 2))");

    store->toggleLayoutMode();
    EXPECT_EQ(store->layoutMode(1), LayoutMode::bsp);
    EXPECT_EQ(tree(), "(v0.5 1 (h0.5 3 2))") << "going back keeps the tree";
}

TEST_F(WindowCommands, PromotingMakesTheMainWindowAndTheOldOneTopsTheStack) {
    config.defaultLayoutMode = LayoutMode::masterStack;
    makeStore();
    adopt(1);
    adopt(2);
    adopt(3);
    ASSERT_EQ(tree(), "(v0.5 1 (h0.5 2 3))");
    store->promoteToMaster(WindowID(3));
    EXPECT_EQ(tree(), "(v0.5 3 (h0.5 1 2))");
}

TEST_F(WindowCommands, RebalanceGridsByWindowNumberAndForgetsWhatWasLearnt) {
    makeStore();
    adopt(3);
    adopt(1);
    adopt(2);
    store->resizeWindow(WindowID(1), Direction::right);
    store->toggleZoom(WindowID(2));
    settle();
    store->rebalance();
    EXPECT_EQ(store->zoomed(1), std::nullopt);
    // Two rows of equal cells: the upper row takes the extra window.
    EXPECT_EQ(tree(), "(h0.666667 (v0.5 1 2) 3)");
    settle();
    EXPECT_TRUE(store->state().windowsWhere(&WindowState::isParked).empty());
}

// ---- Several displays ----------------------------------------------------------------------

class CommandsOnTwoDisplays : public WindowCommands {
  protected:
    void SetUp() override {
        makeStore();
        store->displaysChanged({Display(1, screen), Display(2, CGRect(1000, 0, 800, 600))});
        store->queries.pointerLocation = [this] { return pointer; };
        pointer = CGPoint{500, 400};
        adopt(1, someFrame);
        adopt(3, someFrame);
        pointer = CGPoint{1200, 300};
        adopt(2, CGRect(1100, 100, 300, 200));
        adopt(4, CGRect(1100, 100, 300, 200));
        pointer = CGPoint{500, 400};
    }
    std::optional<CGPoint> pointer;
};

TEST_F(CommandsOnTwoDisplays, RebalanceRebuildsEachPaneFromItsOwnWindows) {
    store->rebalance();
    EXPECT_EQ(shape(*store, Pane{1, 1}), "(v0.5 1 3)");
    EXPECT_EQ(shape(*store, Pane{1, 2}), "(v0.5 2 4)");
    EXPECT_EQ(treeInvariantViolations(*store), std::vector<std::string>{});
    settle();
    EXPECT_EQ(frameOf(4), CGRect(1400, 0, 400, 600));
}

TEST_F(CommandsOnTwoDisplays, MainAndStackRebuildsEachPaneFromItsOwnWindows) {
    store->setLayoutMode(LayoutMode::masterStack, 1);
    EXPECT_EQ(shape(*store, Pane{1, 1}), "(v0.5 1 3)");
    EXPECT_EQ(shape(*store, Pane{1, 2}), "(v0.5 2 4)");
    EXPECT_EQ(treeInvariantViolations(*store), std::vector<std::string>{});
}

}  // namespace
}  // namespace kelvo

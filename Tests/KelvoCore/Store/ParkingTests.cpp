#include <gtest/gtest.h>

#include <algorithm>

#include "Support/KelvoCore/StoreFixture.h"

namespace kelvo {
namespace {

using Operation = FakeWindowBridge::Call::Operation;

const CGPoint corner{999, 799};

class Parking : public StoreFixture {
  protected:
    std::size_t position(const std::string& call) const {
        const auto log = bridge->callLog();
        return static_cast<std::size_t>(std::find(log.begin(), log.end(), call) - log.begin());
    }

    std::vector<WindowID> parked() const {
        std::vector<WindowID> ids;
        for (WindowID w : store->state().windowsWhere(&WindowState::isParked))
            ids.push_back(w);
        return ids;
    }
};

// Desktops run from 1 to the count: both ends switch and take a thrown window, and one past
// either end (0 and the count plus one) does nothing.
TEST_F(Parking, SwitchesAndThrowsReachDesktopOneAndTheLastButNotOnePastEither) {
    config.desktopCount = 4;
    makeStore();
    adoptOn(1, 1);
    adoptOn(1, 2);
    for (const int outside : {0, 5}) {
        store->switchTo(outside, std::nullopt);
        EXPECT_EQ(store->activeDesktop(), 1) << outside;
        store->throwFocused(WindowID(2), outside);
        EXPECT_EQ(store->desktop(WindowID(2)), 1) << outside;
    }
    store->throwFocused(WindowID(2), 4);
    EXPECT_EQ(store->desktop(WindowID(2)), 4);
    store->switchTo(4, std::nullopt);
    EXPECT_EQ(store->activeDesktop(), 4);
    store->throwFocused(WindowID(2), 1);
    EXPECT_EQ(store->desktop(WindowID(2)), 1);
    store->switchTo(1, std::nullopt);
    EXPECT_EQ(store->activeDesktop(), 1);
    EXPECT_TRUE(parked().empty());
}

TEST_F(Parking, ASwitchLaysOutTheIncomingBeforeItParksTheOutgoing) {
    makeStore();
    adoptOn(1, 1);
    adoptOn(2, 2);
    ASSERT_EQ(parked(), std::vector<WindowID>{WindowID(2)});
    bridge->clearCalls();

    store->switchTo(2, std::nullopt);
    EXPECT_EQ(bridge->writeLog(), (std::vector<std::string>{
                                      "setFrame({0, 0, 1000, 800}, win#2)",
                                      "setPosition({999, 799}, win#1)",
                                      "focus(win#2)",
                                  }));
    // The incoming window's minimized state is read before it is written.
    EXPECT_LT(position("isWindowMinimized(win#2)"), position("setFrame({0, 0, 1000, 800}, win#2)"));
    settle();
    EXPECT_EQ(bridge->writeLog().size(), 3u) << "the coalesced pass finds everything in place";
    EXPECT_EQ(parked(), std::vector<WindowID>{WindowID(1)});
    EXPECT_EQ(store->stateDescription(),
              "desktops: 1=[1(com.example.app)] 2=[2(com.example.app)]\n"
              "active=2 parked=[1] parkRefused=[] parkMinimized=[] floating=[] inDock=[] "
              "zoomed=nil showingDesktop=[] unmanageable=[] "
              "expected=[com.example.app/- com.example.app/2] "
              "focus=com.example.app/2 switchParked=[]");
}

TEST_F(Parking, ASwitchCostsEachMovedWindowAFixedSetOfCalls) {
    makeStore();
    adoptOn(1, 1);
    adoptOn(1, 2);
    adoptOn(2, 3);
    adoptOn(2, 4);
    bridge->clearCalls();
    store->switchTo(2, std::nullopt);
    settle();

    // The operations made about one window, in order, without their arguments; the focus of
    // the new desktop is counted apart.
    EXPECT_EQ(bridge->count(Operation::focus), 1u);
    const auto operationsOn = [this](std::uint32_t raw) {
        std::vector<std::string> operations;
        for (const auto& call : bridge->calls()) {
            if (call.id != WindowID(raw) || call.operation == Operation::focus) continue;
            const std::string text = call.description();
            operations.push_back(text.substr(0, text.find('(')));
        }
        return operations;
    };
    // An incoming window: the unpark's minimized read; the switch's pass (read, write,
    // read-back, minimized query); the coalesced pass, which finds it in place; the audit.
    // An outgoing one: the frame to remember, the park write and its read-back.
    const std::vector<std::string> incoming = {
        "isWindowMinimized", "frame", "setFrame", "frame", "isWindowMinimized", "frame", "canReach",
        "isWindowMinimized", "frame"};
    const std::vector<std::string> outgoing = {"frame", "setPosition", "frame"};
    EXPECT_EQ(operationsOn(3), incoming);
    EXPECT_EQ(operationsOn(4), incoming);
    EXPECT_EQ(operationsOn(1), outgoing);
    EXPECT_EQ(operationsOn(2), outgoing);
}

TEST_F(Parking, AMinimizedIncomingWindowIsRestoredOnlyAfterThePark) {
    makeStore();
    adoptOn(1, 1, CGRect(100, 100, 300, 200), false, "com.one");
    adoptOn(2, 2, CGRect(100, 100, 300, 200), false, "com.two");
    bridge->window(WindowID(2)).minimized();
    bridge->clearCalls();

    store->switchTo(2, std::nullopt);
    EXPECT_EQ(bridge->count(Operation::isWindowMinimized), 1u)
        << "the pass does not ask again about a window the switch has just read";
    EXPECT_EQ(bridge->writeLog(), (std::vector<std::string>{
                                      "setPosition({999, 799}, win#1)",
                                      "setMinimized(false, win#2)",
                                      "focus(win#2)",
                                  }));
    EXPECT_TRUE(store->state().windows.at(WindowID(2)).burstExempt());
    settle();
    EXPECT_EQ(frameOf(2), CGRect(0, 0, 1000, 800)) << "placed by the coalesced pass";
    EXPECT_EQ(store->parkedByLastSwitch(), std::set<std::string>{"com.one"});
}

TEST_F(Parking, SwitchesOutsideTheRangeOrToTheShownDesktopDoNothing) {
    makeStore();
    adopt(1);
    bridge->clearCalls();
    for (int d : {0, 1, 10, -3}) {
        store->switchTo(d, std::nullopt);
        EXPECT_EQ(store->activeDesktop(), 1) << d;
    }
    EXPECT_TRUE(bridge->calls().empty());
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(Parking, ASwitchOnOneDisplayLeavesTheOtherDisplayAlone) {
    CGPoint pointer{500, 400};
    makeStore();
    store->queries.pointerLocation = [&pointer] { return std::optional<CGPoint>(pointer); };
    store->displaysChanged(
        {Display(1, CGRect(0, 0, 1000, 800)), Display(2, CGRect(1000, 0, 800, 600))});
    adopt(1);
    pointer = CGPoint{1400, 300};
    adopt(2, CGRect(1100, 100, 300, 200));
    store->switchTo(2, std::nullopt);
    adopt(3, CGRect(1100, 100, 300, 200));
    pointer = CGPoint{500, 400};
    bridge->clearCalls();

    store->switchTo(2, std::nullopt);
    settle();
    EXPECT_EQ(parked(), (std::vector<WindowID>{WindowID(1), WindowID(2)}));
    for (const auto& call : bridge->writeLog()) {
        EXPECT_EQ(call.find("win#3"), std::string::npos) << call;
        EXPECT_EQ(call.find("win#2"), std::string::npos) << call;
    }
    EXPECT_EQ(store->activeDesktop(2), 2);
    EXPECT_EQ(store->activeDesktop(1), 2);
}

TEST_F(Parking, TheRememberedFrameOfAnUnreadableWindow) {
    makeStore();
    adopt(1);
    adopt(2, CGRect(50, 60, 200, 100), /*floating=*/true);
    const CGRect slot = store->layout(1).at(WindowID(1));
    bridge->window(WindowID(1)).unreadable();
    bridge->window(WindowID(2)).unreadable();

    store->switchTo(2, std::nullopt);
    // The floating window has nothing to remember and stays; the tiled one keeps its slot.
    EXPECT_EQ(parked(), std::vector<WindowID>{WindowID(1)});
    EXPECT_EQ(store->state().windows.at(WindowID(1)).parked->frame, slot);
    EXPECT_TRUE(recorder.of("onParkFinding").empty()) << "an unreadable read-back reports nothing";
}

struct CornerCase {
    CGFloat dx;
    CGFloat dy;
    bool parks;
};

class ParkTolerance : public Parking, public ::testing::WithParamInterface<CornerCase> {};

TEST_P(ParkTolerance, ReadBackWithinOneHundredPointsOnEachAxis) {
    makeStore();
    adopt(1);
    const CornerCase c = GetParam();
    const CGRect landed(corner.x - c.dx, corner.y - c.dy, 1000, 800);
    bridge->scriptReads(WindowID(1), {CGRect(0, 0, 1000, 800), landed});
    store->park({WindowID(1)});
    EXPECT_TRUE(store->isParked(WindowID(1)));
    EXPECT_EQ(!store->state().windows.at(WindowID(1)).parkRefused(), c.parks);
    EXPECT_EQ(recorder.of("onParkFinding").size(), c.parks ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Rows, ParkTolerance,
                         ::testing::Values(CornerCase{0, 0, true}, CornerCase{100, 100, true},
                                           CornerCase{-100, -100, true},
                                           CornerCase{100.5, 0, false},
                                           CornerCase{0, -100.5, false}));

TEST_F(Parking, ARefusedParkIsAskedAgainByTheNextPark) {
    makeStore();
    adopt(1);
    adopt(2);
    bridge->window(WindowID(2)).refuses();
    store->switchTo(2, std::nullopt);
    EXPECT_EQ(store->state().windowsWhere(&WindowState::parkRefused),
              std::set<WindowID>{WindowID(2)});
    EXPECT_EQ(recorder.of("onParkFinding"),
              std::vector<std::string>{
                  "onParkFinding(park of window 2 (com.example.app) of desktop 1: the corner "
                  "write did not take; left on screen, asked again on the next park — read back "
                  "at (500, 0))"});
    adopt(3);
    store->switchTo(3, std::nullopt);
    bridge->window(WindowID(2)).response = FakeWindowBridge::Response::accept;
    bridge->clearCalls();

    store->switchTo(1, std::nullopt);
    store->switchTo(4, std::nullopt);
    EXPECT_EQ(store->state().windowsWhere(&WindowState::parkRefused), std::set<WindowID>{});
    EXPECT_EQ(frameOf(2)->origin, corner);
    EXPECT_LT(position("setPosition({999, 799}, win#1)"),
              position("setPosition({999, 799}, win#2)"))
        << "the window parked now goes first, the refused one is retried after";
}

TEST_F(Parking, ARefusedWindowThatLandsLaterIsNoLongerAskedAgain) {
    makeStore();
    adopt(1);
    adopt(2);
    bridge->window(WindowID(2)).refuses();
    store->switchTo(2, std::nullopt);
    ASSERT_TRUE(store->state().windows.at(WindowID(2)).parkRefused());
    bridge->window(WindowID(2)).response = FakeWindowBridge::Response::accept;
    adopt(3);
    store->switchTo(3, std::nullopt);
    EXPECT_EQ(frameOf(2)->origin, corner) << "asked again by the park of window 3";
    EXPECT_FALSE(store->state().windows.at(WindowID(2)).parkRefused());

    adopt(4);
    bridge->clearCalls();
    store->switchTo(4, std::nullopt);
    EXPECT_EQ(bridge->writeLog(), std::vector<std::string>{"setPosition({999, 799}, win#4)"})
        << "window 2 sits in the corner: nothing more is asked of it";
}

TEST_F(Parking, AnUnmanageableWindowThatWillNotParkIsMinimized) {
    makeStore();
    adopt(1);
    adopt(2);
    ASSERT_TRUE(refuseUntilGivenUp(2));
    recorder.clear();

    store->switchTo(2, std::nullopt);
    EXPECT_EQ(store->state().windowsWhere(&WindowState::minimizedToPark),
              std::set<WindowID>{WindowID(2)});
    EXPECT_TRUE(bridge->actualFrame(WindowID(2)) && bridge->isWindowMinimized(WindowID(2)));
    ASSERT_EQ(recorder.of("onParkFinding").size(), 1u);
    EXPECT_NE(recorder.of("onParkFinding")[0].find("minimized as a last resort"),
              std::string::npos);

    // The store's own minimize is not the user's.
    store->windowMinimized(WindowID(2));
    EXPECT_TRUE(store->state().windowsWhere(&WindowState::inTheDock).empty());

    store->switchTo(1, std::nullopt);
    EXPECT_FALSE(bridge->window(WindowID(2)).record.minimized);
    EXPECT_TRUE(store->state().windowsWhere(&WindowState::minimizedToPark).empty());
}

TEST_F(Parking, ShowDesktopParksEveryWindowAndBringsThemBack) {
    makeStore();
    adopt(1);
    adopt(2, CGRect(50, 60, 200, 100), /*floating=*/true);
    store->toggleShowDesktop();
    EXPECT_EQ(parked(), (std::vector<WindowID>{WindowID(1), WindowID(2)}));
    EXPECT_TRUE(store->isShowingDesktop(1));
    settle();
    EXPECT_EQ(frameOf(1)->origin, corner);

    store->toggleShowDesktop();
    settle();
    EXPECT_TRUE(parked().empty());
    EXPECT_FALSE(store->isShowingDesktop(1));
    EXPECT_EQ(frameOf(1), CGRect(0, 0, 1000, 800));
    EXPECT_EQ(frameOf(2), CGRect(50, 60, 200, 100));
}

TEST_F(Parking, ShowDesktopOnAnEmptyDesktopDoesNothing) {
    makeStore();
    store->toggleShowDesktop();
    EXPECT_FALSE(store->isShowingDesktop(1));
    EXPECT_EQ(clock.pendingCount(), 0u);
    EXPECT_TRUE(bridge->calls().empty());
}

TEST_F(Parking, RevealAndEmptyingEndShowDesktop) {
    makeStore();
    adopt(1);
    store->toggleShowDesktop();
    settle();
    store->reveal(1);
    EXPECT_FALSE(store->isShowingDesktop(1));
    EXPECT_TRUE(parked().empty());
    EXPECT_EQ(frameOf(1), CGRect(0, 0, 1000, 800)) << "the reveal lays out at once";

    store->toggleShowDesktop();
    store->endShowDesktopIfEmpty(1);
    EXPECT_TRUE(store->isShowingDesktop(1)) << "desktop 1 still has a window";
    store->endShowDesktopIfEmpty(3);
    EXPECT_FALSE(store->isShowingDesktop(3));
}

TEST_F(Parking, AFloatingWindowComesBackInsideTheScreenAtItsSize) {
    makeStore();
    adopt(1, CGRect(900, -50, 300, 200), /*floating=*/true);
    store->switchTo(2, std::nullopt);
    EXPECT_EQ(store->state().windows.at(WindowID(1)).parked->frame, CGRect(900, -50, 300, 200));
    store->switchTo(1, std::nullopt);
    EXPECT_EQ(frameOf(1), CGRect(700, 0, 300, 200));
    EXPECT_EQ(store->onScreen(CGRect(-20, 700, 2000, 50)), (CGPoint{0, 700}))
        << "wider than the screen: its left edge";
}

TEST_F(Parking, OnlyFloatingWindowsAreUnparkedAndRaisedWithoutFocus) {
    makeStore();
    adoptOn(2, 1, CGRect(10, 10, 100, 100), true);
    adoptOn(2, 2, CGRect(20, 20, 100, 100), true);
    bridge->clearCalls();
    store->switchTo(2, std::nullopt);
    EXPECT_EQ(bridge->count(Operation::focus), 0u);
    EXPECT_EQ(bridge->writeLog(), (std::vector<std::string>{"setPosition({10, 10}, win#1)",
                                                            "setPosition({20, 20}, win#2)",
                                                            "raise(win#1)", "raise(win#2)"}));
    EXPECT_TRUE(store->parkedByLastSwitch().empty());
}

TEST_F(Parking, TheFocusOfASwitchMustLiveOnTheNewDesktopAndDisplay) {
    makeStore();
    adoptOn(1, 1);
    adoptOn(2, 2);
    adoptOn(2, 3);
    adoptOn(3, 4);
    bridge->clearCalls();
    store->switchTo(2, WindowID(4));
    EXPECT_EQ(bridge->focusedWindow(), WindowID(2)) << "the left-most window of desktop 2";
    store->switchTo(1, std::nullopt);
    store->switchTo(2, WindowID(3));
    EXPECT_EQ(bridge->focusedWindow(), WindowID(3));
}

TEST_F(Parking, TheSwitchRemembersWhichApplicationsItParked) {
    makeStore();
    adoptOn(1, 1, CGRect(100, 100, 300, 200), false, "com.a");
    adoptOn(1, 2, CGRect(100, 100, 300, 200), false, "com.b");
    adoptOn(2, 3, CGRect(100, 100, 300, 200), false, "com.b");
    store->switchTo(2, std::nullopt);
    EXPECT_EQ(store->parkedByLastSwitch(), std::set<std::string>{"com.a"})
        << "the focused window's own application is left out";
    EXPECT_EQ(store->state().switchFocusBundle, "com.b");
    EXPECT_TRUE(store->state().auditPending);
}

TEST_F(Parking, AParkIsHealedOncePerEscape) {
    makeStore();
    adopt(1);
    store->switchTo(2, std::nullopt);
    auto& w = bridge->window(WindowID(1));
    w.record.frame.origin = CGPoint{300, 300};
    store->healPark(WindowID(1));
    EXPECT_EQ(frameOf(1)->origin, corner);
    EXPECT_EQ(recorder.of("onParkFinding").size(), 1u);
    EXPECT_NE(recorder.of("onParkFinding")[0].find("written back once"), std::string::npos);

    w.record.frame.origin = CGPoint{300, 300};
    store->healPark(WindowID(1));
    EXPECT_EQ(frameOf(1)->origin, (CGPoint{300, 300})) << "a second escape is tolerated";

    // Seen in the corner again, the next escape is healed again.
    w.record.frame.origin = corner;
    store->healPark(WindowID(1));
    EXPECT_TRUE(store->state().windowsWhere(&WindowState::reparkedOnce).empty());
    w.record.frame.origin = CGPoint{300, 300};
    store->healPark(WindowID(1));
    EXPECT_EQ(frameOf(1)->origin, corner);
}

TEST_F(Parking, RestoreAllPutsParkedWindowsBackAndKeepsTheDock) {
    makeStore();
    adopt(1);
    adopt(2);
    adopt(3, CGRect(800, 650, 300, 200), /*floating=*/true);
    bridge->window(WindowID(2)).minimized();
    store->windowMinimized(WindowID(2));
    store->toggleShowDesktop();
    settle();
    store->restoreAll();
    EXPECT_TRUE(parked().empty());
    EXPECT_TRUE(store->state().showingDesktop.empty());
    EXPECT_EQ(frameOf(1), CGRect(0, 0, 500, 800)) << "window 2 keeps its slot in the Dock";
    EXPECT_EQ(frameOf(3), CGRect(700, 600, 300, 200)) << "kept inside the screen";
    EXPECT_TRUE(bridge->window(WindowID(2)).record.minimized) << "the user's minimize stays";
    EXPECT_EQ(store->state().windowsWhere(&WindowState::inTheDock),
              std::set<WindowID>{WindowID(2)});
    EXPECT_EQ(clock.pendingCount(), 0u) << "no layout pass";
}

TEST_F(Parking, PutBackBringsOneWindowOutOfTheCornerOrTheDock) {
    makeStore();
    adopt(1);
    adopt(2);
    adopt(3, CGRect(900, -50, 300, 200), /*floating=*/true);
    ASSERT_TRUE(refuseUntilGivenUp(2));
    store->switchTo(2, std::nullopt);
    ASSERT_TRUE(store->state().windows.at(WindowID(2)).minimizedToPark());
    bridge->clearCalls();

    store->putBack(WindowID(2));
    store->putBack(WindowID(3));
    EXPECT_EQ(bridge->writeLog(), (std::vector<std::string>{
                                      "setMinimized(false, win#2)",
                                      "setPosition({3, 3}, win#2)",
                                      "setPosition({700, 0}, win#3)",
                                  }));
    EXPECT_FALSE(bridge->window(WindowID(2)).record.minimized);
    EXPECT_EQ(frameOf(3), CGRect(700, 0, 300, 200)) << "kept inside the screen";
    EXPECT_EQ(parked(), std::vector<WindowID>{WindowID(1)}) << "only the windows named";
    EXPECT_EQ(store->desktop(WindowID(2)), 1) << "still managed until it is removed";

    bridge->clearCalls();
    store->putBack(WindowID(3));
    store->putBack(WindowID(42));
    EXPECT_TRUE(bridge->writeLog().empty()) << "not parked, or not managed: nothing to do";
}

TEST_F(Parking, TheDockBookkeeping) {
    makeStore();
    adopt(1);
    adopt(2);
    bridge->window(WindowID(2)).minimized();
    store->windowMinimized(WindowID(2));
    EXPECT_EQ(store->state().windowsWhere(&WindowState::inTheDock),
              std::set<WindowID>{WindowID(2)});
    EXPECT_EQ(clock.pendingCount(), 0u);
    store->windowMinimized(WindowID(9));
    EXPECT_EQ(store->state().windowsWhere(&WindowState::inTheDock).size(), 1u)
        << "unmanaged windows are ignored";

    store->windowUnminimized(WindowID(1));
    EXPECT_EQ(clock.pendingCount(), 0u) << "not in the Dock: nothing";
    bridge->window(WindowID(2)).record.minimized = false;
    store->windowUnminimized(WindowID(2));
    EXPECT_TRUE(store->state().windowsWhere(&WindowState::inTheDock).empty());
    EXPECT_TRUE(store->state().windows.at(WindowID(2)).burstExempt());
    EXPECT_EQ(clock.pendingCount(), 1u);
}

TEST_F(Parking, ScreenChanges) {
    makeStore();
    adopt(1);
    EXPECT_FALSE(store->screenChanged(screen));
    EXPECT_EQ(clock.pendingCount(), 0u);
    EXPECT_TRUE(store->screenChanged(CGRect(0, 25, 1000, 775)));
    settle();
    EXPECT_EQ(frameOf(1), CGRect(0, 25, 1000, 775));
}

TEST_F(Parking, ACommandLayoutExemptsTheActiveDesktopsTiledWindowsOncePerBurst) {
    makeStore(/*withSchedulers=*/false);
    adopt(1);
    adopt(2);
    adopt(3, CGRect(10, 10, 100, 100), /*floating=*/true);
    bridge->window(WindowID(2)).refuses().record.frame = CGRect(3, 3, 100, 100);
    store->applyLayoutNow();
    ASSERT_EQ(store->reconciler().attempts().at(WindowID(2)), 1);

    store->applyLayoutForCommand(WindowID(2), /*now=*/true);
    EXPECT_EQ(store->reconciler().attempts().at(WindowID(2)), 0)
        << "its strikes were reset and the exempt write did not strike";
    // The burst settled with window 2 still refusing: its exemption is spent.
    EXPECT_TRUE(store->state().windowsWhere(&WindowState::burstExempt).empty());
    EXPECT_EQ(store->state().windowsWhere(&WindowState::spentExemption),
              std::set<WindowID>{WindowID(2)});

    store->schedulers.coalesce = clock.scheduler(coalesceDelay);
    store->applyLayoutForCommand(std::nullopt, /*now=*/false);
    EXPECT_EQ(store->state().windowsWhere(&WindowState::burstExempt),
              std::set<WindowID>{WindowID(1)})
        << "floating windows and spent exemptions are left out";
    EXPECT_EQ(clock.pendingCount(), 1u) << "coalesced";
}

// Two displays side by side; the pointer picks the display a switch acts on.
class TwoDisplays : public Parking {
  protected:
    void SetUp() override {
        makeStore();
        store->queries.pointerLocation = [this] { return std::optional<CGPoint>(pointer); };
        store->displaysChanged({Display(1, screen), Display(2, CGRect(1000, 0, 800, 600))});
    }
    CGPoint pointer{500, 400};
};

TEST_F(TwoDisplays, ShowDesktopKeepsTheOtherDisplaysHiddenWindowsParked) {
    pointer = CGPoint{1400, 300};
    adopt(1, CGRect(1100, 100, 300, 200));
    store->switchTo(2, std::nullopt);
    ASSERT_TRUE(store->isParked(WindowID(1)));
    pointer = CGPoint{500, 400};
    adopt(2);

    store->toggleShowDesktop();
    store->toggleShowDesktop();
    settle();
    EXPECT_TRUE(store->isParked(WindowID(1))) << "display 2 shows desktop 2";
    EXPECT_FALSE(store->isParked(WindowID(2)));
    EXPECT_EQ(frameOf(1)->origin, (CGPoint{1799, 599}));
}

TEST_F(TwoDisplays, TheFocusOfASwitchMustLiveOnTheSwitchedDisplay) {
    adopt(1);
    store->switchTo(2, std::nullopt);
    adopt(2);
    pointer = CGPoint{1400, 300};
    adopt(3, CGRect(1100, 100, 300, 200));
    store->switchTo(2, std::nullopt);
    adopt(4, CGRect(1100, 100, 300, 200));
    store->switchTo(1, std::nullopt);
    pointer = CGPoint{500, 400};
    store->switchTo(1, std::nullopt);
    bridge->clearCalls();

    store->switchTo(2, WindowID(4));
    EXPECT_EQ(bridge->focusedWindow(), WindowID(2)) << "window 4 is on the other display";
    EXPECT_TRUE(store->isParked(WindowID(4)));
}

TEST_F(TwoDisplays, AFloatingWindowReturnsToItsOwnDisplay) {
    pointer = CGPoint{1400, 300};
    adopt(1, CGRect(1500, 100, 200, 200), /*floating=*/true);
    // Wherever adoption put it: on display 2.
    bridge->window(WindowID(1)).record.frame = CGRect(1500, 100, 200, 200);
    store->switchTo(2, std::nullopt);
    EXPECT_EQ(frameOf(1)->origin, (CGPoint{1799, 599})) << "the right-most display parks";
    store->switchTo(1, std::nullopt);
    EXPECT_EQ(frameOf(1), CGRect(1500, 100, 200, 200));
    store->switchTo(2, std::nullopt);
    store->restoreAll();
    EXPECT_EQ(frameOf(1), CGRect(1500, 100, 200, 200));
}

}  // namespace
}  // namespace kelvo

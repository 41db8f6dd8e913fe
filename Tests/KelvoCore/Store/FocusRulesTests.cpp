#include <gtest/gtest.h>

#include "Support/KelvoCore/StoreFixture.h"

namespace kelvo {
namespace {

using Verdict = WorkspaceStore::ActivationVerdict;
using Response = WorkspaceStore::FocusResponse;

ExpectedFocus app(const std::string& b) {
    return ExpectedFocus{b, std::nullopt};
}
ExpectedFocus win(const std::string& b, std::uint32_t w) {
    return ExpectedFocus{b, WindowID(w)};
}

class FocusRules : public StoreFixture {
  protected:
    void SetUp() override { makeStore(); }

    /// Forgets what the set-up taught the store about focus.
    void forgetFocus() { store->activationVerdict(std::nullopt, std::nullopt); }
};

TEST_F(FocusRules, ExpectationsAreCappedAndDeduplicated) {
    for (std::uint32_t i = 1; i <= 17; ++i)
        store->expect(win("com.a", i));
    ASSERT_EQ(store->expectedFocus().size(), WorkspaceStore::expectationCap);
    EXPECT_EQ(store->expectedFocus().front(), win("com.a", 2)) << "the oldest was pushed out";

    store->expect(win("com.a", 5));
    EXPECT_EQ(store->expectedFocus().size(), 16u);
    EXPECT_EQ(store->expectedFocus().back(), win("com.a", 5));
    EXPECT_EQ(store->expectedFocus()[3], win("com.a", 6));
}

TEST_F(FocusRules, ForgettingAWindowKeepsItsApplicationAndCollapsesDuplicates) {
    store->expect(app("com.a"));
    store->expect(win("com.b", 2));
    store->expect(win("com.a", 1));
    store->expect(win("com.c", 3));
    store->forgetExpectedWindow(WindowID(9));
    EXPECT_EQ(store->expectedFocus().size(), 4u);

    store->forgetExpectedWindow(WindowID(1));
    EXPECT_EQ(store->expectedFocus(),
              (std::vector<ExpectedFocus>{win("com.b", 2), app("com.a"), win("com.c", 3)}));
}

struct VerdictRow {
    const char* name;
    std::vector<ExpectedFocus> expectations;
    std::optional<std::string> nativeApp;
    std::optional<std::string> asked;
    Verdict verdict;
    std::vector<ExpectedFocus> left;
};

class ActivationVerdicts : public FocusRules, public ::testing::WithParamInterface<VerdictRow> {};

TEST_P(ActivationVerdicts, Row) {
    const VerdictRow& row = GetParam();
    store->setOwnBundleID("com.own");
    if (row.nativeApp) {
        // Consumed at once: the native focus stays, its expectation goes.
        store->expectActivation(*row.nativeApp);
        store->activationVerdict(*row.nativeApp, std::nullopt);
    }
    for (const auto& e : row.expectations)
        store->expect(e);

    EXPECT_EQ(store->activationVerdict(row.asked, WindowID(77)), row.verdict) << row.name;
    EXPECT_EQ(store->expectedFocus(), row.left) << row.name;
    if (row.verdict == Verdict::change) {
        EXPECT_EQ(store->nativeFocus(), (ExpectedFocus{row.asked, WindowID(77)})) << row.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ActivationVerdicts,
                         ::testing::Values(VerdictRow{"own application",
                                                      {win("com.a", 1)},
                                                      {},
                                                      "com.own",
                                                      Verdict::expected,
                                                      {win("com.a", 1)}},
                                           VerdictRow{
                                               "the newest match consumes every older entry",
                                               {win("com.b", 1), win("com.a", 2), app("com.c"),
                                                win("com.a", 3), win("com.b", 4)},
                                               {},
                                               "com.a",
                                               Verdict::expected,
                                               {win("com.b", 4)}},
                                           VerdictRow{"no bundle identifier is always a change",
                                                      {app("com.a")},
                                                      "com.a",
                                                      {},
                                                      Verdict::change,
                                                      {}},
                                           VerdictRow{"judged by the native focus",
                                                      {win("com.b", 1)},
                                                      "com.a",
                                                      "com.a",
                                                      Verdict::expected,
                                                      {win("com.b", 1)}},
                                           VerdictRow{"an unexpected application clears the list",
                                                      {win("com.b", 1)},
                                                      "com.a",
                                                      "com.z",
                                                      Verdict::change,
                                                      {}}),
                         [](const auto& info) { return "row" + std::to_string(info.index); });

TEST_F(FocusRules, ALaterActivationWithoutExpectationFallsBackToNativeFocus) {
    store->expect(app("com.a"));
    store->expect(win("com.a", 1));
    store->expectActivation("com.b");
    EXPECT_EQ(store->activationVerdict("com.a", std::nullopt), Verdict::expected);
    EXPECT_EQ(store->expectedFocus(), std::vector<ExpectedFocus>{app("com.b")});
    // Nothing for com.a is left, and the native focus names com.b.
    EXPECT_EQ(store->activationVerdict("com.a", std::nullopt), Verdict::change);
}

TEST_F(FocusRules, ApplicationsParkedByTheLastSwitchAreExpectedUntilItsFocusLands) {
    adoptOn(1, 1, "com.a");
    adoptOn(2, 2, "com.b");
    store->switchTo(2, std::nullopt);
    ASSERT_EQ(store->parkedByLastSwitch(), std::set<std::string>{"com.a"});
    ASSERT_EQ(store->state().switchFocusBundle, "com.b");

    // Parking com.a's window makes it active for a moment: not the user's doing.
    EXPECT_EQ(store->activationVerdict("com.a", std::nullopt), Verdict::expected);
    // The switch's own focus arriving consumes its expectation; then com.a counts again.
    EXPECT_EQ(store->activationVerdict("com.b", WindowID(2)), Verdict::expected);
    EXPECT_TRUE(store->parkedByLastSwitch().empty());
    EXPECT_EQ(store->activationVerdict("com.a", std::nullopt), Verdict::change);
}

TEST_F(FocusRules, AnotherApplicationsExpectationKeepsTheSwitchsParkedApplications) {
    adoptOn(1, 1, "com.a");
    adoptOn(2, 2, "com.b");
    store->switchTo(2, std::nullopt);
    store->expectActivation("com.c");
    store->expect(win("com.b", 2));
    EXPECT_EQ(store->activationVerdict("com.c", std::nullopt), Verdict::expected);
    EXPECT_EQ(store->parkedByLastSwitch(), std::set<std::string>{"com.a"})
        << "com.b's expectation is still pending";
}

struct ResponseRow {
    const char* name;
    std::uint32_t focusedNow;
    std::optional<std::uint32_t> believed;
    std::optional<Response> response;
};

/// Desktop 1: windows 1 and 2 of com.a, 3 of com.b. Desktop 2 (parked): 4 of com.a, 5 of com.c.
class ThreeApps : public FocusRules {
  protected:
    void SetUp() override {
        FocusRules::SetUp();
        adoptOn(1, 1, "com.a");
        adoptOn(1, 2, "com.a");
        adoptOn(1, 3, "com.b");
        adoptOn(2, 4, "com.a");
        adoptOn(2, 5, "com.c");
        forgetFocus();
    }
};

class FocusResponses : public ThreeApps, public ::testing::WithParamInterface<ResponseRow> {};

TEST_P(FocusResponses, Row) {
    const ResponseRow& row = GetParam();
    const auto believed =
        row.believed ? std::optional<WindowID>(WindowID(*row.believed)) : std::nullopt;
    EXPECT_EQ(store->focusResponse(WindowID(row.focusedNow), believed), row.response) << row.name;
    if (row.response == Response::leaveParked() ||
        (row.response && row.response->kind() == Response::Kind::reassert)) {
        EXPECT_EQ(store->state().parkedKeyWindow, WindowID(row.focusedNow)) << row.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FocusResponses,
    ::testing::Values(
        ResponseRow{"unmanaged", 99, 1, std::nullopt},
        ResponseRow{"a window on the active desktop", 2, 1, Response::accept()},
        ResponseRow{"parked, the believed window is of its application", 4, 1,
                    Response::reassert(WindowID(1))},
        ResponseRow{"parked, the believed window is of another application", 4, 3,
                    Response::leaveParked()},
        ResponseRow{"parked, nothing believed", 4, std::nullopt, Response::leaveParked()},
        ResponseRow{"parked, the believed window is itself", 4, 4, Response::leaveParked()},
        ResponseRow{"parked, the believed window is parked too", 5, 4, Response::leaveParked()}),
    [](const auto& info) { return "row" + std::to_string(info.index); });

TEST_F(ThreeApps, ExpectedFocusAndAcceptedFocus) {
    store->issueFocus(WindowID(3));
    EXPECT_EQ(store->focusResponse(WindowID(3), WindowID(1)), Response::expected());
    EXPECT_FALSE(store->expectedFocus().empty()) << "the expectation stays";
    store->expect(win("com.a", 4));
    EXPECT_EQ(store->focusResponse(WindowID(4), std::nullopt), Response::expected())
        << "an expectation names it, parked or not";
    EXPECT_EQ(store->state().parkedKeyWindow, std::nullopt);

    EXPECT_EQ(store->focusResponse(WindowID(1), WindowID(3)), Response::accept());
    EXPECT_TRUE(store->expectedFocus().empty());
    EXPECT_EQ(store->nativeFocus(), win("com.a", 1));
}

TEST_F(ThreeApps, IssuingFocusExpectsItAndAsksTheBridge) {
    bridge->clearCalls();
    store->issueFocus(WindowID(2));
    EXPECT_EQ(bridge->writeLog(), std::vector<std::string>{"focus(win#2)"});
    EXPECT_EQ(store->expectedFocus(), std::vector<ExpectedFocus>{win("com.a", 2)});
    EXPECT_EQ(store->nativeFocus(), win("com.a", 2));
}

TEST_F(ThreeApps, FollowingAnActivation) {
    EXPECT_EQ(store->windowToFollow("com.a", WindowID(4)), std::nullopt)
        << "com.a has windows on the active desktop";
    EXPECT_EQ(store->windowToFollow("com.c", std::nullopt), WindowID(5));
    EXPECT_EQ(store->windowToFollow("com.c", WindowID(99)), std::nullopt) << "unmanaged focus";
    EXPECT_EQ(store->windowToFollow("com.none", std::nullopt), std::nullopt);

    EXPECT_EQ(store->followActivation(WindowID(1)), std::nullopt) << "already shown";
    EXPECT_EQ(store->followActivation(WindowID(5)), 2);
    EXPECT_EQ(store->activeDesktop(), 2);
    EXPECT_EQ(bridge->focusedWindow(), WindowID(5));

    Config off = store->config();
    off.followActivationToDesktop = false;
    store->apply(off);
    EXPECT_EQ(store->windowToFollow("com.b", std::nullopt), std::nullopt);
}

TEST_F(FocusRules, FollowingPicksTheFocusedWindowElseTheLowestDesktopsLowestWindow) {
    adoptOn(1, 1, "com.x");
    adoptOn(3, 7, "com.a");
    adoptOn(2, 9, "com.a");
    adoptOn(2, 8, "com.a");
    store->setOwnBundleID("com.own");
    EXPECT_EQ(store->windowToFollow("com.a", std::nullopt), WindowID(8));
    EXPECT_EQ(store->windowToFollow("com.a", WindowID(7)), WindowID(7));
    EXPECT_EQ(store->windowToFollow("com.own", std::nullopt), std::nullopt);
}

struct LauncherRow {
    const char* bundle;
    bool running;
    LauncherRequest request;
    LauncherAction action;
};

class LauncherActions : public ThreeApps, public ::testing::WithParamInterface<LauncherRow> {};

TEST_P(LauncherActions, Row) {
    const LauncherRow& row = GetParam();
    EXPECT_EQ(store->launcherAction(row.bundle, row.running, row.request), row.action)
        << row.bundle;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LauncherActions,
    ::testing::Values(
        LauncherRow{"com.a", true, LauncherRequest::goTo, LauncherAction::focus(WindowID(1))},
        LauncherRow{"com.b", true, LauncherRequest::bringHere, LauncherAction::focus(WindowID(3))},
        LauncherRow{"com.c", true, LauncherRequest::goTo, LauncherAction::goTo(2, WindowID(5))},
        LauncherRow{"com.c", true, LauncherRequest::bringHere,
                    LauncherAction::bringHere(WindowID(5))},
        LauncherRow{"com.none", true, LauncherRequest::goTo, LauncherAction::activate()},
        LauncherRow{"com.none", false, LauncherRequest::bringHere, LauncherAction::launch()}),
    [](const auto& info) { return "row" + std::to_string(info.index); });

TEST_F(FocusRules, TheLeftmostWindowAndTheCommandTarget) {
    adopt(1, CGRect(10, 10, 100, 100), /*floating=*/true, "com.a");
    EXPECT_EQ(store->leftmostWindow(1), std::nullopt) << "only floating windows";
    EXPECT_EQ(store->targetWindow(std::nullopt), std::nullopt);
    adopt(2);
    adopt(3);
    adopt(4);
    // 2 | 3 over 4: the left column wins, then the top.
    EXPECT_EQ(store->leftmostWindow(1), WindowID(2));
    EXPECT_EQ(store->targetWindow(WindowID(1)), WindowID(1)) << "a managed window is kept";
    EXPECT_EQ(store->targetWindow(WindowID(99)), WindowID(2));
    store->toggleShowDesktop();
    EXPECT_EQ(store->targetWindow(WindowID(1)), std::nullopt);
    EXPECT_EQ(store->leftmostWindow(1), std::nullopt);
}

TEST_F(FocusRules, FloatingWindowsAreRaisedWithTheTopmostLast) {
    adopt(1);
    adopt(2, CGRect(10, 10, 100, 100), /*floating=*/true);
    adopt(3, CGRect(20, 20, 100, 100), /*floating=*/true);
    adopt(4, CGRect(30, 30, 100, 100), /*floating=*/true);
    store->switchTo(2, std::nullopt);
    adopt(5, CGRect(30, 30, 100, 100), /*floating=*/true);
    store->switchTo(1, std::nullopt);
    bridge->clearCalls();
    store->raiseFloating(WindowID(2));
    EXPECT_EQ(bridge->writeLog(),
              (std::vector<std::string>{"raise(win#3)", "raise(win#4)", "raise(win#2)"}));
    bridge->clearCalls();
    store->focusWindow(WindowID(3), /*raising=*/true);
    EXPECT_EQ(bridge->writeLog(), (std::vector<std::string>{"focus(win#3)", "raise(win#2)",
                                                            "raise(win#4)", "raise(win#3)"}));
    bridge->clearCalls();
    store->focusWindow(WindowID(1), /*raising=*/true);
    store->focusWindow(WindowID(99), /*raising=*/true);
    EXPECT_EQ(bridge->writeLog(), (std::vector<std::string>{"focus(win#1)", "raise(win#2)",
                                                            "raise(win#3)", "raise(win#4)"}));
}

TEST_F(FocusRules, WithoutFloatingWindowsTheNeighbourIsTheTreesOwn) {
    adopt(1);
    adopt(2);
    adopt(3);
    adopt(4);
    const auto tree = store->state().trees.begin()->second;
    for (Direction d : {Direction::left, Direction::right, Direction::up, Direction::down}) {
        EXPECT_EQ(store->focusNeighbour(WindowID(3), d), tree.neighbour(WindowID(3), screen, d))
            << toString(d);
    }
    EXPECT_EQ(store->focusNeighbour(WindowID(99), Direction::left), std::nullopt);
}

TEST_F(FocusRules, AFloatingWindowNearerThanTheTreesNeighbourWins) {
    adopt(1);
    adopt(2);
    adopt(3, CGRect(420, 300, 60, 60), /*floating=*/true);
    // From 2 (the right half) leftwards: the floating window sits between it and window 1.
    EXPECT_EQ(store->focusNeighbour(WindowID(2), Direction::left), WindowID(3));
    EXPECT_EQ(store->focusNeighbour(WindowID(3), Direction::left), WindowID(1))
        << "a floating window has no tree neighbour: the geometric one";
    EXPECT_EQ(store->focusNeighbour(WindowID(1), Direction::right), WindowID(3));
}

TEST_F(FocusRules, RevealingForAnActivationEndsShowDesktop) {
    adopt(1);
    EXPECT_FALSE(store->revealForActivation(WindowID(1)));
    store->toggleShowDesktop();
    settle();
    EXPECT_FALSE(store->revealForActivation(WindowID(99)));
    EXPECT_TRUE(store->revealForActivation(WindowID(1)));
    EXPECT_FALSE(store->isShowingDesktop(1));
    EXPECT_FALSE(store->isParked(WindowID(1)));
    EXPECT_EQ(frameOf(1), CGRect(0, 0, 1000, 800));
}

}  // namespace
}  // namespace kelvo

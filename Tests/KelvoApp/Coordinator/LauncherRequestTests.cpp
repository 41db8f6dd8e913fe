#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Support/KelvoApp/CoordinatorFixture.h"
#include "Support/KelvoApp/DecisionLog.h"

namespace kelvo {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

class LauncherRequestTest : public CoordinatorFixture {
  protected:
    void SetUp() override {
        startWithTwoWindows();
        // win#2 lives on desktop 4.
        coordinator->focus.acceptFocus(WindowID(2));
        coordinator->commands.dispatch(Command::throwTo(4));
        settle();
        markLog();
    }
    LauncherApp pick(const std::string& bundle, bool running,
                     std::optional<std::filesystem::path> url = std::nullopt) {
        LauncherApp app;
        app.entry.bundleID = bundle;
        app.entry.name = bundle;
        app.entry.isRunning = running;
        app.url = std::move(url);
        return app;
    }
    /// Whether the state followed the last decision.
    bool stateLogged() {
        const auto lines = newLogLines();
        return !lines.empty() && lines.back().starts_with("  ");
    }
};

TEST_F(LauncherRequestTest, GoingToAnApplicationOnAnotherDesktopFollowsIt) {
    coordinator->configuration.store().update([](Config& c) { c.showSwitchHUD = true; });
    coordinator->launcher.openFromLauncher(pick("com.example.other", true), LauncherRequest::goTo);
    settle();
    EXPECT_EQ(coordinator->storeWiring.store().activeDesktop(), 4);
    EXPECT_EQ(coordinator->focus.focused(), WindowID(2));
    EXPECT_THAT(decisionLines(newLogLines()),
                Contains("launcher: com.example.other lives on desktop 4 - going there rather "
                         "than dragging win#2 com.example.other here"));
    EXPECT_EQ(coordinator->ownWindows.switchDisplay().label->stringValue(), "4");
}

TEST_F(LauncherRequestTest, BringingHereMovesTheWindowToTheActiveDesktop) {
    coordinator->launcher.openFromLauncher(pick("com.example.other", true),
                                           LauncherRequest::bringHere);
    EXPECT_EQ(coordinator->storeWiring.store().desktop(WindowID(2)), 1);
    EXPECT_THAT(decisionLines(newLogLines()),
                Contains("launcher: com.example.other lives on desktop 4 - bringing win#2 "
                         "com.example.other here to desktop 1, as asked"));
}

TEST_F(LauncherRequestTest, AnApplicationAlreadyHereIsFocused) {
    coordinator->launcher.openFromLauncher(pick("com.example.app", true), LauncherRequest::goTo);
    EXPECT_EQ(coordinator->focus.focused(), WindowID(1));
    EXPECT_THAT(decisionLines(newLogLines()),
                Contains("launcher: com.example.app is already on desktop 1 - focusing win#1 "
                         "com.example.app"));
}

TEST_F(LauncherRequestTest, ARunningApplicationWithABundleIsAskedToReopen) {
    RunningApplication running;
    running.pid = 500;
    running.bundleID = "com.example.mail";
    running.bundleURL = "/Applications/Mail.app";
    platform.running = {running};
    coordinator->launcher.openFromLauncher(pick("com.example.mail", true), LauncherRequest::goTo);
    EXPECT_THAT(platform.requests, Contains("open(/Applications/Mail.app)"));
    EXPECT_THAT(decisionLines(newLogLines()),
                ElementsAre("launcher: com.example.mail is running with no window Kelvo manages "
                            "- asking it to open one, as a Dock click would"));
    EXPECT_TRUE(stateLogged());
}

TEST_F(LauncherRequestTest, ARunningApplicationNotOnDiskIsActivated) {
    RunningApplication running;
    running.pid = 501;
    running.bundleID = "com.example.tool";
    platform.running = {running};
    coordinator->launcher.openFromLauncher(pick("com.example.tool", true), LauncherRequest::goTo);
    EXPECT_THAT(platform.requests, Contains("activate(501)"));
    EXPECT_THAT(decisionLines(newLogLines()),
                ElementsAre("launcher: com.example.tool is running with no window Kelvo manages "
                            "and is not on disk - activating it"));
}

TEST_F(LauncherRequestTest, ARunningPickThatQuitAndIsNotOnDiskIsReportedAsNotFound) {
    coordinator->launcher.openFromLauncher(pick("com.example.quit", true), LauncherRequest::goTo);
    EXPECT_THAT(newLogLines(), ElementsAre("launcher: com.example.quit is not running and could "
                                           "not be found on disk"));
    EXPECT_TRUE(platform.requests.empty() || platform.requests.back() != "activate(0)");
}

TEST_F(LauncherRequestTest, AnApplicationNotRunningIsLaunchedFromItsLocation) {
    platform.installed["com.example.new"] = "/Applications/New.app";
    coordinator->launcher.openFromLauncher(pick("com.example.new", false), LauncherRequest::goTo);
    EXPECT_THAT(platform.requests, Contains("open(/Applications/New.app)"));
    EXPECT_THAT(decisionLines(newLogLines()), ElementsAre("launcher: launching com.example.new"));
    EXPECT_TRUE(stateLogged());
}

TEST_F(LauncherRequestTest, ALaunchThatFailsIsLoggedWithItsReasonAfterTheLaunchingLine) {
    const std::string why =
        "The application “Broken” can’t be opened because its executable is missing.";
    platform.openFailures["/Applications/Broken.app"] = why;
    coordinator->launcher.openFromLauncher(
        pick("com.example.broken", false, "/Applications/Broken.app"), LauncherRequest::goTo);
    EXPECT_THAT(decisionLines(newLogLines()),
                ElementsAre("launcher: launching com.example.broken",
                            "launcher: com.example.broken failed to open - " + why));
}

TEST_F(LauncherRequestTest, AnApplicationNowhereIsOnlyLogged) {
    coordinator->launcher.openFromLauncher(pick("com.example.none", false), LauncherRequest::goTo);
    EXPECT_THAT(newLogLines(), ElementsAre("launcher: com.example.none is not running and could "
                                           "not be found on disk"));
}

TEST_F(LauncherRequestTest, TheCallbacksAnswerFromTheStoreAndTheConfiguration) {
    const auto& callbacks = coordinator->launcher.controller()->callbacks();
    EXPECT_EQ(callbacks.desktopOf("com.example.other"), 4);
    EXPECT_EQ(callbacks.desktopOf("com.example.none"), std::nullopt);
    EXPECT_TRUE(callbacks.bringsHere(LauncherEntry{"com.example.other", "Other", true}));
    EXPECT_FALSE(callbacks.bringsHere(LauncherEntry{"com.example.app", "App", true}));
    callbacks.recordUse("com.example.b");
    callbacks.recordUse("com.example.a");
    EXPECT_THAT(callbacks.recents(), ElementsAre("com.example.a", "com.example.b"));
    callbacks.recordUse("com.example.a");
    EXPECT_THAT(coordinator->configuration.store().config().launcherRecents,
                ElementsAre("com.example.a", "com.example.b"));
}

}  // namespace
}  // namespace kelvo

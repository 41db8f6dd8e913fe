#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <ctime>
#include <sstream>

#include "Base/Foundation/FileSystem.h"
#include "Base/JSON/JSONWriter.h"
#include "KelvoApp/Input/FocusBorder.h"
#include "KelvoApp/Input/PermissionGate.h"
#include "KelvoApp/TestMode/TestMode.h"
#include "Support/Base/TestFiles.h"
#include "Support/KelvoApp/CoordinatorFixture.h"

namespace kelvo {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

RunningApplication runningApp(int pid, std::optional<std::string> bundleID,
                              std::optional<std::filesystem::path> executable,
                              bool terminated = false) {
    RunningApplication app;
    app.pid = pid;
    app.bundleID = std::move(bundleID);
    app.executableURL = std::move(executable);
    app.terminated = terminated;
    return app;
}

class StartupTest : public CoordinatorFixture {
  protected:
    void writeSession(double bootTime, int activeDesktop = 1) {
        SessionSnapshot snapshot;
        snapshot.bootTime = bootTime;
        snapshot.activeDesktop = activeDesktop;
        writeAtomically(folder / "session.json",
                        JSONWriter::write(JSONCoding<SessionSnapshot>::encode(snapshot)));
    }
};

TEST_F(StartupTest, AdoptsTheExistingWindowsAndLogsInOrder) {
    window(1, CGRect(0, 25, 800, 600));
    window(2, CGRect(100, 100, 700, 500), "com.example.other");
    ASSERT_TRUE(start());

    const std::vector<std::string> lines = logLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "displays at launch: #1 1600x975 at (0,25)");
    EXPECT_THAT(lines, Contains("adopted 2 existing window(s) at launch (0 restored from "
                                "minimized), 0 re-read before adoption"));
    EXPECT_EQ(coordinator->storeWiring.store().desktop(WindowID(1)), 1);
    EXPECT_EQ(coordinator->storeWiring.store().desktop(WindowID(2)), 1);
    EXPECT_EQ(coordinator->focus.focused(), WindowID(1));
    EXPECT_TRUE(std::filesystem::exists(folder / "session.json"));
    EXPECT_TRUE(events->started);
    // The key tap, and the click tap of the default click binding.
    EXPECT_EQ(taps.installedCount(), 2u);
    EXPECT_TRUE(taps.tapFor(EventTaps::keyDown).has_value());
    EXPECT_TRUE(taps.tapFor(EventTaps::leftMouseDown).has_value());
    EXPECT_EQ(platform.requests.front(), "policy(accessory)");
    EXPECT_EQ(coordinator->ownWindows.desktopModel().count, 9);
    EXPECT_FALSE(coordinator->ownWindows.desktopModel().showName);
    EXPECT_EQ(coordinator->ownWindows.statusItem().item()->length(), 183);
    // The launch windows came before the adopted hook existed.
    EXPECT_THAT(events->tracked, IsEmpty());
    EXPECT_TRUE(coordinator->storeWiring.sessionReady());
}

TEST_F(StartupTest, WithoutTrustInTestModeQuitsWithStatusOneAndTouchesNothing) {
    platform.trusted = false;
    std::filesystem::remove(folder / "config.json");
    EXPECT_FALSE(start());
    EXPECT_EQ(exitStatus, 1);
    EXPECT_EQ(standardOutput(), "Accessibility permission denied; quitting.\n");
    EXPECT_THAT(platform.alerts, IsEmpty());
    EXPECT_FALSE(std::filesystem::exists(folder / "kelvo.log"));
    EXPECT_FALSE(std::filesystem::exists(folder / "session.json"));
}

TEST_F(StartupTest, WithoutTrustOutsideTestModeShowsBothAlerts) {
    testMode = false;
    platform.trusted = false;
    platform.alertAnswers = {PermissionGate::firstButton, PermissionGate::firstButton};
    EXPECT_FALSE(start());
    EXPECT_EQ(exitStatus, 1);
    ASSERT_EQ(platform.alerts.size(), 2u);
    EXPECT_EQ(platform.alerts[0].message, "Kelvo needs Accessibility access");
    EXPECT_EQ(platform.alerts[0].informative,
              "Kelvo moves and arranges your windows, which macOS only allows with "
              "Accessibility access.\n\nClick Continue and macOS will ask you to allow it, and "
              "open System Settings → Privacy & Security → Accessibility. Switch Kelvo on "
              "there, then come back.");
    EXPECT_THAT(platform.alerts[0].buttons, ElementsAre("Continue", "Quit"));
    EXPECT_EQ(platform.alerts[1].message, "Waiting for Accessibility access");
    EXPECT_EQ(platform.alerts[1].informative,
              "Switch Kelvo on in System Settings → Privacy & Security → Accessibility, then "
              "click Done.");
    EXPECT_THAT(platform.alerts[1].buttons, ElementsAre("Done", "Quit"));
    EXPECT_THAT(platform.requests, Contains("trustPrompt"));
    EXPECT_EQ(standardOutput(), "Accessibility permission denied; quitting.\n");
}

TEST_F(StartupTest, TrustGrantedThroughThePromptStartsUp) {
    testMode = false;
    platform.trusted = false;
    platform.promptGrants = true;
    platform.alertAnswers = {PermissionGate::firstButton, PermissionGate::firstButton};
    EXPECT_TRUE(start());
}

TEST_F(StartupTest, QuitInTheFirstAlertGivesNoPrompt) {
    testMode = false;
    platform.trusted = false;
    platform.alertAnswers = {1001};
    EXPECT_FALSE(start());
    EXPECT_EQ(platform.alerts.size(), 1u);
    EXPECT_THAT(platform.requests, ::testing::Not(Contains("trustPrompt")));
}

TEST_F(StartupTest, AnUnreadableConfigurationIsReportedAndTheDefaultsUsed) {
    writeAtomically(folder / "config.json", "{ not json");
    ASSERT_TRUE(start());
    const std::string error = standardError();
    EXPECT_THAT(error, ::testing::StartsWith("kelvo: " + (folder / "config.json").string() +
                                             " could not be read ("));
    EXPECT_THAT(error, ::testing::EndsWith("); using defaults.\n"));
    EXPECT_EQ(coordinator->configuration.config().desktopCount, Config::defaults().desktopCount);
}

TEST_F(StartupTest, ASessionWithinTwoSecondsOfTheBootIsRestored) {
    window(1, CGRect(0, 25, 800, 600));
    writeSession(platform.boot + 1.9, 3);
    ASSERT_TRUE(start());
    ASSERT_TRUE(coordinator->startup.previousSession().has_value());
    EXPECT_EQ(coordinator->storeWiring.store().activeDesktop(), 3);
    EXPECT_THAT(logLines(),
                ::testing::Not(Contains("session file is from an earlier boot - not restored")));
}

TEST_F(StartupTest, ASessionTwoSecondsAwayIsFromAnotherBoot) {
    writeSession(platform.boot + 2.0, 3);
    ASSERT_TRUE(start());
    EXPECT_FALSE(coordinator->startup.previousSession().has_value());
    EXPECT_EQ(coordinator->storeWiring.store().activeDesktop(), 1);
    EXPECT_THAT(logLines(), Contains("session file is from an earlier boot - not restored"));
}

TEST_F(StartupTest, AnUnknownBootTimeRestoresNothing) {
    platform.boot = 0;
    writeSession(0, 2);
    ASSERT_TRUE(start());
    EXPECT_FALSE(coordinator->startup.previousSession().has_value());
}

TEST_F(StartupTest, ARestoredDesktopBeyondTheCountIsIgnored) {
    initialConfig.desktopCount = 4;
    writeSession(platform.boot, 6);
    ASSERT_TRUE(start());
    EXPECT_EQ(coordinator->storeWiring.store().activeDesktop(), 1);
}

TEST_F(StartupTest, AnOutOfRangeDesktopCountIsClampedForTheStatusItemAndTheSession) {
    initialConfig.desktopCount = 12;
    writeSession(platform.boot, 11);
    ASSERT_TRUE(start());
    EXPECT_EQ(coordinator->storeWiring.store().activeDesktop(), 1);
    EXPECT_EQ(coordinator->ownWindows.desktopModel().count, 9);
    EXPECT_EQ(coordinator->ownWindows.statusItem().item()->length(), 183);
}

TEST_F(StartupTest, WithoutAMainScreenTheStoreUsesTheFallbackFrame) {
    platform.mainIndex.reset();
    ASSERT_TRUE(start());
    EXPECT_EQ(coordinator->storeWiring.screenFrame(), CGRect(0, 30, 3360, 1860));
    EXPECT_EQ(coordinator->storeWiring.store().screen(), CGRect(0, 30, 3360, 1860));
}

TEST_F(StartupTest, SevenCrashReportsGiveTheCountAndThreeNames) {
    const double now = static_cast<double>(::time(nullptr));
    for (int i = 0; i < 7; ++i)
        testing::addCrashReport(folder.path(), "KelvoApp-" + std::to_string(i) + ".ips",
                                now - (7 - i) * 3600);
    ASSERT_TRUE(start());
    const auto lines = logLines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0],
              "Kelvo crashed 7 time(s) since the last launch - About ▸ Diagnostics ▸ Report a "
              "problem gathers them with the log");
    EXPECT_EQ(lines[1], "  KelvoApp-6.ips");
    EXPECT_EQ(lines[2], "  KelvoApp-5.ips");
    EXPECT_EQ(lines[3], "  KelvoApp-4.ips");
    EXPECT_THAT(lines[4], ::testing::StartsWith("displays at launch: "));
}

TEST_F(StartupTest, InTestModeTheAboutPageReportsAndRevealsTheTestFoldersLog) {
    const auto standard = folder / "Library" / "Logs" / "Kelvo";
    std::filesystem::create_directories(standard);
    testing::writeText(standard / "kelvo.log", "another run's log\n");
    testing::writeText(folder / "kelvo.log.1", "the run before\n");
    ASSERT_TRUE(start());
    SettingsModel& settings = coordinator->ownWindows.settingsWindow().model;
    coordinator->processLog.flush();
    const auto report = settings.reportProblem();
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(testing::fileContents(*report / "kelvo.log"),
              testing::fileContents(folder / "kelvo.log"));
    EXPECT_THAT(testing::fileContents(*report / "kelvo.log"), HasSubstr("adopted "));
    EXPECT_EQ(testing::fileContents(*report / "kelvo-previous.log"), "the run before\n");
    settings.revealLogFile();
    EXPECT_EQ(simulated.desktop->fileViewerSelections().back(),
              std::vector<std::string>{(folder / "kelvo.log").string()});
}

TEST_F(StartupTest, TheKeyTapThatCannotBeMadeEndsWithStatusTwoAndEveryWindowBack) {
    window(1, CGRect(0, 25, 800, 600));
    taps.failures = {true};
    EXPECT_FALSE(start());
    EXPECT_EQ(exitStatus, 2);
    EXPECT_EQ(standardError(), "kelvo: the key tap could not be created; quitting.\n");
    EXPECT_EQ(logLines().back(), "kelvo: the key tap could not be created; quitting.");
}

TEST_F(StartupTest, TestModeBesideAnotherInstanceIsRefusedWithStatusThree) {
    platform.running = {
        runningApp(77, std::nullopt, "/opt/kelvo/KelvoApp"),
        runningApp(78, std::string(TestMode::bundleIdentifier),
                   "/Applications/Kelvo.app/Contents/MacOS/Kelvo"),
        runningApp(79, std::nullopt, "/opt/kelvo/KelvoApp", true),
        runningApp(platform.pid, std::nullopt, "/opt/kelvo/KelvoApp"),
    };
    EXPECT_FALSE(start());
    EXPECT_EQ(exitStatus, 3);
    EXPECT_EQ(standardError(),
              "kelvo: test mode refused — another Kelvo is running: /opt/kelvo/KelvoApp (pid "
              "77), /Applications/Kelvo.app/Contents/MacOS/Kelvo (pid 78)\n");
    EXPECT_THAT(platform.requests, ::testing::Not(Contains("trustPrompt")));
}

TEST_F(StartupTest, ASignalPutsEveryParkedWindowBackAndEndsWithZero) {
    window(1, CGRect(0, 25, 800, 600));
    ASSERT_TRUE(start());
    coordinator->commands.dispatch(Command::throwTo(2));
    settle();
    ASSERT_TRUE(coordinator->storeWiring.store().isParked(WindowID(1)));
    coordinator->startup.signalReceived(SIGTERM);
    EXPECT_EQ(exitStatus, 0);
    EXPECT_FALSE(coordinator->storeWiring.store().isParked(WindowID(1)));
    const auto frame = bridge->fake.actualFrame(WindowID(1));
    ASSERT_TRUE(frame.has_value());
    EXPECT_LT(frame->minX(), 1600);
    EXPECT_EQ(logLines().back(), "signal 15 - every parked window put back");
}

TEST_F(StartupTest, TheTerminateNotificationFlushesAndPutsWindowsBack) {
    window(1, CGRect(0, 25, 800, 600));
    ASSERT_TRUE(start());
    coordinator->commands.dispatch(Command::throwTo(3));
    settle();
    coordinator->startup.quitFromMenu();
    EXPECT_EQ(exitStatus, 0);
    EXPECT_FALSE(coordinator->storeWiring.store().isParked(WindowID(1)));
    EXPECT_EQ(logLines().back(), "quitting - every parked window put back");
}

TEST_F(StartupTest, TheApplicationsTerminateNoticeRunsTheQuitHandler) {
    window(1, CGRect(0, 25, 800, 600));
    ASSERT_TRUE(start());
    coordinator->commands.dispatch(Command::throwTo(2));
    settle();
    platform.willTerminate();
    EXPECT_FALSE(coordinator->storeWiring.store().isParked(WindowID(1)));
    EXPECT_EQ(logLines().back(), "quitting - every parked window put back");
}

TEST_F(StartupTest, KelvoLogCopiesEveryLineToStandardErrorEvenWhenEmpty) {
    environment["KELVO_LOG"] = "";
    ASSERT_TRUE(start());
    EXPECT_THAT(standardError(), HasSubstr("[kelvo] displays at launch: #1 1600x975 at (0,25)\n"));
}

TEST_F(StartupTest, FirstRunShowsTheGuideOnlyOutsideTestMode) {
    initialConfig.guideSeen = false;
    ASSERT_TRUE(start());
    EXPECT_THAT(logLines(), ::testing::Not(Contains("first run - showing the guide")));
}

TEST_F(StartupTest, FirstRunOutsideTestModeShowsTheGuide) {
    testMode = false;
    initialConfig.guideSeen = false;
    ASSERT_TRUE(start());
    const auto lines = logLines();
    EXPECT_THAT(lines, Contains("first run - showing the guide"));
    EXPECT_THAT(lines, Contains("guide opened on desktop 1"));
}

TEST_F(StartupTest, FloatingLaunchWindowsAreReadAgainAndReachTheAdoptedHook) {
    window(5, CGRect(100, 100, 300, 200)).floating();
    bridge->elements.insert(WindowID(5));
    ASSERT_TRUE(start());
    EXPECT_FALSE(coordinator->storeWiring.store().desktop(WindowID(5)).has_value());
    settle(2);
    EXPECT_TRUE(coordinator->storeWiring.store().desktop(WindowID(5)).has_value());
    EXPECT_THAT(events->tracked, ElementsAre(WindowID(5)));
    EXPECT_THAT(logLines(), Contains("adopt win#5 com.example.app floating (on re-read 3)"));
}

}  // namespace
}  // namespace kelvo

namespace kelvo {
namespace {

/// The lines of the record that are one of the milestones, in the order they came.
std::vector<std::string> milestones(const std::string& record,
                                    const std::vector<std::string>& wanted) {
    std::vector<std::string> found;
    std::istringstream lines(record);
    for (std::string line; std::getline(lines, line);) {
        for (const std::string& w : wanted) {
            if (line.starts_with(w)) {
                found.push_back(w);
                break;
            }
        }
    }
    return found;
}

class StartupOrderTest : public CoordinatorFixture {};

TEST_F(StartupOrderTest, StartUpRunsItsStepsInOrder) {
    window(1, CGRect(0, 25, 800, 600));
    recordOnStandardError();
    ASSERT_TRUE(start());
    const std::vector<std::string> wanted = {
        "[platform] policy(accessory)",
        "[platform] runningApplications",
        "[platform] isProcessTrusted",
        "[platform] mainScreen",
        "[kelvo] displays at launch: ",
        "[platform] bootTime",
        "[kelvo] adopted 1 existing window(s) at launch",
        "[platform] frontmostBundleID",
        "[events] start",
        "[taps] create 1024",
        "[taps] create 2",
    };
    EXPECT_EQ(milestones(standardError(), wanted), wanted);
}

TEST_F(StartupOrderTest, OutsideTestModeThePolicyComesFirstThenTheGateWithItsAlerts) {
    testMode = false;
    platform.trusted = false;
    platform.alertAnswers = {PermissionGate::firstButton, PermissionGate::firstButton};
    recordOnStandardError();
    EXPECT_FALSE(start());
    std::vector<std::string> calls;
    std::istringstream lines(standardError());
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("[platform] ")) calls.push_back(line);
    }
    EXPECT_THAT(calls, ElementsAre("[platform] policy(accessory)", "[platform] isProcessTrusted",
                                   "[platform] runAlert Kelvo needs Accessibility access",
                                   "[platform] isProcessTrusted(prompt)",
                                   "[platform] runAlert Waiting for Accessibility access",
                                   "[platform] isProcessTrusted"));
}

}  // namespace
}  // namespace kelvo

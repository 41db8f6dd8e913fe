#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "Base/JSON/JSONDecoder.h"
#include "Support/Simulator/Manager.h"
#include "Support/Tools/FixtureProcess.h"

namespace sim::testing {
namespace {

using kelvo::testing::processRuns;

constexpr const char* dockID = "com.apple.dock";

/// The parent of a running process, from its status.
pid_t parentOf(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("PPid:")) return std::stoi(line.substr(5));
    }
    return 0;
}

bool signalProcess(Manager& manager, Pid pid, int signal) {
    return kelvo::JSONNode(manager.connection->lines().call("signalProcess",
                                                            {{"pid", pid}, {"signal", signal}}))
        .decode<bool>("done");
}

TEST(DockProcessTest, TheServerKeepsADockProcessOfItsOwnAndStartsItAgainWhenItEnds) {
    DesktopProcess desktop(KELVO_SIM_PROGRAM, {"--dock"});
    const pid_t first = desktop.awaitOnly(dockID);
    ASSERT_NE(first, 0) << "no Dock registered";
    EXPECT_TRUE(processRuns(first));
    EXPECT_EQ(parentOf(first), desktop.server().pid());

    ASSERT_EQ(::kill(first, SIGKILL), 0);
    const pid_t second = desktop.awaitOnly(dockID, first);
    ASSERT_NE(second, 0) << "the Dock was not started again";
    EXPECT_FALSE(processRuns(first));
    EXPECT_TRUE(processRuns(second));
}

TEST(DockProcessTest, TheServersEndEndsItsDock) {
    DesktopProcess desktop(KELVO_SIM_PROGRAM, {"--dock"});
    const pid_t dock = desktop.awaitOnly(dockID);
    ASSERT_NE(dock, 0);
    desktop.server().signal(SIGTERM);
    EXPECT_EQ(desktop.server().waitForExit(), 0);
    EXPECT_FALSE(processRuns(dock));
}

TEST(DockProcessTest, WithoutTheFlagThereIsNoDock) {
    DesktopProcess desktop(KELVO_SIM_PROGRAM);
    FixtureProcess fixture(desktop);
    fixture.request(kelvo::FixtureRequest::ping());
    EXPECT_TRUE(desktop.pidsOf(dockID).empty());
}

TEST(DockProcessTest, OnlyAProcessThatRegisteredUnderItsOwnPidIsSignalled) {
    DesktopProcess desktop(KELVO_SIM_PROGRAM);
    Manager manager(desktop);
    // A client that claims another process's pid does not make that process signallable.
    kelvo::testing::ChildProcess bystander({"/bin/cat"});
    ApplicationSpec claim;
    claim.bundleID = "com.example.claim";
    claim.pid = bystander.pid();
    const Pid claimed = manager.connection->registerClient(claim);
    ASSERT_EQ(claimed, bystander.pid());
    EXPECT_FALSE(signalProcess(manager, claimed, SIGTERM));
    EXPECT_FALSE(signalProcess(manager, manager.pid, SIGTERM)) << "a pid the desktop chose";
    EXPECT_TRUE(bystander.isRunning());

    FixtureProcess fixture(desktop);
    const Pid real = *fixture.request(kelvo::FixtureRequest::ping()).pid;
    EXPECT_TRUE(signalProcess(manager, real, SIGTERM));
    EXPECT_EQ(fixture.process().waitForExit(), 128 + SIGTERM);
    // Once it is gone its pid is no longer trusted.
    ASSERT_TRUE(eventually([&] { return desktop.pidsOf("com.kelvo.fixture").empty(); }));
    EXPECT_FALSE(signalProcess(manager, real, SIGTERM));
}

}  // namespace
}  // namespace sim::testing

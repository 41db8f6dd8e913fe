#include <gtest/gtest.h>

#include <csignal>
#include <utility>
#include <vector>

#include "KelvoApp/Settings/DockRestarter.h"
#include "Simulator/SharedConnection.h"
#include "Support/Platform/DesktopFixture.h"
#include "Support/Simulator/Manager.h"

namespace kelvo {
namespace {

constexpr const char* dock = DockRestarter::dockBundleIdentifier;

/// Records the signals the desktop hands to this machine, delivering none.
class DockRestarterTests : public DesktopFixture {
  protected:
    DockRestarterTests() {
        desktop->setProcessSignaller([this](sim::Pid pid, int signal) {
            sent.emplace_back(pid, signal);
            return true;
        });
    }

    sim::Pid launchProcess(const std::string& bundleID) {
        const sim::Pid pid = launchAccessory(bundleID);
        desktop->confirmProcess(pid);
        return pid;
    }

    std::vector<std::pair<sim::Pid, int>> sent;
};

TEST_F(DockRestarterTests, ADockTheDesktopOnlySimulatesIsNeverSignalled) {
    const sim::Pid invented = launchAccessory(dock);
    DockRestarter::restart();
    EXPECT_TRUE(sent.empty()) << "pid " << invented << " was made up by the desktop";
    ASSERT_TRUE(desktop->application(invented));
    EXPECT_FALSE(desktop->application(invented)->terminated);
}

TEST_F(DockRestarterTests, EveryDockProcessGetsSIGTERMAndNothingElseDoes) {
    launchProcess("com.example.other");
    launchAccessory(dock);
    const sim::Pid first = launchProcess(dock);
    const sim::Pid second = launchProcess(dock);
    DockRestarter::restart();
    const std::vector<std::pair<sim::Pid, int>> expected = {{first, SIGTERM}, {second, SIGTERM}};
    EXPECT_EQ(sent, expected);
}

TEST_F(DockRestarterTests, ADockThatEndedIsNotSignalledAgain) {
    // Its pid may belong to another process by now.
    const sim::Pid ended = launchProcess(dock);
    desktop->terminate(ended, /*stayListed=*/true);
    DockRestarter::restart();
    EXPECT_TRUE(sent.empty());
}

TEST(DockRestarterProcessTest, TheDockProcessEndsAndTheDesktopStartsAnother) {
    testing::DesktopProcess desktop(KELVO_SIM_PROGRAM, {"--dock"});
    const pid_t first = desktop.awaitOnly(dock);
    ASSERT_NE(first, 0) << "no Dock registered";
    sim::testing::Manager self(desktop);
    sim::SharedConnection::install(self.connection);
    DockRestarter::restart();
    sim::SharedConnection::install(nullptr);
    const pid_t second = desktop.awaitOnly(dock, first);
    EXPECT_NE(second, 0) << "no new Dock";
    EXPECT_TRUE(testing::eventually([&] { return !testing::processRuns(first); }));
    EXPECT_TRUE(testing::processRuns(second));
}

}  // namespace
}  // namespace kelvo

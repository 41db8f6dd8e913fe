#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cerrno>
#include <memory>
#include <mutex>
#include <vector>

#include "Simulator/Server/BundleProcesses.h"
#include "Support/Base/ChildProcess.h"
#include "Support/Simulator/ApplicationTree.h"

namespace sim {
namespace {

using kelvo::ApplicationTree;
using kelvo::BundleContents;
using kelvo::testing::eventually;

/// The processes started for bundles written into a temporary folder, with every end they
/// report.
class BundleProcessesTest : public ::testing::Test {
  protected:
    ApplicationBundle bundle(const std::string& name, const std::string& executable) {
        return *ApplicationBundle::read(ApplicationTree::install(
            folder.path(), name + ".app", BundleContents{.name = name, .executable = executable}));
    }
    std::vector<pid_t> ended() {
        std::lock_guard lock(mutex);
        return ends;
    }
    /// The process is no longer this one's child: it has been collected. Asked without
    /// collecting it.
    static bool collected(pid_t pid) {
        siginfo_t info{};
        return ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == -1 &&
               errno == ECHILD;
    }

    kelvo::testing::TemporaryFolder folder;
    std::mutex mutex;
    std::vector<pid_t> ends;
    std::unique_ptr<BundleProcesses> processes =
        std::make_unique<BundleProcesses>("/nowhere/desktop.sock", [this](pid_t pid) {
            std::lock_guard lock(mutex);
            // Told before the pid is collected, so it cannot yet be another process's.
            EXPECT_FALSE(collected(pid));
            ends.push_back(pid);
        });
};

TEST_F(BundleProcessesTest, AProcessThatExitsAtOnceIsReportedEndedAndCollected) {
    const pid_t pid = processes->start(bundle("Quitter", "#!/bin/sh\nexit 3\n"));
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(eventually([&] { return ended() == std::vector<pid_t>{pid}; }));
    EXPECT_TRUE(eventually([&] { return collected(pid); })) << "left a zombie";
}

TEST_F(BundleProcessesTest, AProcessStillRunningWhenTheyGoIsEndedByItsPidAndReported) {
    const pid_t pid = processes->start(bundle("Sleeper", "#!/bin/sh\nexec sleep 600\n"));
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(kelvo::testing::processRuns(pid));
    EXPECT_TRUE(ended().empty());
    processes.reset();
    EXPECT_EQ(ended(), std::vector<pid_t>{pid});
    EXPECT_TRUE(collected(pid));
}

TEST_F(BundleProcessesTest, ABundleWithoutAnExecutableStartsNothing) {
    EXPECT_EQ(processes->start(bundle("Hollow", "")), 0);
    processes.reset();
    EXPECT_TRUE(ended().empty());
}

}  // namespace
}  // namespace sim

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "Support/Base/ChildProcess.h"

namespace kelvo::testing {
namespace {

/// With this variable set, the suite's own program stands in for a test binary: it starts the
/// program the variable names as a `ChildProcess` (with "600" as its argument), writes the
/// child's pid on standard output and waits to be killed. It decides before `main`, so that
/// nothing of the test runner starts in it.
constexpr const char* parentRole = "KELVO_TEST_PARENT_OF";

[[maybe_unused]] const bool actsAsParent = [] {
    const char* program = std::getenv(parentRole);
    if (!program) return false;
    ChildProcess child({program, "600"});
    std::printf("%d\n", static_cast<int>(child.pid()));
    std::fflush(stdout);
    for (;;)
        ::pause();
}();

/// The process's state letter and start time (in clock ticks since boot), from /proc; none
/// once the process has gone (reaped).
struct ProcessStat {
    char state = '?';
    unsigned long long startTime = 0;
};

std::optional<ProcessStat> statOf(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    if (!std::getline(file, text)) return std::nullopt;
    // "pid (name) state ppid ..."; the name may hold blanks and parentheses, so read after the
    // last ')'. The start time is the 22nd field, the 20th after the name.
    const auto close = text.rfind(')');
    if (close == std::string::npos) return std::nullopt;
    std::istringstream fields(text.substr(close + 1));
    ProcessStat stat;
    fields >> stat.state;
    std::string skipped;
    for (int i = 0; i < 18; ++i)
        fields >> skipped;
    fields >> stat.startTime;
    return stat;
}

/// The process that had this start time still runs: not reaped, not a zombie, and its pid not
/// taken by another process since.
bool stillRuns(pid_t pid, unsigned long long startTime) {
    const auto stat = statOf(pid);
    return stat && stat->state != 'Z' && stat->state != 'X' && stat->startTime == startTime;
}

// A test binary that CTest kills at its timeout runs no destructor; the processes its harness
// started must end with it all the same.
TEST(ChildProcessTest, AChildEndsWhenTheProcessThatStartedItIsKilled) {
    ChildProcess parent({std::filesystem::read_symlink("/proc/self/exe").string()},
                        {{parentRole, "/bin/sleep"}});
    const auto line = parent.readLine();
    ASSERT_TRUE(line) << "the stand-in test did not start its child";
    const pid_t child = std::stoi(*line);
    const auto started = statOf(child);
    ASSERT_TRUE(started);
    ASSERT_TRUE(stillRuns(child, started->startTime));

    parent.signal(SIGKILL);
    EXPECT_EQ(parent.waitForExit(), 128 + SIGKILL);
    EXPECT_TRUE(eventually([&] { return !stillRuns(child, started->startTime); }))
        << "the child " << child << " outlived the process that started it";
    // Should it have survived, it is not left behind by this test either.
    if (stillRuns(child, started->startTime)) ::kill(child, SIGKILL);
}

TEST(ChildProcessTest, AProgramThatCannotBeStartedIsReportedAtOnce) {
    EXPECT_THROW(ChildProcess({"/nonexistent/kelvo-program"}), std::runtime_error);
}

}  // namespace
}  // namespace kelvo::testing

#pragma once

#include <sys/types.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kelvo::testing {

/// A program a test starts, with pipes to its standard input and output. Whatever happens to
/// the test, the process is ended by its pid when this object goes (SIGKILL, then reaped), so
/// no test leaves a process behind; and when the test process dies without running its
/// destructors (a CTest timeout kills it), the kernel kills the child with it (a parent-death
/// signal, asked for between the fork and the exec). That signal follows the thread that made
/// the object: make it on a thread that lives as long as the process (the test's own).
/// Waiting always has a bound; nothing sleeps a fixed time.
class ChildProcess {
  public:
    static constexpr std::chrono::seconds generousWait{20};

    /// Starts `arguments[0]` with the rest as its arguments and `environment` added to (or
    /// replacing in) this process's environment. Its standard error is this process's.
    ChildProcess(std::vector<std::string> arguments,
                 const std::map<std::string, std::string>& environment = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }

    /// Writes to the process's standard input; false once it no longer reads.
    bool write(const std::string& bytes);
    bool writeLine(const std::string& line) { return write(line + "\n"); }
    void closeInput();
    /// The next line of its standard output, or none at the end of output or after `wait`.
    std::optional<std::string> readLine(std::chrono::milliseconds wait = generousWait);
    /// Everything it writes until the end of its output (bounded by `wait`).
    std::string readAll(std::chrono::milliseconds wait = generousWait);

    void signal(int signal);
    /// Its exit status (or 128 + the signal that ended it) once it has ended within `wait`.
    std::optional<int> waitForExit(std::chrono::milliseconds wait = generousWait);
    bool isRunning();

  private:
    /// In the forked child: asks for the parent-death signal, puts the pipes on standard input
    /// and output and runs the program; on failure reports errno on `report` and exits.
    [[noreturn]] static void becomeProgram(const std::vector<char*>& argv,
                                           const std::vector<char*>& envp, int input, int output,
                                           int report, pid_t parent);
    static bool onto(int from, int to);
    bool fill(std::chrono::steady_clock::time_point deadline);

    pid_t pid_ = -1;
    int input_ = -1;
    int output_ = -1;
    std::string buffer_;
    std::optional<int> status_;
};

/// Whether a process with that pid runs on this machine (one that has ended but was not yet
/// collected by its parent does not).
bool processRuns(pid_t pid);

/// Polls `condition` until it holds or `wait` has passed; true when it held. The checks start
/// a millisecond apart and spread out to `longestPause`.
template <class Condition>
bool eventually(Condition condition, std::chrono::milliseconds wait = ChildProcess::generousWait,
                std::chrono::milliseconds longestPause = std::chrono::milliseconds(50)) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    auto pause = std::min(std::chrono::milliseconds(1), longestPause);
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        // Polling, not waiting for a fixed time: the pause only spaces out the checks.
        struct timespec gap {
            0, static_cast<long>(pause.count()) * 1000000L
        };
        ::nanosleep(&gap, nullptr);
        pause = std::min(pause * 2, longestPause);
    }
}

}  // namespace kelvo::testing

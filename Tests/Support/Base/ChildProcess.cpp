#include "Support/Base/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <utility>

extern char** environ;

namespace kelvo::testing {

namespace {

std::vector<std::string> mergedEnvironment(const std::map<std::string, std::string>& extra) {
    std::map<std::string, std::string> merged;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text(*entry);
        const auto equals = text.find('=');
        if (equals != std::string::npos) merged[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const auto& [key, value] : extra)
        merged[key] = value;
    std::vector<std::string> lines;
    for (const auto& [key, value] : merged)
        lines.push_back(key + "=" + value);
    return lines;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> result;
    for (auto& text : texts)
        result.push_back(text.data());
    result.push_back(nullptr);
    return result;
}

}  // namespace

ChildProcess::ChildProcess(std::vector<std::string> arguments,
                           const std::map<std::string, std::string>& environment) {
    int in[2], out[2], report[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 ||
        ::pipe2(report, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    // Everything the child needs is made before the fork: between the fork and the exec it
    // may only make system calls.
    auto environmentLines = mergedEnvironment(environment);
    auto argv = pointers(arguments);
    auto envp = pointers(environmentLines);
    const pid_t parent = ::getpid();
    pid_ = ::fork();
    if (pid_ == 0) becomeProgram(argv, envp, in[0], out[1], report[1], parent);
    const int forkError = errno;
    ::close(in[0]);
    ::close(out[1]);
    ::close(report[1]);
    input_ = in[1];
    output_ = out[0];
    // The report pipe closes at a successful exec; otherwise it carries the exec's errno.
    int error = pid_ < 0 ? forkError : 0;
    if (pid_ > 0) {
        ssize_t count = 0;
        while ((count = ::read(report[0], &error, sizeof(error))) < 0 && errno == EINTR) {
        }
        if (count != static_cast<ssize_t>(sizeof(error))) error = 0;
    }
    ::close(report[0]);
    if (error != 0) {
        if (pid_ > 0) {
            int status = 0;
            while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
            }
        }
        ::close(input_);
        ::close(output_);
        throw std::runtime_error("cannot start " + arguments.front() + ": " + std::strerror(error));
    }
    // A test that writes to a process that has ended must see a failed write, not SIGPIPE.
    ::signal(SIGPIPE, SIG_IGN);
}

void ChildProcess::becomeProgram(const std::vector<char*>& argv, const std::vector<char*>& envp,
                                 int input, int output, int report, pid_t parent) {
    // The kernel kills the child when the thread that forked it ends, however the test process
    // dies (a CTest timeout's SIGKILL included). A parent that died before the request was
    // made is caught by the check that follows it: the child has been handed to another
    // process by then.
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) == 0 && ::getppid() == parent &&
        onto(input, STDIN_FILENO) && onto(output, STDOUT_FILENO)) {
        ::execve(argv.front(), argv.data(), envp.data());
    }
    const int error = errno;
    [[maybe_unused]] const ssize_t ignored = ::write(report, &error, sizeof(error));
    ::_exit(127);
}

bool ChildProcess::onto(int from, int to) {
    // dup2 of a descriptor onto itself keeps its close-on-exec flag; clear it by hand then.
    if (from == to) return ::fcntl(to, F_SETFD, 0) == 0;
    return ::dup2(from, to) == to;
}

ChildProcess::~ChildProcess() {
    if (!status_) {
        ::kill(pid_, SIGKILL);
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
    }
    if (input_ >= 0) ::close(input_);
    ::close(output_);
}

bool ChildProcess::write(const std::string& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(input_, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return false;
        written += static_cast<std::size_t>(count);
    }
    return true;
}

void ChildProcess::closeInput() {
    if (input_ >= 0) ::close(input_);
    input_ = -1;
}

bool ChildProcess::fill(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd p{output_, POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) return true;
    if (ready <= 0) return false;
    char chunk[4096];
    const ssize_t count = ::read(output_, chunk, sizeof(chunk));
    if (count <= 0) return false;
    buffer_.append(chunk, static_cast<std::size_t>(count));
    return true;
}

std::optional<std::string> ChildProcess::readLine(std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const auto end = buffer_.find('\n');
        if (end != std::string::npos) {
            std::string line = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            return line;
        }
        if (!fill(deadline)) return std::nullopt;
    }
}

std::string ChildProcess::readAll(std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (fill(deadline)) {
    }
    return std::exchange(buffer_, {});
}

void ChildProcess::signal(int signal) {
    if (!status_) ::kill(pid_, signal);
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds wait) {
    if (status_) return status_;
    const bool ended = eventually(
        [&] {
            int status = 0;
            const pid_t result = ::waitpid(pid_, &status, WNOHANG);
            if (result != pid_) return false;
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return true;
        },
        wait);
    return ended ? status_ : std::nullopt;
}

bool ChildProcess::isRunning() {
    return !waitForExit(std::chrono::milliseconds(0));
}

bool processRuns(pid_t pid) {
    if (pid <= 0) return false;
    // The state follows the command's closing parenthesis: "Z" for a zombie.
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    if (!std::getline(stat, text)) return false;
    const auto close = text.rfind(')');
    return close != std::string::npos && close + 2 < text.size() && text[close + 2] != 'Z';
}

}  // namespace kelvo::testing

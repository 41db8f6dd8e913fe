#include "Simulator/Server/BundleProcesses.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <thread>
#include <vector>

extern char** environ;

namespace sim {

namespace {

/// This process's environment with the desktop's socket set.
std::vector<std::string> childEnvironment(const std::string& socketPath) {
    std::vector<std::string> variables;
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string variable(*entry);
        if (!variable.starts_with("KELVO_SIM_SOCKET=")) variables.push_back(variable);
    }
    variables.push_back("KELVO_SIM_SOCKET=" + socketPath);
    return variables;
}

bool hasEnded(pid_t pid) {
    int status = 0;
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    return done == pid || (done < 0 && errno == ECHILD);
}

}  // namespace

pid_t BundleProcesses::start(const ApplicationBundle& bundle) {
    std::lock_guard lock(mutex_);
    reapLocked();
    const std::string executable = bundle.executablePath().string();
    if (::access(executable.c_str(), X_OK) != 0) return 0;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const auto variables = childEnvironment(socketPath_);
    std::vector<char*> environment;
    for (const auto& variable : variables)
        environment.push_back(const_cast<char*>(variable.c_str()));
    environment.push_back(nullptr);
    std::vector<char*> arguments = {const_cast<char*>(executable.c_str()), nullptr};

    pid_t pid = 0;
    const int failed = ::posix_spawn(&pid, executable.c_str(), &actions, nullptr, arguments.data(),
                                     environment.data());
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) return 0;
    running_.insert(pid);
    return pid;
}

void BundleProcesses::reapLocked() {
    std::erase_if(running_, hasEnded);
}

BundleProcesses::~BundleProcesses() {
    std::lock_guard lock(mutex_);
    reapLocked();
    for (const pid_t pid : running_)
        ::kill(pid, SIGTERM);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(endingGrace);
    while (!running_.empty() && std::chrono::steady_clock::now() < deadline) {
        reapLocked();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    for (const pid_t pid : running_) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
}

}  // namespace sim

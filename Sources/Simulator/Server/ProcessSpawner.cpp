#include "Simulator/Server/ProcessSpawner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

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

std::vector<char*> pointersTo(const std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (const auto& text : texts)
        pointers.push_back(const_cast<char*>(text.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

pid_t ProcessSpawner::start(const std::string& executable,
                            const std::vector<std::string>& arguments,
                            const std::string& socketPath) {
    if (::access(executable.c_str(), X_OK) != 0) return 0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> argumentTexts = {executable};
    argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());
    const auto argumentPointers = pointersTo(argumentTexts);
    const auto variables = childEnvironment(socketPath);
    const auto environment = pointersTo(variables);

    pid_t pid = 0;
    const int failed = ::posix_spawn(&pid, executable.c_str(), &actions, nullptr,
                                     argumentPointers.data(), environment.data());
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0 ? pid : 0;
}

void ProcessSpawner::awaitEnd(pid_t pid) {
    siginfo_t info{};
    while (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) != 0 &&
           errno == EINTR) {
    }
}

}  // namespace sim

#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace sim {

/// The processes the desktop's server starts: each is told where the desktop is
/// (`KELVO_SIM_SOCKET`), with nothing on its input and its output thrown away; its errors go
/// where the server's go.
struct ProcessSpawner {
    ProcessSpawner() = delete;

    /// Starts the executable with these arguments after its name; its pid, or 0 when it could
    /// not be started.
    static pid_t start(const std::string& executable, const std::vector<std::string>& arguments,
                       const std::string& socketPath);
    /// Waits until the child has ended, leaving it to be collected: until then its pid is
    /// still its own.
    static void awaitEnd(pid_t pid);
};

}  // namespace sim

#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Support/Base/ChildProcess.h"
#include "Support/Base/TemporaryFolder.h"

namespace kelvo::testing {

/// `kelvo-sim serve` as a process on a socket in a temporary folder, started and ready (it
/// accepts connections) when the constructor returns, ended by its pid when this goes.
class DesktopProcess {
  public:
    /// `program` is the path of kelvo-sim; `serveArguments` follow "serve --socket PATH".
    explicit DesktopProcess(std::string program, std::vector<std::string> serveArguments = {});

    const std::string& socketPath() const { return socketPath_; }
    /// The environment that points a program at this desktop.
    std::map<std::string, std::string> environment() const;
    ChildProcess& server() { return *server_; }

    struct Result {
        int status = -1;
        std::string output;
    };
    /// Runs one client verb of kelvo-sim against this desktop and waits for it to end.
    Result run(std::vector<std::string> verbAndArguments);
    /// The lines a verb printed, each one JSON object.
    std::vector<std::string> lines(std::vector<std::string> verbAndArguments);
    /// The pids of the running applications with that bundle identifier, as `apps` lists them.
    std::vector<pid_t> pidsOf(const std::string& bundleID);
    /// The pid of the one running application with that bundle identifier, once there is
    /// exactly one and it is not `other`; 0 when none came within the bound.
    pid_t awaitOnly(const std::string& bundleID, pid_t other = 0);

    /// True when something accepts connections at `path`.
    static bool accepts(const std::string& path);

  private:
    std::string program_;
    TemporaryFolder folder_;
    std::string socketPath_;
    std::unique_ptr<ChildProcess> server_;
};

}  // namespace kelvo::testing

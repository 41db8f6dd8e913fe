#include "Support/Simulator/DesktopProcess.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <sstream>
#include <stdexcept>

#include "Base/JSON/JSONCoding.h"

namespace kelvo::testing {

DesktopProcess::DesktopProcess(std::string program, std::vector<std::string> serveArguments)
    : program_(std::move(program)), socketPath_((folder_ / "desktop.sock").string()) {
    std::vector<std::string> arguments = {program_, "serve", "--socket", socketPath_};
    arguments.insert(arguments.end(), serveArguments.begin(), serveArguments.end());
    server_ = std::make_unique<ChildProcess>(arguments);
    const bool ready = eventually([&] { return accepts(socketPath_) || !server_->isRunning(); });
    if (!ready || !server_->isRunning()) {
        throw std::runtime_error("the desktop did not start at " + socketPath_);
    }
}

bool DesktopProcess::accepts(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) return false;
    std::memcpy(address.sun_path, path.data(), path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool connected =
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return connected;
}

std::map<std::string, std::string> DesktopProcess::environment() const {
    return {{"KELVO_SIM_SOCKET", socketPath_}};
}

DesktopProcess::Result DesktopProcess::run(std::vector<std::string> verbAndArguments) {
    verbAndArguments.insert(verbAndArguments.begin(), program_);
    ChildProcess client(verbAndArguments, environment());
    client.closeInput();
    Result result;
    result.output = client.readAll();
    result.status = client.waitForExit().value_or(-1);
    return result;
}

std::vector<std::string> DesktopProcess::lines(std::vector<std::string> verbAndArguments) {
    const Result result = run(std::move(verbAndArguments));
    std::vector<std::string> lines;
    std::istringstream stream(result.output);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

std::vector<pid_t> DesktopProcess::pidsOf(const std::string& bundleID) {
    std::vector<pid_t> pids;
    for (const auto& line : lines({"apps"})) {
        const JSONValue value = JSONNode::parse(line);
        const JSONNode app(value);
        if (app.decodeIfPresent<std::string>("bundleID") == bundleID &&
            !app.decode<bool>("terminated"))
            pids.push_back(app.decode<pid_t>("pid"));
    }
    return pids;
}

pid_t DesktopProcess::awaitOnly(const std::string& bundleID, pid_t other) {
    pid_t only = 0;
    eventually([&] {
        const auto pids = pidsOf(bundleID);
        only = pids.size() == 1 && pids[0] != other ? pids[0] : 0;
        return only != 0;
    });
    return only;
}

}  // namespace kelvo::testing

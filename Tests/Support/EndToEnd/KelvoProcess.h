#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KelvoCore/Keys/Command.h"
#include "KelvoCore/Wire/KelvoTestReply.h"
#include "KelvoCore/Wire/KelvoTestRequest.h"
#include "Support/Base/ChildProcess.h"

namespace kelvo::testing {

/// `KelvoApp` as a process beside a desktop, driven over its test-mode session and watched
/// through its log and its standard error. Its files (configuration, session, log) live in a
/// folder the test owns; the process is ended by its pid when this object goes.
class KelvoProcess {
  public:
    struct Options {
        /// The desktop's environment (`KELVO_SIM_SOCKET`); empty for a process with no desktop.
        std::map<std::string, std::string> desktop;
        /// The folder of the test-mode files; none runs Kelvo outside test mode.
        std::optional<std::filesystem::path> testFolder;
        /// Added to (or replacing in) the environment, after the two above.
        std::map<std::string, std::string> environment;
    };

    KelvoProcess(const std::string& program, const Options& options,
                 const std::filesystem::path& home);

    ChildProcess& process() { return *process_; }
    pid_t pid() const { return process_->pid(); }

    /// Writes one line and reads the one reply line; none when no reply came in time.
    std::optional<std::string> exchange(const std::string& line);
    /// The reply to a request, a failure reply carrying "no reply" when none came.
    KelvoTestReply request(const KelvoTestRequest& request);
    KelvoTestReply ping() { return request(KelvoTestRequest::ping()); }
    KelvoTestReply state(const std::vector<WindowID>& windows = {}) {
        return request(KelvoTestRequest::state(windows));
    }
    KelvoTestReply command(const Command& command) {
        return request(KelvoTestRequest::commandRequest(command));
    }
    /// Sends "quit" and waits for the process to end; its exit status.
    std::optional<int> quit();

    /// The log's messages in order, each without its timestamp.
    std::vector<std::string> logMessages() const;
    /// Waits until a message at position `from` or later contains `text`; its position.
    std::optional<std::size_t> waitForLog(const std::string& text, std::size_t from = 0) const;
    /// Waits until a message at position `from` or later is exactly `message`; its position.
    std::optional<std::size_t> waitForLine(const std::string& message, std::size_t from = 0) const;
    /// Waits until a message at position `from` or later meets `matches`; its position.
    std::optional<std::size_t> waitForMessage(
        std::size_t from, const std::function<bool(const std::string&)>& matches) const;
    /// False once a request went without a reply: the process no longer serves its session.
    bool responsive() const { return !unanswered_; }
    /// What the process has written on standard error so far.
    std::string standardError() const;
    /// The file its standard error goes to.
    const std::filesystem::path& standardErrorFile() const { return standardErrorFile_; }
    /// The test-mode folder, when there is one.
    const std::optional<std::filesystem::path>& testFolder() const { return testFolder_; }

  private:
    std::optional<std::filesystem::path> testFolder_;
    std::filesystem::path standardErrorFile_;
    std::unique_ptr<ChildProcess> process_;
    /// A request went without a reply within the bound.
    bool unanswered_ = false;
};

}  // namespace kelvo::testing

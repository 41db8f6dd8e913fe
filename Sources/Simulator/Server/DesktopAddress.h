#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace sim {

class SocketConnection;

/// Where a program finds the desktop: the socket named by `KELVO_SIM_SOCKET`.
struct DesktopAddress {
    DesktopAddress() = delete;

    static constexpr const char* environmentVariable = "KELVO_SIM_SOCKET";
    /// Seconds the desktop may take over a request before it counts as gone; tests shorten it.
    static constexpr const char* deadlineVariable = "KELVO_SIM_DEADLINE";
    /// Long enough for the desktop's heaviest request (a window's pixels, every window listed)
    /// under the sanitizers on a busy machine; short enough that a stalled desktop ends the
    /// system well before a person gives up on it.
    static constexpr std::chrono::seconds defaultDeadline{5};

    /// The path in the environment; none when the variable is unset or empty.
    static std::optional<std::string> fromEnvironment();
    /// The path in the environment, or the one the desktop's programs agree on when none is
    /// given (so that a person can start a desktop and drive it from the same shell).
    static std::string fromEnvironmentOrDefault();
    /// A socket of this user's in the temporary folder.
    static std::string defaultPath();

    /// The connection deadline: the environment's when it holds a positive number of seconds.
    static std::chrono::steady_clock::duration deadline();

    /// A connection to the desktop listening at the path, with the connection deadline;
    /// throws `std::runtime_error` (a `SocketError`) when nothing listens there. The one way a
    /// program reaches the socket.
    static std::shared_ptr<SocketConnection> connect(const std::string& path);
    /// The same for a program that may ask nothing for long and must still learn that the
    /// desktop stopped: a desktop silent for a deadline is asked whether it is there, and one
    /// that stays silent for two deadlines more is gone, so within three deadlines of stopping.
    /// Asked only after silence, so a desktop that talks is never asked.
    static std::shared_ptr<SocketConnection> connectWatching(const std::string& path);
};

}  // namespace sim

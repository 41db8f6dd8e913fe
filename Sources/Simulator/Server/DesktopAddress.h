#pragma once

#include <memory>
#include <optional>
#include <string>

#include "Simulator/DesktopConnection.h"

namespace sim {

/// Where a program finds the desktop: the socket named by `KELVO_SIM_SOCKET`.
struct DesktopAddress {
    DesktopAddress() = delete;

    static constexpr const char* environmentVariable = "KELVO_SIM_SOCKET";

    /// The path in the environment; none when the variable is unset or empty.
    static std::optional<std::string> fromEnvironment();
    /// The path in the environment, or the one the desktop's programs agree on when none is
    /// given (so that a person can start a desktop and drive it from the same shell).
    static std::string fromEnvironmentOrDefault();
    /// A socket of this user's in the temporary folder.
    static std::string defaultPath();

    /// A connection to the desktop listening at the path; throws `std::runtime_error` (a
    /// `SocketError`) when nothing listens there. The one way a program reaches the socket.
    static std::shared_ptr<DesktopConnection> connect(const std::string& path);
};

}  // namespace sim

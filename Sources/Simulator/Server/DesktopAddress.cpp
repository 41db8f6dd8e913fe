#include "Simulator/Server/DesktopAddress.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "Simulator/Server/SocketConnection.h"

namespace sim {

std::optional<std::string> DesktopAddress::fromEnvironment() {
    const char* value = std::getenv(environmentVariable);
    if (!value || !*value) return std::nullopt;
    return std::string(value);
}

std::string DesktopAddress::fromEnvironmentOrDefault() {
    return fromEnvironment().value_or(defaultPath());
}

std::string DesktopAddress::defaultPath() {
    std::error_code error;
    auto folder = std::filesystem::temp_directory_path(error);
    if (error) folder = "/tmp";
    return (folder / ("kelvo-sim-" + std::to_string(::getuid()) + ".sock")).string();
}

std::chrono::steady_clock::duration DesktopAddress::deadline() {
    const char* value = std::getenv(deadlineVariable);
    if (value && *value) {
        char* end = nullptr;
        const double seconds = std::strtod(value, &end);
        if (end && *end == '\0' && seconds > 0 && seconds < 86400) {
            return std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                std::chrono::duration<double>(seconds));
        }
    }
    return defaultDeadline;
}

std::shared_ptr<SocketConnection> DesktopAddress::connect(const std::string& path) {
    return std::make_shared<SocketConnection>(path, deadline());
}

std::shared_ptr<SocketConnection> DesktopAddress::connectWatching(const std::string& path) {
    return std::make_shared<SocketConnection>(path, deadline(), deadline());
}

}  // namespace sim

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

std::shared_ptr<DesktopConnection> DesktopAddress::connect(const std::string& path) {
    return std::make_shared<SocketConnection>(path);
}

}  // namespace sim

#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kelvo {

/// Opens a new terminal window. Until the terminal launcher is built it records each request
/// and opens nothing.
class TerminalLauncher {
  public:
    TerminalLauncher() = delete;

    struct Request {
        std::optional<std::string> configured;
        bool operator==(const Request&) const = default;
    };

    static void open(const std::optional<std::string>& configured,
                     const std::function<void(const std::string&)>& expectActivation,
                     const std::function<void(const std::string&)>& log);
    /// Every request since the process began; main thread only.
    static std::vector<Request>& requests();
};

}  // namespace kelvo

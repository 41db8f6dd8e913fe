#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace kelvo {

/// A pick of the launcher: the application's entry and its location on disk, when known.
struct LauncherApp {
    struct Entry {
        std::string bundleID;
        std::string name;
        bool isRunning = false;
        bool operator==(const Entry&) const = default;
    };
    Entry entry;
    std::optional<std::filesystem::path> url;
    bool operator==(const LauncherApp&) const = default;
};

}  // namespace kelvo

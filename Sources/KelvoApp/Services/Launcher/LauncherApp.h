#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "KelvoCore/Launcher/LauncherEntry.h"

namespace kelvo {

/// A pick of the launcher: the application's entry and its location on disk, when known.
struct LauncherApp {
    LauncherEntry entry;
    std::optional<std::filesystem::path> url;
    bool operator==(const LauncherApp&) const = default;
};

}  // namespace kelvo

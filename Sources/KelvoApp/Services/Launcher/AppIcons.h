#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "Platform/AppKit/NSImage.h"

namespace kelvo {

/// An application's icon for the launcher's rows, looked up once per bundle identifier: an
/// icon that could not be found is remembered as absent too. Main thread only.
class AppIcons {
  public:
    AppIcons() = delete;
    /// The icon of the bundle at `url`, or else of the workspace's location for the
    /// identifier; null when neither is known.
    static NSImageRef icon(const std::string& bundleID,
                           const std::optional<std::filesystem::path>& url);

  private:
    static std::map<std::string, NSImageRef>& memo();
};

}  // namespace kelvo

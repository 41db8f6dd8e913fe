#pragma once

#include <optional>
#include <string>
#include <vector>

#include "KelvoApp/Applications/AppEntry.h"
#include "Platform/AppKit/NSImage.h"

namespace kelvo {

/// Other applications by bundle identifier, as the shared workspace knows them: the name to
/// show, the icon, and the running applications that rules can name. Main thread; every call
/// asks the workspace afresh.
class AppCatalog {
  public:
    AppCatalog() = delete;

    /// The installed application's display name; none when no application has the identifier.
    static std::optional<std::string> name(const std::string& bundleID);
    /// The running regular applications, one per bundle identifier, by name.
    static std::vector<AppEntry> running();
    /// The installed application's icon; none when no application has the identifier.
    static NSImageRef icon(const std::string& bundleID);
};

}  // namespace kelvo

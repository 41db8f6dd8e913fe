#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "KelvoApp/Services/Launcher/LauncherApp.h"

namespace kelvo {

/// The launcher's candidates by bundle identifier: the applications installed in the usual
/// folders and the regular applications running now.
class LauncherCatalog {
  public:
    LauncherCatalog() = delete;

    /// "/Applications", the user's "Applications" and "/System/Applications", in that order;
    /// made once, on first use.
    static const std::vector<std::filesystem::path>& roots();
    /// Every installed application, the first copy of a bundle identifier winning (root
    /// order, then listing order). Reads the file system: call it off the main thread.
    static std::map<std::string, LauncherApp> installed();
    /// The regular running applications, the first of a bundle identifier winning. Main thread.
    static std::map<std::string, LauncherApp> running();

  private:
    static std::string displayName(const std::filesystem::path& url);
    static std::vector<std::filesystem::path> candidates(const std::filesystem::path& root);
};

}  // namespace kelvo

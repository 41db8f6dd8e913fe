#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "Simulator/ApplicationInfo.h"

namespace sim {

/// An application bundle on disk: a folder "Name.app" holding "Contents/Info.plist" (an XML
/// property list), "Contents/MacOS/" with the executable and "Contents/Resources/" with the
/// icon. Read afresh each time; nothing is kept between reads.
struct ApplicationBundle {
    static constexpr const char* infoPlistPath = "Contents/Info.plist";
    static constexpr const char* executableFolder = "Contents/MacOS";
    static constexpr const char* resourcesFolder = "Contents/Resources";

    std::filesystem::path path;
    /// The information dictionary's text values, by key (other kinds are left out).
    std::map<std::string, std::string> infoDictionary;
    std::optional<std::string> bundleID;
    /// Accessory for an agent ("LSUIElement"), prohibited for a background-only application.
    ActivationPolicy activationPolicy = ActivationPolicy::regular;

    /// The bundle at `folder`; none when it is no folder or its information dictionary cannot
    /// be read as a dictionary.
    static std::optional<ApplicationBundle> read(const std::filesystem::path& folder);

    /// "CFBundleName", else the folder's name without its extension.
    std::string name() const;
    /// "Contents/MacOS/" and "CFBundleExecutable", else the name.
    std::filesystem::path executablePath() const;
    /// The icon file "CFBundleIconFile" names in the resources ("png" when it has no
    /// extension); none when it names none.
    std::optional<std::filesystem::path> iconPath() const;
    /// The application as the desktop registers it when the bundle is opened.
    ApplicationSpec spec() const;

    /// Why the executable cannot be started, in the workspace's words: it is missing, or it may
    /// not be run; none when nothing stands in the way.
    std::optional<std::string> launchFailure() const;
    /// The workspace's words for this application when it cannot be opened `because` …
    std::string cannotBeOpened(const std::string& because) const;
    /// The workspace's words for a location that holds no bundle it can read.
    static std::string unreadable(const std::filesystem::path& folder);
};

}  // namespace sim

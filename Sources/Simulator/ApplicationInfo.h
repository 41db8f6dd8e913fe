#pragma once

#include <map>
#include <optional>
#include <string>

#include "Simulator/DesktopValues.h"

namespace sim {

/// How an application appears: in the Dock (regular), only through its own windows and menu-bar
/// items (accessory), or not at all (prohibited). The numbers are the platform's.
enum class ActivationPolicy : int { regular = 0, accessory = 1, prohibited = 2 };

/// What the desktop tells about a process: the running application as the workspace lists it.
struct ApplicationInfo {
    Pid pid = 0;
    std::optional<std::string> bundleID;
    std::string name;
    /// Empty when the process has no executable on record.
    std::string executablePath;
    /// The application bundle's folder, when it was launched from one.
    std::optional<std::string> bundlePath;
    /// The text values of the bundle's information dictionary, by key.
    std::map<std::string, std::string> infoDictionary;
    ActivationPolicy activationPolicy = ActivationPolicy::regular;
    bool active = false;
    bool hidden = false;
    bool terminated = false;
    bool operator==(const ApplicationInfo&) const = default;
};

/// What a test (or a client registering itself) asks for when an application starts.
struct ApplicationSpec {
    std::optional<std::string> bundleID = "com.example.app";
    std::string name = "App";
    std::string executablePath;
    std::optional<std::string> bundlePath;
    std::map<std::string, std::string> infoDictionary;
    ActivationPolicy activationPolicy = ActivationPolicy::regular;
    /// A fixed process identifier (a client's real one); none lets the desktop choose.
    std::optional<Pid> pid;
};

/// An application installed on disk, which the workspace can find by bundle identifier and
/// launch by its location.
struct InstalledApplication {
    std::string bundleID;
    std::string name;
    std::string bundlePath;
    bool operator==(const InstalledApplication&) const = default;
};

/// What opening an application gave: its pid, or 0 and why it could not be opened, in the
/// words the workspace hands whoever asked.
struct OpenReply {
    Pid pid = 0;
    std::optional<std::string> failure;
    bool operator==(const OpenReply&) const = default;
};

}  // namespace sim

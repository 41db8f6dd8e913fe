#pragma once

#include <sys/types.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Simulator/ApplicationInfo.h"

// A running application of the desktop, by process identifier. Every property is read from
// the desktop when asked, so a kept object sees the application hide, quit and so on.

enum NSApplicationActivationPolicy : int {
    NSApplicationActivationPolicyRegular = 0,
    NSApplicationActivationPolicyAccessory = 1,
    NSApplicationActivationPolicyProhibited = 2,
};

using NSApplicationActivationOptions = unsigned;
inline constexpr NSApplicationActivationOptions NSApplicationActivateAllWindows = 1 << 0;
inline constexpr NSApplicationActivationOptions NSApplicationActivateIgnoringOtherApps = 1 << 1;

class NSRunningApplication;
using NSRunningApplicationRef = std::shared_ptr<NSRunningApplication>;

class NSRunningApplication {
  public:
    explicit NSRunningApplication(pid_t pid) : pid_(pid) {}

    /// The application with that process identifier, or null when the desktop has none.
    static NSRunningApplicationRef runningApplicationWithProcessIdentifier(pid_t pid);
    static std::vector<NSRunningApplicationRef> runningApplicationsWithBundleIdentifier(
        const std::string& bundleID);
    /// This process, as registered with the desktop.
    static NSRunningApplicationRef currentApplication();

    pid_t processIdentifier() const { return pid_; }
    std::optional<std::string> bundleIdentifier() const;
    std::optional<std::string> localizedName() const;
    /// The executable's path, none when it has none.
    std::optional<std::string> executableURL() const;
    /// The application bundle's path, none when it was not launched from one.
    std::optional<std::string> bundleURL() const;
    NSApplicationActivationPolicy activationPolicy() const;
    bool isTerminated() const;
    bool isHidden() const;
    bool isActive() const;
    bool isFinishedLaunching() const { return true; }

    bool hide() const;
    bool unhide() const;
    bool activateWithOptions(NSApplicationActivationOptions options) const;
    bool terminate() const;

    bool operator==(const NSRunningApplication& other) const { return pid_ == other.pid_; }

  private:
    std::optional<sim::ApplicationInfo> info() const;

    pid_t pid_;
};

#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Base/Foundation/NSNotificationCenter.h"
#include "Platform/AppKit/NSImage.h"
#include "Platform/AppKit/NSRunningApplication.h"

// The shared workspace: running applications, the front one, where applications are installed,
// opening them, and the workspace's own notification centre.
//
// Launches, terminations, activations and deactivations are posted on the thread that brings
// the desktop's news (whoever changed an in-process desktop; the connection's reader thread
// otherwise); hiding and unhiding are posted on the main thread. Each notification carries the
// application under `NSWorkspaceApplicationKey`.

inline const NSNotificationName NSWorkspaceDidLaunchApplicationNotification =
    "NSWorkspaceDidLaunchApplicationNotification";
inline const NSNotificationName NSWorkspaceDidTerminateApplicationNotification =
    "NSWorkspaceDidTerminateApplicationNotification";
inline const NSNotificationName NSWorkspaceDidActivateApplicationNotification =
    "NSWorkspaceDidActivateApplicationNotification";
inline const NSNotificationName NSWorkspaceDidDeactivateApplicationNotification =
    "NSWorkspaceDidDeactivateApplicationNotification";
inline const NSNotificationName NSWorkspaceDidHideApplicationNotification =
    "NSWorkspaceDidHideApplicationNotification";
inline const NSNotificationName NSWorkspaceDidUnhideApplicationNotification =
    "NSWorkspaceDidUnhideApplicationNotification";
inline const std::string NSWorkspaceApplicationKey = "NSWorkspaceApplicationKey";

/// How an application is opened; the defaults activate it.
struct NSWorkspaceOpenConfiguration {
    bool activates = true;
};

class NSWorkspace {
  public:
    static NSWorkspace& sharedWorkspace();

    /// In launch order.
    std::vector<NSRunningApplicationRef> runningApplications() const;
    NSRunningApplicationRef frontmostApplication() const;
    NSNotificationCenter& notificationCenter() { return center_; }
    /// The installed application's bundle path, none when it is not installed.
    std::optional<std::string> URLForApplicationWithBundleIdentifier(
        const std::string& bundleID) const;
    /// Launches the application at `url`, or asks a running one to reopen. The completion (when
    /// given) runs on the calling thread with the application, or null and the error's text
    /// (why it could not be opened: not there, damaged, its executable missing or not runnable).
    void openApplicationAtURL(
        const std::string& url, const NSWorkspaceOpenConfiguration& configuration,
        const std::function<void(NSRunningApplicationRef, std::optional<std::string>)>& completion =
            {});

    /// The icon the file viewer shows for the item at `path`: an application bundle's own icon
    /// (the PNG its information dictionary names), else the generic application icon for a
    /// bundle and the generic document icon for anything else. Never null.
    NSImageRef iconForFile(const std::string& path) const;

    /// Opens a file viewer window with exactly these items selected.
    void activateFileViewerSelectingURLs(const std::vector<std::filesystem::path>& urls);
    /// Hands the URL to the application that opens it (System Settings for its links, a file
    /// viewer for a folder); false when none does.
    bool openURL(const std::string& url);
    /// Opens the file or folder at `path` as a double click on it would (a folder in a file
    /// viewer window); false when nothing opens it.
    bool openFile(const std::filesystem::path& path);
    /// The desktop's Reduce Motion accessibility setting, read anew on every call.
    bool accessibilityDisplayShouldReduceMotion() const;

    /// The running application a workspace notification is about; null when it carries none.
    static NSRunningApplicationRef applicationOf(const NSNotification& notification);

  private:
    NSWorkspace();
    NSNotificationCenter center_;
};

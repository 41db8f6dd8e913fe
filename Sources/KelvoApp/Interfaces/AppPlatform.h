#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoCore/Store/ScreenWindow.h"

namespace kelvo {

/// One screen as the application framework describes it: bottom-left coordinates, y upwards.
struct ScreenDescription {
    CGRect frame;
    CGRect visibleFrame;
    /// The device description's screen number, when it has one.
    std::optional<std::uint32_t> number;
    bool operator==(const ScreenDescription&) const = default;
};

/// One running application as the shared workspace lists it.
struct RunningApplication {
    int pid = 0;
    std::optional<std::string> bundleID;
    std::optional<std::filesystem::path> executableURL;
    std::optional<std::filesystem::path> bundleURL;
    bool terminated = false;
    bool active = false;
    bool operator==(const RunningApplication&) const = default;
};

/// The application's presence: no Dock icon, or a regular application with a menu.
enum class ActivationPolicy { regular, accessory };

/// One item of the application's main menu: a title, its action and its key equivalent
/// ("" for none); a separator has neither. `submenu` items belong to the item above them.
struct MenuItem {
    std::string title;
    std::string action;
    std::string key;
    bool shiftCommand = false;
    bool separator = false;
    std::vector<MenuItem> submenu;
    bool operator==(const MenuItem&) const = default;
};

/// A modal alert's texts and buttons, in order.
struct AlertRequest {
    std::string message;
    std::string informative;
    std::vector<std::string> buttons;
    bool operator==(const AlertRequest&) const = default;
};

/// What the coordinator asks of the application framework and the window server. The
/// program's own implementation talks to the platform layer; suites give their own, so that
/// the coordinator's decisions can be driven one by one.
class AppPlatform {
  public:
    virtual ~AppPlatform() = default;

    /// `NSScreen.screens`, the menu-bar screen first.
    virtual std::vector<ScreenDescription> screens() const = 0;
    /// `NSScreen.main`; none when there is no screen.
    virtual std::optional<ScreenDescription> mainScreen() const = 0;

    /// The front application's bundle identifier; none without a front application or
    /// without an identifier.
    virtual std::optional<std::string> frontmostBundleID() const = 0;
    virtual std::vector<RunningApplication> runningApplications() const = 0;
    /// The workspace's location of an installed application.
    virtual std::optional<std::filesystem::path> urlForApplication(
        const std::string& bundleID) const = 0;
    /// Why an application could not be opened, in the workspace's words.
    using OpenFailure = std::function<void(const std::string& error)>;
    /// Opens the application at the location with a default open configuration; a running
    /// application is asked to reopen. Not awaited: `failed` (when given) is told on the main
    /// thread when the application could not be opened.
    virtual void openApplication(const std::filesystem::path& url, OpenFailure failed) = 0;
    /// Activates the running application with no options.
    virtual void activate(int pid) = 0;

    /// Bit 0 of the pressed mouse buttons.
    virtual bool isLeftMouseButtonDown() const = 0;
    /// The location of a new event with no source, top-left coordinates; none when no event
    /// can be made.
    virtual std::optional<CGPoint> pointerLocation() const = 0;
    /// The window server's on-screen windows, front to back.
    virtual std::vector<ScreenWindow> onScreenWindows() const = 0;

    virtual void setActivationPolicy(ActivationPolicy policy) = 0;
    virtual bool hasMainMenu() const = 0;
    virtual void setMainMenu(const std::vector<MenuItem>& menus) = 0;
    virtual void activateIgnoringOtherApps() = 0;

    /// Whether the process is trusted for Accessibility, optionally letting the system prompt.
    virtual bool isProcessTrusted(bool prompt) = 0;
    /// Runs a modal alert; the first button answers 1000, the second 1001.
    virtual int runAlert(const AlertRequest& alert) = 0;

    virtual int processIdentifier() const = 0;
    virtual std::optional<std::string> mainBundleIdentifier() const = 0;
    /// The machine's boot time in whole seconds since 1970; 0 when it cannot be read.
    virtual double bootTime() const = 0;

    /// Workspace notifications of an application hidden or unhidden by the user, on the main
    /// queue, with the application's bundle identifier when it has one.
    using ApplicationHandler = std::function<void(const std::optional<std::string>&)>;
    virtual void observeApplicationHiding(ApplicationHandler hidden,
                                          ApplicationHandler unhidden) = 0;
    /// The application's notice that the screens changed, on the main queue.
    virtual void observeScreenParameters(std::function<void()> changed) = 0;
    /// The application's notice that it terminates, on the main queue.
    virtual void observeWillTerminate(std::function<void()> terminating) = 0;
};

}  // namespace kelvo

#pragma once

#include <vector>

#include "Base/Foundation/NSNotificationCenter.h"
#include "KelvoApp/Interfaces/AppPlatform.h"

namespace kelvo {

/// The coordinator's platform as the program has it: the application framework (the shared
/// application with its activation policy and main menu, alerts, screens, the workspace), the
/// window server, the Accessibility trust check and the kernel's boot time.
class FrameworkPlatform : public AppPlatform {
  public:
    static constexpr const char* screenParametersNotification =
        "NSApplicationDidChangeScreenParametersNotification";
    static constexpr const char* willTerminateNotification =
        "NSApplicationWillTerminateNotification";

    FrameworkPlatform() = default;
    ~FrameworkPlatform() override;
    FrameworkPlatform(const FrameworkPlatform&) = delete;
    FrameworkPlatform& operator=(const FrameworkPlatform&) = delete;

    std::vector<ScreenDescription> screens() const override;
    std::optional<ScreenDescription> mainScreen() const override;
    std::optional<std::string> frontmostBundleID() const override;
    std::vector<RunningApplication> runningApplications() const override;
    std::optional<std::filesystem::path> urlForApplication(
        const std::string& bundleID) const override;
    void openApplication(const std::filesystem::path& url, OpenFailure failed) override;
    void activate(int pid) override;
    bool isLeftMouseButtonDown() const override;
    std::optional<CGPoint> pointerLocation() const override;
    std::vector<ScreenWindow> onScreenWindows() const override;
    void setActivationPolicy(ActivationPolicy policy) override;
    bool hasMainMenu() const override;
    void setMainMenu(const std::vector<MenuItem>& menus) override;
    void activateIgnoringOtherApps() override;
    bool isProcessTrusted(bool prompt) override;
    int runAlert(const AlertRequest& alert) override;
    int processIdentifier() const override;
    std::optional<std::string> mainBundleIdentifier() const override;
    double bootTime() const override;
    void observeApplicationHiding(ApplicationHandler hidden, ApplicationHandler unhidden) override;
    void observeScreenParameters(std::function<void()> changed) override;
    void observeWillTerminate(std::function<void()> terminating) override;

  private:
    std::vector<NSNotificationToken> workspaceTokens_;
    std::vector<NSNotificationToken> defaultTokens_;
};

}  // namespace kelvo

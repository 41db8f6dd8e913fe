#pragma once

#include <map>
#include <string>
#include <vector>

#include "KelvoApp/Interfaces/AppPlatform.h"

namespace kelvo {

/// A scriptable application framework: screens, the front application, running
/// applications, the mouse and the window list are plain fields; every request is recorded.
class FakeAppPlatform : public AppPlatform {
  public:
    std::vector<ScreenDescription> screenList;
    /// Index into `screenList`; none: no main screen.
    std::optional<std::size_t> mainIndex = 0;
    std::optional<std::string> front;
    std::vector<RunningApplication> running;
    std::map<std::string, std::filesystem::path> installed;
    /// The error each location gives when it is opened; the others open.
    std::map<std::filesystem::path, std::string> openFailures;
    bool leftButtonDown = false;
    std::optional<CGPoint> pointer;
    std::vector<ScreenWindow> screenWindows;
    int pid = 4242;
    std::optional<std::string> bundleID;
    double boot = 1'700'000'000;
    bool trusted = true;
    /// Whether the prompt grants trust by the time "Done" is clicked.
    bool promptGrants = false;
    std::vector<int> alertAnswers;
    std::vector<AlertRequest> alerts;
    bool mainMenu = false;
    std::vector<std::vector<MenuItem>> menusSet;
    std::vector<std::string> requests;
    /// When set, every question and request is also written there as "[platform] " and the
    /// call, so that it interleaves with what else writes to that descriptor.
    int recordFD = -1;
    void note(const std::string& call) const;

    /// One screen of the size, its menu bar 25 points high, with number 1.
    static ScreenDescription screen(double width, double height, std::uint32_t number = 1,
                                    double x = 0, double y = 0);

    std::vector<ScreenDescription> screens() const override {
        note("screens");
        return screenList;
    }
    std::optional<ScreenDescription> mainScreen() const override;
    std::optional<std::string> frontmostBundleID() const override {
        note("frontmostBundleID");
        return front;
    }
    std::vector<RunningApplication> runningApplications() const override {
        note("runningApplications");
        return running;
    }
    std::optional<std::filesystem::path> urlForApplication(
        const std::string& bundleID) const override;
    void openApplication(const std::filesystem::path& url, OpenFailure failed) override;
    void activate(int pid) override;
    bool isLeftMouseButtonDown() const override { return leftButtonDown; }
    std::optional<CGPoint> pointerLocation() const override { return pointer; }
    std::vector<ScreenWindow> onScreenWindows() const override { return screenWindows; }
    void setActivationPolicy(ActivationPolicy policy) override;
    bool hasMainMenu() const override { return mainMenu; }
    void setMainMenu(const std::vector<MenuItem>& menus) override;
    void activateIgnoringOtherApps() override;
    bool isProcessTrusted(bool prompt) override;
    int runAlert(const AlertRequest& alert) override;
    int processIdentifier() const override { return pid; }
    std::optional<std::string> mainBundleIdentifier() const override { return bundleID; }
    double bootTime() const override {
        note("bootTime");
        return boot;
    }
    void observeApplicationHiding(ApplicationHandler h, ApplicationHandler u) override {
        hidden = std::move(h);
        unhidden = std::move(u);
    }
    void observeScreenParameters(std::function<void()> changed) override {
        screensChanged = std::move(changed);
    }
    void observeWillTerminate(std::function<void()> terminating) override {
        willTerminate = std::move(terminating);
    }
    ApplicationHandler hidden;
    ApplicationHandler unhidden;
    std::function<void()> screensChanged;
    std::function<void()> willTerminate;
};

}  // namespace kelvo

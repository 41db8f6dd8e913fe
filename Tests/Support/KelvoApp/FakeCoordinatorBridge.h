#pragma once

#include <map>
#include <memory>

#include "KelvoCore/Store/CoordinatorBridge.h"
#include "Support/KelvoCore/FakeWindowBridge.h"

namespace kelvo {

/// The coordinator's bridge over the store suites' fake: the thirteen operations go to it,
/// and the bridge's own sets are plain fields a test fills.
class FakeCoordinatorBridge : public CoordinatorBridge {
  public:
    explicit FakeCoordinatorBridge(const Config& config) : config_(config) {}

    FakeWindowBridge fake;
    std::set<WindowID> gone;
    std::set<WindowID> ignoredForNow;
    std::set<WindowID> fullScreenSeen;
    /// Windows that have an element to observe.
    std::set<WindowID> elements;
    /// What `adopt(element:)` answers, by the element's window.
    std::map<WindowID, std::optional<ManagedWindow>> adoptable;
    std::function<void(const std::string&)> trace;
    int windowsCalls = 0;

    std::vector<ManagedWindow> windows() override {
        ++windowsCalls;
        return fake.windows();
    }
    std::optional<CGRect> frame(WindowID id) override { return fake.frame(id); }
    bool setFrame(const CGRect& f, WindowID id) override { return fake.setFrame(f, id); }
    void setPosition(const CGPoint& p, WindowID id) override { fake.setPosition(p, id); }
    void raise(WindowID id) override { fake.raise(id); }
    void focus(WindowID id) override { fake.focus(id); }
    void setMinimized(bool m, WindowID id) override { fake.setMinimized(m, id); }
    bool isWindowMinimized(WindowID id) override { return fake.isWindowMinimized(id); }
    bool isWindowFullScreen(WindowID id) override { return fake.isWindowFullScreen(id); }
    bool canReach(WindowID id) override { return fake.canReach(id); }
    std::set<WindowID> retainedWindows() const override { return fake.retainedWindows(); }
    void setHidden(bool h, const std::string& b) override { fake.setHidden(h, b); }
    bool isApplicationHidden(const std::string& b) override { return fake.isApplicationHidden(b); }

    ApplicationWindows windows(const std::string& bundleID) override;
    std::optional<ManagedWindow> adopt(const WindowElementRef& element,
                                       const std::string& bundleID) override;
    std::set<WindowID> takeGone() override { return std::exchange(gone, {}); }
    std::optional<WindowElementRef> element(WindowID id) const override;
    const std::set<WindowID>& provisionallyIgnored() const override { return ignoredForNow; }
    const std::set<WindowID>& seenFullScreen() const override { return fullScreenSeen; }
    const Config& config() const override { return config_; }
    void setConfig(const Config& config) override { config_ = config; }
    void setTrace(std::function<void(const std::string&)> t) override { trace = std::move(t); }

  private:
    Config config_;
};

}  // namespace kelvo

#pragma once

#include "KelvoAX/Bridge/AXWindowBridge.h"
#include "KelvoApp/Interfaces/CoordinatorBridge.h"

namespace kelvo {

/// The Accessibility bridge as the coordinator holds it. A window element travels through the
/// coordinator as the platform's element handle inside `WindowElementRef`; anything else found
/// there is no element.
class AXCoordinatorBridge final : public CoordinatorBridge {
  public:
    explicit AXCoordinatorBridge(const Config& config);

    AXWindowBridge& bridge() { return bridge_; }

    /// The handle inside a `WindowElementRef`; null when it holds none.
    static AXUIElementRef elementIn(const WindowElementRef& element);

    std::vector<ManagedWindow> windows() override;
    std::optional<CGRect> frame(WindowID id) override;
    bool setFrame(const CGRect& frame, WindowID id) override;
    void setPosition(const CGPoint& position, WindowID id) override;
    void raise(WindowID id) override;
    void focus(WindowID id) override;
    void setMinimized(bool minimized, WindowID id) override;
    bool isWindowMinimized(WindowID id) override;
    bool isWindowFullScreen(WindowID id) override;
    bool canReach(WindowID id) override;
    std::set<WindowID> retainedWindows() const override;
    void setHidden(bool hidden, const std::string& bundleID) override;
    bool isApplicationHidden(const std::string& bundleID) override;

    std::pair<std::vector<ManagedWindow>, std::set<WindowID>> windowsOfApp(
        const std::string& bundleID) override;
    std::optional<ManagedWindow> adopt(const WindowElementRef& element,
                                       const std::string& bundleID) override;
    std::set<WindowID> takeGone() override;
    std::optional<WindowElementRef> element(WindowID id) const override;
    std::set<WindowID> provisionallyIgnored() const override;
    std::set<WindowID> seenFullScreen() const override;
    const Config& config() const override;
    void setConfig(const Config& config) override;
    void setTrace(std::function<void(const std::string&)> trace) override;

  private:
    AXWindowBridge bridge_;
};

}  // namespace kelvo

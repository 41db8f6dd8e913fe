#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Base/Foundation/NSNotificationCenter.h"
#include "Base/Foundation/News.h"
#include "KelvoAX/Bridge/ActivationRequest.h"
#include "KelvoAX/Bridge/FrameWriteStep.h"
#include "KelvoCore/Config/Config.h"
#include "KelvoCore/Store/CoordinatorBridge.h"
#include "Platform/Accessibility/AXUIElement.h"
#include "Platform/AppKit/NSRunningApplication.h"

namespace kelvo {

/// The store's road to other applications' windows, through Accessibility: full scans that
/// classify every window, frame writes that the window can be trusted to follow, focus with a
/// few activation retries (for an activation the platform dropped, never against someone who
/// put another application in front meanwhile), hiding. Beyond the store's interface it serves the
/// coordinator's: one application's windows, an element the event stream handed over, the windows
/// found gone. A window element travels through the coordinator as the platform's element handle
/// inside `WindowElementRef`; anything else found there is no element.
///
/// Every call into another application waits at most `messagingTimeout`, so a hung application
/// costs a quarter of a second per call instead of stalling the main thread. A frame read (by a
/// scan, a frame read or a write's read-back) serves the next reads of it until news about the
/// window (it moved, changed size or went) or about everything arrives, or the bridge writes to
/// it: until then a read would find the same. Used on the main thread only; holds no lock.
class AXWindowBridge final : public CoordinatorBridge {
  public:
    static constexpr float messagingTimeout = 0.25f;
    /// Apart, on the main queue, and how many activation attempts one focus request makes.
    static constexpr double activationRetryDelay = 0.15;
    static constexpr int activationAttempts = 3;
    /// How far the read-back origin may lie from the target for a write to count as landed.
    static constexpr double landingTolerance = 1;

    explicit AXWindowBridge(Config config);
    ~AXWindowBridge() override;
    AXWindowBridge(const AXWindowBridge&) = delete;
    AXWindowBridge& operator=(const AXWindowBridge&) = delete;

    // WindowBridging
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
    std::set<WindowID> retainedWindows() const override { return retainedWindows_; }
    void setHidden(bool hidden, const std::string& bundleID) override;
    bool isApplicationHidden(const std::string& bundleID) override;

    // CoordinatorBridge
    /// The adoptable windows of every regular application with this bundle identifier, without
    /// the full scan's forgetting and retaining.
    ApplicationWindows windows(const std::string& bundleID) override;
    /// One element handed over by the event stream, read and classified; none when it cannot be
    /// read, is ignored or is no element.
    std::optional<ManagedWindow> adopt(const WindowElementRef& element,
                                       const std::string& bundleID) override;
    /// The windows found gone since the last call.
    std::set<WindowID> takeGone() override;
    /// The element remembered for the window; none when there is none.
    std::optional<WindowElementRef> element(WindowID id) const override;
    const std::set<WindowID>& provisionallyIgnored() const override {
        return provisionallyIgnored_;
    }
    const std::set<WindowID>& seenFullScreen() const override { return seenFullScreen_; }
    const Config& config() const override { return config_; }
    void setConfig(const Config& config) override { config_ = config; }
    void setTrace(std::function<void(const std::string&)> lines) override {
        trace = std::move(lines);
    }

    /// The handle inside a `WindowElementRef`; null when it holds none.
    static AXUIElementRef elementIn(const WindowElementRef& element);
    /// The element remembered for the window as the platform's handle; null when there is
    /// none.
    AXUIElementRef handle(WindowID id) const;
    std::int64_t focusGeneration() const { return focusGeneration_; }
    std::optional<CGRect> lastKnownFrame(WindowID id) const;

    static std::vector<FrameWriteStep> frameWriteSequence(const std::optional<CGRect>& lastKnown,
                                                          const CGRect& target,
                                                          bool enhancedUserInterface);

    /// Receives one line per activation attempt, and one when the retries end because another
    /// application was put in front.
    std::function<void(const std::string&)> trace;

  private:
    using ElementMap = std::map<WindowID, AXUIElementRef>;

    void read(const NSRunningApplication& app, std::set<WindowID>& provisional,
              std::set<WindowID>& seen, std::vector<ManagedWindow>& into);
    std::optional<ManagedWindow> candidate(const AXUIElementRef& element,
                                           const std::string& bundleID,
                                           std::set<WindowID>& provisional,
                                           std::set<WindowID>& seen);
    void noteTraits(WindowID id, bool ignoredApplication, bool fullScreen, bool positionSettable,
                    std::set<WindowID>& provisional);
    void retainWindowsMissedBy(const ElementMap& previous);
    /// The window's known frame no longer serves a second read.
    void noteWritten(WindowID id);
    /// Regular applications other than this process are scanned.
    static bool isScanned(const NSRunningApplication& app, pid_t own);

    static std::optional<pid_t> processOf(const AXUIElementRef& window);
    /// An application element under the messaging timeout.
    static AXUIElementRef applicationElement(pid_t pid);
    /// The application element of a window's process; null when the process cannot be told.
    static AXUIElementRef applicationElementOf(const AXUIElementRef& window);
    void run(const FrameWriteStep& step, const AXUIElementRef& window,
             const AXUIElementRef& application, const CGRect& target,
             std::optional<CGRect>& readBack);
    void bringToFront(const NSRunningApplicationRef& app, const AXUIElementRef& appElement,
                      int attempt, std::int64_t generation);
    void scheduleRetry(const NSRunningApplicationRef& app, const AXUIElementRef& appElement,
                       int attempt, std::int64_t generation);
    /// The retry that falls due: the next attempt, unless the request is void, the application
    /// answers as frontmost, or someone put another application in front.
    void retry(const NSRunningApplicationRef& app, const AXUIElementRef& appElement, int attempt,
               std::int64_t generation);
    /// From now until `endWatch`, what comes to the front is noted for the request.
    void watchActivations(pid_t requested);
    void endWatch();

    /// What was last read from a window: each value with the news there was about the window
    /// when it was read (for the minimized state, the news beyond its frame), while nothing
    /// has been written since that may have changed it.
    struct KnownWindow {
        std::optional<CGRect> frame;
        std::optional<News::Mark> frameFreshAt;
        bool minimized = false;
        std::optional<News::Mark> minimizedFreshAt;
    };
    static News::Mark newsAbout(const AXUIElementRef& window);
    /// The news about the window that may have changed more than its frame: a move or resize,
    /// the echo of our own frame writes among them, leaves its minimized state as it was.
    static News::Mark newsBeyondFrameAbout(const AXUIElementRef& window);
    void noteRead(WindowID id, const CGRect& frame, const News::Mark& readAt);

    ElementMap elements_;
    std::map<WindowID, KnownWindow> known_;
    std::set<WindowID> retainedWindows_;
    std::set<WindowID> seenFullScreen_;
    std::set<WindowID> provisionallyIgnored_;
    Config config_;
    std::set<WindowID> confirmedGone_;
    std::int64_t focusGeneration_ = 0;
    /// The latest focus request while its retries may still come.
    std::optional<ActivationRequest> activation_;
    std::optional<NSNotificationToken> activationObserver_;
    /// Scheduled retries hold this weakly and do nothing once the bridge is gone.
    std::shared_ptr<AXWindowBridge*> self_ = std::make_shared<AXWindowBridge*>(this);
};

}  // namespace kelvo

#pragma once

#include <functional>
#include <memory>

#include "Base/Foundation/CGGeometry.h"
#include "Base/Foundation/NSTimer.h"
#include "KelvoCore/Guide/GuideFlow.h"
#include "Platform/SwiftUI/ObservableObject.h"

namespace kelvo {

class SettingsModel;

/// What the guide's pages show and drive: the step machine and whether the process may use
/// Accessibility. While the window is open the trust is asked once a second, and the guide moves
/// past the Accessibility step by itself once the user grants it there. Main thread only.
class GuideModel : public SwiftUI::ObservableObject {
  public:
    static constexpr double pollInterval = 1.0;

    explicit GuideModel(SettingsModel& settings);
    ~GuideModel() override;
    GuideModel(const GuideModel&) = delete;
    GuideModel& operator=(const GuideModel&) = delete;

    const GuideFlow& flow() const { return flow_.get(); }
    /// Publishes the flow; a new step owes the window a fit to its content.
    void setFlow(GuideFlow next);
    bool trusted() const { return trusted_.get(); }
    SettingsModel& settings() const { return settings_; }

    /// Back to the first step, with the trust read afresh and a fit owed.
    void restart();
    /// The forward button; calls `onLeave` when the move closes the guide.
    void advance();
    /// The Skip button; calls `onLeave` when the move closes the guide.
    void skip();
    /// The Back button; never closes the guide.
    void back();
    /// Starts (or starts again) the trust poll.
    void watch();
    /// Ends the trust poll.
    void stopWatching();
    bool isWatching() const { return poll_ != nullptr; }
    /// One look at the trust: publishes a change and moves on from the Accessibility step when
    /// it was just granted.
    void tick();

    /// Called when a move closes the guide.
    std::function<void()> onLeave;
    /// Opens the settings window.
    std::function<void()> onOpenSettings;
    /// Receives the height the content wants.
    std::function<void(CGFloat)> onIdealHeight;
    /// The window is to be fitted to the next measured content height.
    bool sizingOwed = false;

  private:
    void publishTrusted(bool now);
    void moveAndLeaveIfClosed(void (GuideFlow::*move)());

    SettingsModel& settings_;
    SwiftUI::Published<GuideFlow> flow_{*this, GuideFlow(GuideStep::accessibility)};
    SwiftUI::Published<bool> trusted_{*this, false};
    bool wasTrusted_ = false;
    NSTimerRef poll_;
    /// Lets a poll that fires after the model is gone do nothing.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace kelvo

#pragma once

#include <memory>
#include <optional>

#include "Base/Foundation/DispatchWorkItem.h"
#include "Platform/AppKit/NSTextField.h"
#include "Platform/AppKit/NSVisualEffectView.h"
#include "Platform/AppKit/NSWindow.h"

namespace kelvo {

/// The desktop-switch display: the new desktop's number in a large rounded square in the middle
/// of the main screen. It scales and fades in, rests, then shrinks a little and fades out; a
/// quick run of switches keeps it up and only changes the number. One panel, made once and
/// reused. Main thread only.
class SwitchHUD {
  public:
    static constexpr double side = 160;
    static constexpr NSWindowLevel level = 1000;
    static constexpr NSWindowCollectionBehavior collectionBehavior =
        NSWindowCollectionBehaviorCanJoinAllSpaces | NSWindowCollectionBehaviorStationary |
        NSWindowCollectionBehaviorIgnoresCycle;
    static constexpr double cornerRadius = 28;
    static constexpr double fontSize = 96;
    static constexpr double labelBottom = 24;
    static constexpr double labelHeight = 116;
    static constexpr double fadeInDuration = 0.18;
    static constexpr double restDuration = 0.42;
    static constexpr double fadeOutDuration = 0.34;
    static constexpr double scaleInFrom = 0.94;
    static constexpr double scaleOutTo = 0.96;

    /// Builds the panel and its views; transparent and not ordered in.
    SwitchHUD();
    SwitchHUD(const SwitchHUD&) = delete;
    SwitchHUD& operator=(const SwitchHUD&) = delete;

    /// Shows the desktop's number; with no main screen nothing happens.
    void show(int desktop);

    /// Whether the display has scaled in and not yet finished fading out.
    bool isVisible() const { return isVisible_; }
    /// How often `show` took effect; every deferred step belongs to one of them.
    int generation() const { return generation_; }
    /// The panel's window-server number, which hit tests look through.
    long windowNumber() const { return panel.windowNumber(); }

    NSPanel panel;
    std::shared_ptr<NSTextField> label;
    /// The rounded square, the panel's content view; its layer scales about the centre.
    std::shared_ptr<NSVisualEffectView> backdrop;

  private:
    void scaleIn();
    void fadeTo(double alpha, double duration, std::function<void()> completion);
    /// Arms the dismissal of one generation, `restDuration` from now.
    void scheduleDismiss(int generation);
    void dismiss(int generation);
    void finishDismissal(int generation);
    /// A `show` during the fade-out puts the number back at full size at once.
    void stopScaleOut();
    /// Runs `step` for `generation` only while the display exists and no later show came in.
    std::function<void()> guarded(int generation, void (SwitchHUD::*step)(int));

    std::optional<DispatchWorkItem> dismissWorkItem_;
    bool isVisible_ = false;
    int generation_ = 0;
    /// Lets deferred steps find out whether the display still exists.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace kelvo

#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Base/Foundation/CGGeometry.h"
#include "Platform/AppKit/NSColor.h"
#include "Platform/AppKit/NSView.h"
#include "Platform/QuartzCore/CAMediaTimingFunction.h"

// The process's own windows and panels. Each is a window of the desktop, owned by this
// process: listed by the window server at its level while it is ordered in, with its number,
// frame and what its content layer draws. Frames are in screen coordinates (bottom left of the
// first screen, y up), as the framework gives them.

using NSWindowStyleMask = std::uint64_t;
inline constexpr NSWindowStyleMask NSWindowStyleMaskBorderless = 0;
inline constexpr NSWindowStyleMask NSWindowStyleMaskTitled = 1 << 0;
inline constexpr NSWindowStyleMask NSWindowStyleMaskClosable = 1 << 1;
inline constexpr NSWindowStyleMask NSWindowStyleMaskMiniaturizable = 1 << 2;
inline constexpr NSWindowStyleMask NSWindowStyleMaskResizable = 1 << 3;
inline constexpr NSWindowStyleMask NSWindowStyleMaskNonactivatingPanel = 1 << 7;
inline constexpr NSWindowStyleMask NSWindowStyleMaskFullSizeContentView = 1 << 15;

enum NSBackingStoreType {
    NSBackingStoreRetained = 0,
    NSBackingStoreNonretained = 1,
    NSBackingStoreBuffered = 2,
};

using NSWindowLevel = int;
inline constexpr NSWindowLevel NSNormalWindowLevel = 0;
inline constexpr NSWindowLevel NSFloatingWindowLevel = 3;
inline constexpr NSWindowLevel NSModalPanelWindowLevel = 8;
inline constexpr NSWindowLevel NSStatusWindowLevel = 25;
inline constexpr NSWindowLevel NSPopUpMenuWindowLevel = 101;
inline constexpr NSWindowLevel NSScreenSaverWindowLevel = 1000;

using NSWindowCollectionBehavior = std::uint64_t;
inline constexpr NSWindowCollectionBehavior NSWindowCollectionBehaviorCanJoinAllSpaces = 1 << 0;
inline constexpr NSWindowCollectionBehavior NSWindowCollectionBehaviorMoveToActiveSpace = 1 << 1;
inline constexpr NSWindowCollectionBehavior NSWindowCollectionBehaviorManaged = 1 << 2;
inline constexpr NSWindowCollectionBehavior NSWindowCollectionBehaviorTransient = 1 << 3;
inline constexpr NSWindowCollectionBehavior NSWindowCollectionBehaviorStationary = 1 << 4;
inline constexpr NSWindowCollectionBehavior NSWindowCollectionBehaviorParticipatesInCycle = 1 << 5;
inline constexpr NSWindowCollectionBehavior NSWindowCollectionBehaviorIgnoresCycle = 1 << 6;
inline constexpr NSWindowCollectionBehavior NSWindowCollectionBehaviorFullScreenPrimary = 1 << 7;
inline constexpr NSWindowCollectionBehavior NSWindowCollectionBehaviorFullScreenAuxiliary = 1 << 8;

class NSWindowController;
class NSWindow;

/// A window's animator: inside an animation group (`NSAnimationContext`) a change made through
/// it moves over the group's duration; outside one it is made at once.
class NSWindowAnimator {
  public:
    explicit NSWindowAnimator(NSWindow& window) : window_(window) {}
    void setAlphaValue(double alpha);

  private:
    NSWindow& window_;
};

class NSWindow {
  public:
    NSWindow(CGRect contentRect, NSWindowStyleMask style, NSBackingStoreType backing, bool defer);
    virtual ~NSWindow();
    NSWindow(const NSWindow&) = delete;
    NSWindow& operator=(const NSWindow&) = delete;

    /// The window server's number (0 when the desktop would not make the window).
    long windowNumber() const { return number_; }
    NSWindowStyleMask styleMask() const { return style_; }
    const std::string& title() const { return title_; }
    void setTitle(std::string title);

    CGRect frame() const { return frame_; }
    void setFrame(CGRect frame, bool display);
    /// Moves the window, keeping its size.
    void setFrameOrigin(CGPoint origin);
    NSWindowLevel level() const { return level_; }
    void setLevel(NSWindowLevel level);
    /// The alpha shown now (while an animation moves it, its value of the moment).
    double alphaValue() const;
    /// Sets the alpha at once, ending an animation of it.
    void setAlphaValue(double alpha);
    NSWindowAnimator animator() { return NSWindowAnimator(*this); }
    /// Moves the alpha from the value shown now to `alpha` over `duration` seconds of the
    /// runtime's clock at the pace given, telling the desktop as it goes; `done` is called when
    /// it gets there or when another change of the alpha takes over.
    void animateAlphaValue(double alpha, double duration, CAMediaTimingFunctionRef timing,
                           std::function<void()> done);
    bool isOpaque() const { return opaque_; }
    void setOpaque(bool opaque) { opaque_ = opaque; }
    NSColorRef backgroundColor() const { return background_; }
    void setBackgroundColor(NSColorRef colour);
    bool hasShadow() const { return hasShadow_; }
    void setHasShadow(bool shadow) { hasShadow_ = shadow; }
    bool ignoresMouseEvents() const { return ignoresMouseEvents_; }
    void setIgnoresMouseEvents(bool ignores);
    NSWindowCollectionBehavior collectionBehavior() const { return collectionBehavior_; }
    void setCollectionBehavior(NSWindowCollectionBehavior behavior) {
        collectionBehavior_ = behavior;
    }
    const NSViewRef& contentView() const { return contentView_; }
    void setContentView(NSViewRef view);

    bool isVisible() const { return visible_; }
    /// Orders the window in at the top of its level, whether or not the application is active.
    void orderFrontRegardless();
    void orderFront(const void* sender);
    void orderOut(const void* sender);
    /// Orders the window in and makes it the application's key window when it can be one.
    void makeKeyAndOrderFront(const void* sender);
    void makeKeyWindow();
    bool isKeyWindow() const;
    /// Titled windows can; borderless windows and panels without a title cannot.
    virtual bool canBecomeKeyWindow() const;
    void close();

    /// The application's key window, or null.
    static NSWindow* keyWindow();

    /// The controller that owns the window, or null.
    NSWindowController* windowController() const { return controller_; }
    void setWindowController(NSWindowController* controller) { controller_ = controller; }
    /// Every window of the process that exists, in the order they were made.
    static std::vector<NSWindow*> allWindows();
    /// Told whenever a window is shown, hidden or closed; the application object listens, so
    /// that it updates its windows on the next turn of the main loop.
    static void setWindowsChangedHandler(std::function<void()> handler);

    /// How often an animated alpha is passed on to the desktop.
    static constexpr double animationFrameInterval = 1.0 / 60;

  private:
    struct AlphaAnimation {
        double from = 1;
        double to = 1;
        double begin = 0;
        double duration = 0;
        CAMediaTimingFunctionRef timing;
        std::function<void()> done;
        std::uint64_t generation = 0;
    };

    void sync();
    void resignKey();
    void stepAlphaAnimation(std::uint64_t generation);
    /// Ends the running alpha animation, if any, and tells its owner.
    void endAlphaAnimation();
    static void windowsChanged();

    long number_ = 0;
    NSWindowStyleMask style_;
    std::string title_;
    CGRect frame_;
    NSWindowLevel level_ = NSNormalWindowLevel;
    double alpha_ = 1;
    std::optional<AlphaAnimation> alphaAnimation_;
    std::uint64_t alphaGeneration_ = 0;
    /// Lets the animation's deferred steps find out whether the window still exists.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    bool opaque_ = true;
    NSColorRef background_;
    bool hasShadow_ = true;
    bool ignoresMouseEvents_ = false;
    NSWindowCollectionBehavior collectionBehavior_ = 0;
    NSViewRef contentView_;
    bool visible_ = false;
    NSWindowController* controller_ = nullptr;
};

/// A panel: a window that floats above documents and, when non-activating, is used without
/// bringing its application forward.
class NSPanel : public NSWindow {
  public:
    using NSWindow::NSWindow;

    bool isFloatingPanel() const { return floatingPanel_; }
    void setFloatingPanel(bool floating);
    bool becomesKeyOnlyIfNeeded() const { return becomesKeyOnlyIfNeeded_; }
    void setBecomesKeyOnlyIfNeeded(bool onlyIfNeeded) { becomesKeyOnlyIfNeeded_ = onlyIfNeeded; }
    bool hidesOnDeactivate() const { return hidesOnDeactivate_; }
    void setHidesOnDeactivate(bool hides) { hidesOnDeactivate_ = hides; }

  private:
    bool floatingPanel_ = false;
    bool becomesKeyOnlyIfNeeded_ = false;
    bool hidesOnDeactivate_ = true;
};

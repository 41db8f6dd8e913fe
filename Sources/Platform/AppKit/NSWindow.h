#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Base/CoreGraphics/CGBitmapContext.h"
#include "Base/Foundation/CGGeometry.h"
#include "Base/Foundation/NSNotificationCenter.h"
#include "Platform/AppKit/NSColor.h"
#include "Platform/AppKit/NSResponder.h"
#include "Platform/AppKit/NSView.h"
#include "Platform/QuartzCore/CAMediaTimingFunction.h"
#include "Simulator/InterfaceElement.h"

// The process's own windows and panels. Each is a window of the desktop, owned by this
// process: listed by the window server at its level while it is ordered in, with its number,
// frame and what its content layer draws. Its content is drawn by this process into a picture
// whenever it changes (once per turn of the main loop) and sent to the desktop with its element
// tree. Frames are in screen coordinates (bottom left of the first screen, y up), as the
// framework gives them; the content fills the whole frame, and the desktop draws a titled
// window's buttons over its top left.

using NSWindowStyleMask = std::uint64_t;
inline constexpr NSWindowStyleMask NSWindowStyleMaskBorderless = 0;
inline constexpr NSWindowStyleMask NSWindowStyleMaskTitled = 1 << 0;
inline constexpr NSWindowStyleMask NSWindowStyleMaskClosable = 1 << 1;
inline constexpr NSWindowStyleMask NSWindowStyleMaskMiniaturizable = 1 << 2;
inline constexpr NSWindowStyleMask NSWindowStyleMaskResizable = 1 << 3;
inline constexpr NSWindowStyleMask NSWindowStyleMaskUtilityWindow = 1 << 4;
inline constexpr NSWindowStyleMask NSWindowStyleMaskNonactivatingPanel = 1 << 7;
inline constexpr NSWindowStyleMask NSWindowStyleMaskHUDWindow = 1 << 13;
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

enum class NSWindowTitleVisibility { visible, hidden };
enum class NSWindowAnimationBehavior {
    defaultBehavior,
    none,
    documentWindow,
    utilityWindow,
    alertPanel
};

inline const NSNotificationName NSWindowDidBecomeKeyNotification =
    "NSWindowDidBecomeKeyNotification";
inline const NSNotificationName NSWindowDidResignKeyNotification =
    "NSWindowDidResignKeyNotification";
inline const NSNotificationName NSWindowWillCloseNotification = "NSWindowWillCloseNotification";

class NSWindowController;
class NSWindow;
class NSAppearance;
class NSEvent;

/// What a window tells its delegate; each does nothing unless overridden.
class NSWindowDelegate {
  public:
    virtual ~NSWindowDelegate() = default;
    /// Asked when a person presses the close button; false keeps the window open.
    virtual bool windowShouldClose(NSWindow& window);
    virtual void windowWillClose(NSWindow& window);
    virtual void windowDidBecomeKey(NSWindow& window);
    virtual void windowDidResignKey(NSWindow& window);
};

/// A window's animator: inside an animation group (`NSAnimationContext`) a change made through
/// it moves over the group's duration; outside one it is made at once.
class NSWindowAnimator {
  public:
    explicit NSWindowAnimator(NSWindow& window) : window_(window) {}
    void setAlphaValue(double alpha);

  private:
    NSWindow& window_;
};

class NSWindow : public NSResponder {
  public:
    NSWindow(CGRect contentRect, NSWindowStyleMask style, NSBackingStoreType backing, bool defer);
    ~NSWindow() override;

    /// The window server's number (0 when the desktop would not make the window).
    long windowNumber() const { return number_; }
    NSWindowStyleMask styleMask() const { return style_; }
    void setStyleMask(NSWindowStyleMask style);
    const std::string& title() const { return title_; }
    void setTitle(std::string title);
    NSWindowTitleVisibility titleVisibility() const { return titleVisibility_; }
    void setTitleVisibility(NSWindowTitleVisibility visibility) { titleVisibility_ = visibility; }
    bool titlebarAppearsTransparent() const { return titlebarTransparent_; }
    void setTitlebarAppearsTransparent(bool transparent) { titlebarTransparent_ = transparent; }

    CGRect frame() const { return frame_; }
    void setFrame(CGRect frame, bool display, bool animate = false);
    /// Moves the window, keeping its size.
    void setFrameOrigin(CGPoint origin);
    /// The content's rectangle for a frame: the same, the content filling the frame.
    CGRect contentRectForFrameRect(const CGRect& frame) const { return frame; }
    CGRect frameRectForContentRect(const CGRect& content) const { return content; }
    /// Resizes, keeping the bottom left corner.
    void setContentSize(CGSize size);
    CGSize minSize() const { return minSize_; }
    void setMinSize(CGSize size) { minSize_ = size; }
    CGSize maxSize() const { return maxSize_; }
    void setMaxSize(CGSize size) { maxSize_ = size; }
    CGSize contentMinSize() const { return minSize_; }
    void setContentMinSize(CGSize size) { minSize_ = size; }
    CGSize contentMaxSize() const { return maxSize_; }
    void setContentMaxSize(CGSize size) { maxSize_ = size; }
    /// Places the window in the middle of its screen across, a little above the middle down.
    void center();

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
    void setHasShadow(bool shadow);
    bool ignoresMouseEvents() const { return ignoresMouseEvents_; }
    void setIgnoresMouseEvents(bool ignores);
    bool isMovable() const { return movable_; }
    void setMovable(bool movable) { movable_ = movable; }
    bool isMovableByWindowBackground() const { return movableByBackground_; }
    void setMovableByWindowBackground(bool movable) { movableByBackground_ = movable; }
    bool isReleasedWhenClosed() const { return releasedWhenClosed_; }
    void setReleasedWhenClosed(bool released) { releasedWhenClosed_ = released; }
    NSWindowCollectionBehavior collectionBehavior() const { return collectionBehavior_; }
    void setCollectionBehavior(NSWindowCollectionBehavior behavior) {
        collectionBehavior_ = behavior;
    }
    NSWindowAnimationBehavior animationBehavior() const { return animationBehavior_; }
    void setAnimationBehavior(NSWindowAnimationBehavior behavior) { animationBehavior_ = behavior; }
    const std::shared_ptr<NSAppearance>& appearance() const { return appearance_; }
    void setAppearance(std::shared_ptr<NSAppearance> appearance);
    const NSViewRef& contentView() const { return contentView_; }
    void setContentView(NSViewRef view);
    NSWindowDelegate* delegate() const { return delegate_; }
    void setDelegate(NSWindowDelegate* delegate) { delegate_ = delegate; }

    bool isVisible() const { return visible_; }
    /// Orders the window in at the top of its level, whether or not the application is active.
    void orderFrontRegardless();
    void orderFront(const void* sender);
    void orderOut(const void* sender);
    /// Orders the window in and makes it the application's key window when it can be one.
    void makeKeyAndOrderFront(const void* sender);
    void makeKeyWindow();
    bool isKeyWindow() const;
    /// The window stops being key (another window took the keys, or its application went to
    /// the background): the delegate and observers are told. Nothing happens when it is not
    /// key.
    void resignKeyWindow();
    void makeMainWindow();
    bool isMainWindow() const;
    /// Titled windows can; borderless windows and panels without a title cannot.
    virtual bool canBecomeKeyWindow() const;
    /// Titled windows that are no panels can.
    virtual bool canBecomeMainWindow() const;
    /// Tells the delegate and observers, then orders the window out.
    void close();
    /// The close button: asks the delegate, then closes.
    void performClose(const void* sender);
    /// Toggles between the standard frame (the screen's visible area, within the maximum
    /// size) and the frame the window had before it was zoomed.
    void zoom(const void* sender);
    /// The zoom button: zooms a resizable window.
    void performZoom(const void* sender);

    // Events and the responder chain.
    NSResponder* firstResponder() const {
        return firstResponder_ ? firstResponder_ : const_cast<NSWindow*>(this);
    }
    /// Makes the responder (null: the window itself) first responder when the one now lets go
    /// and the new one accepts; false otherwise.
    bool makeFirstResponder(NSResponder* responder);
    /// Hands an event of this window to its views: mouse events to the view under the pointer
    /// (a press makes the window key and a view that accepts it first responder), keys to the
    /// first responder.
    virtual void sendEvent(NSEvent& event);
    /// Offers a key with modifiers to every view of the window; true when one took it.
    bool performKeyEquivalent(NSEvent& event) override;
    /// The end of the chain: Escape turns into `cancelOperation` from the first responder.
    void keyDown(NSEvent& event) override;

    // Drawing.
    /// A view of the window changed: a new picture is drawn on the next turn of the main loop.
    virtual void viewsNeedDisplay();
    /// Draws the picture now, if one is owed and the window is shown, and sends it.
    void displayIfNeeded();
    /// Draws the content as it stands (background, then the views) into the window's bitmap,
    /// kept from picture to picture while the size stays; null for a window without area.
    const CGBitmapContext* renderContent();
    /// The element tree of the content, frames in the window (top left, y down).
    std::vector<sim::InterfaceElement> elementTree() const;
    /// How many pictures were sent to the desktop.
    std::uint64_t picturesSent() const { return picturesSent_; }
    /// For views: the view leaves the window (a first responder among it lets go).
    void viewWillLeaveWindow(NSView& view);

    /// The application's key window, or null.
    static NSWindow* keyWindow();
    static NSWindow* mainWindow();
    /// The window of this process with that number, or null.
    static NSWindow* windowWithNumber(long number);

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

  protected:
    /// A window the desktop does not list (the one that holds a status item's button): its
    /// frame is where the status item stands.
    struct OffDesktop {};
    NSWindow(CGRect contentRect, OffDesktop);
    /// What an open menu shows, for the desktop's list; none for other windows.
    virtual std::vector<sim::MenuItemRecord> menuItemRecords() const { return {}; }
    virtual bool isMenuWindow() const { return false; }
    /// Tells the desktop how the window stands.
    void sync();

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

    /// The frame the window zooms to.
    CGRect standardFrame() const;
    void stepAlphaAnimation(std::uint64_t generation);
    /// Ends the running alpha animation, if any, and tells its owner.
    void endAlphaAnimation();
    void scheduleDisplay();
    void sendMouse(NSEvent& event);
    /// A move without a button: the view under the pointer hears it, the one it left hears
    /// that it left.
    void trackPointer(NSEvent& event);
    static void windowsChanged();

    long number_ = 0;
    NSWindowStyleMask style_;
    std::string title_;
    NSWindowTitleVisibility titleVisibility_ = NSWindowTitleVisibility::visible;
    bool titlebarTransparent_ = false;
    CGRect frame_;
    /// The frame before the window was zoomed, while it is.
    std::optional<CGRect> userFrame_;
    CGSize minSize_;
    CGSize maxSize_;
    NSWindowLevel level_ = NSNormalWindowLevel;
    double alpha_ = 1;
    std::optional<AlphaAnimation> alphaAnimation_;
    std::uint64_t alphaGeneration_ = 0;
    /// Lets deferred work (animation steps, drawing) find out whether the window still exists.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    bool opaque_ = true;
    NSColorRef background_;
    bool hasShadow_ = true;
    bool ignoresMouseEvents_ = false;
    bool movable_ = true;
    bool movableByBackground_ = false;
    bool releasedWhenClosed_ = true;
    NSWindowCollectionBehavior collectionBehavior_ = 0;
    NSWindowAnimationBehavior animationBehavior_ = NSWindowAnimationBehavior::defaultBehavior;
    std::shared_ptr<NSAppearance> appearance_;
    NSViewRef contentView_;
    NSWindowDelegate* delegate_ = nullptr;
    NSResponder* firstResponder_ = nullptr;
    /// The view that took the mouse press, for the drags and the release that follow.
    NSView* mouseView_ = nullptr;
    /// The view the pointer is over, for the moves that follow.
    NSView* hoverView_ = nullptr;
    bool visible_ = false;
    bool onDesktop_ = true;
    bool needsDisplay_ = true;
    bool displayScheduled_ = false;
    std::uint64_t picturesSent_ = 0;
    /// A fresh bitmap for every picture costs more than the drawing: it is kept.
    std::unique_ptr<CGBitmapContext> backing_;
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
    bool canBecomeMainWindow() const override { return false; }

  private:
    bool floatingPanel_ = false;
    bool becomesKeyOnlyIfNeeded_ = false;
    bool hidesOnDeactivate_ = true;
};

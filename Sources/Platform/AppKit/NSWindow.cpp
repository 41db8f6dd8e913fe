#include "Platform/AppKit/NSWindow.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "Platform/AppKit/NSScreen.h"
#include "Simulator/SharedConnection.h"

namespace {

// The key and main windows of this process; the framework's windows belong to the main thread.
NSWindow* currentKeyWindow = nullptr;
NSWindow* currentMainWindow = nullptr;

std::function<void()>& windowsChangedHandler() {
    static std::function<void()> handler;
    return handler;
}

// Every window of the process, in the order they were made (main thread only, like the key
// window).
std::vector<NSWindow*>& liveWindows() {
    static std::vector<NSWindow*> windows;
    return windows;
}

double firstScreenHeight(sim::DesktopConnection& connection) {
    const auto displays = connection.displays();
    return displays.empty() ? 0 : displays.front().frame.height();
}

sim::Colour colourOf(const CGColorRef& colour) {
    if (!colour) return {};
    return sim::Colour{colour->red, colour->green, colour->blue, colour->alpha};
}

}  // namespace

bool NSWindowDelegate::windowShouldClose(NSWindow&) {
    return true;
}
void NSWindowDelegate::windowWillClose(NSWindow&) {}
void NSWindowDelegate::windowDidBecomeKey(NSWindow&) {}
void NSWindowDelegate::windowDidResignKey(NSWindow&) {}

NSWindow::NSWindow(CGRect contentRect, NSWindowStyleMask style, NSBackingStoreType, bool)
    : style_(style), frame_(contentRect) {
    number_ = static_cast<long>(sim::SharedConnection::current()->createOwnWindow({}));
    setContentView(std::make_shared<NSView>(CGRect(CGPoint{}, contentRect.size)));
    liveWindows().push_back(this);
}

NSWindow::NSWindow(CGRect contentRect, OffDesktop)
    : style_(NSWindowStyleMaskBorderless), frame_(contentRect), onDesktop_(false) {
    setContentView(std::make_shared<NSView>(CGRect(CGPoint{}, contentRect.size)));
}

NSWindow::~NSWindow() {
    // An animation that can no longer finish counts as finished for its group.
    if (alphaAnimation_ && alphaAnimation_->done) alphaAnimation_->done();
    if (contentView_) {
        contentView_->setOnLayerChange({});
        contentView_->setNextResponder(nullptr);
        contentView_->setWindowOfTree(nullptr);
    }
    if (!onDesktop_) return;
    std::erase(liveWindows(), this);
    windowsChanged();
    delegate_ = nullptr;  // it may be going too
    resignKeyWindow();
    if (currentMainWindow == this) currentMainWindow = nullptr;
    if (number_ != 0)
        sim::SharedConnection::current()->closeOwnWindow(static_cast<sim::WindowNumber>(number_));
}

void NSWindow::sync() {
    if (number_ == 0 || !onDesktop_) return;
    const auto connection = sim::SharedConnection::current();
    const double height = firstScreenHeight(*connection);
    sim::OwnWindowSpec spec;
    spec.title = title_;
    spec.frame = CGRect(frame_.minX(), height - frame_.maxY(), frame_.width(), frame_.height());
    spec.level = level_;
    spec.alpha = alphaValue();
    spec.ignoresMouseEvents = ignoresMouseEvents_;
    if (background_) spec.background = colourOf(background_->CGColor());
    if (contentView_ && contentView_->layer()) {
        const CALayer& layer = *contentView_->layer();
        spec.borderColour = colourOf(layer.borderColor());
        spec.borderWidth = layer.borderWidth();
        spec.cornerRadius = layer.cornerRadius();
        spec.opacity = layer.opacity();
    }
    spec.key = isKeyWindow();
    spec.nonactivating = (style_ & NSWindowStyleMaskNonactivatingPanel) != 0;
    spec.titled = (style_ & NSWindowStyleMaskTitled) != 0;
    spec.closable = spec.titled && (style_ & NSWindowStyleMaskClosable);
    spec.miniaturizable = spec.titled && (style_ & NSWindowStyleMaskMiniaturizable);
    spec.resizable = spec.titled && (style_ & NSWindowStyleMaskResizable);
    spec.hasShadow = hasShadow_;
    spec.menu = isMenuWindow();
    connection->updateOwnWindow(static_cast<sim::WindowNumber>(number_), spec);
}

void NSWindow::setStyleMask(NSWindowStyleMask style) {
    style_ = style;
    sync();
}

void NSWindow::setTitle(std::string title) {
    title_ = std::move(title);
    sync();
}

void NSWindow::setFrame(CGRect frame, bool, bool) {
    const bool resized = frame.size != frame_.size;
    frame_ = frame;
    if (resized && contentView_) contentView_->setFrame(CGRect(CGPoint{}, frame.size));
    sync();
    windowsChanged();
}

void NSWindow::setFrameOrigin(CGPoint origin) {
    setFrame(CGRect(origin, frame_.size), true);
}

void NSWindow::setContentSize(CGSize size) {
    setFrame(CGRect(frame_.origin, size), true);
}

void NSWindow::center() {
    NSScreenRef screen = NSScreen::mainScreen();
    if (!screen) return;
    const CGRect visible = screen->visibleFrame();
    const double x = std::round(visible.midX() - frame_.width() / 2);
    const double y = std::round(visible.minY() + (visible.height() - frame_.height()) * 2 / 3);
    setFrameOrigin(CGPoint{x, y});
}

void NSWindow::setLevel(NSWindowLevel level) {
    level_ = level;
    sync();
}

void NSWindow::setAlphaValue(double alpha) {
    endAlphaAnimation();
    alpha_ = alpha;
    sync();
}

void NSWindow::setBackgroundColor(NSColorRef colour) {
    background_ = std::move(colour);
    sync();
    viewsNeedDisplay();
}

void NSWindow::setHasShadow(bool shadow) {
    hasShadow_ = shadow;
    sync();
}

void NSWindow::setIgnoresMouseEvents(bool ignores) {
    ignoresMouseEvents_ = ignores;
    sync();
}

void NSWindow::setAppearance(std::shared_ptr<NSAppearance> appearance) {
    appearance_ = std::move(appearance);
    viewsNeedDisplay();
}

void NSWindow::setContentView(NSViewRef view) {
    if (contentView_) {
        contentView_->setOnLayerChange({});
        contentView_->setNextResponder(nullptr);
        contentView_->setWindowOfTree(nullptr);
    }
    contentView_ = std::move(view);
    if (contentView_) {
        contentView_->setFrame(CGRect(CGPoint{}, frame_.size));
        contentView_->setOnLayerChange([this] { sync(); });
        contentView_->setWindowOfTree(this);
    }
    sync();
    viewsNeedDisplay();
}

void NSWindow::orderFrontRegardless() {
    visible_ = true;
    windowsChanged();
    if (number_ != 0 && onDesktop_) {
        sim::SharedConnection::current()->orderOwnWindow(static_cast<sim::WindowNumber>(number_),
                                                         true);
    }
    viewsNeedDisplay();
}

void NSWindow::orderFront(const void*) {
    orderFrontRegardless();
}

void NSWindow::orderOut(const void*) {
    visible_ = false;
    // A hidden window holds no pixels; it draws afresh when it is shown again.
    backing_.reset();
    windowsChanged();
    resignKeyWindow();
    if (number_ != 0 && onDesktop_) {
        sim::SharedConnection::current()->orderOwnWindow(static_cast<sim::WindowNumber>(number_),
                                                         false);
    }
}

void NSWindow::makeKeyAndOrderFront(const void*) {
    orderFrontRegardless();
    makeKeyWindow();
    if (canBecomeMainWindow()) makeMainWindow();
}

void NSWindow::makeKeyWindow() {
    if (!canBecomeKeyWindow() || !visible_ || currentKeyWindow == this) return;
    if (NSWindow* former = currentKeyWindow) former->resignKeyWindow();
    currentKeyWindow = this;
    sync();
    if (delegate_) delegate_->windowDidBecomeKey(*this);
    NSNotificationCenter::defaultCenter().post(NSWindowDidBecomeKeyNotification, this);
}

bool NSWindow::isKeyWindow() const {
    return currentKeyWindow == this;
}

void NSWindow::makeMainWindow() {
    if (canBecomeMainWindow() && visible_) currentMainWindow = this;
}

bool NSWindow::isMainWindow() const {
    return currentMainWindow == this;
}

bool NSWindow::canBecomeKeyWindow() const {
    return (style_ & NSWindowStyleMaskTitled) != 0;
}

bool NSWindow::canBecomeMainWindow() const {
    return (style_ & NSWindowStyleMaskTitled) != 0;
}

void NSWindow::close() {
    if (delegate_) delegate_->windowWillClose(*this);
    NSNotificationCenter::defaultCenter().post(NSWindowWillCloseNotification, this);
    orderOut(nullptr);
    if (currentMainWindow == this) currentMainWindow = nullptr;
}

void NSWindow::performClose(const void*) {
    if (delegate_ && !delegate_->windowShouldClose(*this)) return;
    close();
}

CGRect NSWindow::standardFrame() const {
    NSScreenRef screen = NSScreen::mainScreen();
    for (const NSScreenRef& each : NSScreen::screens())
        if (each->frame().intersects(frame_)) {
            screen = each;
            break;
        }
    if (!screen) return frame_;
    const CGRect visible = screen->visibleFrame();
    const auto most = [](CGFloat room, CGFloat limit) {
        return limit > 0 ? std::min(room, limit) : room;
    };
    const CGFloat width = most(visible.width(), maxSize_.width);
    const CGFloat height = most(visible.height(), maxSize_.height);
    // Along the top left of the visible area, as large as the screen and the window allow.
    return CGRect(visible.minX(), visible.maxY() - height, width, height);
}

void NSWindow::zoom(const void*) {
    const CGRect standard = standardFrame();
    if (frame_ == standard && userFrame_) {
        setFrame(*std::exchange(userFrame_, std::nullopt), true);
        return;
    }
    userFrame_ = frame_;
    setFrame(standard, true);
}

void NSWindow::performZoom(const void* sender) {
    if (style_ & NSWindowStyleMaskResizable) zoom(sender);
}

NSWindow* NSWindow::keyWindow() {
    return currentKeyWindow;
}

NSWindow* NSWindow::mainWindow() {
    return currentMainWindow;
}

NSWindow* NSWindow::windowWithNumber(long number) {
    for (NSWindow* window : liveWindows()) {
        if (window->number_ == number && number != 0) return window;
    }
    return nullptr;
}

std::vector<NSWindow*> NSWindow::allWindows() {
    return liveWindows();
}

void NSWindow::setWindowsChangedHandler(std::function<void()> handler) {
    windowsChangedHandler() = std::move(handler);
}

void NSWindow::windowsChanged() {
    if (windowsChangedHandler()) windowsChangedHandler()();
}

void NSWindow::resignKeyWindow() {
    if (currentKeyWindow != this) return;
    currentKeyWindow = nullptr;
    sync();
    if (delegate_) delegate_->windowDidResignKey(*this);
    NSNotificationCenter::defaultCenter().post(NSWindowDidResignKeyNotification, this);
}

void NSPanel::setFloatingPanel(bool floating) {
    floatingPanel_ = floating;
    setLevel(floating ? NSFloatingWindowLevel : NSNormalWindowLevel);
}

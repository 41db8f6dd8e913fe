#include "Platform/AppKit/NSWindow.h"

#include <algorithm>

#include "Simulator/SharedConnection.h"

namespace {

// The key window of this process; the framework's windows belong to the main thread.
NSWindow* currentKeyWindow = nullptr;

// Every window of the process, in the order they were made (main thread only, like the key
// window).
std::function<void()>& windowsChangedHandler() {
    static std::function<void()> handler;
    return handler;
}

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

NSWindow::NSWindow(CGRect contentRect, NSWindowStyleMask style, NSBackingStoreType, bool)
    : style_(style), frame_(contentRect), contentView_(std::make_shared<NSView>(contentRect)) {
    contentView_->setOnLayerChange([this] { sync(); });
    number_ = static_cast<long>(sim::SharedConnection::current()->createOwnWindow({}));
    sync();
    liveWindows().push_back(this);
}

NSWindow::~NSWindow() {
    // An animation that can no longer finish counts as finished for its group.
    if (alphaAnimation_ && alphaAnimation_->done) alphaAnimation_->done();
    std::erase(liveWindows(), this);
    windowsChanged();
    resignKey();
    if (number_ != 0)
        sim::SharedConnection::current()->closeOwnWindow(static_cast<sim::WindowNumber>(number_));
}

void NSWindow::sync() {
    if (number_ == 0) return;
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
    connection->updateOwnWindow(static_cast<sim::WindowNumber>(number_), spec);
}

void NSWindow::setTitle(std::string title) {
    title_ = std::move(title);
    sync();
}

void NSWindow::setFrame(CGRect frame, bool) {
    frame_ = frame;
    sync();
    windowsChanged();
}

void NSWindow::setFrameOrigin(CGPoint origin) {
    setFrame(CGRect(origin, frame_.size), true);
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
}

void NSWindow::setIgnoresMouseEvents(bool ignores) {
    ignoresMouseEvents_ = ignores;
    sync();
}

void NSWindow::setContentView(NSViewRef view) {
    if (contentView_) contentView_->setOnLayerChange({});
    contentView_ = std::move(view);
    if (contentView_) contentView_->setOnLayerChange([this] { sync(); });
    sync();
}

void NSWindow::orderFrontRegardless() {
    visible_ = true;
    windowsChanged();
    if (number_ != 0)
        sim::SharedConnection::current()->orderOwnWindow(static_cast<sim::WindowNumber>(number_),
                                                         true);
}

void NSWindow::orderFront(const void*) {
    orderFrontRegardless();
}

void NSWindow::orderOut(const void*) {
    visible_ = false;
    windowsChanged();
    resignKey();
    if (number_ != 0)
        sim::SharedConnection::current()->orderOwnWindow(static_cast<sim::WindowNumber>(number_),
                                                         false);
}

void NSWindow::makeKeyAndOrderFront(const void*) {
    orderFrontRegardless();
    makeKeyWindow();
}

void NSWindow::makeKeyWindow() {
    if (canBecomeKeyWindow() && visible_) currentKeyWindow = this;
}

bool NSWindow::isKeyWindow() const {
    return currentKeyWindow == this;
}

bool NSWindow::canBecomeKeyWindow() const {
    return (style_ & NSWindowStyleMaskTitled) != 0;
}

void NSWindow::close() {
    orderOut(nullptr);
}

NSWindow* NSWindow::keyWindow() {
    return currentKeyWindow;
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

void NSWindow::resignKey() {
    if (currentKeyWindow == this) currentKeyWindow = nullptr;
}

void NSPanel::setFloatingPanel(bool floating) {
    floatingPanel_ = floating;
    setLevel(floating ? NSFloatingWindowLevel : NSNormalWindowLevel);
}

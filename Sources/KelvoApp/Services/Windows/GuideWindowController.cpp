#include "KelvoApp/Services/Windows/GuideWindowController.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "Base/Foundation/DispatchQueue.h"
#include "KelvoApp/Input/AppPresence.h"
#include "KelvoApp/Services/Windows/DarkTitledWindow.h"
#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoApp/Views/Guide/GuideView.h"
#include "Platform/AppKit/NSApplication.h"
#include "Platform/AppKit/NSScreen.h"

namespace kelvo {

namespace {

/// The first screen that meets `rect`, else the main screen; null with neither.
NSScreenRef screenMeeting(const CGRect& rect) {
    for (const NSScreenRef& screen : NSScreen::screens())
        if (screen->frame().intersects(rect)) return screen;
    return NSScreen::mainScreen();
}

}  // namespace

GuideWindowController::GuideWindowController(SettingsModel& settings) : model(settings) {
    model.onLeave = [this] {
        if (window) window->close();
    };
    model.onIdealHeight = [this](CGFloat height) { scheduleFit(height); };
}

GuideWindowController::~GuideWindowController() {
    *alive_ = false;
    if (window) window->setDelegate(nullptr);
}

void GuideWindowController::show() {
    model.restart();
    if (!window) makeWindow();
    model.watch();
    NSApplication::sharedApplication().activateIgnoringOtherApps(true);
    // Shown twice in a row is still one open window.
    if (!open_ && presence) presence->windowOpened();
    open_ = true;
    window->makeKeyAndOrderFront(nullptr);
}

void GuideWindowController::makeWindow() {
    hosting = std::make_shared<SwiftUI::NSHostingView>(
        [this] { return GuideView(model, model.settings()).body(); });
    hosting->observe(model);
    hosting->observe(model.settings());
    hosting->setSizingOptions(SwiftUI::NSHostingSizingOptions::none);

    const NSScreenRef main = NSScreen::mainScreen();
    const CGFloat height =
        main ? std::clamp(main->visibleFrame().height() - openingAllowance, minHeight, maxHeight)
             : heightWithoutScreen;
    window = std::make_unique<NSWindow>(CGRect(0, 0, width, height), darkTitledStyle,
                                        NSBackingStoreBuffered, false);
    dressDarkTitledWindow(*window, title, level, hosting, CGSize{width, height},
                          CGSize{minWidth, minHeight});
    window->setMaxSize(CGSize{std::numeric_limits<CGFloat>::max(), height});
    placeUnderMenuBar();
    window->setDelegate(this);
}

void GuideWindowController::placeUnderMenuBar() {
    const std::optional<CGRect> item = anchor ? anchor() : std::nullopt;
    const NSScreenRef screen = item ? screenMeeting(*item) : nullptr;
    if (!screen) {
        window->center();
        return;
    }
    const CGRect visible = screen->visibleFrame();
    const CGRect frame = window->frame();
    const CGFloat y = visible.maxY() - frame.height() - screenMargin;
    CGFloat x = item->maxX() - frame.width();
    x = std::max(x, visible.minX() + screenMargin);
    x = std::min(x, visible.maxX() - frame.width() - screenMargin);
    window->setFrame(CGRect(x, y, frame.width(), frame.height()), false);
}

void GuideWindowController::scheduleFit(CGFloat contentHeight) {
    std::weak_ptr<bool> alive = alive_;
    DispatchQueue::main().async([this, alive, contentHeight] {
        if (alive.lock()) fit(contentHeight);
    });
}

void GuideWindowController::fit(CGFloat contentHeight) {
    if (!window) return;
    const CGRect frame = window->frame();
    const NSViewRef& content = window->contentView();
    const CGFloat chrome =
        std::max(content ? frame.height() - content->frame().height() : frame.height(), 0.0);
    const NSScreenRef screen = screenMeeting(frame);
    const CGFloat cap = screen ? std::min(screen->visibleFrame().height() - fitAllowance, maxHeight)
                               : fitCapWithoutScreen;
    const CGFloat target = std::min(std::max(std::ceil(contentHeight + chrome), minHeight), cap);
    if (std::abs(target - frame.height()) <= 1) return;
    CGFloat y = frame.maxY() - target;
    if (screen) {
        const CGRect visible = screen->visibleFrame();
        if (frame.maxY() > visible.maxY()) y = visible.maxY() - target;
        if (y < visible.minY()) y = visible.minY();
    }
    window->setFrame(CGRect(frame.minX(), y, frame.width(), target), true, false);
}

void GuideWindowController::close() {
    if (window && open_) window->performClose(nullptr);
}

void GuideWindowController::windowWillClose(NSWindow&) {
    if (open_ && presence) presence->windowClosed();
    open_ = false;
    model.stopWatching();
    model.settings().markGuideSeen();
    if (onClose) onClose();
}

void GuideWindowController::orderOut() {
    if (window) window->orderOut(nullptr);
}

void GuideWindowController::orderFront() {
    if (window) window->orderFront(nullptr);
}

bool GuideWindowController::isKey() const {
    return window && window->isVisible() && window->isKeyWindow();
}

}  // namespace kelvo

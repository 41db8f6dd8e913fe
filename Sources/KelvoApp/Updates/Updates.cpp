#include "KelvoApp/Updates/Updates.h"

#include <algorithm>
#include <string>
#include <vector>

#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/NSUserDefaults.h"
#include "Platform/AppKit/NSApplication.h"
#include "Platform/AppKit/NSBundle.h"
#include "Platform/AppKit/NSEvent.h"
#include "Platform/AppKit/NSScreen.h"
#include "Platform/AppKit/NSWindowController.h"

namespace kelvo {

namespace fs = std::filesystem;

namespace {

bool isApplicationBundle(const fs::path& url) {
    fs::path path = url;
    // "Kelvo.app/" names the same bundle as "Kelvo.app".
    while (path.has_relative_path() && !path.has_filename())
        path = path.parent_path();
    return path.extension() == Updates::applicationExtension;
}

/// The first screen under the pointer, else the main screen; null without screens.
NSScreenRef screenUnderPointer() {
    const CGPoint pointer = NSEvent::mouseLocation();
    for (const NSScreenRef& screen : NSScreen::screens()) {
        if (screen->frame().contains(pointer)) return screen;
    }
    return NSScreen::mainScreen();
}

}  // namespace

Updates::Updates() : self_(std::make_shared<Updates*>(this)) {}

Updates::~Updates() {
    if (updateObserver_) NSNotificationCenter::defaultCenter().removeObserver(*updateObserver_);
}

void Updates::start() {
    if (started_) return;
    started_ = true;
    if (!isApplicationBundle(NSBundle::mainBundle().bundleURL())) return;
    controller_ = std::make_unique<SPUStandardUpdaterController>(true, nullptr, nullptr);
    placeSparkleWindows();
}

void Updates::checkNow() {
    if (!started_) start();
    if (controller_) controller_->checkForUpdates(nullptr);
}

CGPoint Updates::placementOrigin(const CGRect& visibleFrame, const CGSize& size) {
    const double x = visibleFrame.midX() - size.width / 2;
    const double y = visibleFrame.maxY() - visibleFrame.height() * topMarginFraction - size.height;
    return {x, std::max(y, visibleFrame.minY())};
}

bool Updates::isUpdaterController(std::string_view typeName) {
    return std::any_of(controllerPrefixes.begin(), controllerPrefixes.end(),
                       [&](std::string_view prefix) { return typeName.starts_with(prefix); });
}

void Updates::placeSparkleWindows() {
    NSUserDefaults& defaults = NSUserDefaults::standardUserDefaults();
    for (const auto& [key, value] : defaults.dictionaryRepresentation()) {
        if (key.starts_with(savedFramePrefix)) defaults.removeObjectForKey(key);
    }
    std::weak_ptr<Updates*> holder = self_;
    updateObserver_ = NSNotificationCenter::defaultCenter().addObserver(
        NSApplicationDidUpdateNotification, &NSApplication::sharedApplication(),
        &DispatchQueue::main(), [holder](const NSNotification&) {
            if (const auto alive = holder.lock()) (*alive)->placeNewSparkleWindows();
        });
}

void Updates::placeNewSparkleWindows() {
    const std::vector<NSWindow*> windows = NSApplication::sharedApplication().windows();
    for (NSWindow* window : windows) {
        if (!window->isVisible() || placed_.contains(window)) continue;
        const NSWindowController* controller = window->windowController();
        if (!controller || !isUpdaterController(controller->className())) continue;
        placed_.insert(window);
        const NSScreenRef screen = screenUnderPointer();
        if (!screen) continue;
        window->setFrameOrigin(placementOrigin(screen->visibleFrame(), window->frame().size));
    }
    std::erase_if(placed_, [&](const NSWindow* identity) {
        return std::find(windows.begin(), windows.end(), identity) == windows.end();
    });
}

}  // namespace kelvo

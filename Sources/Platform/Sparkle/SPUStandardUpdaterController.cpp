#include "Platform/Sparkle/SPUStandardUpdaterController.h"

#include <sstream>

#include "Base/Foundation/NSUserDefaults.h"

namespace {

/// A frame as the defaults keep it: "x y width height".
std::string frameText(const CGRect& frame) {
    std::ostringstream text;
    text << frame.minX() << ' ' << frame.minY() << ' ' << frame.width() << ' ' << frame.height();
    return text.str();
}

std::optional<CGRect> frameFromText(const std::string& text) {
    std::istringstream fields(text);
    double x = 0, y = 0, width = 0, height = 0;
    if (!(fields >> x >> y >> width >> height) || width <= 0 || height <= 0) return std::nullopt;
    return CGRect(x, y, width, height);
}

/// The remembered frame, else the bottom left corner of the first screen.
CGRect initialFrame() {
    const auto saved =
        NSUserDefaults::standardUserDefaults().stringForKey(SUStatusController::frameKey());
    if (saved) {
        if (const auto frame = frameFromText(*saved)) return *frame;
    }
    return CGRect(CGPoint{0, 0}, SUStatusController::windowSize);
}

}  // namespace

SUStatusController::SUStatusController()
    : NSWindowController(std::make_unique<NSWindow>(
          initialFrame(), NSWindowStyleMaskTitled | NSWindowStyleMaskClosable,
          NSBackingStoreBuffered, false)) {
    window()->setTitle(windowTitle);
}

std::string SUStatusController::frameKey() {
    return std::string("NSWindow Frame ") + frameAutosaveName;
}

void SUStatusController::close() {
    NSUserDefaults::standardUserDefaults().setObject(frameText(window()->frame()), frameKey());
    NSWindowController::close();
}

SPUStandardUpdaterController::SPUStandardUpdaterController(bool startingUpdater, const void*,
                                                           const void*) {
    if (startingUpdater) startUpdater();
}

SPUStandardUpdaterController::~SPUStandardUpdaterController() = default;

void SPUStandardUpdaterController::checkForUpdates(const void* sender) {
    if (!updater_.canCheckForUpdates()) return;
    // A closed window is done with; the next check gets a new one, as the framework makes a
    // new window for every session.
    if (!status_ || !status_->window()->isVisible()) {
        status_ = std::make_unique<SUStatusController>();
    }
    status_->showWindow(sender);
}

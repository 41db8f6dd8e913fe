#include "Platform/AppKit/NSScreen.h"

#include "Simulator/SharedConnection.h"

namespace {

CGRect flipped(const CGRect& rect, double firstHeight) {
    return CGRect(rect.minX(), firstHeight - rect.maxY(), rect.width(), rect.height());
}

}  // namespace

std::vector<NSScreenRef> NSScreen::screens() {
    const auto displays = sim::SharedConnection::current()->displays();
    std::vector<NSScreenRef> screens;
    if (displays.empty()) return screens;
    const double firstHeight = displays.front().frame.height();
    for (const auto& display : displays) {
        screens.push_back(
            std::make_shared<const NSScreen>(display.id, flipped(display.frame, firstHeight),
                                             flipped(display.visibleFrame, firstHeight)));
    }
    return screens;
}

NSScreenRef NSScreen::mainScreen() {
    const auto all = screens();
    return all.empty() ? nullptr : all.front();
}

CFDictionaryRef NSScreen::deviceDescription() const {
    return CFDictionaryCreate({{NSScreenNumber, CFNumberCreate(std::int64_t{displayID_})}});
}

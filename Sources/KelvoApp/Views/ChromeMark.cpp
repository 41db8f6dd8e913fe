#include "KelvoApp/Views/ChromeMark.h"

#include <algorithm>
#include <cmath>

#include "KelvoCore/Brand/MarkRenderer.h"

namespace kelvo {

int ChromeMark::pixels(const NSScreenRef& mainScreen) {
    const CGFloat scale =
        mainScreen ? std::max(mainScreen->backingScaleFactor(), 1.0) : scaleWithoutScreen;
    return static_cast<int>(std::round(scale * points));
}

const NSImageRef& ChromeMark::image() {
    static const NSImageRef made = []() -> NSImageRef {
        const CGImageRef mark = MarkRenderer::render(pixels(NSScreen::mainScreen()), points);
        if (!mark) return nullptr;
        return std::make_shared<NSImage>(mark, CGSize{points, points});
    }();
    return made;
}

}  // namespace kelvo

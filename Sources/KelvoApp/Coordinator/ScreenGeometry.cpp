#include "KelvoApp/Coordinator/ScreenGeometry.h"

#include <algorithm>

namespace kelvo {

CGRect ScreenGeometry::belowMenuBar(const ScreenDescription& screen, double firstMaxY) {
    const CGRect& f = screen.frame;
    const double menuBar = f.maxY() - screen.visibleFrame.maxY();
    return CGRect(f.minX(), menuBar + (firstMaxY - f.maxY()), f.width(), f.height() - menuBar);
}

std::optional<CGRect> ScreenGeometry::axScreenFrame(const std::optional<ScreenDescription>& main,
                                                    const std::vector<ScreenDescription>& screens) {
    if (!main) return std::nullopt;
    // Measured against the first screen, as every display is; with the main screen first this
    // is the main screen's own height.
    const double firstMaxY = screens.empty() ? main->frame.maxY() : screens.front().frame.maxY();
    return belowMenuBar(*main, firstMaxY);
}

std::vector<CGRect> ScreenGeometry::menuBarStrips(const std::vector<ScreenDescription>& screens) {
    std::vector<CGRect> strips;
    if (screens.empty()) return strips;
    const double p = screens.front().frame.maxY();
    for (const ScreenDescription& s : screens) {
        const CGRect& f = s.frame;
        strips.emplace_back(f.minX(), p - f.maxY(), f.width(),
                            std::max(f.maxY() - s.visibleFrame.maxY(), 0.0));
    }
    return strips;
}

std::vector<Display> ScreenGeometry::attachedDisplays(
    const std::vector<ScreenDescription>& screens) {
    std::vector<Display> displays;
    if (screens.empty()) return displays;
    const double p = screens.front().frame.maxY();
    for (const ScreenDescription& s : screens) {
        if (!s.number) continue;
        displays.emplace_back(*s.number, belowMenuBar(s, p));
    }
    return displays;
}

}  // namespace kelvo

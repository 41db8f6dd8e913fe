#include "KelvoApp/Input/FocusBorder.h"

#include <algorithm>
#include <cmath>

namespace kelvo {

FocusBorder::FocusBorder(HexColor color, double opacity, double cornerRadius,
                         std::function<std::optional<double>()> firstScreenHeight)
    : firstScreenHeight_(std::move(firstScreenHeight)) {
    borderLayer.borderWidth = borderWidth;
    setAppearance(color, opacity, cornerRadius);
}

void FocusBorder::setAppearance(HexColor color, double opacity, double cornerRadius) {
    borderLayer.borderColor = color;
    borderLayer.opacity = std::isfinite(opacity) ? std::clamp(opacity, 0.0, 1.0) : fallbackOpacity;
    borderLayer.cornerRadius = std::isfinite(cornerRadius)
                                   ? std::clamp(cornerRadius, 0.0, maximumCornerRadius) + 1
                                   : fallbackCornerRadius;
}

void FocusBorder::show(const CGRect& axFrame) {
    const auto height = firstScreenHeight_ ? firstScreenHeight_() : std::nullopt;
    if (!height) return;
    // One rule for every display: flipped against the first screen.
    const CGRect flipped(axFrame.origin.x, *height - (axFrame.origin.y + axFrame.size.height),
                         axFrame.size.width, axFrame.size.height);
    const CGRect wanted(flipped.origin.x - outset, flipped.origin.y - outset,
                        flipped.size.width + 2 * outset, flipped.size.height + 2 * outset);
    if (panel.frame != wanted) {
        panel.frame = wanted;
        ++frameChanges;
    }
    if (!panel.visible) {
        panel.orderFront();
        ++orderFronts;
    }
}

}  // namespace kelvo

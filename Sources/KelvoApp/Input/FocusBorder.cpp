#include "KelvoApp/Input/FocusBorder.h"

#include <algorithm>
#include <cmath>

#include "Platform/AppKit/NSColor.h"
#include "Platform/AppKit/NSScreen.h"
#include "Platform/QuartzCore/CATransaction.h"

namespace kelvo {

FocusBorder::FocusBorder(HexColor color, double opacity, double cornerRadius)
    : panel(CGRect(), NSWindowStyleMaskNonactivatingPanel, NSBackingStoreBuffered, false) {
    panel.setLevel(NSFloatingWindowLevel);
    panel.setOpaque(false);
    panel.setBackgroundColor(NSColor::clearColor());
    panel.setHasShadow(false);
    panel.setIgnoresMouseEvents(true);
    panel.setCollectionBehavior(collectionBehavior);
    auto view = std::make_shared<NSView>();
    view->setWantsLayer(true);
    borderLayer = view->layer();
    borderLayer->setBackgroundColor(NSColor::clearColor()->CGColor());
    borderLayer->setBorderWidth(borderWidth);
    panel.setContentView(view);
    setAppearance(color, opacity, cornerRadius);
}

void FocusBorder::setAppearance(HexColor color, double opacity, double cornerRadius) {
    CATransaction::begin();
    CATransaction::setDisableActions(true);
    borderLayer->setBorderColor(
        NSColor::colorWithSRGBRed(color.red, color.green, color.blue, 1)->CGColor());
    borderLayer->setOpacity(static_cast<float>(
        std::isfinite(opacity) ? std::clamp(opacity, 0.0, 1.0) : fallbackOpacity));
    borderLayer->setCornerRadius(std::isfinite(cornerRadius)
                                     ? std::clamp(cornerRadius, 0.0, maximumCornerRadius) + 1
                                     : fallbackCornerRadius);
    CATransaction::commit();
}

void FocusBorder::show(const CGRect& axFrame) {
    const auto screens = NSScreen::screens();
    if (screens.empty()) return;
    // One rule for every display: flipped against the first screen.
    const double height = screens.front()->frame().height();
    const CGRect flipped(axFrame.origin.x, height - (axFrame.origin.y + axFrame.size.height),
                         axFrame.size.width, axFrame.size.height);
    const CGRect wanted(flipped.origin.x - outset, flipped.origin.y - outset,
                        flipped.size.width + 2 * outset, flipped.size.height + 2 * outset);
    if (panel.frame() != wanted) panel.setFrame(wanted, false);
    if (!panel.isVisible()) panel.orderFrontRegardless();
}

void FocusBorder::hide() {
    if (panel.isVisible()) panel.orderOut(nullptr);
}

}  // namespace kelvo

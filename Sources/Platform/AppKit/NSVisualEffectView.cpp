#include "Platform/AppKit/NSVisualEffectView.h"

#include "Base/CoreGraphics/CGPath.h"
#include "Platform/AppKit/NSGraphicsContext.h"

CGColorValue NSVisualEffectView::tintOf(NSVisualEffectMaterial material) {
    switch (material) {
        case NSVisualEffectMaterial::hudWindow:
            return {0.11, 0.11, 0.13, 0.8};
        case NSVisualEffectMaterial::menu:
        case NSVisualEffectMaterial::popover:
            return {0.95, 0.95, 0.95, 0.85};
        case NSVisualEffectMaterial::titlebar:
        case NSVisualEffectMaterial::sidebar:
            return {0.92, 0.92, 0.92, 0.8};
        case NSVisualEffectMaterial::windowBackground:
            break;
    }
    return {0.93, 0.93, 0.93, 1};
}

void NSVisualEffectView::drawRect(const CGRect&) {
    NSGraphicsContext* current = NSGraphicsContext::currentContext();
    if (!current) return;
    CGContext& context = current->cgContext();
    const double radius = layer() ? layer()->cornerRadius() : 0;
    const CGRoundedCornerStyle corners =
        layer() && layer()->cornerCurve() == CALayerCornerCurve::continuous
            ? CGRoundedCornerStyle::continuous
            : CGRoundedCornerStyle::circular;
    CGPath shape;
    shape.addRoundedRect(bounds(), radius, corners);
    const CGColorValue tint = tintOf(material_);
    context.setFillColor(std::make_shared<const CGColorValue>(tint));
    context.beginPath();
    context.addPath(shape);
    context.fillPath();
}

#include <algorithm>
#include <cmath>

#include "Platform/QuartzCore/CALayer.h"

namespace {

CGRoundedCornerStyle cornerStyle(CALayerCornerCurve curve) {
    return curve == CALayerCornerCurve::continuous ? CGRoundedCornerStyle::continuous
                                                   : CGRoundedCornerStyle::circular;
}

CGPath outline(const CGRect& rect, double radius, CALayerCornerCurve curve) {
    CGPath path;
    path.addRoundedRect(rect, std::max(radius, 0.0), cornerStyle(curve));
    return path;
}

}  // namespace

void CALayer::renderInContext(CGContext& context) const {
    renderLayer(context, presentationValues(), true);
}

void CALayer::renderBelowBorderInContext(CGContext& context) const {
    renderLayer(context, presentationValues(), false);
}

void CALayer::renderBorderInContext(CGContext& context) const {
    const CALayerValues shown = presentationValues();
    const double alpha = shownOpacity(shown);
    if (shown.hidden || alpha <= 0) return;
    context.saveGState();
    context.setAlpha(alpha);
    renderBorder(context, shown);
    context.restoreGState();
}

double CALayer::shownOpacity(const CALayerValues& shown) {
    return std::isnan(shown.opacity) ? 0 : std::clamp(double(shown.opacity), 0.0, 1.0);
}

void CALayer::renderLayer(CGContext& context, const CALayerValues& shown, bool withBorder) const {
    const double alpha = shownOpacity(shown);
    if (shown.hidden || alpha <= 0) return;
    const double shadowAlpha =
        CGColorGetAlpha(shown.shadowColor) * std::clamp(double(shown.shadowOpacity), 0.0, 1.0);
    const bool shadow = shown.shadowColor && shadowAlpha > 0;
    context.saveGState();
    // The layer and everything in it are composed as one picture at its opacity, under one
    // shadow of their joint shape.
    const bool apart = alpha < 1 || shadow;
    if (shadow) {
        context.setShadow(shown.shadowOffset, shown.shadowRadius,
                          CGColorCreateCopyWithAlpha(shown.shadowColor, shadowAlpha));
    }
    if (apart) {
        context.setAlpha(alpha);
        context.beginTransparencyLayer();
    }
    renderContent(context, shown, withBorder);
    if (apart) context.endTransparencyLayer();
    context.restoreGState();
}

void CALayer::renderContent(CGContext& context, const CALayerValues& shown, bool withBorder) const {
    const CGRect& bounds = shown.bounds;
    const CGPath shape = outline(bounds, shown.cornerRadius, shown.cornerCurve);
    if (shown.backgroundColor) {
        context.setFillColor(shown.backgroundColor);
        context.addPath(shape);
        context.fillPath();
    }
    context.saveGState();
    if (shown.masksToBounds) {
        context.addPath(shape);
        context.clip();
    }
    if (shown.contents) context.draw(shown.contents, bounds);
    for (const CALayerRef& layer : sublayers_) {
        const CALayerValues sub = layer->presentationValues();
        const CGSize size = sub.bounds.size;
        context.saveGState();
        context.translateBy(sub.position.x, sub.position.y);
        context.concatenate(CATransform3DGetAffineTransform(sub.transform));
        context.translateBy(-sub.anchorPoint.x * size.width - sub.bounds.minX(),
                            -sub.anchorPoint.y * size.height - sub.bounds.minY());
        layer->renderLayer(context, sub, true);
        context.restoreGState();
    }
    context.restoreGState();
    if (withBorder) renderBorder(context, shown);
}

void CALayer::renderBorder(CGContext& context, const CALayerValues& shown) {
    const CGRect& bounds = shown.bounds;
    // The border lies inside the bounds, over the sublayers.
    const double width = std::min(shown.borderWidth, std::min(bounds.width(), bounds.height()) / 2);
    if (width > 0 && shown.borderColor) {
        context.setStrokeColor(shown.borderColor);
        context.setLineWidth(width);
        context.addPath(outline(bounds.insetBy(width / 2, width / 2),
                                shown.cornerRadius - width / 2, shown.cornerCurve));
        context.strokePath();
    }
}

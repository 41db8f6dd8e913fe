#include "KelvoCore/Brand/MarkRenderer.h"

#include <algorithm>

#include "Base/CoreGraphics/CGBitmapContext.h"
#include "KelvoCore/Brand/Mark.h"

namespace kelvo {

namespace {

void fillSquircle(CGContext& context, const CGColorRef& color) {
    context.beginPath();
    context.addPath(Mark::squircle());
    context.setFillColor(color);
    context.fillPath();
}

/// Keeps the glow only towards the top left: gone past the fade stop of the diagonal.
void maskGlow(CGContext& context) {
    const CGGradientRef mask =
        CGGradient::make({CGColorCreateSRGB(0, 0, 0, 1), CGColorCreateSRGB(0, 0, 0, 0),
                          CGColorCreateSRGB(0, 0, 0, 0)},
                         {0, MarkRenderer::glowFadeStop, 1});
    if (!mask) return;
    context.saveGState();
    context.setBlendMode(CGBlendMode::destinationIn);
    context.drawLinearGradient(mask, {0, 0}, {MarkRenderer::glowMaskEnd, MarkRenderer::glowMaskEnd},
                               0);
    context.restoreGState();
}

void fillPanesWithRim(CGContext& context) {
    const std::vector<double> stops(Brand::rimStops.begin(), Brand::rimStops.end());
    const CGGradientRef rim = CGGradient::make(Brand::rimColors(), stops);
    if (!rim) return;
    context.saveGState();
    context.beginPath();
    context.addPath(Mark::panes(0));
    context.clip();
    context.drawLinearGradient(
        rim, {Mark::unit, Mark::unit}, {0, 0},
        kCGGradientDrawsBeforeStartLocation | kCGGradientDrawsAfterEndLocation);
    context.restoreGState();
}

}  // namespace

CGFloat MarkRenderer::designScale(int pixels) {
    return pixels / Mark::unit * Mark::bodyFraction;
}

void MarkRenderer::enterDesignSpace(CGContext& context, int pixels) {
    const CGFloat side = pixels;
    context.translateBy(0, side);
    context.scaleBy(1, -1);
    context.translateBy(side * Mark::bodyInset, side * Mark::bodyInset);
    context.scaleBy(designScale(pixels), designScale(pixels));
    context.setShouldAntialias(true);
    context.setInterpolationQuality(CGInterpolationQuality::high);
}

std::vector<Brand::Halation> MarkRenderer::glowLayers(CGFloat points) {
    if (points > fullGlowAbove) return {Brand::halation.begin(), Brand::halation.end()};
    return {Brand::halation.front()};
}

CGImageRef MarkRenderer::render(int pixels, CGFloat points) {
    const auto bitmap = CGBitmapContext::make(pixels, pixels);
    if (!bitmap) return nullptr;
    drawMark(*bitmap, pixels, halationImage(pixels, glowLayers(points)));
    return bitmap->makeImage();
}

CGImageRef MarkRenderer::halationImage(int pixels, const std::vector<Brand::Halation>& layers) {
    const auto bitmap = CGBitmapContext::make(pixels, pixels);
    if (!bitmap) return nullptr;
    drawHalation(*bitmap, pixels, layers);
    return bitmap->makeImage();
}

void MarkRenderer::drawMark(CGContext& context, int pixels, const CGImageRef& halation) {
    enterDesignSpace(context, pixels);
    context.saveGState();
    context.beginPath();
    context.addPath(Mark::squircle());
    context.clip();
    fillSquircle(context, Brand::ground());
    if (halation) {
        context.saveGState();
        context.concatenate(context.ctm().inverted());
        context.draw(halation, CGRect(0, 0, pixels, pixels));
        context.restoreGState();
    }
    fillPanesWithRim(context);
    context.restoreGState();
}

void MarkRenderer::drawHalation(CGContext& context, int pixels,
                                const std::vector<Brand::Halation>& layers) {
    enterDesignSpace(context, pixels);
    const CGFloat scale = designScale(pixels);
    const CGPath lifted = Mark::panes(0).applying(CGAffineTransform::translation(0, -glowLift));
    for (auto layer = layers.rbegin(); layer != layers.rend(); ++layer) {
        context.saveGState();
        context.setBlendMode(Brand::halationBlend);
        context.setShadow({0, -glowLift * scale}, scale * layer->blur,
                          Brand::hex(layer->color, std::min(layer->alpha * Brand::bloomGain, 1.0)));
        context.beginPath();
        context.addPath(lifted);
        context.setFillColor(Brand::hex(layer->color, 1));
        context.fillPath();
        context.restoreGState();
    }
    maskGlow(context);
}

}  // namespace kelvo

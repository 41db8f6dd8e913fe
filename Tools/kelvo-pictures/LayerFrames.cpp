#include <cstdio>
#include <string>

#include "Base/Foundation/ManualClock.h"
#include "PictureBook.h"
#include "PictureCanvas.h"
#include "Platform/AppKit/NSImage.h"
#include "Platform/QuartzCore/CALayer.h"

namespace kelvo_pictures {

namespace {

constexpr double side = 160;

/// A layer that animates nothing by itself, as a view's layer.
CALayerRef quietLayer() {
    auto layer = std::make_shared<CALayer>();
    layer->setActions({{"opacity", nullptr}, {"transform", nullptr}});
    return layer;
}

/// The number as the desktop-switch display draws it: 96 points bold, white, centred.
CGImageRef numberImage(const std::string& text) {
    NSTextAttributes attributes;
    attributes.font = NSFont::systemFontOfSize(96, NSFontWeightBold);
    attributes.foregroundColor = NSColor::whiteColor();
    NSParagraphStyle centred;
    centred.alignment = NSTextAlignment::center;
    attributes.paragraphStyle = centred;
    const NSAttributedString number(text, attributes);
    NSImage image(CGSize{side, 116}, true, [&](const CGRect& bounds) {
        const CGFloat h = number.size().height;
        number.drawInRect(CGRect(0, (bounds.height() - h) / 2, bounds.width(), h));
        return true;
    });
    return image.CGImageForScale(PictureCanvas::scale);
}

std::shared_ptr<CAAnimationGroup> scaleAndFade(double fromScale, double toScale, double fromAlpha,
                                               double toAlpha, double duration, bool holds) {
    auto scale = CABasicAnimation::animationWithKeyPath("transform.scale");
    scale->setFromValue(fromScale);
    scale->setToValue(toScale);
    scale->setDuration(duration);
    auto fade = CABasicAnimation::animationWithKeyPath("opacity");
    fade->setFromValue(fromAlpha);
    fade->setToValue(toAlpha);
    fade->setDuration(duration);
    auto group = std::make_shared<CAAnimationGroup>();
    group->setAnimations({scale, fade});
    group->setDuration(duration);
    group->setTimingFunction(
        CAMediaTimingFunction::named(CAMediaTimingFunctionName::easeInEaseOut));
    if (holds) {
        group->setFillMode(CAMediaTimingFillMode::forwards);
        group->setRemovedOnCompletion(false);
        scale->setFillMode(CAMediaTimingFillMode::forwards);
        fade->setFillMode(CAMediaTimingFillMode::forwards);
        group->setAnimations({scale, fade});
    }
    return group;
}

/// A rounded square scaling in from 0.94 and fading in over 0.18 s (ease-in-ease-out), resting,
/// then scaling down to 0.96 and fading out over 0.34 s, drawn at fixed times of the manual
/// clock.
CGImageRef scaleInFrames() {
    ManualClock clock;
    const CALayerRef stage = quietLayer();
    stage->setBounds(CGRect(0, 0, side + 20, side + 20));
    const CALayerRef backdrop = quietLayer();
    backdrop->setBounds(CGRect(0, 0, side, side));
    backdrop->setPosition({(side + 20) / 2, (side + 20) / 2});
    backdrop->setBackgroundColor(CGColorCreateSRGB(0.16, 0.17, 0.21, 0.94));
    backdrop->setCornerRadius(28);
    backdrop->setCornerCurve(CALayerCornerCurve::continuous);
    backdrop->setMasksToBounds(true);
    backdrop->setBorderColor(CGColorCreateGenericGray(1, 0.1));
    backdrop->setBorderWidth(1);
    const CALayerRef label = quietLayer();
    label->setFrame(CGRect(0, 24, side, 116));
    label->setContents(numberImage("3"));
    backdrop->addSublayer(label);
    stage->addSublayer(backdrop);
    backdrop->addAnimation(scaleAndFade(0.94, 1, 0, 1, 0.18, false), "scaleIn");

    const double times[] = {0, 0.045, 0.09, 0.135, 0.18, 0.6, 0.77, 0.94};
    constexpr double cell = side + 40, margin = 20;
    PictureCanvas canvas(CGSize{2 * margin + std::size(times) * cell, side + 110},
                         NSColor::colorWithSRGBRed(0.23, 0.38, 0.45, 1));
    canvas.label(
        "A layer scaling in (0.94 → 1, 0.18 s, ease-in-ease-out), resting, then "
        "scaling out (1 → 0.96, 0.34 s, held)",
        {margin, 14}, 13, NSColor::whiteColor(), NSFontWeightSemibold);
    double elapsed = 0, x = margin;
    for (const double at : times) {
        clock.advance(at - elapsed);
        elapsed = at;
        if (at == 0.6) backdrop->addAnimation(scaleAndFade(1, 0.96, 1, 0, 0.34, true), "scaleOut");
        CGContext& context = canvas.context();
        context.saveGState();
        context.translateBy(x, 40 + side + 20);
        context.scaleBy(1, -1);
        stage->renderInContext(context);
        context.restoreGState();
        const CALayerValues shown = backdrop->presentationValues();
        char caption[96];
        std::snprintf(caption, sizeof caption, "%.3f s", at);
        canvas.label(caption, {x + 10, side + 66}, 12, NSColor::whiteColor(), NSFontWeightMedium);
        std::snprintf(caption, sizeof caption, "scale %.3f  opacity %.2f", shown.transform.m11,
                      double(shown.opacity));
        canvas.label(caption, {x + 10, side + 84}, 10.5, NSColor::colorWithWhite(1, 0.75));
        x += cell;
    }
    return canvas.finish();
}

}  // namespace

std::vector<Picture> layerPictures() {
    return {{"layer-frames", scaleInFrames}};
}

}  // namespace kelvo_pictures

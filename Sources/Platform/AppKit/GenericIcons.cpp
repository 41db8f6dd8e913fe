#include "Platform/AppKit/GenericIcons.h"

#include "Platform/AppKit/NSGraphicsContext.h"

namespace {

void fillPath(CGContext& c, const CGPath& path, const CGColorRef& color) {
    c.setFillColor(color);
    c.beginPath();
    c.addPath(path);
    c.fillPath();
}

void strokePath(CGContext& c, const CGPath& path, const CGColorRef& color, double width) {
    c.setStrokeColor(color);
    c.setLineWidth(width);
    c.beginPath();
    c.addPath(path);
    c.strokePath();
}

/// Scales the 128-point drawing to the bounds asked for.
template <typename Draw>
NSImageRef drawn(Draw draw) {
    return std::make_shared<NSImage>(GenericIcons::size, true, [draw](const CGRect& bounds) {
        NSGraphicsContext* current = NSGraphicsContext::currentContext();
        if (!current) return false;
        CGContext& c = current->cgContext();
        c.saveGState();
        c.translateBy(bounds.minX(), bounds.minY());
        c.scaleBy(bounds.width() / GenericIcons::size.width,
                  bounds.height() / GenericIcons::size.height);
        draw(c);
        c.restoreGState();
        return true;
    });
}

}  // namespace

NSImageRef GenericIcons::application() {
    return drawn([](CGContext& c) {
        CGPath tile;
        tile.addRoundedRect(CGRect(12, 12, 104, 104), 23, CGRoundedCornerStyle::continuous);
        fillPath(c, tile, CGColorCreateSRGB(0.56, 0.60, 0.66, 1));
        strokePath(c, tile, CGColorCreateGenericGray(0.35, 1), 2);
        CGPath window;
        window.addRoundedRect(CGRect(32, 38, 64, 52), 6, CGRoundedCornerStyle::continuous);
        fillPath(c, window, CGColorCreateGenericGray(0.97, 1));
        CGPath titleBar;
        titleBar.addRect(CGRect(32, 38, 64, 10));
        fillPath(c, titleBar, CGColorCreateGenericGray(0.30, 0.6));
    });
}

NSImageRef GenericIcons::document() {
    return drawn([](CGContext& c) {
        CGPath sheet;
        sheet.move(CGPoint{28, 8});
        sheet.addLine(CGPoint{80, 8});
        sheet.addLine(CGPoint{100, 28});
        sheet.addLine(CGPoint{100, 120});
        sheet.addLine(CGPoint{28, 120});
        sheet.closeSubpath();
        fillPath(c, sheet, CGColorCreateGenericGray(0.98, 1));
        strokePath(c, sheet, CGColorCreateGenericGray(0.55, 1), 2);
        CGPath fold;
        fold.move(CGPoint{80, 8});
        fold.addLine(CGPoint{80, 28});
        fold.addLine(CGPoint{100, 28});
        strokePath(c, fold, CGColorCreateGenericGray(0.55, 1), 2);
    });
}

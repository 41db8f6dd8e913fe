#include "KelvoApp/Views/GlyphPrimitives.h"

#include <array>

#include "KelvoApp/Views/Palette.h"

namespace kelvo {

using namespace SwiftUI;

namespace {

/// A shape view sized to `rect` and moved there inside a top-leading canvas.
View placed(const View& shape, const CGRect& rect) {
    return shape.frame(rect.width(), rect.height()).offset(rect.minX(), rect.minY());
}

CGPath polyline(const std::array<CGPoint, 3>& points, bool closed) {
    CGPath path;
    path.move(points[0]);
    path.addLine(points[1]);
    path.addLine(points[2]);
    if (closed) path.closeSubpath();
    return path;
}

}  // namespace

const Color& GlyphColour::accent() {
    static const Color made = Palette::accent().opacity(0.92);
    return made;
}

const Color& GlyphColour::even() {
    static const Color made = Palette::accent().opacity(0.55);
    return made;
}

const Color& GlyphColour::quiet() {
    static const Color made = Color::white().opacity(0.16);
    return made;
}

const Color& GlyphColour::edge() {
    static const Color made = Color::white().opacity(0.26);
    return made;
}

const Color& GlyphColour::faint() {
    static const Color made = Color::white().opacity(0.14);
    return made;
}

const Color& GlyphColour::faintFill() {
    static const Color made = Color::white().opacity(0.12);
    return made;
}

View GlyphPane(const CGRect& rect, const Color& fill, CGFloat radius) {
    return placed(RoundedRectangle(radius, RoundedCornerStyle::continuous).fill(fill), rect);
}

View GlyphOutline(const CGRect& rect, const Color& colour) {
    return placed(RoundedRectangle(GlyphMetrics::outlineRadius, RoundedCornerStyle::continuous)
                      .strokeBorder(colour, GlyphMetrics::outlineWidth),
                  rect);
}

View GlyphChevron(Direction direction, const CGRect& rect, const Color& colour, CGFloat width) {
    return placed(ChevronShape(direction).stroke(
                      colour, StrokeStyle{width, CGLineCap::round, CGLineJoin::round}),
                  rect);
}

Shape ChevronShape(Direction direction) {
    return Path([direction](const CGRect& r) {
        switch (direction) {
            case Direction::left:
                return polyline(
                    {{{r.maxX(), r.minY()}, {r.minX(), r.midY()}, {r.maxX(), r.maxY()}}}, false);
            case Direction::right:
                return polyline(
                    {{{r.minX(), r.minY()}, {r.maxX(), r.midY()}, {r.minX(), r.maxY()}}}, false);
            case Direction::up:
                return polyline(
                    {{{r.minX(), r.maxY()}, {r.midX(), r.minY()}, {r.maxX(), r.maxY()}}}, false);
            case Direction::down:
                return polyline(
                    {{{r.minX(), r.minY()}, {r.midX(), r.maxY()}, {r.maxX(), r.minY()}}}, false);
        }
        return CGPath{};
    });
}

Shape RotationHead() {
    return Path([](const CGRect& canvas) {
        const CGFloat x = canvas.minX(), y = canvas.minY();
        return polyline({{{x + 14.07, y + 3.88}, {x + 11.95, y + 0.35}, {x + 9.95, y + 3.82}}},
                        true);
    });
}

Shape RotationArc() {
    return Path([](const CGRect& canvas) {
        CGPath path;
        path.addArc(
            {canvas.minX() + GlyphMetrics::arcCentre.x, canvas.minY() + GlyphMetrics::arcCentre.y},
            GlyphMetrics::arcRadius, GlyphMetrics::arcStart, GlyphMetrics::arcEnd, false);
        return path;
    });
}

}  // namespace kelvo

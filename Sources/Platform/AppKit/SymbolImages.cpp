#include "Platform/AppKit/SymbolImages.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <utility>

namespace {

constexpr double degrees = std::numbers::pi / 180;

void strokePolyline(CGContext& c, std::initializer_list<CGPoint> points, double width) {
    c.beginPath();
    bool first = true;
    for (const CGPoint& p : points) {
        first ? c.move(p) : c.addLine(p);
        first = false;
    }
    c.setLineWidth(width);
    c.strokePath();
}

void strokeCircle(CGContext& c, CGPoint center, double radius, double width) {
    c.beginPath();
    c.addEllipse(CGRect(center.x - radius, center.y - radius, 2 * radius, 2 * radius));
    c.setLineWidth(width);
    c.strokePath();
}

void fillCircle(CGContext& c, CGPoint center, double radius) {
    c.fillEllipse(CGRect(center.x - radius, center.y - radius, 2 * radius, 2 * radius));
}

void strokeRoundedRect(CGContext& c, const CGRect& rect, double radius, double width) {
    CGPath path;
    path.addRoundedRect(rect, radius, CGRoundedCornerStyle::continuous);
    c.beginPath();
    c.addPath(path);
    c.setLineWidth(width);
    c.strokePath();
}

/// Everything drawn inside clears the symbol instead of adding to it.
template <typename Draw>
void cut(CGContext& c, Draw draw) {
    c.saveGState();
    c.setBlendMode(CGBlendMode::destinationOut);
    draw();
    c.restoreGState();
}

/// The disc of the filled circle symbols.
void disc(CGContext& c) {
    fillCircle(c, {12, 12}, 11);
}

void magnifyingGlass(CGContext& c, double line) {
    strokeCircle(c, {10.2, 10.2}, 6.8, line);
    strokePolyline(c, {{15.3, 15.3}, {21, 21}}, line * 1.35);
}

void gearShape(CGContext& c, double line) {
    // Eight teeth on a wheel, and the hole in its middle.
    constexpr double outer = 10.3, root = 7.9;
    constexpr CGPoint center{12, 12};
    const auto at = [&](double radius, double angle) {
        return CGPoint{center.x + radius * std::cos(angle * degrees),
                       center.y + radius * std::sin(angle * degrees)};
    };
    c.beginPath();
    for (int tooth = 0; tooth < 8; ++tooth) {
        const double a = tooth * 45.0;
        tooth == 0 ? c.move(at(root, a - 13)) : c.addLine(at(root, a - 13));
        c.addLine(at(outer, a - 8));
        c.addLine(at(outer, a + 8));
        c.addLine(at(root, a + 13));
        c.addArc(center, root, (a + 13) * degrees, (a + 32) * degrees, false);
    }
    c.closePath();
    c.setLineWidth(line);
    c.strokePath();
    strokeCircle(c, center, 3.3, line);
}

void splitRectangle(CGContext& c, double line) {
    strokeRoundedRect(c, CGRect(2.5, 3.5, 21, 17), 3.5, line);
    strokePolyline(c, {{13, 3.5}, {13, 20.5}}, line);
    strokePolyline(c, {{2.5, 12}, {23.5, 12}}, line);
}

void viewfinder(CGContext& c, double line) {
    // Four corner brackets, each an arc of radius 3 with arms 6.5 long.
    const auto bracket = [&](CGPoint corner, double dx, double dy) {
        c.beginPath();
        c.move({corner.x, corner.y + dy * 7});
        c.addArc(corner, {corner.x + dx * 7, corner.y}, 3);
        c.addLine({corner.x + dx * 7, corner.y});
        c.setLineWidth(line);
        c.strokePath();
    };
    bracket({2.5, 2.5}, 1, 1);
    bracket({21.5, 2.5}, -1, 1);
    bracket({21.5, 21.5}, -1, -1);
    bracket({2.5, 21.5}, 1, -1);
}

void keyboard(CGContext& c, double line) {
    strokeRoundedRect(c, CGRect(1.5, 5, 27, 14), 3, line);
    const double key = 1.9;
    for (const double x : {6.0, 10.5, 15.0, 19.5, 24.0})
        c.fill(CGRect(x - key / 2, 9 - key / 2, key, key));
    for (const double x : {8.25, 12.75, 17.25, 21.75})
        c.fill(CGRect(x - key / 2, 12.5 - key / 2, key, key));
    strokePolyline(c, {{10, 16}, {20, 16}}, line);
}

void desktopComputer(CGContext& c, double line) {
    strokeRoundedRect(c, CGRect(2, 2.5, 24, 15.5), 2.5, line);
    strokePolyline(c, {{11.5, 18}, {10.5, 21.5}}, line);
    strokePolyline(c, {{16.5, 18}, {17.5, 21.5}}, line);
    strokePolyline(c, {{8, 21.5}, {20, 21.5}}, line);
}

void infoCircle(CGContext& c, double line) {
    strokeCircle(c, {12, 12}, 9.8, line);
    fillCircle(c, {12, 7.4}, 1.2 + line * 0.2);
    strokePolyline(c, {{12, 10.8}, {12, 17}}, line * 1.1);
}

void infoCircleFill(CGContext& c, double line) {
    disc(c);
    cut(c, [&] {
        fillCircle(c, {12, 7}, 1.3 + line * 0.2);
        strokePolyline(c, {{12, 10.6}, {12, 17.4}}, line * 1.25);
    });
}

void exclamationTriangleFill(CGContext& c, double line) {
    // A triangle with rounded corners: the fill and a round-joined outline of it.
    c.beginPath();
    c.move({13, 3.2});
    c.addLine({24, 21.6});
    c.addLine({2, 21.6});
    c.closePath();
    c.fillPath();
    c.beginPath();
    c.move({13, 3.2});
    c.addLine({24, 21.6});
    c.addLine({2, 21.6});
    c.closePath();
    c.setLineWidth(2.2);
    c.strokePath();
    cut(c, [&] {
        strokePolyline(c, {{13, 9.2}, {13, 14.8}}, line * 1.3);
        fillCircle(c, {13, 18.4}, 0.9 + line * 0.35);
    });
}

void checkmarkCircleFill(CGContext& c, double line) {
    disc(c);
    cut(c, [&] { strokePolyline(c, {{7.3, 12.3}, {10.6, 15.7}, {16.8, 8.6}}, line * 1.3); });
}

void xmarkCircleFill(CGContext& c, double line) {
    disc(c);
    cut(c, [&] {
        strokePolyline(c, {{8.3, 8.3}, {15.7, 15.7}}, line * 1.3);
        strokePolyline(c, {{15.7, 8.3}, {8.3, 15.7}}, line * 1.3);
    });
}

void minusCircleFill(CGContext& c, double line) {
    disc(c);
    cut(c, [&] { strokePolyline(c, {{7.2, 12}, {16.8, 12}}, line * 1.3); });
}

void arrowCounterclockwiseCircleFill(CGContext& c, double line) {
    disc(c);
    cut(c, [&] {
        // From the top round by the right and the bottom to the left, with the arrow's head at
        // the top pointing the way back.
        constexpr CGPoint center{12, 12.6};
        constexpr double radius = 5.2;
        c.beginPath();
        c.addArc(center, radius, -90 * degrees, 200 * degrees, false);
        c.setLineWidth(line * 1.2);
        c.strokePath();
        c.beginPath();
        c.move({8.6, center.y - radius});
        c.addLine({12.4, center.y - radius - 2.9});
        c.addLine({12.4, center.y - radius + 2.9});
        c.closePath();
        c.fillPath();
    });
}

}  // namespace

const std::vector<SymbolImages::Symbol>& SymbolImages::all() {
    static const std::vector<Symbol> symbols = {
        {"magnifyingglass", 24, magnifyingGlass},
        {"gearshape", 24, gearShape},
        {"rectangle.split.2x2", 26, splitRectangle},
        {"viewfinder", 24, viewfinder},
        {"keyboard", 30, keyboard},
        {"desktopcomputer", 28, desktopComputer},
        {"info.circle", 24, infoCircle},
        {"info.circle.fill", 24, infoCircleFill},
        {"exclamationmark.triangle.fill", 26, exclamationTriangleFill},
        {"checkmark.circle.fill", 24, checkmarkCircleFill},
        {"xmark.circle.fill", 24, xmarkCircleFill},
        {"minus.circle.fill", 24, minusCircleFill},
        {"arrow.counterclockwise.circle.fill", 24, arrowCounterclockwiseCircleFill},
    };
    return symbols;
}

const SymbolImages::Symbol* SymbolImages::find(const std::string& name) {
    for (const Symbol& symbol : all())
        if (name == symbol.name) return &symbol;
    return nullptr;
}

double SymbolImages::lineWidth(NSFontWeight weight) {
    static constexpr std::array<std::pair<NSFontWeight, double>, 9> widths{{
        {NSFontWeightUltraLight, 0.8},
        {NSFontWeightThin, 1.1},
        {NSFontWeightLight, 1.5},
        {NSFontWeightRegular, 1.9},
        {NSFontWeightMedium, 2.2},
        {NSFontWeightSemibold, 2.45},
        {NSFontWeightBold, 2.75},
        {NSFontWeightHeavy, 3.2},
        {NSFontWeightBlack, 3.6},
    }};
    if (std::isnan(weight) || weight <= widths.front().first) return widths.front().second;
    for (std::size_t i = 1; i < widths.size(); ++i) {
        if (weight <= widths[i].first) {
            const auto [w0, l0] = widths[i - 1];
            const auto [w1, l1] = widths[i];
            return l0 + (l1 - l0) * (weight - w0) / (w1 - w0);
        }
    }
    return widths.back().second;
}

SymbolImages::Metrics SymbolImages::metrics(const Symbol& symbol,
                                            const NSImageSymbolConfiguration& configuration) {
    double points = configuration.pointSize;
    if (!std::isfinite(points) || points <= 0) points = NSImageSymbolConfiguration{}.pointSize;
    points = std::min(points, 1000.0);
    const double height = points * heightPerPoint;
    const double unit = height / canvasHeight;
    return {CGSize{symbol.width * unit, height}, unit, lineWidth(configuration.weight)};
}

void SymbolImages::draw(const Symbol& symbol, const Metrics& metrics, CGContext& context) {
    context.saveGState();
    context.scaleBy(metrics.unit, metrics.unit);
    const CGColorRef black = CGColorCreateGenericGray(0, 1);
    context.setFillColor(black);
    context.setStrokeColor(black);
    context.setLineCap(CGLineCap::round);
    context.setLineJoin(CGLineJoin::round);
    // Cut-outs clear the symbol only, not what lies under it.
    context.beginTransparencyLayer();
    symbol.draw(context, metrics.line);
    context.endTransparencyLayer();
    context.restoreGState();
}

#include "Platform/AppKit/NSBezierPath.h"

#include <numbers>

#include "Platform/AppKit/NSGraphicsContext.h"

NSBezierPath NSBezierPath::bezierPathWithRect(const CGRect& rect) {
    NSBezierPath path;
    path.path_.addRect(rect);
    return path;
}

NSBezierPath NSBezierPath::bezierPathWithOvalInRect(const CGRect& rect) {
    NSBezierPath path;
    path.path_.addEllipse(rect);
    return path;
}

NSBezierPath NSBezierPath::bezierPathWithRoundedRect(const CGRect& rect, CGFloat xRadius,
                                                     CGFloat yRadius) {
    NSBezierPath path;
    path.path_.addRoundedRect(rect, xRadius, yRadius);
    return path;
}

void NSBezierPath::fillRect(const CGRect& rect) {
    bezierPathWithRect(rect).fill();
}

void NSBezierPath::strokeRect(const CGRect& rect) {
    bezierPathWithRect(rect).stroke();
}

void NSBezierPath::appendArc(CGPoint center, CGFloat radius, CGFloat startAngle, CGFloat endAngle,
                             bool clockwise) {
    constexpr double radians = std::numbers::pi / 180;
    path_.addArc(center, radius, startAngle * radians, endAngle * radians, clockwise);
}

void NSBezierPath::setLineDash(const std::vector<CGFloat>& lengths, CGFloat phase) {
    dashes_ = lengths;
    dashPhase_ = phase;
}

void NSBezierPath::fill() const {
    auto* current = NSGraphicsContext::currentContext();
    if (!current) return;
    CGContext& context = current->cgContext();
    context.beginPath();
    context.addPath(path_);
    context.fillPath(windingRule_);
}

void NSBezierPath::stroke() const {
    auto* current = NSGraphicsContext::currentContext();
    if (!current) return;
    CGContext& context = current->cgContext();
    context.saveGState();
    context.setLineWidth(lineWidth_);
    context.setLineCap(lineCap_);
    context.setLineJoin(lineJoin_);
    context.setLineDash(dashPhase_, dashes_);
    context.beginPath();
    context.addPath(path_);
    context.strokePath();
    context.restoreGState();
}

void NSBezierPath::addClip() const {
    auto* current = NSGraphicsContext::currentContext();
    if (!current) return;
    CGContext& context = current->cgContext();
    context.beginPath();
    context.addPath(path_);
    context.clip(windingRule_);
}

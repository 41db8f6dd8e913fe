#pragma once

#include <vector>

#include "Base/CoreGraphics/CGContext.h"

/// A path with its own line style, filled, stroked or clipped to in the current graphics
/// context. Angles of arcs are in degrees, as AppKit takes them.
class NSBezierPath {
  public:
    NSBezierPath() = default;
    static NSBezierPath bezierPathWithRect(const CGRect& rect);
    static NSBezierPath bezierPathWithOvalInRect(const CGRect& rect);
    static NSBezierPath bezierPathWithRoundedRect(const CGRect& rect, CGFloat xRadius,
                                                  CGFloat yRadius);
    /// Fills a rectangle with the current fill colour.
    static void fillRect(const CGRect& rect);
    static void strokeRect(const CGRect& rect);

    void moveToPoint(CGPoint point) { path_.move(point); }
    void lineToPoint(CGPoint point) { path_.addLine(point); }
    void curveToPoint(CGPoint point, CGPoint control1, CGPoint control2) {
        path_.addCurve(point, control1, control2);
    }
    void closePath() { path_.closeSubpath(); }
    void appendBezierPath(const NSBezierPath& path) { path_.addPath(path.path_); }
    void appendArc(CGPoint center, CGFloat radius, CGFloat startAngle, CGFloat endAngle,
                   bool clockwise);
    void transformUsingAffineTransform(const CGAffineTransform& transform) {
        path_ = path_.applying(transform);
    }

    CGFloat lineWidth() const { return lineWidth_; }
    void setLineWidth(CGFloat width) { lineWidth_ = width; }
    CGLineCap lineCapStyle() const { return lineCap_; }
    void setLineCapStyle(CGLineCap cap) { lineCap_ = cap; }
    CGLineJoin lineJoinStyle() const { return lineJoin_; }
    void setLineJoinStyle(CGLineJoin join) { lineJoin_ = join; }
    CGPathFillRule windingRule() const { return windingRule_; }
    void setWindingRule(CGPathFillRule rule) { windingRule_ = rule; }
    void setLineDash(const std::vector<CGFloat>& lengths, CGFloat phase);

    bool isEmpty() const { return path_.isEmpty(); }
    CGRect bounds() const { return path_.boundingBox(); }
    const CGPath& cgPath() const { return path_; }

    /// With the current graphics context's fill colour; nothing without a current context.
    void fill() const;
    void stroke() const;
    /// Intersects the current context's clip with the path.
    void addClip() const;

  private:
    CGPath path_;
    CGFloat lineWidth_ = 1;
    CGLineCap lineCap_ = CGLineCap::butt;
    CGLineJoin lineJoin_ = CGLineJoin::miter;
    CGPathFillRule windingRule_ = CGPathFillRule::winding;
    std::vector<CGFloat> dashes_;
    CGFloat dashPhase_ = 0;
};

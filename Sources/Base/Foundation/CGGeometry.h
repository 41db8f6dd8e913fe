#pragma once

// The platform's rectangle, point and size in double-precision points, with the reading
// rules of the platform's rectangle functions: every accessor reads the normalised form, so
// a rectangle with a negative width or height behaves like the one it covers.

using CGFloat = double;

struct CGPoint {
    CGFloat x = 0;
    CGFloat y = 0;
    bool operator==(const CGPoint&) const = default;
};

struct CGSize {
    CGFloat width = 0;
    CGFloat height = 0;
    bool operator==(const CGSize&) const = default;
};

struct CGRect {
    CGPoint origin;
    CGSize size;

    CGRect() = default;
    CGRect(CGFloat x, CGFloat y, CGFloat width, CGFloat height)
        : origin{x, y}, size{width, height} {}
    CGRect(CGPoint o, CGSize s) : origin(o), size(s) {}

    bool operator==(const CGRect&) const = default;

    /// The null rectangle: what an intersection of disjoint rectangles gives.
    static CGRect null();

    CGFloat minX() const;
    CGFloat minY() const;
    CGFloat maxX() const;
    CGFloat maxY() const;
    CGFloat midX() const;
    CGFloat midY() const;
    CGFloat width() const;
    CGFloat height() const;

    bool isNull() const;
    /// True for a null rectangle or one with zero width or height.
    bool isEmpty() const;
    CGRect standardized() const;
    /// The overlap of two rectangles, or the null rectangle when they do not meet.
    CGRect intersection(const CGRect& other) const;
    bool intersects(const CGRect& other) const;
    /// Half-open containment, as the platform tests points: min edges in, max edges out.
    bool contains(CGPoint point) const;
    CGRect offsetBy(CGFloat dx, CGFloat dy) const;
    CGRect insetBy(CGFloat dx, CGFloat dy) const;
};

#pragma once

#include "Base/Foundation/CGGeometry.h"

/// A 2-D affine transform: a point (x, y) becomes (a·x + c·y + tx, b·x + d·y + ty).
struct CGAffineTransform {
    CGFloat a = 1;
    CGFloat b = 0;
    CGFloat c = 0;
    CGFloat d = 1;
    CGFloat tx = 0;
    CGFloat ty = 0;
    bool operator==(const CGAffineTransform&) const = default;

    static CGAffineTransform identity() { return {}; }
    static CGAffineTransform translation(CGFloat x, CGFloat y);
    static CGAffineTransform scale(CGFloat sx, CGFloat sy);
    /// A rotation by `angle` radians, counterclockwise when y grows upwards.
    static CGAffineTransform rotation(CGFloat angle);

    /// This transform applied first, then `other`.
    CGAffineTransform concatenating(const CGAffineTransform& other) const;
    /// A translation applied before this transform (the user space moves).
    CGAffineTransform translatedBy(CGFloat x, CGFloat y) const;
    CGAffineTransform scaledBy(CGFloat sx, CGFloat sy) const;
    CGAffineTransform rotated(CGFloat angle) const;
    /// The inverse; a transform that has none (a zero scale, a value that is not finite) is
    /// returned unchanged, as the platform does.
    CGAffineTransform inverted() const;

    bool isIdentity() const { return *this == identity(); }
    /// Every value finite and the determinant not zero.
    bool isInvertible() const;
    CGFloat determinant() const { return a * d - b * c; }
};

CGPoint CGPointApplyAffineTransform(CGPoint point, const CGAffineTransform& t);
CGSize CGSizeApplyAffineTransform(CGSize size, const CGAffineTransform& t);
/// The smallest rectangle holding the four transformed corners.
CGRect CGRectApplyAffineTransform(const CGRect& rect, const CGAffineTransform& t);

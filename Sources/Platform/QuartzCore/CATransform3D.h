#pragma once

#include "Base/CoreGraphics/CGAffineTransform.h"

/// A layer's 4 × 4 transform, in the row-vector convention of the platform: a point (x, y, z, 1)
/// times the matrix. Layers here are drawn flat, so only its affine part counts when drawn.
struct CATransform3D {
    CGFloat m11 = 1, m12 = 0, m13 = 0, m14 = 0;
    CGFloat m21 = 0, m22 = 1, m23 = 0, m24 = 0;
    CGFloat m31 = 0, m32 = 0, m33 = 1, m34 = 0;
    CGFloat m41 = 0, m42 = 0, m43 = 0, m44 = 1;
    bool operator==(const CATransform3D&) const = default;
};

inline constexpr CATransform3D CATransform3DIdentity{};

CATransform3D CATransform3DMakeScale(CGFloat sx, CGFloat sy, CGFloat sz);
CATransform3D CATransform3DMakeTranslation(CGFloat tx, CGFloat ty, CGFloat tz);
/// `a` applied first, then `b`.
CATransform3D CATransform3DConcat(const CATransform3D& a, const CATransform3D& b);
bool CATransform3DIsIdentity(const CATransform3D& t);
/// The part that acts in the plane.
CGAffineTransform CATransform3DGetAffineTransform(const CATransform3D& t);

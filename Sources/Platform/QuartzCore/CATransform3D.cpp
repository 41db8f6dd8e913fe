#include "Platform/QuartzCore/CATransform3D.h"

CATransform3D CATransform3DMakeScale(CGFloat sx, CGFloat sy, CGFloat sz) {
    CATransform3D t;
    t.m11 = sx;
    t.m22 = sy;
    t.m33 = sz;
    return t;
}

CATransform3D CATransform3DMakeTranslation(CGFloat tx, CGFloat ty, CGFloat tz) {
    CATransform3D t;
    t.m41 = tx;
    t.m42 = ty;
    t.m43 = tz;
    return t;
}

CATransform3D CATransform3DConcat(const CATransform3D& a, const CATransform3D& b) {
    const CGFloat x[4][4] = {{a.m11, a.m12, a.m13, a.m14},
                             {a.m21, a.m22, a.m23, a.m24},
                             {a.m31, a.m32, a.m33, a.m34},
                             {a.m41, a.m42, a.m43, a.m44}};
    const CGFloat y[4][4] = {{b.m11, b.m12, b.m13, b.m14},
                             {b.m21, b.m22, b.m23, b.m24},
                             {b.m31, b.m32, b.m33, b.m34},
                             {b.m41, b.m42, b.m43, b.m44}};
    CGFloat r[4][4] = {};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 4; ++k)
                r[i][j] += x[i][k] * y[k][j];
    return {r[0][0], r[0][1], r[0][2], r[0][3], r[1][0], r[1][1], r[1][2], r[1][3],
            r[2][0], r[2][1], r[2][2], r[2][3], r[3][0], r[3][1], r[3][2], r[3][3]};
}

bool CATransform3DIsIdentity(const CATransform3D& t) {
    return t == CATransform3DIdentity;
}

CGAffineTransform CATransform3DGetAffineTransform(const CATransform3D& t) {
    return {t.m11, t.m12, t.m21, t.m22, t.m41, t.m42};
}

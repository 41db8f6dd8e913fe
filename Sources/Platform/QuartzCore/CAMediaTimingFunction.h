#pragma once

#include <memory>

#include "Base/Foundation/CGGeometry.h"

enum class CAMediaTimingFunctionName { linear, easeIn, easeOut, easeInEaseOut, systemDefault };

class CAMediaTimingFunction;
using CAMediaTimingFunctionRef = std::shared_ptr<const CAMediaTimingFunction>;

/// The pace of an animation: a cubic Bézier curve from (0, 0) to (1, 1) through two control
/// points, read as the share of the change made (y) at a share of the duration (x).
class CAMediaTimingFunction {
  public:
    CAMediaTimingFunction(CGFloat c1x, CGFloat c1y, CGFloat c2x, CGFloat c2y);
    /// The named curves: linear, ease-in (0.42, 0, 1, 1), ease-out (0, 0, 0.58, 1),
    /// ease-in-ease-out (0.42, 0, 0.58, 1) and the system's default (0.25, 0.1, 0.25, 1).
    static CAMediaTimingFunctionRef named(CAMediaTimingFunctionName name);

    /// The share of the change at `progress` (limited to 0 to 1).
    double valueAt(double progress) const;
    CGPoint controlPoint1() const { return c1_; }
    CGPoint controlPoint2() const { return c2_; }

  private:
    double xAt(double t) const;
    double yAt(double t) const;
    CGPoint c1_;
    CGPoint c2_;
};

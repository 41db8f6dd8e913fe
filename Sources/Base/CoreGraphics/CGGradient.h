#pragma once

#include <memory>
#include <vector>

#include "Base/CoreGraphics/CGColor.h"

class CGGradient;
using CGGradientRef = std::shared_ptr<const CGGradient>;

/// Whether a gradient also paints before its start and after its end, with its first and last
/// colours.
enum CGGradientDrawingOptions : unsigned {
    kCGGradientDrawsBeforeStartLocation = 1u << 0,
    kCGGradientDrawsAfterEndLocation = 1u << 1,
};

/// Colours at locations from 0 to 1, blended in between.
class CGGradient {
  public:
    struct Stop {
        CGColorValue color;
        double location = 0;
        bool operator==(const Stop&) const = default;
    };

    /// Null without colours, with a colour missing, or when the locations (evenly spread when
    /// none are given) do not match the colours or are not finite.
    static CGGradientRef make(const std::vector<CGColorRef>& colors,
                              const std::vector<double>& locations = {});

    /// In ascending order of location, each limited to 0 to 1.
    const std::vector<Stop>& stops() const { return stops_; }

  private:
    explicit CGGradient(std::vector<Stop> stops) : stops_(std::move(stops)) {}
    std::vector<Stop> stops_;
};

#pragma once

#include "Base/Foundation/CGGeometry.h"
#include "Base/JSON/JSONCoding.h"

namespace kelvo {

/// A rectangle on the wire, in the coordinates in which the store keeps window frames.
struct WireRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    WireRect() = default;
    WireRect(double x, double y, double width, double height);
    /// Reads the rectangle in its standardised form: the size is never negative.
    explicit WireRect(const CGRect& rect);

    CGRect rect() const;

    bool operator==(const WireRect&) const = default;
};

template <>
struct JSONCoding<WireRect> {
    static JSONValue encode(const WireRect& r);
    static WireRect decode(const JSONNode& node);
};

}  // namespace kelvo

#include "KelvoCore/Wire/WireRect.h"

namespace kelvo {

WireRect::WireRect(double x_, double y_, double width_, double height_)
    : x(x_), y(y_), width(width_), height(height_) {}

WireRect::WireRect(const CGRect& rect)
    : x(rect.minX()), y(rect.minY()), width(rect.width()), height(rect.height()) {}

CGRect WireRect::rect() const {
    return CGRect(x, y, width, height);
}

JSONValue JSONCoding<WireRect>::encode(const WireRect& r) {
    return JSONValue{{"x", r.x}, {"y", r.y}, {"width", r.width}, {"height", r.height}};
}

WireRect JSONCoding<WireRect>::decode(const JSONNode& node) {
    return WireRect(node.decode<double>("x"), node.decode<double>("y"),
                    node.decode<double>("width"), node.decode<double>("height"));
}

}  // namespace kelvo

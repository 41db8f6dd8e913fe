#include "KelvoCore/Geometry/Axis.h"

namespace kelvo {

Axis flipped(Axis axis) {
    return axis == Axis::horizontal ? Axis::vertical : Axis::horizontal;
}

std::string toString(Axis axis) {
    return axis == Axis::horizontal ? "horizontal" : "vertical";
}

JSONValue JSONCoding<Axis>::encode(Axis axis) {
    return JSONValue{{toString(axis), JSONValue::object()}};
}

Axis JSONCoding<Axis>::decode(const JSONNode& node) {
    const std::string name = JSONCaseKey::read(node, {"horizontal", "vertical"});
    // An empty object is written; its contents are not read.
    const JSONNode payload = node[name];
    if (!payload.isObject()) payload.typeMismatch("Dictionary");
    return name == "horizontal" ? Axis::horizontal : Axis::vertical;
}

}  // namespace kelvo

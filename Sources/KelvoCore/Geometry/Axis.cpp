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
    // Only the two case names count; any other key is ignored.
    int recognised = 0;
    Axis axis = Axis::horizontal;
    for (Axis candidate : {Axis::horizontal, Axis::vertical}) {
        if (node.contains(toString(candidate))) {
            ++recognised;
            axis = candidate;
        }
    }
    if (recognised != 1) node.fail(DecodingError::Kind::typeMismatch, keyCountMessage);
    const JSONNode payload = node[toString(axis)];
    if (!payload.isObject()) payload.typeMismatch("Dictionary");
    return axis;
}

}  // namespace kelvo

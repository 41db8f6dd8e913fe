#include "KelvoCore/Geometry/WindowID.h"

namespace kelvo {

std::string WindowID::description() const {
    return "win#" + std::to_string(raw);
}

JSONValue JSONCoding<WindowID>::encode(const WindowID& id) {
    return JSONValue{{"raw", id.raw}};
}

WindowID JSONCoding<WindowID>::decode(const JSONNode& node) {
    return WindowID(node.decode<std::uint32_t>("raw"));
}

}  // namespace kelvo

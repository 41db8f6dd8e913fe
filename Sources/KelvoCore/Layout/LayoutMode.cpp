#include "KelvoCore/Layout/LayoutMode.h"

namespace kelvo {

std::string rawValue(LayoutMode mode) {
    return mode == LayoutMode::bsp ? "bsp" : "masterStack";
}

std::string title(LayoutMode mode) {
    return mode == LayoutMode::bsp ? "Split" : "Master & stack";
}

LayoutMode other(LayoutMode mode) {
    return mode == LayoutMode::bsp ? LayoutMode::masterStack : LayoutMode::bsp;
}

std::optional<LayoutMode> layoutModeFromRawValue(const std::string& raw) {
    return caseWithRawValue<LayoutMode>(layout_mode::allCases, raw,
                                        [](LayoutMode m) { return rawValue(m); });
}

JSONValue JSONCoding<LayoutMode>::encode(LayoutMode mode) {
    return rawValue(mode);
}

LayoutMode JSONCoding<LayoutMode>::decode(const JSONNode& node) {
    return decodeRawValue<LayoutMode>(node, layoutModeFromRawValue, "LayoutMode");
}

}  // namespace kelvo

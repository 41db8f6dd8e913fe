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
    for (LayoutMode mode : layout_mode::allCases) {
        if (rawValue(mode) == raw) return mode;
    }
    return std::nullopt;
}

JSONValue JSONCoding<LayoutMode>::encode(LayoutMode mode) {
    return rawValue(mode);
}

LayoutMode JSONCoding<LayoutMode>::decode(const JSONNode& node) {
    const std::string raw = node.string();
    auto mode = layoutModeFromRawValue(raw);
    if (!mode) {
        node.fail(DecodingError::Kind::dataCorrupted,
                  "Cannot initialize LayoutMode from invalid String value " + raw);
    }
    return *mode;
}

}  // namespace kelvo

#include "KelvoCore/Tweaks/PreferenceOriginal.h"

namespace kelvo {

namespace {
constexpr const char* valueState = "value";
constexpr const char* absentState = "absent";
}  // namespace

std::optional<PreferenceValue> PreferenceOriginal::value() const {
    if (kind_ != Kind::value) return std::nullopt;
    return value_;
}

JSONValue JSONCoding<PreferenceOriginal>::encode(const PreferenceOriginal& original) {
    JSONValue object = JSONValue::object();
    if (auto value = original.value()) {
        object["state"] = valueState;
        object["value"] = encodeJSON(*value);
    } else {
        object["state"] = absentState;
    }
    return object;
}

PreferenceOriginal JSONCoding<PreferenceOriginal>::decode(const JSONNode& node) {
    if (node.decodeIfPresent<std::string>("state") == valueState) {
        return PreferenceOriginal::value(node.decode<PreferenceValue>("value"));
    }
    return PreferenceOriginal::absent();
}

}  // namespace kelvo

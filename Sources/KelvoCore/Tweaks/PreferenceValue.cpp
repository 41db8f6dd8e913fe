#include "KelvoCore/Tweaks/PreferenceValue.h"

#include "Base/JSON/JSONWriter.h"

namespace kelvo {

namespace {
constexpr const char* boolType = "bool";
constexpr const char* numberType = "number";
constexpr const char* stringType = "string";
constexpr const char* unrepresentableType = "unrepresentable";
}  // namespace

std::optional<bool> PreferenceValue::boolValue() const {
    if (kind_ != Kind::bool_) return std::nullopt;
    return boolPayload_;
}

std::optional<double> PreferenceValue::numberValue() const {
    if (kind_ != Kind::number) return std::nullopt;
    return numberPayload_;
}

std::optional<std::string> PreferenceValue::stringValue() const {
    if (kind_ != Kind::string) return std::nullopt;
    return stringPayload_;
}

std::string PreferenceValue::description() const {
    switch (kind_) {
        case Kind::bool_:
            return std::string("bool(") + (boolPayload_ ? "true" : "false") + ")";
        case Kind::number:
            try {
                return "number(" + JSONWriter::write(JSONValue(numberPayload_)) + ")";
            } catch (const EncodingError&) {
                return "number(" + std::to_string(numberPayload_) + ")";
            }
        case Kind::string:
            return "string(" + JSONWriter::write(JSONValue(stringPayload_)) + ")";
        case Kind::unrepresentable:
            break;
    }
    return unrepresentableType;
}

JSONValue JSONCoding<PreferenceValue>::encode(const PreferenceValue& value) {
    JSONValue object = JSONValue::object();
    if (auto b = value.boolValue()) {
        object["type"] = boolType;
        object["value"] = *b;
    } else if (auto n = value.numberValue()) {
        object["type"] = numberType;
        object["value"] = *n;
    } else if (auto s = value.stringValue()) {
        object["type"] = stringType;
        object["value"] = *s;
    } else {
        object["type"] = unrepresentableType;
    }
    return object;
}

PreferenceValue JSONCoding<PreferenceValue>::decode(const JSONNode& node) {
    const auto type = node.decodeIfPresent<std::string>("type");
    if (type == boolType) return PreferenceValue::bool_(node.decode<bool>("value"));
    if (type == numberType) return PreferenceValue::number(node.decode<double>("value"));
    if (type == stringType) return PreferenceValue::string(node.decode<std::string>("value"));
    return PreferenceValue::unrepresentable();
}

}  // namespace kelvo

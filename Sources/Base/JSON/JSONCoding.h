#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Base/JSON/JSONDecoder.h"
#include "Base/JSON/JSONValue.h"

namespace kelvo {

// Every type with a JSON form specialises JSONCoding<T> with
//   static JSONValue encode(const T&);
//   static T decode(const JSONNode&);
// so that containers, optionals and the wire and file formats treat them alike.

template <class T>
JSONValue encodeJSON(const T& value) {
    return JSONCoding<T>::encode(value);
}

/// Adds `key` to an object only when the optional holds a value: an absent optional is left
/// out of the output altogether, never written as null.
template <class T>
void putIfPresent(JSONValue& object, const std::string& key, const std::optional<T>& value) {
    if (value) object[key] = encodeJSON(*value);
}

/// The case of an enumeration whose raw text is `raw`, compared exactly; none otherwise.
template <class Enum, class Cases, class ToRaw>
std::optional<Enum> caseWithRawValue(const Cases& cases, const std::string& raw, ToRaw toRaw) {
    for (Enum candidate : cases) {
        if (toRaw(candidate) == raw) return candidate;
    }
    return std::nullopt;
}

/// Decodes an enumeration written as its raw text; a text that names no case is not valid.
template <class Enum, class FromRaw>
Enum decodeRawValue(const JSONNode& node, FromRaw fromRaw, const std::string& typeName) {
    const std::string raw = node.string();
    std::optional<Enum> value = fromRaw(raw);
    if (!value) {
        node.fail(DecodingError::Kind::dataCorrupted,
                  "Cannot initialize " + typeName + " from invalid String value " + raw);
    }
    return *value;
}

template <>
struct JSONCoding<bool> {
    static JSONValue encode(bool v) { return v; }
    static bool decode(const JSONNode& n) { return n.boolean(); }
};

template <>
struct JSONCoding<std::string> {
    static JSONValue encode(const std::string& v) { return v; }
    static std::string decode(const JSONNode& n) { return n.string(); }
};

template <>
struct JSONCoding<double> {
    static JSONValue encode(double v) { return v; }
    static double decode(const JSONNode& n) { return n.number(); }
};

template <class Int>
struct JSONIntegerCoding {
    static JSONValue encode(Int v) { return v; }
    static Int decode(const JSONNode& n) { return n.integer<Int>(); }
};

template <>
struct JSONCoding<std::int32_t> : JSONIntegerCoding<std::int32_t> {};
template <>
struct JSONCoding<std::int64_t> : JSONIntegerCoding<std::int64_t> {};
template <>
struct JSONCoding<std::uint16_t> : JSONIntegerCoding<std::uint16_t> {};
template <>
struct JSONCoding<std::uint32_t> : JSONIntegerCoding<std::uint32_t> {};
template <>
struct JSONCoding<std::uint64_t> : JSONIntegerCoding<std::uint64_t> {};

template <class T>
struct JSONCoding<std::vector<T>> {
    static JSONValue encode(const std::vector<T>& values) {
        JSONValue array = JSONValue::array();
        for (const auto& v : values)
            array.push_back(encodeJSON(v));
        return array;
    }
    static std::vector<T> decode(const JSONNode& n) {
        std::vector<T> values;
        for (const auto& element : n.elements())
            values.push_back(element.template decode<T>());
        return values;
    }
};

/// A dictionary keyed by text is a JSON object.
template <class T>
struct JSONCoding<std::map<std::string, T>> {
    static JSONValue encode(const std::map<std::string, T>& values) {
        JSONValue object = JSONValue::object();
        for (const auto& [key, v] : values)
            object[key] = encodeJSON(v);
        return object;
    }
    static std::map<std::string, T> decode(const JSONNode& n) {
        std::map<std::string, T> values;
        for (const auto& key : n.keys())
            values[key] = n[key].template decode<T>();
        return values;
    }
};

}  // namespace kelvo

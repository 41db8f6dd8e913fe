#pragma once

#include <optional>
#include <string>

#include "Base/JSON/JSONCoding.h"

namespace kelvo {

/// One value as one line of the line protocols, and back: compact JSON, keys sorted, slashes
/// escaped. Neither direction reports why it failed.
struct WireLine {
    WireLine() = delete;

    /// None when the value cannot be written (a number that is not finite).
    template <class T>
    static std::optional<std::string> encode(const T& value) {
        try {
            return write(JSONCoding<T>::encode(value));
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }

    /// None for any text that is not one JSON value of the type's shape.
    template <class T>
    static std::optional<T> decode(const std::string& line) {
        try {
            const JSONValue document = JSONNode::parse(line);
            return JSONNode(document).decode<T>();
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }

  private:
    static std::string write(const JSONValue& value);
};

}  // namespace kelvo
